#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QScreen>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStringListModel>
#include <QTabWidget>
#include <QVBoxLayout>
#include <filesystem>

#include "commands/map/MissionMap.h"
#include "foundation/files/FileAccess.h"
#include "foundation/seams/FileChooser.h"
#include "ui/InsertDialog.h"
#include "ui/ListValuesPage.h"
#include "ui/PanelProgress.h"
#include "ui/PutTreeDialog.h"
#include "ui/QtPrompter.h"
#include "ui/SceneListModel.h"
#include "ui/ScenePage.h"
#include "ui/ScriptOverviewPage.h"
#include "ui/TrackDialog.h"
#include "ui/TranslationSearchPanel.h"
#include "ui/WaitCursor.h"

namespace mw {

namespace {

constexpr const char* CannotOpen = "************";

QListView* makeList(const char* name)
{
    auto* list = new QListView;
    list->setObjectName(QString::fromLatin1(name));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setUniformItemSizes(true); // keeps 30 000 rows instant
    return list;
}

// The translation search controls of each page, named as the editor names them.
TranslationSearchPanel* makeTranslationSearch(ListIndex list)
{
    switch (list) {
    case CacheList:
        return new TranslationSearchPanel({{"Text16", "Text14", "Text18"},
                                           {"Text24", "Text15", "Text25"},
                                           {"searchTrans_1", "searchTrans_0", "searchTrans_2"},
                                           "SearchTransAll_0",
                                           "StopSearchTrans"});
    case ModelList:
        return new TranslationSearchPanel({{"Text27_4", "Text23_4", "Text28_4"},
                                           {"Text30", "Text29", "Text31"},
                                           {"searchTransDS_7", "searchTransDS_6", "searchTransDS_8"},
                                           "SearchTransAll_3",
                                           "Command3"});
    default:
        return new TranslationSearchPanel({{"Text27_5", "Text23_5", "Text28_5"},
                                           {"Text54", "Text53", "Text55"},
                                           {"searchTransTR_0", "searchTransTR_1", "searchTransTR_2"},
                                           "SearchTransAllTR",
                                           "StopTRSearch"});
    }
}

std::string fileNamePart(const std::filesystem::path& path) { return utf8Of(path.filename()); }

} // namespace

MainWindow::MainWindow() : m_mission(std::make_unique<Mission>())
{
    m_mission->addListener(this);
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Mission Workshop"));
    m_ownPrompter = std::make_unique<QtPrompter>(this);
    m_ownFileChooser = std::make_unique<QtFileChooser>(this);
    m_prompter = m_ownPrompter.get();
    m_fileChooser = m_ownFileChooser.get();

    buildMenus();

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 6);
    auto* splitter = new QSplitter(Qt::Horizontal);
    m_listTabs = new QTabWidget;
    m_listTabs->setObjectName(QStringLiteral("SSTabMod"));
    buildLists(m_listTabs);
    m_inspectorTabs = new QTabWidget;
    m_inspectorTabs->setObjectName(QStringLiteral("SSTab1"));
    buildInspector(m_inspectorTabs);
    splitter->addWidget(m_listTabs);
    splitter->addWidget(m_inspectorTabs);
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 3);
    splitter->setChildrenCollapsible(false);
    layout->addWidget(splitter, 1);
    layout->addWidget(buildChangedOnDiskBar());
    layout->addWidget(buildBottomPanel());
    setCentralWidget(central);

    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("Status"));
    statusBar()->addWidget(m_status, 1);

    buildMap();
    m_progress = std::make_unique<PanelProgress>(m_progressPanel, m_progressBar, m_progressText);
    m_mission->setProgress(m_progress.get());

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
    // The dock hides while the window's widgets are taken down: nothing may reach this window then.
    if (m_mapDock)
        m_mapDock->disconnect(this);
}

void MainWindow::setPrompter(Prompter* prompter) { m_prompter = prompter ? prompter : m_ownPrompter.get(); }
void MainWindow::setFileChooser(FileChooser* chooser) { m_fileChooser = chooser ? chooser : m_ownFileChooser.get(); }

