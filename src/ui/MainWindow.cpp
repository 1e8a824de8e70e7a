#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QDockWidget>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QMenuBar>
#include <QSettings>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cctype>

#include "commands/addins/Export.h"
#include "commands/addins/Import.h"
#include "commands/insertion/InsertKinds.h"
#include "commands/merges/PutCache.h"
#include "commands/merges/PutTree.h"
#include "mission/MissionFolder.h"
#include "script/ScriptRun.h"
#include "ui/ChangedFilesBar.h"
#include "ui/CheckPanel.h"
#include "ui/ExportDialog.h"
#include "ui/CommandRunner.h"
#include "ui/EditState.h"
#include "ui/InsertDialog.h"
#include "ui/ItemNames.h"
#include "ui/ItemStates.h"
#include "ui/MapPanel.h"
#include "ui/MissionMapView.h"
#include "ui/OtherListPanel.h"
#include "ui/PanelProgress.h"
#include "ui/PutTreeDialog.h"
#include "ui/QtText.h"
#include "foundation/files/FileAccess.h"
#include "ui/ScenePage.h"
#include "ui/ScenePanel.h"
#include "ui/Selection.h"
#include "ui/view3d/View3D.h"
#include "ui/view3d/View3DPanel.h"
#include "ui/ViewLayers.h"
#include "ui/SelectionCommands.h"
#include "ui/SelectionDock.h"
#include "ui/ScriptConsole.h"
#include "ui/StatusLine.h"
#include "ui/TrackDialog.h"
#include "ui/ValueColours.h"
#include "ui/WidgetNames.h"

namespace mw {

namespace {

QAction* makeAction(QObject* parent, const char* id, const QString& caption)
{
    auto* a = new QAction(caption, parent);
    a->setObjectName(QString::fromLatin1(id));
    return a;
}

// A page's button runs its action, and is usable when the action is.
void bindButton(QPushButton* button, QAction* action)
{
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    QObject::connect(action, &QAction::changed, button, [button, action] { button->setEnabled(action->isEnabled()); });
}

// What the window does per mission file: its load command, filter, list tab and path label.
struct FilePlace {
    const char* actionId;
    const char* caption;
    const char* filter;
    MainWindow::ListTab tab;
    const char* label;
    const char* labelCaption;
};
const FilePlace FilePlaces[] = {
    {ids::LoadScene, "Load &scene2.bin", filters::Scene, MainWindow::AllTab, "Label4", "scene2.bin:"},
    {ids::LoadCache, "Load &cache.bin", filters::Cache, MainWindow::CacheTab, "Label5", "cache.bin:"},
    {ids::LoadModel, "Load sc&ene.4ds", filters::Model, MainWindow::ModelTab, "Label6", "scene.4ds:"},
    {ids::LoadTree, "Load &tree.klz", filters::Tree, MainWindow::TreeTab, "Label39", "tree.klz:"},
};
const FilePlace& placeOf(MissionFile file) { return FilePlaces[static_cast<std::size_t>(file)]; }

} // namespace

MainWindow::MainWindow()
    : m_mission(std::make_unique<Mission>()), m_qtPrompter(this), m_qtFiles(this), m_prompter(m_qtPrompter),
      m_files(m_qtFiles)
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Mission Workshop"));

