#pragma once
// The editor's main window: menus, the list tab strip with the six object lists, the inspector tab
// strip, the four path labels, the status line and the progress panel. It owns the mission, shows
// what the mission tells it about its files, and binds the controls to the core's commands.

#include <QMainWindow>
#include <QStringList>
#include <memory>

#include "commands/editing/SceneValueSave.h"
#include "commands/merges/SceneMerge.h"
#include "mission/Mission.h"
#include "ui/ListValuesPage.h"
#include "ui/TextListModel.h"

class QAction;
class QFileSystemWatcher;
class QCloseEvent;
class QFrame;
class QLabel;
class QLineEdit;
class QListView;
class QProgressBar;
class QPushButton;
class QTabWidget;

namespace mw {

class FileChooser;
class PanelProgress;
class Prompter;
class SceneListModel;
class TranslationSearchPanel;
class InsertDialog;
class PutTreeDialog;
class TrackDialog;
class MissionMapView;
struct InsertKind;
class ScenePage;
class ScriptOverviewPage;

class MainWindow : public QMainWindow, private MissionListener {
    Q_OBJECT
public:
    MainWindow();
    ~MainWindow() override;

    Mission& mission() { return *m_mission; }
    // The insert dialog, once an "&Insert" command has opened it.
    InsertDialog* insertDialog() const { return m_insertDialog.get(); }
    // The "Put tree.klz" dialog, once "Put&Tree" has opened it.
    PutTreeDialog* putTreeDialog() const { return m_putTreeDialog.get(); }
    // The track dialog, once "&Racing" has opened it.
    TrackDialog* trackDialog() const { return m_trackDialog.get(); }

    // Seams: every message box and file dialog goes through these (tests answer them).
    void setPrompter(Prompter* prompter);
    void setFileChooser(FileChooser* chooser);
    Prompter& prompter() { return *m_prompter; }

    // Opens mission files named on the command line: by file name, or the four files of a folder.
    void openPaths(const QStringList& paths);

    // The scene loader with its window steps; a writer sets KeepSelection (and ReloadIndex) first.
    void reloadScene();

    // List tab indices of SSTabMod.
    enum ListTab { AllTab = 0, ScriptsTab = 1, ThingsTab = 2, CacheTab = 3, ModelTab = 4, TreeTab = 5 };
    // Inspector page indices of SSTab1.
    enum InspectorPage { ScriptOverviewPage = 0, SceneValuesPage = 1, CacheValuesPage = 2, ModelValuesPage = 3, TreeValuesPage = 4 };

private:
    enum class FileKind { Scene, Cache, Model, Tree };

    void buildMenus();
    void buildLists(QTabWidget* tabs);
    void buildInspector(QTabWidget* tabs);
    QWidget* buildBottomPanel();

    Workspace& ws() { return m_mission->workspace(); }
    const SceneCatalogue& catalogue() const { return m_mission->sceneCatalogue(); }

    void missionChanged(const MissionChange& change) override;
    void historyChanged() override { updateEditActions(); }
    void sceneAboutToLoad();
    void sceneLoaded();

    void resetRoutine();
    void loadCommand(FileKind kind);
    void openFile(FileKind kind, const std::filesystem::path& path);
    void loadScene(SceneLoadKind kind);
    void selectListRow(QListView* list, std::optional<std::uint32_t> row);
    void exitCommand();
    void showAbout();

    void onAllRowChanged(int row);
    void onMappedRowChanged(QListView* list, int row);
    void showSceneEntry(std::uint32_t row);
    void showCurrentSceneEntry();
    std::optional<std::string> scriptTextOf(const SceneEntry& entry) const;
    void selectByName(QListView* list, std::string_view name);
    void saveSceneValuesCommand();
    void reloadSceneAt(std::uint32_t row);

    // Undo and redo; files changed by another program.
    void buildEditMenu();
    void updateEditActions();
    void travelCommand(bool back);
    QWidget* buildChangedOnDiskBar();
    void watchLoadedFiles();
    void onFileChangedOnDisk(const QString& path);
    void reloadChangedFiles();

    void openInsertDialog(const InsertKind& kind);
    void addinCommand();
    void buildMap();
    void refreshMap();
    void racingCommand();
    void putCacheCommand();
    void putTreeCommand();
    void finishMerge(MergeResult result);

    // Scripts and deletion.
    void onScriptEdited();
    void saveScriptCommand();
    void listScriptsCommand();
    void scriptSearchCommand();
    void deleteCommand();

