// The "&Edit" menu's undo and redo over the mission's write history, and the notice of loaded
// files that another program changed.
#include <QAction>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QStringListModel>

#include "ui/MainWindow.h"
#include "ui/QtPrompter.h"
#include "ui/WaitCursor.h"

namespace mw {

namespace {

constexpr MissionFile AllFiles[] = {MissionFile::Scene, MissionFile::Cache, MissionFile::Model, MissionFile::Tree};

} // namespace

void MainWindow::buildEditMenu()
{
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    m_undo = edit->addAction(QStringLiteral("&Undo"));
    m_undo->setShortcut(QKeySequence::Undo);
    m_redo = edit->addAction(QStringLiteral("&Redo"));
    m_redo->setShortcut(QKeySequence::Redo);
    connect(m_undo, &QAction::triggered, this, [this] { travelCommand(true); });
    connect(m_redo, &QAction::triggered, this, [this] { travelCommand(false); });
    connect(edit, &QMenu::aboutToShow, this, &MainWindow::updateEditActions);
    updateEditActions();

    m_watcher = new QFileSystemWatcher(this);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &MainWindow::onFileChangedOnDisk);
}

void MainWindow::updateEditActions()
{
    if (!m_undo)
        return;
    const History& history = m_mission->history();
    const HistoryStep* undo = history.nextUndo();
    const HistoryStep* redo = history.nextRedo();
    m_undo->setText(undo ? QStringLiteral("&Undo ") + fromBytes(undo->name) : QStringLiteral("&Undo"));
    m_redo->setText(redo ? QStringLiteral("&Redo ") + fromBytes(redo->name) : QStringLiteral("&Redo"));
    m_undo->setEnabled(undo && !ws().Busy);
    m_redo->setEnabled(redo && !ws().Busy);
}

void MainWindow::travelCommand(bool back)
{
    if (ws().Busy)
        return;
    // The lists keep their rows across the reload, as after any other write.
    const int row = m_allList->currentIndex().row();
    ws().ReloadIndex = static_cast<std::uint32_t>(std::max(row, 0));
    ws().ScriptListIndex = static_cast<std::uint32_t>(std::max(m_scriptList->currentIndex().row(), 0));
    ws().PlainListIndex = static_cast<std::uint32_t>(std::max(m_thingList->currentIndex().row(), 0));
    std::array<std::uint32_t, 3> otherRows{};
    for (const OtherList& list : m_otherLists)
        otherRows[list.index - CacheList] = list.shownRow;
    {
        WaitCursor wait;
        if (back)
            m_mission->undo(*m_prompter);
        else
            m_mission->redo(*m_prompter);
    }
    for (OtherList& list : m_otherLists)
        if (const auto r = otherRows[list.index - CacheList]; r != list.shownRow && static_cast<int>(r) < list.model->rowCount())
            selectListRow(list.view, r);
    updateEditActions();
}

QWidget* MainWindow::buildChangedOnDiskBar()
{
    m_changedBar = new QFrame;
    m_changedBar->setObjectName(QStringLiteral("ChangedOnDiskBar"));
    m_changedBar->setFrameShape(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(m_changedBar);
    row->setContentsMargins(6, 2, 6, 2);
    m_changedText = new QLabel;
    m_changedText->setObjectName(QStringLiteral("ChangedOnDiskText"));
    auto* reload = new QPushButton(QStringLiteral("Reload"));
    reload->setObjectName(QStringLiteral("ReloadChangedFiles"));
    connect(reload, &QPushButton::clicked, this, &MainWindow::reloadChangedFiles);
    row->addWidget(m_changedText, 1);
    row->addWidget(reload);
    m_changedBar->hide();
    return m_changedBar;
}

void MainWindow::watchLoadedFiles()
{
    if (!m_watcher)
        return;
    QStringList paths;
    for (MissionFile file : AllFiles)
        if (m_mission->isLoaded(file))
            paths << fromPath(m_mission->pathOf(file));
    if (!m_watcher->files().isEmpty())
        m_watcher->removePaths(m_watcher->files());
    if (!paths.isEmpty())
        m_watcher->addPaths(paths);
}

void MainWindow::onFileChangedOnDisk(const QString& path)
{
    // A file replaced by a rename is no longer watched: watch the new one.
    if (!m_watcher->files().contains(path) && QFileInfo::exists(path))
        m_watcher->addPath(path);
    QStringList changed;
    for (MissionFile file : AllFiles)
        if (m_mission->changedOnDisk(file))
            changed << QString::fromLatin1(missionFileName(file));
    if (changed.isEmpty())
        return; // our own write
    m_changedText->setText(changed.join(QStringLiteral(", ")) +
                           (changed.size() == 1 ? QStringLiteral(" was") : QStringLiteral(" were")) +
                           QStringLiteral(" changed by another program. Unsaved edits there are lost on reload."));
    m_changedBar->show();
}

void MainWindow::reloadChangedFiles()
{
    if (ws().Busy)
        return;
    m_changedBar->hide();
    for (MissionFile file : AllFiles) {
        if (!m_mission->changedOnDisk(file))
            continue;
        if (file == MissionFile::Scene)
            reloadSceneAt(static_cast<std::uint32_t>(std::max(m_allList->currentIndex().row(), 0)));
        else
            reloadOther(otherList(file));
    }
}

} // namespace mw