    auto* statusLabel = new QLabel;
    statusLabel->setObjectName(QString::fromLatin1(ids::Status));
    statusBar()->addWidget(statusLabel, 1);
    m_status = std::make_unique<StatusLine>(statusLabel);
    m_selection = std::make_unique<Selection>();
    m_edits = std::make_unique<EditState>();
    m_runner = std::make_unique<CommandRunner>(*m_mission, m_prompter, *m_status, *m_selection);
    m_runner->setStaleReload([this](MissionFile file) { reloadStale(file); });

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 6);
    auto* splitter = new QSplitter(Qt::Horizontal);
    m_listTabs = new QTabWidget;
    m_listTabs->setObjectName(QString::fromLatin1(ids::ListTabs));
    m_inspectorTabs = new QTabWidget;
    m_inspectorTabs->setObjectName(QString::fromLatin1(ids::InspectorTabs));
    m_scene = std::make_unique<ScenePanel>(*m_mission, *m_selection, *m_edits, m_prompter, *m_runner, *m_status,
                                           m_listTabs, m_inspectorTabs);
    for (MissionFile file : {MissionFile::Cache, MissionFile::Model, MissionFile::Tree})
        m_others[indexOf(file) - 1] = std::make_unique<OtherListPanel>(file, *m_mission, *m_selection, *m_edits, m_prompter,
                                                                       *m_runner, m_listTabs, m_inspectorTabs);
    splitter->addWidget(m_listTabs);
    splitter->addWidget(m_inspectorTabs);
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 3);
    splitter->setChildrenCollapsible(false);
    layout->addWidget(splitter, 1);
    m_changedBar = new ChangedFilesBar(*m_mission);
    connect(m_changedBar, &ChangedFilesBar::reloadRequested, this, &MainWindow::reloadChangedFiles);
    layout->addWidget(m_changedBar);
    layout->addWidget(buildBottomPanel());
    setCentralWidget(central);

    auto* coordinates = new QLabel;
    coordinates->setObjectName(QStringLiteral("MapCoordinates"));
    statusBar()->addPermanentWidget(coordinates);
    m_statesLabel = new QLabel;
    m_statesLabel->setObjectName(QString::fromLatin1(ids::ItemStatesLabel));
    statusBar()->addPermanentWidget(m_statesLabel);
    m_items = std::make_unique<ItemStates>(*m_mission);
    m_scene->showStates(*m_items);
    for (const auto& panel : m_others)
        panel->showStates(*m_items);
    m_layers = std::make_unique<ViewLayers>();
    m_map = std::make_unique<MapPanel>(*m_mission, *m_selection, *m_layers, *m_items, this, coordinates);
    m_view3d = std::make_unique<View3DPanel>(*m_mission, *m_selection, *m_layers, *m_items, *m_status, this);
    m_check = std::make_unique<CheckPanel>(*m_mission, this);
    m_selectionDock = std::make_unique<SelectionDock>(*m_mission, *m_selection, *m_runner, m_prompter, this);
    m_console = std::make_unique<ScriptConsole>(*m_mission, *m_runner, this);
    m_selectionDock->setBeforeEdit([this](const PlacedItems& items) {
        return m_scene->settleEditsOf(items.scene) && otherPanel(MissionFile::Cache).settleEditsOf(items.cache);
    });
    m_objectCommands =
        std::make_unique<SelectionCommands>(*m_mission, *m_selection, m_prompter, *m_runner, *m_status, *m_scene);

    buildActions();
    buildStateActions();
    buildMenus();
    connectPanels();
    m_mission->addListener(this);
    updateActions();
    setAcceptDrops(true);

    // 1280 x 800 where the screen has room, otherwise the screen's free area.
    QSize size(1280, 800);
    if (const QScreen* s = screen())
        size = size.boundedTo(s->availableGeometry().size());
    resize(size);
    splitter->setSizes({size.width() * 2 / 5, size.width() * 3 / 5});
}

MainWindow::~MainWindow()
{
    m_mission->removeListener(this);
    delete m_changedBar; // it listens to the mission, which goes before the window's widgets
    // The docks hide while the window's widgets are taken down: nothing may reach the window then.
    m_map->dock()->disconnect();
    m_view3d->dock()->disconnect();
    m_selectionDock->dock()->disconnect();
    m_console->dock()->disconnect();
}

void MainWindow::setPrompter(Prompter* prompter) { m_prompter.setTarget(prompter ? *prompter : m_qtPrompter); }
void MainWindow::restoreSettings(QSettings& settings)
{
    m_qtFiles.rememberIn(&settings);
    m_items->keepIn(&settings);
    m_console->keepIn(&settings);
    if (settings.status() != QSettings::NoError)
        return; // unreadable: the defaults stand
    // Each value is checked before use; what does not fit is passed over.
    restoreGeometry(settings.value(QStringLiteral("window/geometry")).toByteArray());
    restoreState(settings.value(QStringLiteral("window/state")).toByteArray());
    // The layers shown and locked, a "0" or "1" for each.
    const auto switches = [&](const char* key) -> std::optional<LayerSwitches> {
        const QString text = settings.value(QLatin1String(key)).toString();
        if (text.size() != static_cast<qsizetype>(ViewLayerCount) ||
            !std::all_of(text.begin(), text.end(), [](QChar c) { return c == QLatin1Char('0') || c == QLatin1Char('1'); }))
            return std::nullopt;
        LayerSwitches on{};
        for (std::size_t k = 0; k < ViewLayerCount; ++k)
            on[k] = text[static_cast<qsizetype>(k)] == QLatin1Char('1');
        return on;
    };
    const auto shown = switches("view/layers");
    const auto locked = switches("view/locks");
    for (const ViewLayer layer : AllViewLayers) {
        if (shown)
            m_layers->setShown(layer, (*shown)[indexOf(layer)]);
        if (locked)
            m_layers->setLocked(layer, (*locked)[indexOf(layer)]);
    }
    // The menu's check marks follow the docks restored.
    m_actions.showMap->setChecked(!m_map->dock()->isHidden());
    m_actions.show3d->setChecked(!m_view3d->dock()->isHidden());
    m_actions.showSelectionDock->setChecked(!m_selectionDock->dock()->isHidden());
    m_actions.showScriptConsole->setChecked(!m_console->dock()->isHidden());
}

void MainWindow::saveSettings(QSettings& settings) const
{
    settings.setValue(QStringLiteral("window/geometry"), saveGeometry());
    settings.setValue(QStringLiteral("window/state"), saveState());
    const auto text = [](const LayerSwitches& on) {
        QString switches;
        for (const bool set : on)
            switches += set ? QLatin1Char('1') : QLatin1Char('0');
        return switches;
    };
    settings.setValue(QStringLiteral("view/layers"), text(m_layers->shown()));
    settings.setValue(QStringLiteral("view/locks"), text(m_layers->locked()));
    settings.sync();
}

