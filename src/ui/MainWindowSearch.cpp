// Name search on the six list tabs and translation search on the cache, model-file and collision
// pages. A search finds the matching row and selects it, which shows it as a click would.
#include <QCoreApplication>
#include <QLineEdit>
#include <QListView>
#include <QStringListModel>

#include "foundation/seams/Prompter.h"
#include "foundation/text/Latin1Text.h"
#include "foundation/text/NumericText.h"
#include "mission/Search.h"
#include "ui/MainWindow.h"
#include "ui/SceneListModel.h"
#include "ui/TranslationSearchPanel.h"

namespace mw {

QListView* MainWindow::listOfTab(int tab) const
{
    QListView* const lists[] = {m_allList, m_scriptList, m_thingList, m_cacheList, m_modelList, m_treeList};
    return lists[tab];
}

std::string MainWindow::rowText(int tab, std::size_t row) const
{
    switch (tab) {
    case AllTab:
        return std::string(catalogue().name(row));
    case ScriptsTab:
        return std::string(catalogue().name(catalogue().scriptRows[row]));
    case ThingsTab:
        return std::string(catalogue().name(catalogue().plainRows[row]));
    case CacheTab:
        return m_mission->cache().listText(row);
    case ModelTab:
        return m_mission->model().frames[row].name;
    default:
        return m_mission->tree().listText(row);
    }
}

void MainWindow::nameSearch(int tab)
{
    ws().NameSearchStop = false;
    QListView* list = listOfTab(tab);
    const int rows = list->model()->rowCount();
    const std::string needle = m_nameSearchFields[tab]->text().toLatin1().toStdString();
    if (rows == 0 || needle.empty() || ws().Busy)
        return;
    const int selected = list->currentIndex().row();
    const SearchEnd end = searchList(
        static_cast<std::size_t>(rows), selected >= 0 ? std::optional<std::size_t>(selected) : std::nullopt,
        [&](std::size_t row) { return containsIgnoringCase(rowText(tab, row), needle); }, *m_prompter,
        [this] {
            QCoreApplication::processEvents(); // lets "stop" be pressed
            return ws().NameSearchStop;
        });
    if (end.row)
        selectListRow(list, static_cast<std::uint32_t>(*end.row));
}

std::optional<Vec3> MainWindow::translationOf(ListIndex list, std::size_t row) const
{
    switch (list) {
    case CacheList:
        if (m_mission->cache().records[row].isBase)
            return std::nullopt; // a base entry has no translation
        return m_mission->cache().records[row].position;
    case ModelList:
        return m_mission->model().frames[row].position;
    case CollisionList:
        return m_mission->tree().body(row).position;
    default:
        return std::nullopt;
    }
}

namespace {

float axisOf(const Vec3& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }

QString oneDecimal(float value) { return QString::fromStdString(formatOneDecimal(formatFloat(value))); }

} // namespace

void MainWindow::showTranslationInSearch(OtherList& list, std::uint32_t row)
{
    const auto t = translationOf(list.index, row);
    for (int axis = 0; axis < 3; ++axis)
        list.search->display(axis)->setText(t ? QString::fromStdString(formatFloat(axisOf(*t, axis))) : QString());
}

void MainWindow::translationSearch(OtherList& list, std::optional<int> axis)
{
    ws().TranslationSearchStop = false;
    const int rows = list.model->rowCount();
    if (rows == 0 || ws().Busy)
        return;
    std::vector<int> axes = axis ? std::vector<int>{*axis} : std::vector<int>{0, 1, 2};
    std::array<std::string, 3> wanted;
    // The fields are checked once the first step has moved on, and rewritten in the "0.0" pattern.
    const auto ready = [&] {
        for (int a : axes)
            if (list.search->field(a)->text().isEmpty()) {
                m_prompter->message("Put numeric", "");
                return false;
            }
        for (int a : axes) {
            wanted[a] = formatOneDecimal(list.search->field(a)->text().toStdString());
            list.search->field(a)->setText(QString::fromStdString(wanted[a]));
        }
        return true;
    };
    const auto matches = [&](std::size_t row) {
        const auto t = translationOf(list.index, row);
        if (!t)
            return false;
        for (int a : axes)
            if (formatOneDecimal(formatFloat(axisOf(*t, a))) != wanted[a])
                return false;
        return true;
    };
    const int selected = list.view->currentIndex().row();
    const SearchEnd end = searchList(
        static_cast<std::size_t>(rows), selected >= 0 ? std::optional<std::size_t>(selected) : std::nullopt, matches,
        *m_prompter,
        [this] {
            QCoreApplication::processEvents(); // lets "stop" be pressed
            return ws().TranslationSearchStop;
        },
        ready);
    if (!end.row)
        return;
    selectListRow(list.view, static_cast<std::uint32_t>(*end.row));
    // The last row compared shows its coordinates in the pattern they were compared in.
    if (const auto t = translationOf(list.index, *end.row); t && end.examined && list.shownRow == *end.row)
        for (int a : axes)
            list.search->display(a)->setText(oneDecimal(axisOf(*t, a)));
}

} // namespace mw
