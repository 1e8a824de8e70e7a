// The cache, model-file and collision lists: their loaders' window steps, selection handlers with
// the unsaved-values question, and their value saves.
#include <QApplication>
#include <QListView>
#include <QSignalBlocker>
#include <QStringListModel>
#include <QTabWidget>

#include "editing/ListValueSave.h"
#include "io/FileAccess.h"
#include "missionfiles/TreeLoad.h"
#include "ui/ListValuesPage.h"
#include "ui/MainWindow.h"
#include "ui/PanelProgress.h"
#include "ui/QtPrompter.h"
#include "ui/WaitCursor.h"

namespace mw {

namespace {

constexpr const char* CannotOpen = "************";

template <class Items, class Text>
QStringList listTexts(const Items& items, Text text)
{
    QStringList rows;
    rows.reserve(static_cast<qsizetype>(items.size()));
    for (const auto& item : items)
        rows << fromBytes(text(item));
    return rows;
}

} // namespace

void MainWindow::fillOtherList(OtherList& list, const QStringList& rows)
{
    list.model->setStringList(rows);
    list.shownRow = 0;
    m_ws.ChangedFlags[list.index] = false;
    list.values->restoreColours();
    list.values->setSavedMarkerVisible(false);
    if (rows.isEmpty())
        list.values->showNothing();
}

std::optional<std::vector<std::uint8_t>> MainWindow::readListFile(const std::string& path,
                                                                 std::optional<FileStamp>& stamp)
{
    try {
        // Stamped before reading: a change made while we read makes the stamp older, never newer.
        stamp = stampOf(path);
        auto bytes = readWholeFile(path);
        if (!bytes.empty())
            m_ws.Busy = true;
        return bytes;
    } catch (const IoError&) {
        m_prompter->message(CannotOpen, "");
        m_ws.Busy = false;
        return std::nullopt;
    }
}

void MainWindow::loadCache()
{
    OtherList& list = otherList(CacheList);
    fillOtherList(list, {}); // a load replaces the whole table
    m_cache = CacheLoadResult{};
    {
        WaitCursor wait;
        const auto bytes = readListFile(m_ws.CachePath, m_ws.CacheStamp);
        if (!bytes)
            return;
        m_cache = readCacheFile(*bytes, m_progress.get());
    }
    showMessages(m_cache.messages);
    fillOtherList(list, listTexts(m_cache.records, [](const CacheRecord& r) { return r.listText; }));
    finishOtherLoad(list);
}

void MainWindow::loadModelFile()
{
    OtherList& list = otherList(ModelList);
    fillOtherList(list, {});
    m_model = ModelLoadResult{};
    {
        WaitCursor wait;
        const auto bytes = readListFile(m_ws.ModelPath, m_ws.ModelStamp);
        if (!bytes)
            return;
        m_model = readModelFile(*bytes, m_progress.get());
    }
    showMessages(m_model.messages);
    fillOtherList(list, listTexts(m_model.frames, [](const ModelFrame& f) { return f.name; }));
    m_inspectorTabs->setCurrentIndex(ModelValuesPage);
    finishOtherLoad(list);
}

// Selects the first entry, clears Busy and shows the entry.
void MainWindow::finishOtherLoad(OtherList& list)
{
    selectListRow(list.view, 0);
    m_ws.Busy = false;
    if (list.model->rowCount() > 0)
        onOtherRowChanged(list, list.view->currentIndex().row());
}

void MainWindow::loadTree()
{
    OtherList& list = otherList(CollisionList);
    // The collision path now names this file: nothing of an earlier one may stay listed.
    fillOtherList(list, {});
    m_tree = CollisionLoadResult{};
    std::optional<CollisionLoadResult> result;
    {
        WaitCursor wait;
        m_ws.TreeStamp = stampOf(m_ws.TreePath);
        m_ws.Busy = true;
        result = loadTreeOfMission(m_ws, m_scene.catalogue, *m_prompter, m_progress.get());
    }
    if (result)
        m_tree = std::move(*result);
    fillOtherList(list, listTexts(m_tree.bodies, [](const CollisionBody& b) { return b.listText; }));
    if (result)
        m_inspectorTabs->setCurrentIndex(TreeValuesPage);
    finishOtherLoad(list);
}

void MainWindow::onOtherRowChanged(OtherList& list, int row)
{
    if (m_ws.Busy || m_savePromptGuard || row < 0 || list.model->rowCount() == 0)
        return;
    m_inspectorTabs->setCurrentIndex(list.page);
    if (m_ws.ChangedFlags[list.index]) {
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
        m_ws.ChangedFlags[list.index] = false;
    }
    list.values->setSavedMarkerVisible(false);
    showOtherEntry(list, static_cast<std::uint32_t>(row));
}

std::optional<ListValuesPage::Values> MainWindow::valuesOf(ListIndex list, std::uint32_t row) const
{
    switch (list) {
    case CacheList: {
        const CacheRecord& r = m_cache.records.at(row);
        if (r.isBase())
            return std::nullopt;
        return ListValuesPage::Values{r.name, r.position, r.size, r.rotation, 0};
    }
    case ModelList: {
        const ModelFrame& f = m_model.frames.at(row);
        return ListValuesPage::Values{f.name, f.position, {}, f.rotation, 0};
    }
    case CollisionList: {
        const CollisionBody& b = m_tree.bodies.at(row);
        return ListValuesPage::Values{b.linkName, b.position, b.size, b.rotation, b.material};
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
        if (row >= m_cache.records.size() || m_cache.records[row].isBase())
            return ValueSaveResult::Refused;
        return saveCacheValues(form, m_cache.records[row], m_ws.CachePath, m_ws.CacheStamp, *m_prompter);
    case ModelList:
        if (row >= m_model.frames.size())
            return ValueSaveResult::Refused;
        return saveModelValues(form, m_model.frames[row], m_ws.ModelPath, m_ws.ModelStamp, *m_prompter);
    case CollisionList:
        if (row >= m_tree.bodies.size())
            return ValueSaveResult::Refused;
        return saveCollisionValues(form, list.values->material(), m_tree.bodies[row], m_ws.TreePath, m_ws.TreeStamp,
                                   *m_prompter);
    default:
        return ValueSaveResult::Refused;
    }
}

void MainWindow::saveOtherCommand(OtherList& list)
{
    if (m_ws.Busy || list.model->rowCount() == 0)
        return;
    switch (saveOtherValues(list)) {
    case ValueSaveResult::Saved:
    case ValueSaveResult::TransformOnly:
        list.values->restoreColours();
        m_ws.ChangedFlags[list.index] = false;
        list.values->setSavedMarkerVisible(true);
        // Edits are now compared with what was saved.
        if (const auto values = valuesOf(list.index, list.shownRow))
            list.values->setStoredValues(*values);
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
    switch (list.index) {
    case CacheList:
        loadCache();
        break;
    case ModelList:
        loadModelFile();
        break;
    case CollisionList:
        loadTree();
        break;
    default:
        return;
    }
    if (static_cast<int>(row) < list.model->rowCount())
        selectListRow(list.view, row);
}

} // namespace mw