void MainWindow::setFileChooser(FileChooser* chooser) { m_files.setTarget(chooser ? *chooser : m_qtFiles); }

QAction* MainWindow::action(const char* id) const { return findChild<QAction*>(QString::fromLatin1(id)); }

void MainWindow::buildActions()
{
    Actions& a = m_actions;
    for (const MissionFile file : MissionFiles) {
        QAction* load = a.load[static_cast<std::size_t>(file)] =
            makeAction(this, placeOf(file).actionId, QString::fromLatin1(placeOf(file).caption));
        connect(load, &QAction::triggered, this, [this, file] { loadCommand(file); });
    }
    a.exit = makeAction(this, ids::Exit, QStringLiteral("&Exit"));
    connect(a.exit, &QAction::triggered, this, &MainWindow::exitCommand);

    for (const InsertKind& kind : insertKinds()) {
        const std::string id = ids::InsertPrefix + std::string(1, static_cast<char>(std::toupper(kind.kind[0]))) +
                               std::string(kind.kind.substr(1));
        QAction* insert = makeAction(this, id.c_str(), fromBytes(kind.caption));
        connect(insert, &QAction::triggered, this, [this, &kind] { openInsertDialog(kind); });
        a.insert.push_back(insert);
    }
    a.addin = makeAction(this, ids::Addin, QStringLiteral("&ADDin"));
    connect(a.addin, &QAction::triggered, this, &MainWindow::addinCommand);
    a.racing = makeAction(this, ids::Racing, QStringLiteral("&Racing"));
    connect(a.racing, &QAction::triggered, this, &MainWindow::racingCommand);
    a.putCache = makeAction(this, ids::PutCache, QStringLiteral("Put&Cache"));
    connect(a.putCache, &QAction::triggered, this, &MainWindow::putCacheCommand);
    a.putTree = makeAction(this, ids::PutTree, QStringLiteral("Put&Tree"));
    connect(a.putTree, &QAction::triggered, this, &MainWindow::putTreeCommand);
    a.about = makeAction(this, ids::About, QStringLiteral("I&nfo"));
    connect(a.about, &QAction::triggered, this, &MainWindow::showAbout);

    a.undo = makeAction(this, ids::Undo, QStringLiteral("&Undo"));
    a.undo->setShortcut(QKeySequence::Undo);
    connect(a.undo, &QAction::triggered, this, [this] { travel(true); });
    a.redo = makeAction(this, ids::Redo, QStringLiteral("&Redo"));
    a.redo->setShortcut(QKeySequence::Redo);
    connect(a.redo, &QAction::triggered, this, [this] { travel(false); });

    const struct {
        QAction** action;
        const char* id;
        const char* caption;
        QKeySequence::StandardKey key;
        void (SelectionCommands::*command)();
    } objects[] = {{&a.cut, ids::Cut, "Cu&t", QKeySequence::Cut, &SelectionCommands::cut},
                   {&a.copy, ids::Copy, "&Copy", QKeySequence::Copy, &SelectionCommands::copy},
                   {&a.paste, ids::Paste, "&Paste", QKeySequence::Paste, &SelectionCommands::paste},
                   {&a.duplicate, ids::Duplicate, "&Duplicate", QKeySequence::UnknownKey, &SelectionCommands::duplicate},
                   {&a.selectAll, ids::SelectAll, "Select &All", QKeySequence::SelectAll, nullptr},
                   {&a.moveSelection, ids::MoveSelection, "&Move Selection\u2026", QKeySequence::UnknownKey,
                    &SelectionCommands::openMoveDialog}};
    for (const auto& o : objects) {
        *o.action = makeAction(this, o.id, QString::fromUtf8(o.caption));
        if (o.key != QKeySequence::UnknownKey)
            (*o.action)->setShortcut(o.key);
        if (o.command)
            connect(*o.action, &QAction::triggered, m_objectCommands.get(), o.command);
    }
    a.duplicate->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    a.dropToGround = makeAction(this, ids::DropToGround, QStringLiteral("Drop to &Ground"));
    // End belongs to the views: in a list or a text box it does what it does there.
    a.dropToGround->setShortcut(QKeySequence(Qt::Key_End));
    a.dropToGround->setShortcutContext(Qt::WidgetShortcut);
    m_map->view()->addAction(a.dropToGround);
    if (m_view3d->view())
        m_view3d->view()->addAction(a.dropToGround);
    connect(a.dropToGround, &QAction::triggered, this, [this] {
        std::size_t locked = 0;
        const PlacedItems items = m_items->unlocked(m_selection->placedItems(), locked);
        m_objectCommands->dropItemsToGround(items, locked);
    });
    connect(a.selectAll, &QAction::triggered, m_scene.get(), &ScenePanel::selectAll);

    a.showMap = makeAction(this, ids::ShowMap, QStringLiteral("&Map"));
    a.showMap->setCheckable(true);
    a.showMap->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    connect(a.showMap, &QAction::toggled, m_map->dock(), &QDockWidget::setVisible);
    connect(m_map->dock(), &QDockWidget::visibilityChanged, a.showMap,
            [this](bool) { m_actions.showMap->setChecked(!m_map->dock()->isHidden()); });
    a.show3d = makeAction(this, ids::Show3D, QStringLiteral("&3D View"));
    a.show3d->setCheckable(true);
    a.show3d->setShortcut(QKeySequence(Qt::Key_F3));
    connect(a.show3d, &QAction::toggled, m_view3d->dock(), &QDockWidget::setVisible);
    connect(m_view3d->dock(), &QDockWidget::visibilityChanged, a.show3d,
            [this](bool) { m_actions.show3d->setChecked(!m_view3d->dock()->isHidden()); });
    a.showSelectionDock = makeAction(this, ids::ShowSelectionDock, QStringLiteral("&Selection Properties"));
    a.showSelectionDock->setCheckable(true);
    a.showSelectionDock->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(a.showSelectionDock, &QAction::toggled, m_selectionDock->dock(), &QDockWidget::setVisible);
    connect(m_selectionDock->dock(), &QDockWidget::visibilityChanged, a.showSelectionDock,
            [this](bool) { m_actions.showSelectionDock->setChecked(!m_selectionDock->dock()->isHidden()); });
    a.showScriptConsole = makeAction(this, ids::ShowScriptConsole, QStringLiteral("Script &Console"));
    a.showScriptConsole->setCheckable(true);
    connect(a.showScriptConsole, &QAction::toggled, m_console->dock(), &QDockWidget::setVisible);
    connect(m_console->dock(), &QDockWidget::visibilityChanged, a.showScriptConsole,
            [this](bool) { m_actions.showScriptConsole->setChecked(!m_console->dock()->isHidden()); });
    a.runScript = makeAction(this, ids::RunScript, QString::fromUtf8("Run &Script\u2026"));
    connect(a.runScript, &QAction::triggered, this, &MainWindow::runScriptCommand);

    a.exportAddin = makeAction(this, ids::ExportAddin, QString::fromUtf8("Export Selection as &ADDin\u2026"));
    connect(a.exportAddin, &QAction::triggered, this, &MainWindow::exportCommand);
    a.checkMission = makeAction(this, ids::CheckMission, QStringLiteral("&Check Mission"));
    connect(a.checkMission, &QAction::triggered, this,
            [this] { m_runner->run([this] { return CommandResult::done(m_check->runCheck()); }); });

    a.deleteObject = makeAction(this, ids::DeleteObject, QStringLiteral("Delete"));
    connect(a.deleteObject, &QAction::triggered, m_objectCommands.get(), &SelectionCommands::deleteSelected);
    bindButton(m_scene->deleteButton(), a.deleteObject);
    a.saveSceneValues = makeAction(this, ids::SaveSceneValues, QStringLiteral("Save"));
    connect(a.saveSceneValues, &QAction::triggered, m_scene.get(), &ScenePanel::saveValues);
    bindButton(m_scene->saveValuesButton(), a.saveSceneValues);
    a.saveScript = makeAction(this, ids::SaveScript, QStringLiteral("Save script"));
    connect(a.saveScript, &QAction::triggered, m_scene.get(), &ScenePanel::saveScript);
    bindButton(m_scene->saveScriptButton(), a.saveScript);
}

