// The scene lists' selection handlers, the Scene page and the scene value save.
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>

#include "commands/editing/SceneValueSave.h"
#include "foundation/bytes/ByteReader.h"
#include "ui/MainWindow.h"
#include "ui/QtPrompter.h"
#include "ui/SceneListModel.h"
#include "ui/ScenePage.h"
#include "ui/ValueColours.h"
#include "ui/WaitCursor.h"

namespace mw {

void MainWindow::onAllRowChanged(int row)
{
    if (m_allModel->rowCount() == 0 || m_savePromptGuard || ws().Busy || m_listsFilling || row < 0)
        return;
    m_inspectorTabs->setCurrentIndex(SceneValuesPage);

    if (m_scriptDirty) {
        if (m_prompter->askYesNo("Save script?", "Script not saved!")) {
            m_savePromptGuard = true;
            m_scriptDirty = false;
            selectListRow(m_allList, m_shownRow);
            saveScriptCommand();
            m_savePromptGuard = false;
            return;
        }
        m_scriptDirty = false;
        setStatus(QString(), QColor());
    }

    m_scenePage->setSavedMarkerVisible(false);
    if (ws().ChangedFlags[SceneList]) {
        if (m_prompter->askYesNo("Save values?", "Values not saved!")) {
            // The entry shown so far stays selected and is saved; the clicked one is not shown.
            m_savePromptGuard = true;
            selectListRow(m_allList, m_shownRow);
            saveSceneValuesCommand();
            m_savePromptGuard = false;
            return;
        }
        m_scenePage->restoreAllColours();
        setStatus(QString(), QColor());
        ws().ChangedFlags[SceneList] = false;
    }
    showSceneEntry(static_cast<std::uint32_t>(row));
}

void MainWindow::onMappedRowChanged(QListView* list, int row)
{
    if (ws().Busy || m_listsFilling || row < 0)
        return;
    m_inspectorTabs->setCurrentIndex(SceneValuesPage);
    const auto* model = static_cast<const SceneListModel*>(list->model());
    selectListRow(m_allList, model->allRow(row));
}

void MainWindow::showCurrentSceneEntry()
{
    if (m_allModel->rowCount() == 0)
        return;
    auto mapped = [this](QListView* list) -> std::optional<std::uint32_t> {
        const int row = list->currentIndex().row();
        if (row < 0)
            return std::nullopt;
        return static_cast<const SceneListModel*>(list->model())->allRow(row);
    };
    std::optional<std::uint32_t> row;
    if (m_listTabs->currentIndex() == ScriptsTab)
        row = mapped(m_scriptList);
    else if (m_listTabs->currentIndex() == ThingsTab)
        row = mapped(m_thingList);
    if (row) {
        const QSignalBlocker block(m_allList->selectionModel());
        selectListRow(m_allList, row);
    }
    const int current = m_allList->currentIndex().row();
    if (current >= 0)
        onAllRowChanged(current);
}

void MainWindow::showSceneEntry(std::uint32_t row)
{
    SceneCatalogue& catalogue = m_mission->sceneCatalogue();
    if (catalogue.name(row) == "Tommy")
        catalogue.records.at(row).typeCode = typecode::Tommy; // the player: shown without a panel
    const SceneEntry entry = catalogue.entry(row);
    m_scenePage->showEntry(entry, entry.hasScript ? scriptTextOf(entry) : std::nullopt);
    selectByName(m_scriptList, entry.name);
    selectByName(m_thingList, entry.name);
    m_shownRow = row;
}

std::optional<std::string> MainWindow::scriptTextOf(const SceneEntry& entry) const
{
    if (entry.ScriptOffset == 0)
        return std::nullopt;
    try {
        const ByteReader file(m_mission->bytes(MissionFile::Scene));
        const auto length = file.u32(entry.ScriptOffset);
        return file.text(entry.ScriptOffset + 4ull, length);
    } catch (const std::exception&) {
        return std::nullopt; // the loaded bytes do not hold the script where it was recorded
    }
}

void MainWindow::selectByName(QListView* list, std::string_view name)
{
    const auto* model = static_cast<const SceneListModel*>(list->model());
    for (int r = 0; r < model->rowCount(); ++r) {
        if (catalogue().name(model->allRow(r)) == name) {
            const QSignalBlocker block(list->selectionModel());
            selectListRow(list, static_cast<std::uint32_t>(r));
            return;
        }
    }
}

void MainWindow::saveSceneValuesCommand()
{
    if (ws().Busy || m_allModel->rowCount() == 0 || m_shownRow >= catalogue().entryCount())
        return;
    // The save updates this copy with what it wrote; the catalogue reads the written bytes.
    SceneEntry entry = catalogue().entry(m_shownRow);
    const ValueSaveResult result = saveSceneValues(m_scenePage->form(), entry, *m_mission, *m_prompter);
    switch (result) {
    case ValueSaveResult::Refused:
        return;
    case ValueSaveResult::Stale:
        reloadSceneAt(m_shownRow);
        return;
    case ValueSaveResult::TransformOnly:
        // The values of the object's kind are still unsaved: they stay red and flagged.
        m_scenePage->restoreTransformColours();
        m_scenePage->setStoredValues(entry);
        refreshMap();
        return;
    case ValueSaveResult::Saved:
        m_scenePage->restoreAllColours();
        m_scenePage->setStoredValues(entry);
        ws().ChangedFlags[SceneList] = false;
        m_scenePage->setSavedMarkerVisible(true);
        refreshMap();
        return;
    }
}

void MainWindow::reloadSceneAt(std::uint32_t row)
{
    WaitCursor wait;
    m_mission->reloadSceneAt(row, *m_prompter);
}

void MainWindow::setStatus(const QString& text, const QColor& colour)
{
    m_status->setText(text);
    QPalette p = m_status->palette();
    p.setColor(QPalette::WindowText, colour.isValid() ? colour : QApplication::palette(m_status).color(QPalette::WindowText));
    m_status->setPalette(p);
}

} // namespace mw