    // The cache, model-file and collision lists with their pages.
    struct OtherList {
        ListIndex index;
        InspectorPage page;
        QListView* view = nullptr;
        TextListModel* model = nullptr;
        ListValuesPage* values = nullptr;
        TranslationSearchPanel* search = nullptr;
        std::uint32_t shownRow = 0;
    };
    OtherList& otherList(ListIndex index) { return m_otherLists[index - CacheList]; }
    OtherList& otherList(MissionFile file) { return otherList(static_cast<ListIndex>(file)); }
    void otherLoaded(OtherList& list);
    void loadOther(MissionFile file);
    // Shows `rows` rows of the list's file, each read only when drawn.
    void fillOtherList(OtherList& list, std::size_t rows, TextListModel::TextOf textOf);
    void onOtherRowChanged(OtherList& list, int row);
    void showOtherEntry(OtherList& list, std::uint32_t row);
    // The values a page shows for an entry; nothing for a base entry of the cache.
    std::optional<ListValuesPage::Values> valuesOf(ListIndex list, std::uint32_t row) const;
    ValueSaveResult saveOtherValues(OtherList& list);
    void saveOtherCommand(OtherList& list);
    void reloadOther(OtherList& list);

    // Searches.
    QListView* listOfTab(int tab) const;
    std::string rowText(int tab, std::size_t row) const;
    void nameSearch(int tab);
    std::optional<Vec3> translationOf(ListIndex list, std::size_t row) const;
    void translationSearch(OtherList& list, std::optional<int> axis);
    void showTranslationInSearch(OtherList& list, std::uint32_t row);

    void setStatus(const QString& text, const QColor& colour);
    void closeEvent(QCloseEvent* event) override;

    std::unique_ptr<Mission> m_mission;
    bool m_listsFilling = false; // set while a load's rows are put into the lists and selected

    std::unique_ptr<Prompter> m_ownPrompter;
    std::unique_ptr<FileChooser> m_ownFileChooser;
    Prompter* m_prompter = nullptr;
    FileChooser* m_fileChooser = nullptr;
    std::unique_ptr<PanelProgress> m_progress;
    std::unique_ptr<InsertDialog> m_insertDialog;
    std::unique_ptr<PutTreeDialog> m_putTreeDialog;
    std::unique_ptr<TrackDialog> m_trackDialog;

    QTabWidget* m_listTabs = nullptr;      // SSTabMod
    QTabWidget* m_inspectorTabs = nullptr; // SSTab1
    QListView* m_allList = nullptr;        // List2
    QListView* m_scriptList = nullptr;     // List1
    QListView* m_thingList = nullptr;      // List3
    QListView* m_cacheList = nullptr;      // List5
    QListView* m_modelList = nullptr;      // List4
    QListView* m_treeList = nullptr;       // List6
    SceneListModel* m_allModel = nullptr;
    SceneListModel* m_scriptModel = nullptr;
    SceneListModel* m_thingModel = nullptr;
    std::array<QLineEdit*, 6> m_nameSearchFields{}; // by list tab

    std::array<OtherList, 3> m_otherLists{OtherList{CacheList, CacheValuesPage}, OtherList{ModelList, ModelValuesPage},
                                          OtherList{CollisionList, TreeValuesPage}};

    ScenePage* m_scenePage = nullptr;
    mw::ScriptOverviewPage* m_overview = nullptr; // the "S. Ovv." page
    std::uint32_t m_shownRow = 0;   // the "All" row the Scene page shows
    bool m_savePromptGuard = false; // set while a save started from a selection prompt runs
    bool m_scriptDirty = false;     // the script box holds an unsaved change of length

    QLabel* m_scenePathLabel = nullptr; // Label4
    QLabel* m_cachePathLabel = nullptr; // Label5
    QLabel* m_modelPathLabel = nullptr; // Label6
    QLabel* m_treePathLabel = nullptr;  // Label39
    QLabel* m_status = nullptr;         // Status
    MissionMapView* m_mapView = nullptr;
    QWidget* m_mapDock = nullptr;
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
    QFileSystemWatcher* m_watcher = nullptr;
    QFrame* m_changedBar = nullptr;     // tells of files changed by another program
    QLabel* m_changedText = nullptr;
    QFrame* m_progressPanel = nullptr;  // Frame1
    QProgressBar* m_progressBar = nullptr; // ProgressBar1
    QLineEdit* m_progressText = nullptr;   // Text1
};

} // namespace mw

using mw::MainWindow;