void MainWindow::buildMenus()
{
    const Actions& a = m_actions;
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addActions({a.load[0], a.load[1], a.load[2], a.load[3]});
    file->addSeparator();
    file->addAction(a.exit);
    QMenu* insert = menuBar()->addMenu(QStringLiteral("&Insert"));
    for (QAction* kind : a.insert)
        insert->addAction(kind);
    insert->addActions({a.addin, a.racing});
    QMenu* put = menuBar()->addMenu(QStringLiteral("&Put"));
    put->addActions({a.putCache, a.putTree});
    menuBar()->addAction(a.about);
    // The editor's own menus, after the system's.
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->addActions({a.undo, a.redo});
    edit->addSeparator();
    edit->addActions({a.cut, a.copy, a.paste, a.duplicate});
    edit->addSeparator();
    edit->addActions({a.selectAll, a.moveSelection, a.dropToGround});
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->addActions({a.showMap, a.show3d, a.showSelectionDock, a.showScriptConsole});
    view->addSeparator();
    view->addActions({a.hideSelected, a.hideOthers, a.showAll, a.lockSelected, a.unlockAll});
    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->addActions({a.exportAddin, a.checkMission, a.runScript});
}

QWidget* MainWindow::buildBottomPanel()
{
    auto* panel = new QWidget;
    auto* box = new QVBoxLayout(panel);
    box->setContentsMargins(0, 0, 0, 0);

    // The four paths in two columns, to leave the lists and pages their height.
    auto* paths = new QGridLayout;
    paths->setVerticalSpacing(2);
    for (int slot = 0; slot < 4; ++slot) {
        const FilePlace& place = FilePlaces[slot];
        auto* label = new QLabel;
        label->setObjectName(QString::fromLatin1(place.label));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setMinimumWidth(50);
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        paths->addWidget(new QLabel(QString::fromLatin1(place.labelCaption)), slot / 2, (slot % 2) * 2, Qt::AlignRight);
        paths->addWidget(label, slot / 2, (slot % 2) * 2 + 1);
        m_pathLabels[static_cast<std::size_t>(slot)] = label;
    }
    paths->setColumnStretch(1, 1);
    paths->setColumnStretch(3, 1);
    box->addLayout(paths);

    auto* progressPanel = new QFrame;
    progressPanel->setObjectName(QString::fromLatin1(ids::ProgressPanel));
    progressPanel->setFrameShape(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(progressPanel);
    auto* bar = new QProgressBar;
    bar->setObjectName(QString::fromLatin1(ids::ProgressBar));
    auto* text = new QLineEdit;
    text->setObjectName(QString::fromLatin1(ids::ProgressText));
    text->setReadOnly(true);
    row->addWidget(bar, 1);
    row->addWidget(text, 2);
    progressPanel->hide();
    box->addWidget(progressPanel);
    m_progress = std::make_unique<PanelProgress>(progressPanel, bar, text);
    m_mission->setProgress(m_progress.get());
    return panel;
}

void MainWindow::connectPanels()
{
    // The panels show and set the one selection themselves; what it changes here is the actions'
    // state, and the list tab a pick elsewhere brings forward.
    connect(m_selection.get(), &Selection::changed, this, [this] {
        updateActions();
        tellSelection();
    });
    connect(m_check.get(), &CheckPanel::chosen, this, &MainWindow::selectEntry);
    connect(m_map.get(), &MapPanel::picked, this,
            [this](ViewLayer layer, std::uint32_t) { m_listTabs->setCurrentIndex(placeOf(fileOf(layer)).tab); });
    connect(m_view3d.get(), &View3DPanel::moveRequested, this,
            [this](Vec3 offset) { m_objectCommands->moveItemsBy(movableItems(), offset); });
    connect(m_view3d.get(), &View3DPanel::turnRequested, this,
            [this](double degrees) { m_objectCommands->turnItemsBy(movableItems(), degrees); });
    connect(m_view3d.get(), &View3DPanel::contextMenuAt, this, [this](QPoint at) { showEntryMenu(m_view3d->dock(), at); });
    connect(m_map.get(), &MapPanel::contextMenuAt, this, [this](QPoint at) { showEntryMenu(m_map->dock(), at); });
    for (const char* list : {ids::AllList, ids::CacheList, ids::ModelList, ids::TreeList}) {
        auto* view = findChild<QListView*>(QString::fromLatin1(list));
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QListView::customContextMenuRequested, this,
                [this, view](QPoint at) { showEntryMenu(view, view->viewport()->mapToGlobal(at)); });
    }
    connect(m_items.get(), &ItemStates::changed, this, [this] {
        tellStates();
        updateActions();
    });
    connect(m_view3d.get(), &View3DPanel::picked, this,
            [this](MissionFile file) { m_listTabs->setCurrentIndex(placeOf(file).tab); });
    connect(m_map.get(), &MapPanel::moved, this,
            [this](std::uint32_t row, float x, float z) { m_scene->placeShownAt(row, x, z); });
    connect(m_map.get(), &MapPanel::movedSelection, this, [this](float dx, float dz) {
        PlacedItems items = movableItems();
        items.cache.clear(); // the map drags scene objects
        items.frames.clear();
        m_objectCommands->moveItemsBy(items, {dx, 0, dz});
    });
    connect(m_objectCommands.get(), &SelectionCommands::clipboardChanged, this, &MainWindow::updateActions);
}