void MainWindow::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    connect(file->addAction(QStringLiteral("Load &scene2.bin")), &QAction::triggered, this,
            [this] { loadCommand(FileKind::Scene); });
    connect(file->addAction(QStringLiteral("Load &cache.bin")), &QAction::triggered, this,
            [this] { loadCommand(FileKind::Cache); });
    connect(file->addAction(QStringLiteral("Load sc&ene.4ds")), &QAction::triggered, this,
            [this] { loadCommand(FileKind::Model); });
    connect(file->addAction(QStringLiteral("Load &tree.klz")), &QAction::triggered, this,
            [this] { loadCommand(FileKind::Tree); });
    file->addSeparator();
    connect(file->addAction(QStringLiteral("&Exit")), &QAction::triggered, this, &MainWindow::exitCommand);

    QMenu* insert = menuBar()->addMenu(QStringLiteral("&Insert"));
    for (const InsertKind& kind : insertKinds()) {
        const QString caption = QString::fromLatin1(kind.caption.data(), static_cast<qsizetype>(kind.caption.size()));
        connect(insert->addAction(caption), &QAction::triggered, this, [this, &kind] { openInsertDialog(kind); });
    }
    connect(insert->addAction(QStringLiteral("&ADDin")), &QAction::triggered, this, &MainWindow::addinCommand);
    connect(insert->addAction(QStringLiteral("&Racing")), &QAction::triggered, this, &MainWindow::racingCommand);

    QMenu* put = menuBar()->addMenu(QStringLiteral("&Put"));
    connect(put->addAction(QStringLiteral("Put&Cache")), &QAction::triggered, this, &MainWindow::putCacheCommand);
    connect(put->addAction(QStringLiteral("Put&Tree")), &QAction::triggered, this, &MainWindow::putTreeCommand);

    connect(menuBar()->addAction(QStringLiteral("I&nfo")), &QAction::triggered, this, &MainWindow::showAbout);
    buildEditMenu();
}

void MainWindow::buildLists(QTabWidget* tabs)
{
    struct Tab {
        const char* caption;
        const char* list;
        const char* field;
    };
    const Tab layout[] = {{"All", "List2", "Text19"},   {"Scripts", "List1", "Text20"}, {"Things", "List3", "Text21"},
                          {"Cache", "List5", "Text13"}, {"*.4ds", "List4", "Text22"},   {"Tree", "List6", "Text52"}};
    QListView** lists[] = {&m_allList, &m_scriptList, &m_thingList, &m_cacheList, &m_modelList, &m_treeList};

    for (int i = 0; i < 6; ++i) {
        auto* page = new QWidget;
        auto* box = new QVBoxLayout(page);
        *lists[i] = makeList(layout[i].list);
        box->addWidget(*lists[i], 1);

        auto* searchRow = new QHBoxLayout;
        auto* field = new QLineEdit;
        field->setObjectName(QString::fromLatin1(layout[i].field));
        field->setPlaceholderText(QStringLiteral("name"));
        auto* search = new QPushButton(QStringLiteral("search"));
        search->setObjectName(QStringLiteral("search_%1").arg(i));
        auto* stop = new QPushButton(QStringLiteral("stop"));
        stop->setObjectName(QStringLiteral("stopsearch_%1").arg(i));
        m_nameSearchFields[i] = field;
        connect(search, &QPushButton::clicked, this, [this, i] { nameSearch(i); });
        connect(field, &QLineEdit::returnPressed, this, [this, i] { nameSearch(i); });
        connect(stop, &QPushButton::clicked, this, [this] { ws().NameSearchStop = true; });
        searchRow->addWidget(field, 1);
        searchRow->addWidget(search);
        searchRow->addWidget(stop);
        box->addLayout(searchRow);

        if (i == AllTab) {
            auto* remove = new QPushButton(QStringLiteral("Delete"));
            remove->setObjectName(QStringLiteral("Delete"));
            connect(remove, &QPushButton::clicked, this, &MainWindow::deleteCommand);
            auto* row = new QHBoxLayout;
            row->addStretch(1);
            row->addWidget(remove);
            box->addLayout(row);
        }
        tabs->addTab(page, QString::fromLatin1(layout[i].caption));
    }

    m_allModel = new SceneListModel(SceneListModel::Kind::All, catalogue(), this);
    m_scriptModel = new SceneListModel(SceneListModel::Kind::Scripts, catalogue(), this);
    m_thingModel = new SceneListModel(SceneListModel::Kind::Things, catalogue(), this);
    for (ListIndex index : {CacheList, ModelList, CollisionList}) {
        OtherList& list = otherList(index);
        list.view = index == CacheList ? m_cacheList : index == ModelList ? m_modelList : m_treeList;
        list.model = new TextListModel(this);
        list.view->setModel(list.model);
        connect(list.view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [this, &list](const QModelIndex& current) { onOtherRowChanged(list, current.row()); });
    }
    m_allList->setModel(m_allModel);
    m_scriptList->setModel(m_scriptModel);
    m_thingList->setModel(m_thingModel);

    connect(m_allList->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { onAllRowChanged(current.row()); });
    connect(m_scriptList->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { onMappedRowChanged(m_scriptList, current.row()); });
    connect(m_thingList->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { onMappedRowChanged(m_thingList, current.row()); });
}

