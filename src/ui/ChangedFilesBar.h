#pragma once
// Tells when another program changed a loaded file (objectName ChangedOnDiskBar): it watches the
// loaded files, and offers to read the changed ones again. Our own writes are not told: the mission
// knows the stamps they left.

#include <QFrame>

#include "mission/Mission.h"

class QFileSystemWatcher;
class QLabel;

namespace mw {

class ChangedFilesBar final : public QFrame, private MissionListener {
    Q_OBJECT
public:
    explicit ChangedFilesBar(Mission& mission);
    ~ChangedFilesBar() override;

signals:
    // "Reload": the files that changed are to be read again.
    void reloadRequested();

private:
    void missionChanged(const MissionChange& change) override;
    void watchLoadedFiles();
    void onFileChanged(const QString& path);

    Mission& m_mission;
    QFileSystemWatcher* m_watcher;
    QLabel* m_text;
};

} // namespace mw