void MainWindow::selectEntry(MissionFile file, std::uint32_t row)
{
    m_listTabs->setCurrentIndex(placeOf(file).tab);
    m_selection->setCurrent(file, row);
}

void MainWindow::buildStateActions()
{
    Actions& a = m_actions;
    const struct {
        QAction** action;
        const char* id;
        const char* caption;
        QKeySequence key;
        std::function<void()> run;
    } states[] = {
        {&a.hideSelected, ids::HideSelected, "&Hide Selected", QKeySequence(Qt::Key_H),
         [this] { m_items->set(EntryState::Hidden, m_selection->items()); }},
        {&a.hideOthers, ids::HideOthers, "Hide &Others", QKeySequence(Qt::SHIFT | Qt::Key_H),
         [this] { m_items->hideOthers(m_selection->items()); }},
        {&a.showAll, ids::ShowAll, "&Show All", QKeySequence(Qt::ALT | Qt::Key_H), [this] { m_items->clear(EntryState::Hidden); }},
        {&a.lockSelected, ids::LockSelected, "&Lock Selected", QKeySequence(Qt::Key_L),
         [this] { m_items->set(EntryState::Locked, m_selection->items()); }},
        {&a.unlockAll, ids::UnlockAll, "&Unlock All", QKeySequence(Qt::ALT | Qt::Key_L), [this] { m_items->clear(EntryState::Locked); }},
    };
    for (const auto& s : states) {
        *s.action = makeAction(this, s.id, QString::fromLatin1(s.caption));
        // Letters belong to the lists and text boxes: the keys act in the map and the 3D view.
        (*s.action)->setShortcut(s.key);
        (*s.action)->setShortcutContext(Qt::WidgetShortcut);
        m_map->view()->addAction(*s.action);
        if (m_view3d->view())
            m_view3d->view()->addAction(*s.action);
        connect(*s.action, &QAction::triggered, this, [this, run = s.run] { changeStates(run); });
    }
}