void MainWindow::buildInspector(QTabWidget* tabs)
{
    const struct {
        const char* caption;
        const char* name;
    } pages[] = {{"S. Ovv.", "OverviewPage"}, {"Scene", "ScenePage"}, {"Cache", "CachePage"},
                 {"*.4ds", "ModelPage"},       {"Tree", "TreePage"}};
    for (const auto& p : pages) {
        QWidget* page = nullptr;
        const std::string_view name = p.name;
        if (name == "CachePage" || name == "ModelPage" || name == "TreePage") {
            const ListIndex index = name == "CachePage" ? CacheList : name == "ModelPage" ? ModelList : CollisionList;
            OtherList& list = otherList(index);
            list.values = new ListValuesPage(index);
            list.values->setEditGuard([this, &list] { return !ws().Busy && list.model->rowCount() > 0; });
            connect(list.values, &ListValuesPage::edited, this, [this, index] { ws().ChangedFlags[index] = true; });
            connect(list.values->saveButton(), &QPushButton::clicked, this, [this, &list] { saveOtherCommand(list); });
            list.search = makeTranslationSearch(index);
            auto* searchLayout = new QVBoxLayout(list.values->searchArea());
            searchLayout->setContentsMargins(0, 0, 0, 0);
            searchLayout->addWidget(list.search);
            connect(list.search, &TranslationSearchPanel::searchAxis, this,
                    [this, &list](int axis) { translationSearch(list, axis); });
            connect(list.search, &TranslationSearchPanel::searchAll, this,
                    [this, &list] { translationSearch(list, std::nullopt); });
            connect(list.search, &TranslationSearchPanel::stop, this, [this] { ws().TranslationSearchStop = true; });
            page = list.values;
        } else if (name == "ScenePage") {
            m_scenePage = new ScenePage;
            m_scenePage->setEditGuard([this] { return !ws().Busy && m_allModel->rowCount() > 0; });
            connect(m_scenePage, &ScenePage::edited, this, [this] { ws().ChangedFlags[SceneList] = true; });
            connect(m_scenePage->saveButton(), &QPushButton::clicked, this, &MainWindow::saveSceneValuesCommand);
            connect(m_scenePage, &ScenePage::scriptEdited, this, &MainWindow::onScriptEdited);
            connect(m_scenePage->saveScriptButton(), &QPushButton::clicked, this, &MainWindow::saveScriptCommand);
            page = m_scenePage;
        } else {
            m_overview = new mw::ScriptOverviewPage;
            connect(m_overview, &mw::ScriptOverviewPage::listingRequested, this, &MainWindow::listScriptsCommand);
            connect(m_overview, &mw::ScriptOverviewPage::searchRequested, this, &MainWindow::scriptSearchCommand);
            page = m_overview;
        }
        page->setObjectName(QString::fromLatin1(p.name));
        tabs->addTab(page, QString::fromLatin1(p.caption));
    }
}

