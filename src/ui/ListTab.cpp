#include "ui/ListTab.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "foundation/text/Latin1Text.h"
#include "mission/Mission.h"
#include "mission/Search.h"
#include "ui/SelectingListView.h"

namespace mw {

ListTab addListTab(QTabWidget* tabs, int index, const QString& caption, const char* listName, const char* fieldName)
{
    ListTab tab;
    tab.page = new QWidget;
    tab.layout = new QVBoxLayout(tab.page);
    tab.list = new SelectingListView;
    tab.list->setObjectName(QString::fromLatin1(listName));
    tab.list->setSelectionMode(QAbstractItemView::SingleSelection);
    tab.list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tab.list->setUniformItemSizes(true); // keeps 30 000 rows instant
    tab.layout->addWidget(tab.list, 1);

    auto* row = new QHBoxLayout;
    tab.field = new QLineEdit;
    tab.field->setObjectName(QString::fromLatin1(fieldName));
    tab.field->setPlaceholderText(QStringLiteral("name"));
    tab.search = new QPushButton(QStringLiteral("search"));
    tab.search->setObjectName(QStringLiteral("search_%1").arg(index));
    tab.stop = new QPushButton(QStringLiteral("stop"));
    tab.stop->setObjectName(QStringLiteral("stopsearch_%1").arg(index));
    row->addWidget(tab.field, 1);
    row->addWidget(tab.search);
    row->addWidget(tab.stop);
    tab.layout->addLayout(row);
    tabs->addTab(tab.page, caption);
    return tab;
}

void selectListRow(QListView* list, std::optional<std::uint32_t> row)
{
    if (!row || static_cast<int>(*row) >= list->model()->rowCount())
        return;
    const QModelIndex index = list->model()->index(static_cast<int>(*row), 0);
    const SelectingListView::Batch batch(list); // its selection and its current row, told as one
    list->setCurrentIndex(index);
    list->scrollTo(index);
}

ListSelection listSelectionOf(const QListView* list)
{
    ListSelection s;
    const QModelIndex current = list->currentIndex();
    if (current.isValid())
        s.current = static_cast<std::uint32_t>(current.row());
    for (const QItemSelectionRange& range : list->selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            s.rows.push_back(static_cast<std::uint32_t>(row));
    sortRows(s.rows);
    return s;
}

void showListSelection(QListView* list, const ListSelection& s)
{
    QItemSelectionModel* model = list->selectionModel();
    const QSignalBlocker block(model);
    const int count = list->model()->rowCount();
    QItemSelection ranges;
    for (std::size_t k = 0; k < s.rows.size();) {
        std::size_t end = k + 1;
        while (end < s.rows.size() && s.rows[end] == s.rows[end - 1] + 1)
            ++end;
        const int top = static_cast<int>(s.rows[k]), bottom = std::min(static_cast<int>(s.rows[end - 1]), count - 1);
        if (top < count)
            ranges.select(list->model()->index(top, 0), list->model()->index(bottom, 0));
        k = end;
    }
    model->select(ranges, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (s.current && static_cast<int>(*s.current) < count)
        model->setCurrentIndex(list->model()->index(static_cast<int>(*s.current), 0), QItemSelectionModel::NoUpdate);
    else
        model->clearCurrentIndex();
    list->viewport()->update();
}

void searchByName(Mission& mission, Prompter& prompter, QListView* list, const std::string& needle,
                  const std::function<std::string(std::size_t)>& textOf, bool& stop)
{
    stop = false;
    const int rows = list->model()->rowCount();
    if (rows == 0 || needle.empty() || mission.busy())
        return;
    const int selected = list->currentIndex().row();
    SearchEnd end;
    {
        const Mission::BusyScope busy(mission);
        end = searchList(
            static_cast<std::size_t>(rows), selected >= 0 ? std::optional<std::size_t>(selected) : std::nullopt,
            [&](std::size_t row) { return containsIgnoringCase(textOf(row), needle); }, prompter,
            [&stop] {
                QCoreApplication::processEvents(); // lets "stop" be pressed
                return stop;
            });
    }
    if (end.row)
        selectListRow(list, static_cast<std::uint32_t>(*end.row));
}

} // namespace mw