void MainWindow::changeStates(const std::function<void()>& change)
{
    if (m_mission->busy())
        return;
    change();
    if (!m_toldStatesAreNoSteps) {
        // Once: what hiding and locking are, and are not.
        m_status->show(QStringLiteral("Hidden and locked items are kept in your settings, not in the mission's files: "
                                      "they are no steps of \"Undo\""),
                       QColor());
        m_toldStatesAreNoSteps = true;
    }
}

void MainWindow::showEntryMenu(QWidget* over, QPoint at)
{
    QMenu menu(over);
    menu.setObjectName(QStringLiteral("EntryMenu"));
    const Actions& a = m_actions;
    menu.addAction(QStringLiteral("Hide"), a.hideSelected, &QAction::trigger)->setEnabled(a.hideSelected->isEnabled());
    menu.addAction(QStringLiteral("Lock"), a.lockSelected, &QAction::trigger)->setEnabled(a.lockSelected->isEnabled());
    menu.addAction(QStringLiteral("Show All"), a.showAll, &QAction::trigger)->setEnabled(a.showAll->isEnabled());
    menu.addAction(QStringLiteral("Unlock All"), a.unlockAll, &QAction::trigger)->setEnabled(a.unlockAll->isEnabled());
    menu.exec(at);
}

void MainWindow::tellStates()
{
    const std::size_t hidden = m_items->count(EntryState::Hidden), locked = m_items->count(EntryState::Locked);
    m_statesLabel->setText(hidden || locked ? QStringLiteral("%1 hidden, %2 locked").arg(groupedNumber(hidden), groupedNumber(locked))
                                            : QString());
}

PlacedItems MainWindow::movableItems()
{
    std::size_t locked = 0;
    const PlacedItems items = m_items->unlocked(m_selection->placedItems(), locked);
    if (locked > 0)
        m_status->show(lockedText(locked), QColor());
    return items;
}

void MainWindow::tellSelection()
{
    // How many of each kind, when more than one item is selected.
    const struct {
        MissionFile file;
        const char *one, *many;
    } kinds[] = {{MissionFile::Scene, "object", "objects"},
                 {MissionFile::Cache, "cached object", "cached objects"},
                 {MissionFile::Model, "frame", "frames"},
                 {MissionFile::Tree, "collision body", "collision bodies"}};
    if (m_selection->size() > 1) {
        QStringList counts;
        for (const auto& k : kinds)
            if (const std::size_t n = m_selection->rows(k.file).size(); n > 0)
                counts << QStringLiteral("%1 %2").arg(groupedNumber(n), QString::fromLatin1(n == 1 ? k.one : k.many));
        m_status->show(counts.join(QStringLiteral(", ")) + QStringLiteral(" selected"), QColor());
        m_tellsSelection = true;
    } else if (m_tellsSelection || m_status->label()->text() == QLatin1String(exportmsg::Exported)) {
        // What was said of the selection before (its count, that it was exported) is no longer so.
        m_status->clear();
        m_tellsSelection = false;
    }
}

