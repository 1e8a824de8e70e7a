#pragma once
// The editor's main window, the composition root: it owns the mission, builds every action and the
// menus in one place, assembles the panels (the scene's lists and pages, the other three lists, the
// map, the notice of files changed by another program) and derives every action's state from the
// mission in updateActions(). The panels observe the mission themselves; commands run through the
// one CommandRunner.

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <functional>
#include <filesystem>
#include <memory>
#include <vector>

#include "commands/placing/Placing.h"
#include "mission/Mission.h"
#include "ui/QtPrompter.h"

class QAction;
class QCloseEvent;
class QLabel;
class QSettings;
class QPushButton;
class QTabWidget;

namespace mw {

class ChangedFilesBar;
class CheckPanel;
class ExportDialog;
class CommandRunner;
class InsertDialog;
class ItemStates;
class MapPanel;
class OtherListPanel;
class PanelProgress;
class PutTreeDialog;
class ScenePanel;
class Selection;
class SelectionCommands;
class SelectionDock;
class ScriptConsole;
class StatusLine;
struct EditState;
class TrackDialog;
class View3DPanel;
class ViewLayers;
struct InsertKind;

class MainWindow : public QMainWindow, private MissionListener {
    Q_OBJECT
public:
    MainWindow();
    ~MainWindow() override;

    Mission& mission() { return *m_mission; }
    // The dialogs, once their commands have opened them.
    InsertDialog* insertDialog() const { return m_insertDialog.get(); }
    PutTreeDialog* putTreeDialog() const { return m_putTreeDialog.get(); }
    TrackDialog* trackDialog() const { return m_trackDialog.get(); }
    SelectionCommands& selectionCommands() { return *m_objectCommands; }
    // The window's one selection, which every list and view shows and sets.
    Selection& selection() { return *m_selection; }
    // The unsaved edits of the pages and the searches' stop flags.
    EditState& edits() { return *m_edits; }
    ExportDialog* exportDialog() const { return m_exportDialog.get(); }
    View3DPanel& view3d() { return *m_view3d; }
    SelectionDock& selectionDock() { return *m_selectionDock; }
    ScriptConsole& scriptConsole() { return *m_console; }

    // Seams: every message box and file dialog goes through these (tests answer them).
    void setPrompter(Prompter* prompter);
    void setFileChooser(FileChooser* chooser);
    Prompter& prompter() { return m_prompter; }

    // Opens mission files named on the command line or dropped onto the window: by file name, or
    // the four files of a folder.
    void openPaths(const QStringList& paths);
    // Where the window was left: its size, position and state, its docks, the layers shown; and the
    // file dialogs' last folders are kept in `settings` from now on (it must outlive the window).
    // Settings that cannot be read, or that hold nonsense, leave the defaults.
    void restoreSettings(QSettings& settings);
    void saveSettings(QSettings& settings) const;
    // The scene read again keeping `keep`, or as the loader reads it for a reload nobody asked to
    // keep rows for.
    void reloadScene(const std::optional<KeptRows>& keep = std::nullopt);
    // The action with this id (ids:: of WidgetNames.h).
    QAction* action(const char* id) const;

    // List tab indices of SSTabMod.
    enum ListTab { AllTab = 0, ScriptsTab = 1, ThingsTab = 2, CacheTab = 3, ModelTab = 4, TreeTab = 5 };
    // Inspector page indices of SSTab1.
    enum InspectorPage { ScriptOverviewPage = 0, SceneValuesPage = 1, CacheValuesPage = 2, ModelValuesPage = 3, TreeValuesPage = 4 };

private:
    struct Actions {
        std::array<QAction*, 4> load{}; // by MissionFile
        QAction* exit = nullptr;
        std::vector<QAction*> insert;   // by insertKinds()
        QAction* addin = nullptr;
        QAction* racing = nullptr;
        QAction* putCache = nullptr;
        QAction* putTree = nullptr;
        QAction* about = nullptr;
        QAction* undo = nullptr;
        QAction* redo = nullptr;
        QAction* cut = nullptr;
        QAction* copy = nullptr;
        QAction* paste = nullptr;
        QAction* duplicate = nullptr;
        QAction* selectAll = nullptr;
        QAction* moveSelection = nullptr;
        QAction* dropToGround = nullptr;
        QAction* showMap = nullptr;
        QAction* show3d = nullptr;
        QAction* showSelectionDock = nullptr;
        QAction* showScriptConsole = nullptr;
        QAction* runScript = nullptr;
        QAction* hideSelected = nullptr;
        QAction* hideOthers = nullptr;
        QAction* showAll = nullptr;
        QAction* lockSelected = nullptr;
        QAction* unlockAll = nullptr;
        QAction* exportAddin = nullptr;
        QAction* checkMission = nullptr;
        QAction* deleteObject = nullptr;
        QAction* saveSceneValues = nullptr;
        QAction* saveScript = nullptr;
    };

