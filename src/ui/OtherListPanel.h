#pragma once
// The part of the window of one of the other three files (cache.bin, scene.4ds, tree.klz): its list
// with the name search, its inspector page with the values, the Save button and the translation
// search. What the file holds comes through the core's list of that file; the panel observes the
// mission and refreshes itself when its file is loaded, and shows and sets the window's selection.

#include <QObject>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "commands/lists/OtherList.h"
#include "mission/Mission.h"
#include "ui/CommandRunner.h"

class QListView;
class QLineEdit;
class QTabWidget;

namespace mw {

class ItemStates;
class ListValuesPage;
class Prompter;
class Selection;
class TextListModel;
class TranslationSearchPanel;
struct EditState;

class OtherListPanel final : public QObject, private MissionListener {
    Q_OBJECT
public:
    // `list` is MissionFile::Cache, MissionFile::Model or MissionFile::Tree; the panel adds its list tab and its page.
    OtherListPanel(MissionFile list, Mission& mission, Selection& selection, EditState& edits, Prompter& prompter,
                   CommandRunner& runner, QTabWidget* listTabs, QTabWidget* inspectorTabs);
    ~OtherListPanel() override;

    MissionFile file() const { return m_file; }
    bool hasRows() const;
    // The file read again, the shown row kept.
    void reloadKeepingRow();
    std::uint32_t shownRow() const { return m_shownRow; }
    // Before a command writes the entries `rows`: the page's unsaved values of one of them saved or
    // let go, as the user answers "Save values?". False when the save did not go through.
    bool settleEditsOf(std::span<const std::uint32_t> rows);
    // The reset routine of a load command: no unsaved edits, no "SAVED" marker, normal colours.
    void resetEdits();
    // The list draws hidden rows grey and locked ones with a padlock.
    void showStates(const ItemStates& states);

private:
    void missionChanged(const MissionChange& change) override;
    void fill(std::size_t rows);
    void loaded();
    void applySelection();
    void pushSelection();
    void onRowChanged(int row);
    void showEntry(std::uint32_t row);
    CommandResult saveNow();

    MissionFile m_file;
    Mission& m_mission;
    Selection& m_selection;
    EditState& m_edits;
    Prompter& m_prompter;
    CommandRunner& m_runner;
    std::unique_ptr<OtherList> m_list; // the file's rows, as the mission holds them
    QTabWidget* m_listTabs;
    QTabWidget* m_inspectorTabs;
    int m_listTab = 0;
    int m_pageTab = 0;
    bool m_showsPageOnLoad = true;    // a load switches the inspector to this list's page
    bool m_editsOutliveLoads = false; // the page's edits stay when another file is loaded
    QListView* m_view = nullptr;
    QLineEdit* m_searchField = nullptr;
    TextListModel* m_model = nullptr;
    ListValuesPage* m_values = nullptr;
    TranslationSearchPanel* m_search = nullptr;
    std::uint32_t m_shownRow = 0;
    bool m_filling = false;         // set while a load's rows are put into the list
    bool m_applying = false;        // set while the window's selection is put into the list
    bool m_savePromptGuard = false; // set while a save started from the selection prompt runs
};

} // namespace mw