void MainWindow::updateActions()
{
    const Actions& a = m_actions;
    const bool idle = !m_mission->busy();
    const bool objects = m_scene->hasRows();
    for (QAction* load : a.load)
        load->setEnabled(idle);
    a.exit->setEnabled(idle);
    for (QAction* insert : a.insert)
        insert->setEnabled(idle && objects);
    a.addin->setEnabled(idle && objects);
    for (QAction* command : {a.racing, a.putCache, a.putTree})
        command->setEnabled(idle);
    const History& history = m_mission->history();
    const HistoryStep* undo = history.nextUndo();
    const HistoryStep* redo = history.nextRedo();
    a.undo->setText(undo ? QStringLiteral("&Undo ") + fromBytes(undo->name) : QStringLiteral("&Undo"));
    a.redo->setText(redo ? QStringLiteral("&Redo ") + fromBytes(redo->name) : QStringLiteral("&Redo"));
    a.undo->setEnabled(idle && undo);
    a.redo->setEnabled(idle && redo);
    const bool selected = objects && !m_selection->sceneRows().empty();
    a.deleteObject->setEnabled(idle && objects && (m_scene->currentRow() || selected));
    for (QAction* command : {a.cut, a.copy, a.duplicate, a.moveSelection, a.exportAddin})
        command->setEnabled(idle && selected);
    a.paste->setEnabled(idle && objects && m_objectCommands->clipboardHoldsObjects());
    a.checkMission->setEnabled(idle && std::any_of(std::begin(MissionFiles), std::end(MissionFiles),
                                                   [this](MissionFile f) { return m_mission->isLoaded(f); }));
    a.selectAll->setEnabled(idle && objects);
    a.dropToGround->setEnabled(idle && m_mission->isLoaded(MissionFile::Tree) &&
                                  (!m_selection->rows(MissionFile::Scene).empty() ||
                                   !m_selection->rows(MissionFile::Cache).empty() ||
                                   !m_selection->rows(MissionFile::Model).empty()));
    const bool anything = m_selection->size() > 0;
    a.hideSelected->setEnabled(anything);
    a.hideOthers->setEnabled(anything);
    a.lockSelected->setEnabled(anything);
    a.showAll->setEnabled(m_items->count(EntryState::Hidden) > 0);
    a.unlockAll->setEnabled(m_items->count(EntryState::Locked) > 0);
    a.saveSceneValues->setEnabled(idle && objects);
    a.saveScript->setEnabled(idle && objects);
}

void MainWindow::missionChanged(const MissionChange&) { updateActions(); }

void MainWindow::resetRoutine()
{
    m_scene->resetEdits();
    for (const auto& panel : m_others)
        panel->resetEdits();
}

void MainWindow::loadCommand(MissionFile file)
{
    resetRoutine();
    const auto path = m_files.openFile(placeOf(file).filter);
    if (!path)
        return; // cancelled: nothing changes
    openFile(file, *path);
}

void MainWindow::openFile(MissionFile file, const std::filesystem::path& path)
{
    m_pathLabels[static_cast<std::size_t>(file)]->setText(fromPath(path));
    m_runner->run([&] {
        // A readable file shows its list's tab before it is read.
        m_mission->open(file, path, m_prompter, [&] { m_listTabs->setCurrentIndex(placeOf(file).tab); });
        // The reader's messages were said; that the list is short of what the file counts is told too.
        if (const auto cut = m_mission->readShortfall(file))
            return CommandResult::done(QStringLiteral("%1 was read only in part: %2")
                                           .arg(QString::fromLatin1(missionFileName(file)),
                                                QString::fromStdString(cut->what)),
                                       QColor());
        return CommandResult::done();
    });
}

void MainWindow::reloadScene(const std::optional<KeptRows>& keep)
{
    m_runner->run([&] { return CommandResult(Outcome::doneWith(m_mission->reloadScene(keep, m_prompter))); });
}

void MainWindow::exitCommand()
{
    if (!m_mission->busy())
        QApplication::closeAllWindows();
}

void MainWindow::runScriptCommand()
{
    // One script at a time: while one runs, the window draws between its commands.
    if (m_mission->busy() || m_console->running())
        return;
    const auto path = m_files.openFile(" (*.js)|*.js|(*.*)|*.*");
    if (!path)
        return;
    QString source;
    try {
        source = readScriptSource(*path);
    } catch (const IoError& e) {
        m_prompter.message(e.what(), "Run Script");
        return;
    }
    m_console->runScript(source, fromPath(path->filename()));
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_mission->busy())
        event->ignore();
    else
        event->accept();
}

namespace {

// The local files and folders a drag carries; empty when it carries anything else.
QStringList droppedPaths(const QMimeData* data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            return {};
        paths.append(url.toLocalFile());
    }
    return paths;
}

} // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!m_mission->busy() && !droppedPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const QStringList paths = droppedPaths(event->mimeData());
    if (m_mission->busy() || paths.isEmpty())
        return;
    event->acceptProposedAction();
    openPaths(paths);
}

