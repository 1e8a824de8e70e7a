#pragma once
// The mission check in a dock (objectName CheckReport): one line per problem in its list (CheckList)
// with the severity, file, offset, row and message, and the summary beneath. It observes the
// mission: once a file is loaded or written, the report says it is out of date until the next
// check. Double-clicking a problem that has a row asks for that entry to be selected.

#include <QObject>
#include <cstdint>
#include <vector>

#include "commands/check/CheckReport.h"
#include "mission/Mission.h"

class QDockWidget;
class QLabel;
class QMainWindow;
class QTreeWidget;

namespace mw {

class CheckPanel final : public QObject, private MissionListener {
    Q_OBJECT
public:
    // The dock is added to `window`, hidden.
    CheckPanel(Mission& mission, QMainWindow* window);
    ~CheckPanel() override;

    QDockWidget* dock() const { return m_dock; }
    // Checks the loaded files as they stand, shows the report and the dock; the summary.
    QString runCheck();
    const CheckReport& report() const { return m_report; }

signals:
    // A problem with a row was double-clicked: the entry of that file's list.
    void chosen(MissionFile file, std::uint32_t row);

private:
    void missionChanged(const MissionChange& change) override;
    void showReport();

    Mission& m_mission;
    QDockWidget* m_dock = nullptr;
    QTreeWidget* m_list = nullptr;
    QLabel* m_summary = nullptr;
    CheckReport m_report;
    std::vector<std::pair<std::string, MissionFile>> m_files; // the report's file names
    bool m_checked = false;
};

} // namespace mw