QWidget* MainWindow::buildBottomPanel()
{
    auto* panel = new QWidget;
    auto* box = new QVBoxLayout(panel);
    box->setContentsMargins(0, 0, 0, 0);

    // The four paths in two columns, to leave the lists and pages their height.
    auto* paths = new QGridLayout;
    paths->setVerticalSpacing(2);
    int slot = 0;
    auto pathLabel = [&](const char* name, const char* caption) {
        auto* label = new QLabel;
        label->setObjectName(QString::fromLatin1(name));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setMinimumWidth(50);
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        paths->addWidget(new QLabel(QString::fromLatin1(caption)), slot / 2, (slot % 2) * 2, Qt::AlignRight);
        paths->addWidget(label, slot / 2, (slot % 2) * 2 + 1);
        ++slot;
        return label;
    };
    paths->setColumnStretch(1, 1);
    paths->setColumnStretch(3, 1);
    m_scenePathLabel = pathLabel("Label4", "scene2.bin:");
    m_cachePathLabel = pathLabel("Label5", "cache.bin:");
    m_modelPathLabel = pathLabel("Label6", "scene.4ds:");
    m_treePathLabel = pathLabel("Label39", "tree.klz:");
    box->addLayout(paths);

    m_progressPanel = new QFrame;
    m_progressPanel->setObjectName(QStringLiteral("Frame1"));
    m_progressPanel->setFrameShape(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(m_progressPanel);
    m_progressBar = new QProgressBar;
    m_progressBar->setObjectName(QStringLiteral("ProgressBar1"));
    m_progressText = new QLineEdit;
    m_progressText->setObjectName(QStringLiteral("Text1"));
    m_progressText->setReadOnly(true);
    row->addWidget(m_progressBar, 1);
    row->addWidget(m_progressText, 2);
    m_progressPanel->hide();
    box->addWidget(m_progressPanel);
    return panel;
}

void MainWindow::resetRoutine()
{
    ws().ObjectIndex = 0;
    ws().Busy = false;
    ws().KeepSelection = false;
    ws().ChangedFlags[SceneList] = false;
    ws().ChangedFlags[CacheList] = false;
    ws().ChangedFlags[ModelList] = false;
    m_savePromptGuard = false;
    m_scenePage->setSavedMarkerVisible(false);
    m_scenePage->restoreAllColours();
    for (OtherList& list : m_otherLists) {
        list.values->setSavedMarkerVisible(false);
        if (list.index != CollisionList)
            list.values->restoreColours();
    }
}

void MainWindow::loadCommand(FileKind kind)
{
    resetRoutine();
    const char* filter = kind == FileKind::Scene   ? filters::Scene
                         : kind == FileKind::Cache ? filters::Cache
                         : kind == FileKind::Model ? filters::Model
                                                   : filters::Tree;
    const auto path = m_fileChooser->openFile(filter);
    if (!path)
        return; // cancelled: nothing changes
    openFile(kind, *path);
}

void MainWindow::openFile(FileKind kind, const std::filesystem::path& path)
{
    const QString shown = fromPath(path);
    switch (kind) {
    case FileKind::Scene:
        ws().ScenePath = path;
        ws().SceneTitle = fileNamePart(path);
        m_scenePathLabel->setText(shown);
        break;
    case FileKind::Cache:
        ws().CachePath = path;
        ws().CacheTitle = fileNamePart(path);
        m_cachePathLabel->setText(shown);
        break;
    case FileKind::Model:
        ws().ModelPath = path;
        ws().ModelTitle = fileNamePart(path);
        m_modelPathLabel->setText(shown);
        break;
    case FileKind::Tree:
        ws().TreePath = path;
        ws().TreeTitle = fileNamePart(path);
        m_treePathLabel->setText(shown);
        break;
    }
    if (path.empty())
        return;
    if (!canOpenForReading(path)) {
        m_prompter->message(CannotOpen, "");
        ws().Busy = false;
        return;
    }
    switch (kind) {
    case FileKind::Scene:
        m_listTabs->setCurrentIndex(AllTab);
        ws().KeepSelection = true;
        ws().ReloadIndex = 0;
        loadScene(SceneLoadKind::Fresh);
        break;
    case FileKind::Cache:
        m_listTabs->setCurrentIndex(CacheTab);
        loadOther(MissionFile::Cache);
        break;
    case FileKind::Model:
        m_listTabs->setCurrentIndex(ModelTab);
        loadOther(MissionFile::Model);
        break;
    case FileKind::Tree:
        m_listTabs->setCurrentIndex(TreeTab);
        loadOther(MissionFile::Tree);
        break;
    }
}

void MainWindow::reloadScene() { loadScene(SceneLoadKind::Reload); }

void MainWindow::loadScene(SceneLoadKind kind)
{
    WaitCursor wait;
    m_mission->loadScene(kind, *m_prompter);
}

void MainWindow::missionChanged(const MissionChange& change)
{
    updateEditActions();
    if (change.kind != MissionChange::Kind::AboutToLoad)
        watchLoadedFiles();
    const bool scene = change.file == MissionFile::Scene;
    switch (change.kind) {
    case MissionChange::Kind::AboutToLoad:
        if (scene)
            sceneAboutToLoad();
        else
            fillOtherList(otherList(change.file), 0, {});
        return;
    case MissionChange::Kind::Loaded:
    case MissionChange::Kind::Reloaded:
        if (scene)
            sceneLoaded();
        else
            otherLoaded(otherList(change.file));
        refreshMap();
        return;
    case MissionChange::Kind::Patched:
    case MissionChange::Kind::Replaced:
        return; // the command that wrote shows its result (a value save refreshes the map itself)
    }
}

void MainWindow::sceneAboutToLoad()
{
    // Empty the lists first: nothing of an earlier load may stay visible. Unsaved values of the
    // old catalogue cannot be saved through the new one's offsets.
    m_scenePage->setSavedMarkerVisible(false);
    ws().ChangedFlags[SceneList] = false;
    m_scenePage->restoreAllColours();
    m_overview->clearListing();
    for (SceneListModel* model : {m_allModel, m_scriptModel, m_thingModel})
        model->detach();
    m_listTabs->setEnabled(false);
}

void MainWindow::sceneLoaded()
{
    for (SceneListModel* model : {m_allModel, m_scriptModel, m_thingModel})
        model->reload();
    const SceneSelection& selection = m_mission->sceneSelection();
    m_listsFilling = true;
    selectListRow(m_allList, selection.all);
    selectListRow(m_scriptList, selection.scripts);
    selectListRow(m_thingList, selection.things);
    m_listsFilling = false;
    m_listTabs->setEnabled(true);
    if (!m_mission->isLoaded(MissionFile::Scene))
        return;
    m_inspectorTabs->setCurrentIndex(SceneValuesPage);
    showCurrentSceneEntry();
    if (m_overview->listingWanted())
        listScriptsCommand();
}

void MainWindow::selectListRow(QListView* list, std::optional<std::uint32_t> row)
{
    if (!row || static_cast<int>(*row) >= list->model()->rowCount())
        return;
    const QModelIndex index = list->model()->index(static_cast<int>(*row), 0);
    list->setCurrentIndex(index);
    list->scrollTo(index);
}

void MainWindow::exitCommand()
{
    if (ws().Busy)
        return;
    QApplication::closeAllWindows();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (ws().Busy)
        event->ignore();
    else
        event->accept();
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

void MainWindow::openPaths(const QStringList& paths)
{
    const struct {
        const char* name;
        FileKind kind;
    } known[] = {{"scene2.bin", FileKind::Scene},
                 {"cache.bin", FileKind::Cache},
                 {"scene.4ds", FileKind::Model},
                 {"tree.klz", FileKind::Tree}};
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (info.isDir()) {
            const QDir folder(path);
            for (const auto& k : known)
                if (QFileInfo(folder.filePath(QString::fromLatin1(k.name))).isFile()) {
                    resetRoutine();
                    openFile(k.kind, pathOf(folder.absoluteFilePath(QString::fromLatin1(k.name))));
                }
            // A whole mission opens on its scene.
            if (!ws().ScenePath.empty()) {
                m_listTabs->setCurrentIndex(AllTab);
                showCurrentSceneEntry();
            }
            continue;
        }
        const QString name = info.fileName().toLower();
        const QString suffix = info.suffix().toLower();
        FileKind kind = FileKind::Scene;
        if (name == QLatin1String("cache.bin"))
            kind = FileKind::Cache;
        else if (suffix == QLatin1String("4ds"))
            kind = FileKind::Model;
        else if (suffix == QLatin1String("klz"))
            kind = FileKind::Tree;
        resetRoutine();
        openFile(kind, pathOf(info.absoluteFilePath()));
    }
}

} // namespace mw