void MainWindow::showAbout()
{
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Mission Workshop"),
                                QStringLiteral("Mission Workshop\nVersion %1\n\nAn editor for mission folders.")
                                    .arg(QStringLiteral(MW_VERSION)),
                                QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("AboutBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void MainWindow::openInsertDialog(const InsertKind& kind)
{
    const auto source = m_scene->insertSource();
    if (!source)
        return;
    if (!m_insertDialog)
        m_insertDialog = std::make_unique<InsertDialog>(*m_mission, m_prompter, m_files, *m_runner);
    m_status->clear();
    m_insertDialog->prepare(kind, *source);
}

void MainWindow::addinCommand()
{
    if (!m_scene->hasRows() || m_edits->ChangedFlags.any())
        return;
    const auto package = m_files.openFile(addinmsg::Filter);
    if (!package)
        return;
    m_runner->run([&] {
        m_status->clear();
        // The lists keep their rows across the reload.
        KeptRows keep = m_selection->keptRows(m_mission->rememberedRows());
        keep.fallback = keep.all;
        const Result<Imported> imported = importAddin(*m_mission, *package, m_prompter, keep);
        return CommandResult(imported, imported.value.stopped ? QString() : QString::fromLatin1(addinmsg::Complete),
                             SavedColour);
    });
}

void MainWindow::racingCommand()
{
    if (!m_trackDialog)
        m_trackDialog = std::make_unique<TrackDialog>(*m_mission, m_prompter, m_files, *m_runner);
    m_trackDialog->prepare();
}

void MainWindow::putCacheCommand()
{
    m_runner->run([this] {
        m_scene->hideSavedMarker();
        m_status->clear();
        const Outcome merged = putCache(*m_mission, m_prompter);
        if (merged.done())
            m_inspectorTabs->setCurrentIndex(SceneValuesPage);
        return CommandResult(merged, QString::fromLatin1(InsertedStatus), SavedColour);
    });
}

void MainWindow::putTreeCommand()
{
    if (!m_scene->hasRows()) {
        m_prompter.message("Load scene2.bin and tree.klz", "");
        return;
    }
    if (!otherPanel(MissionFile::Tree).hasRows()) {
        m_prompter.message("Load tree.klz and scne2.bin", "");
        return;
    }
    if (!m_putTreeDialog) {
        m_putTreeDialog = std::make_unique<PutTreeDialog>();
        connect(m_putTreeDialog.get(), &PutTreeDialog::accepted, this, [this] {
            m_runner->run([this] {
                const PutTreeChoice choice{PutTreeKinds[m_putTreeDialog->chosenKind()], m_putTreeDialog->useSavedScene()};
                m_scene->hideSavedMarker();
                m_status->clear();
                const Outcome merged = putTree(*m_mission, choice, m_prompter);
                if (merged.done())
                    m_inspectorTabs->setCurrentIndex(SceneValuesPage);
                return CommandResult(merged, QString::fromLatin1(InsertedStatus), SavedColour);
            });
        });
    }
    m_putTreeDialog->show();
    m_putTreeDialog->raise();
}

void MainWindow::exportCommand()
{
    if (!m_exportDialog)
        m_exportDialog = std::make_unique<ExportDialog>(*m_mission, m_prompter, m_files, *m_runner);
    m_exportDialog->prepare(m_selection->sceneRows());
}

void MainWindow::travel(bool back)
{
    m_runner->run([&] {
        // The lists keep their rows across the reload, as after any other write.
        std::array<ListSelection, 3> shown{};
        for (std::size_t i = 0; i < m_others.size(); ++i)
            shown[i] = {m_selection->current(m_others[i]->file()), m_selection->rows(m_others[i]->file())};
        KeptRows keep = m_selection->keptRows(m_mission->rememberedRows());
        if (m_selection->sceneRows().size() > 1)
            keep.more = m_selection->sceneRows();
        const bool moved = back ? m_mission->undo(m_prompter, keep) : m_mission->redo(m_prompter, keep);
        for (std::size_t i = 0; i < m_others.size(); ++i)
            if (shown[i].current)
                m_selection->setList(m_others[i]->file(), shown[i]);
        if (!moved)
            return CommandResult::refused();
        // Several objects the reload kept selected (the step moved no row) stay selected.
        CommandResult result = CommandResult::done();
        if (m_mission->isLoaded(MissionFile::Scene) && !m_mission->sceneSelection().more.empty())
            result.outcome.select = m_mission->sceneSelection();
        return result;
    });
}

void MainWindow::reloadStale(MissionFile file)
{
    if (file == MissionFile::Scene)
        m_scene->reloadKeepingRows();
    else if (file == MissionFile::Route)
        m_mission->reload(file, m_prompter);
    else
        otherPanel(file).reloadKeepingRow();
}

void MainWindow::reloadChangedFiles()
{
    m_runner->run([this] {
        for (MissionFile file : FolderFiles)
            if (m_mission->changedOnDisk(file))
                reloadStale(file);
        return CommandResult::done();
    });
}

void MainWindow::openPaths(const QStringList& paths)
{
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (info.isDir()) {
            const MissionFolderFiles found = missionFilesIn(pathOf(info.absoluteFilePath()));
            for (const MissionFile file : MissionFiles)
                if (!found[file].empty()) {
                    resetRoutine();
                    openFile(file, found[file]);
                }
            // A whole mission opens on its scene.
            if (!m_mission->workspace().ScenePath.empty()) {
                m_listTabs->setCurrentIndex(AllTab);
                m_scene->showCurrentEntry();
            }
            continue;
        }
        // A file by its name, letter case ignored; another name by its extension; the rest as a scene.
        const auto named = missionFileNamed(info.fileName().toStdString());
        const QString suffix = info.suffix().toLower();
        MissionFile file = MissionFile::Scene;
        if (named && *named != MissionFile::Route)
            file = static_cast<MissionFile>(*named);
        else if (suffix == QLatin1String("4ds"))
            file = MissionFile::Model;
        else if (suffix == QLatin1String("klz"))
            file = MissionFile::Tree;
        resetRoutine();
        openFile(file, pathOf(info.absoluteFilePath()));
    }
}

} // namespace mw
