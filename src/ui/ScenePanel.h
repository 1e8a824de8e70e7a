#pragma once
// The scene's part of the window: the lists "All", "Scripts" and "Things" with their name searches
// and the Delete button, the "S. Ovv." and "Scene" pages of the inspector; the selection handlers
// with their unsaved-edits questions, and the commands on the shown entry (values, script, delete).
// The lists show the window's one selection and set it; the panel observes the mission and refreshes
// itself when the scene is loaded or reloaded.

#include <QObject>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "mission/Mission.h"
#include "ui/CommandRunner.h"

class QLineEdit;
class QListView;
class QPushButton;
class QTabWidget;

namespace mw {

class Prompter;
class SceneListModel;
class ScenePage;
class ScriptOverviewPage;
class ItemStates;
class Selection;
class StatusLine;
struct EditState;
struct InsertSource;

class ScenePanel final : public QObject, private MissionListener {
    Q_OBJECT
public:
    // Adds the three list tabs and the two pages to the tab strips, in their order.
    ScenePanel(Mission& mission, Selection& selection, EditState& edits, Prompter& prompter, CommandRunner& runner,
               StatusLine& status, QTabWidget* listTabs, QTabWidget* inspectorTabs);
    ~ScenePanel() override;

    bool hasRows() const;
    // The current row of "All".
    std::optional<std::uint32_t> currentRow() const;
    // Every row of "All" into the selection (showing its tab).
    void selectAll();
    // Shows the entry the current list tab selects.
    void showCurrentEntry();
    // The reset routine of a load command: no unsaved edits, no "SAVED" marker, normal colours.
    void resetEdits();
    void hideSavedMarker();
    // A scene object dragged on the map: when it is the shown one, x and z become typed edits.
    void placeShownAt(std::uint32_t row, float x, float z);
    // What the insert dialog starts from: the selected object as the page shows it.
    std::optional<InsertSource> insertSource() const;
    // The scene read again, keeping the rows of the three lists.
    void reloadKeepingRows();
    // The lists draw hidden rows grey and locked ones with a padlock.
    void showStates(const ItemStates& states);

    // Before a command writes the objects `rows`: the page's unsaved values of one of them saved or
    // let go, as the user answers "Save values?". False when the save did not go through.
    bool settleEditsOf(std::span<const std::uint32_t> rows);

    // The commands of the page's buttons; true when the values, or the script, were written.
    bool saveValues();
    bool saveScript();
    void deleteSelected();

    QPushButton* deleteButton() const { return m_deleteButton; }
    QPushButton* saveValuesButton() const;
    QPushButton* saveScriptButton() const;

private:
    void missionChanged(const MissionChange& change) override;
    void aboutToLoad();
    void loaded();
    // The window's selection into the lists (and the entry it names shown), and back.
    void applySelection();
    void pushSelection();
    void onAllRowChanged(int row);
    void onMappedRowChanged(QListView* list, int row);
    void showEntry(std::uint32_t row);
    // Shows the shown entry again after a command wrote it, unless it has unsaved edits.
    void refreshShownEntry();
    void selectByName(QListView* list, std::string_view name);
    void onScriptEdited();
    void listScripts();
    void searchScripts();
    void searchByName(int tab);
    CommandResult saveValuesNow();

    Mission& m_mission;
    Selection& m_selection;
    EditState& m_edits;
    Prompter& m_prompter;
    CommandRunner& m_runner;
    StatusLine& m_status;
    QTabWidget* m_listTabs;
    QTabWidget* m_inspectorTabs;

    std::array<QListView*, 3> m_lists{}; // List2 "All", List1 "Scripts", List3 "Things"
    std::array<SceneListModel*, 3> m_models{};
    std::array<QLineEdit*, 3> m_searchFields{};
    QPushButton* m_deleteButton = nullptr;
    ScenePage* m_page = nullptr;
    ScriptOverviewPage* m_overview = nullptr;

    std::uint32_t m_shownRow = 0;   // the "All" row the Scene page shows
    bool m_entryShown = false;      // the page shows an entry of the scene as loaded now
    bool m_listsFilling = false;    // set while the selection is put into the lists
    bool m_pushing = false;         // set while the lists' selection goes into the window's
    bool m_savePromptGuard = false; // set while a save started from a selection prompt runs
    bool m_scriptDirty = false;     // the script box holds an unsaved change of length
};

} // namespace mw
