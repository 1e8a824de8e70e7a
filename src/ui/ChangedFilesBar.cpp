#include "ui/ChangedFilesBar.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "ui/QtText.h"
#include "ui/WidgetNames.h"

namespace mw {

ChangedFilesBar::ChangedFilesBar(Mission& mission) : m_mission(mission)
{
    setObjectName(QString::fromLatin1(ids::ChangedOnDiskBar));
    setFrameShape(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 2, 6, 2);
    m_text = new QLabel;
    m_text->setObjectName(QStringLiteral("ChangedOnDiskText"));
    auto* reload = new QPushButton(QStringLiteral("Reload"));
    reload->setObjectName(QStringLiteral("ReloadChangedFiles"));
    connect(reload, &QPushButton::clicked, this, [this] {
        hide();
        emit reloadRequested();
    });
    row->addWidget(m_text, 1);
    row->addWidget(reload);
    hide();
    m_watcher = new QFileSystemWatcher(this);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &ChangedFilesBar::onFileChanged);
    mission.addListener(this);
}

ChangedFilesBar::~ChangedFilesBar() { m_mission.removeListener(this); }

void ChangedFilesBar::missionChanged(const MissionChange& change)
{
    if (change.kind != MissionChange::Kind::AboutToLoad)
        watchLoadedFiles();
}

void ChangedFilesBar::watchLoadedFiles()
{
    QStringList paths;
    for (MissionFile file : FolderFiles)
        if (m_mission.isLoaded(file))
            paths << fromPath(m_mission.pathOf(file));
    if (!m_watcher->files().isEmpty())
        m_watcher->removePaths(m_watcher->files());
    if (!paths.isEmpty())
        m_watcher->addPaths(paths);
}

void ChangedFilesBar::onFileChanged(const QString& path)
{
    // A file replaced by a rename is no longer watched: watch the new one.
    if (!m_watcher->files().contains(path) && QFileInfo::exists(path))
        m_watcher->addPath(path);
    QStringList changed;
    for (MissionFile file : FolderFiles)
        if (m_mission.changedOnDisk(file))
            changed << QString::fromLatin1(missionFileName(file));
    if (changed.isEmpty())
        return; // our own write
    m_text->setText(changed.join(QStringLiteral(", ")) +
                    (changed.size() == 1 ? QStringLiteral(" was") : QStringLiteral(" were")) +
                    QStringLiteral(" changed by another program. Unsaved edits there are lost on reload."));
    show();
}

} // namespace mw
