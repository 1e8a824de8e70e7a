// The cache, model-file and collision lists: their loaders' window steps, selection handlers with
// the unsaved-values question, and their value saves.
#include <QApplication>
#include <QListView>
#include <QSignalBlocker>
#include <QStringListModel>
#include <QTabWidget>

#include "commands/editing/ListValueSave.h"
#include "ui/ListValuesPage.h"
#include "ui/MainWindow.h"
#include "ui/PanelProgress.h"
#include "ui/QtPrompter.h"
#include "ui/WaitCursor.h"

namespace mw {

namespace {


} // namespace

void MainWindow::fillOtherList(OtherList& list, std::size_t rows, TextListModel::TextOf textOf)
{
    list.model->setRows(static_cast<int>(std::min<std::size_t>(rows, INT_MAX)), std::move(textOf));
    list.shownRow = 0;
    ws().ChangedFlags[list.index] = false;
    list.values->restoreColours();
    list.values->setSavedMarkerVisible(false);
    if (rows == 0)
        list.values->showNothing();
}

void MainWindow::loadOther(MissionFile file)
{
    WaitCursor wait;
    switch (file) {
    case MissionFile::Cache:
        m_mission->loadCache(*m_prompter);
        return;
    case MissionFile::Model:
        m_mission->loadModel(*m_prompter);
        return;
    case MissionFile::Tree:
        m_mission->loadTree(*m_prompter);
        return;
    case MissionFile::Scene:
        return;
    }
}

// Lists the load's entries, selects the first and shows it.
void MainWindow::otherLoaded(OtherList& list)
{
    switch (list.index) {
    case CacheList:
        fillOtherList(list, m_mission->cache().records.size(),
                      [this](int row) { return fromBytes(m_mission->cache().listText(static_cast<std::size_t>(row))); });
        break;
    case ModelList:
        fillOtherList(list, m_mission->model().frames.size(),
                      [this](int row) { return fromBytes(m_mission->model().frames[static_cast<std::size_t>(row)].name); });
        if (m_mission->isLoaded(MissionFile::Model))
            m_inspectorTabs->setCurrentIndex(ModelValuesPage);
        break;
    default:
        fillOtherList(list, m_mission->tree().bodyCount(),
                      [this](int row) { return fromBytes(m_mission->tree().listText(static_cast<std::size_t>(row))); });
        if (m_mission->isLoaded(MissionFile::Tree))
            m_inspectorTabs->setCurrentIndex(TreeValuesPage);
        break;
    }
    m_listsFilling = true;
    selectListRow(list.view, 0);
    m_listsFilling = false;
    if (list.model->rowCount() > 0)
        onOtherRowChanged(list, list.view->currentIndex().row());
}

void MainWindow::onOtherRowChanged(OtherList& list, int row)
{
    if (ws().Busy || m_savePromptGuard || m_listsFilling || row < 0 || list.model->rowCount() == 0)
        return;
    m_inspectorTabs->setCurrentIndex(list.page);
    if (ws().ChangedFlags[list.index]) {
        if (m_prompter->askYesNo("Save values?", "Values not saved!")) {
            m_savePromptGuard = true;
            const bool saved = saveOtherValues(list) == ValueSaveResult::Saved;
            if (!saved) {
                // The edits stay on the page so they can be put right.
                selectListRow(list.view, list.shownRow);
                m_savePromptGuard = false;
                return;
            }
            m_savePromptGuard = false;
        }
        list.values->restoreColours();
        ws().ChangedFlags[list.index] = false;
    }
    list.values->setSavedMarkerVisible(false);
    showOtherEntry(list, static_cast<std::uint32_t>(row));
}

std::optional<ListValuesPage::Values> MainWindow::valuesOf(ListIndex list, std::uint32_t row) const
{
    switch (list) {
    case CacheList: {
        const CacheRecord& r = m_mission->cache().records.at(row);
        if (r.isBase)
            return std::nullopt;
        return ListValuesPage::Values{std::string(m_mission->cache().name(row)), r.position, r.size, r.rotation, 0};
    }
    case ModelList: {
        const ModelFrame& f = m_mission->model().frames.at(row);
        return ListValuesPage::Values{f.name, f.position, {}, f.rotation, 0};
    }
    case CollisionList: {
        const CollisionBody& b = m_mission->tree().body(row);
        return ListValuesPage::Values{std::string(m_mission->tree().linkName(row)), b.position, b.size, b.rotation,
                                      b.material};
    }
    default:
        return std::nullopt;
    }
}

void MainWindow::showOtherEntry(OtherList& list, std::uint32_t row)
{
    list.shownRow = row;
    if (const auto values = valuesOf(list.index, row))
        list.values->showValues(*values);
    else
        list.values->showNothing();
    showTranslationInSearch(list, row);
}

ValueSaveResult MainWindow::saveOtherValues(OtherList& list)
{
    const TransformForm form = list.values->form();
    const std::uint32_t row = list.shownRow;
    switch (list.index) {
    case CacheList:
        if (row >= m_mission->cache().records.size() || m_mission->cache().records[row].isBase)
            return ValueSaveResult::Refused;
        return saveCacheValues(form, *m_mission, row, *m_prompter);
    case ModelList:
        if (row >= m_mission->model().frames.size())
            return ValueSaveResult::Refused;
        return saveModelValues(form, m_mission->model().frames[row], *m_mission, *m_prompter);
    case CollisionList:
        return saveCollisionValues(form, list.values->material(), *m_mission, row, *m_prompter);
    default:
        return ValueSaveResult::Refused;
    }
}

void MainWindow::saveOtherCommand(OtherList& list)
{
    if (ws().Busy || list.model->rowCount() == 0)
        return;
    switch (saveOtherValues(list)) {
    case ValueSaveResult::Saved:
    case ValueSaveResult::TransformOnly:
        list.values->restoreColours();
        ws().ChangedFlags[list.index] = false;
        list.values->setSavedMarkerVisible(true);
        // Edits are now compared with what was saved.
        if (const auto values = valuesOf(list.index, list.shownRow))
            list.values->setStoredValues(*values);
        refreshMap();
        return;
    case ValueSaveResult::Stale:
        reloadOther(list);
        return;
    case ValueSaveResult::Refused:
        return;
    }
}

void MainWindow::reloadOther(OtherList& list)
{
    const std::uint32_t row = list.shownRow;
    loadOther(static_cast<MissionFile>(list.index));
    if (static_cast<int>(row) < list.model->rowCount())
        selectListRow(list.view, row);
}

} // namespace mw