    void buildActions();
    void buildMenus();
    QWidget* buildBottomPanel();
    void connectPanels();
    // An entry chosen elsewhere (the check report): its list's tab, and the row selected.
    void selectEntry(MissionFile file, std::uint32_t row);
    // Every action's enabled state (and the captions of undo and redo), from the mission.
    void updateActions();
    // The status line counts what is selected, by kind.
    void tellSelection();
    // Hide and lock: the actions, their menu on a right click in a list or a view, and what the
    // status bar says of them.
    void buildStateActions();
    void showEntryMenu(QWidget* over, QPoint at);
    void changeStates(const std::function<void()>& change);
    void tellStates();
    // The selected items a view command may move; the locked ones are told in the status line.
    PlacedItems movableItems();

    void missionChanged(const MissionChange& change) override;
    void historyChanged() override { updateActions(); }
    void busyChanged() override { updateActions(); }

    void resetRoutine();
    void loadCommand(MissionFile file);
    void openFile(MissionFile file, const std::filesystem::path& path);
    void exitCommand();
    void showAbout();
    void openInsertDialog(const InsertKind& kind);
    void addinCommand();
    void racingCommand();
    void putCacheCommand();
    void putTreeCommand();
    void exportCommand();
    void runScriptCommand();
    void travel(bool back);
    void reloadStale(MissionFile file);
    void reloadChangedFiles();
    OtherListPanel& otherPanel(MissionFile file) const { return *m_others[static_cast<std::size_t>(file) - 1]; }
    void closeEvent(QCloseEvent* event) override;
    // Mission folders and files dropped onto the window open as openPaths() opens them.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

    std::unique_ptr<Mission> m_mission;
    QtPrompter m_qtPrompter;
    QtFileChooser m_qtFiles;
    PrompterSwitch m_prompter;
    FileChooserSwitch m_files;
    std::unique_ptr<PanelProgress> m_progress;
    std::unique_ptr<StatusLine> m_status;
    std::unique_ptr<Selection> m_selection;
    std::unique_ptr<EditState> m_edits;
    std::unique_ptr<CommandRunner> m_runner;
    Actions m_actions;
    bool m_tellsSelection = false; // the status line says what is selected

    QTabWidget* m_listTabs = nullptr;      // SSTabMod
    QTabWidget* m_inspectorTabs = nullptr; // SSTab1
    std::array<QLabel*, 4> m_pathLabels{}; // Label4, Label5, Label6, Label39, by MissionFile
    ChangedFilesBar* m_changedBar = nullptr;

    // The panels go before the mission: they stop listening to it when they are taken down.
    std::unique_ptr<ScenePanel> m_scene;
    std::array<std::unique_ptr<OtherListPanel>, 3> m_others; // cache, model file, collision file
    std::unique_ptr<ViewLayers> m_layers;
    std::unique_ptr<MapPanel> m_map;
    std::unique_ptr<View3DPanel> m_view3d;
    std::unique_ptr<CheckPanel> m_check;
    std::unique_ptr<SelectionDock> m_selectionDock;
    std::unique_ptr<ScriptConsole> m_console;
    std::unique_ptr<ItemStates> m_items;
    QLabel* m_statesLabel = nullptr;
    bool m_toldStatesAreNoSteps = false;
    std::unique_ptr<SelectionCommands> m_objectCommands;
    std::unique_ptr<InsertDialog> m_insertDialog;
    std::unique_ptr<PutTreeDialog> m_putTreeDialog;
    std::unique_ptr<TrackDialog> m_trackDialog;
    std::unique_ptr<ExportDialog> m_exportDialog;
};

} // namespace mw
