#pragma once
// One tab of the list tab strip (SSTabMod): its list and the name search under it — the field, the
// "search" button and the "stop" button — and the search itself, shared by the six lists.

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "ui/Selection.h"

class QLineEdit;
class QListView;
class QPushButton;
class QTabWidget;
class QVBoxLayout;
class QWidget;

namespace mw {

class Mission;
class Prompter;

struct ListTab {
    QWidget* page = nullptr;
    QVBoxLayout* layout = nullptr;
    QListView* list = nullptr;
    QLineEdit* field = nullptr; // the name search field
    QPushButton* search = nullptr;
    QPushButton* stop = nullptr;
};

// Adds the tab `index` with its caption, the list named `listName` and the search field named
// `fieldName`; "search" and "stop" are named search_<index> and stopsearch_<index>.
ListTab addListTab(QTabWidget* tabs, int index, const QString& caption, const char* listName, const char* fieldName);

// Selects `row` of the list, when the list has it, and scrolls to it.
void selectListRow(QListView* list, std::optional<std::uint32_t> row);

// What a list selects and its current row, read from its selection model range by range (a
// selection of 30 000 rows is one range, not 30 000 indexes).
ListSelection listSelectionOf(const QListView* list);
// The list shows `selection`: its rows as few ranges as they make, the current row made current
// without selecting it. The selection model's signals are not sent.
void showListSelection(QListView* list, const ListSelection& selection);

// The name search of a list: from the row after the selected one, letter case ignored; the mission
// is busy while it walks (the stop button, which sets `stop`, stays usable). The row the walk ends
// on is selected, which shows it. Nothing for an empty list or an empty field.
void searchByName(Mission& mission, Prompter& prompter, QListView* list, const std::string& needle,
                  const std::function<std::string(std::size_t)>& textOf, bool& stop);

} // namespace mw
