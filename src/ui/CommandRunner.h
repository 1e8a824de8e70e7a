#pragma once
// Every command the window runs goes through run(): nothing while the mission is busy; the wait
// cursor while it runs; a last guard that turns anything the command let escape into a message
// (the mission's steps have put their files back by then, and Busy is clear); a file that changed
// on disk read again; the status line when it is done.

#include <QColor>
#include <QString>
#include <functional>

#include "mission/Mission.h"

namespace mw {

class Prompter;
class StatusLine;

// How a command of the window ended, whatever core command it ran.
struct CommandResult {
    enum class Outcome { Done, Refused, Stale };
    Outcome outcome = Outcome::Refused;
    MissionFile file = MissionFile::Scene; // Stale: the file to read again
    QString status;                        // Done: what the status line says
    QColor colour;

    static CommandResult done(const QString& status = {}, const QColor& colour = {})
    {
        return {Outcome::Done, MissionFile::Scene, status, colour};
    }
    static CommandResult refused() { return {}; }
    static CommandResult stale(MissionFile file) { return {Outcome::Stale, file, {}, {}}; }
};

class CommandRunner {
public:
    CommandRunner(Mission& mission, Prompter& prompter, StatusLine& status)
        : m_mission(mission), m_prompter(prompter), m_status(status)
    {
    }
    // How a file that changed on disk is read again (keeping what its lists show).
    void setStaleReload(std::function<void(MissionFile)> reload) { m_reloadStale = std::move(reload); }

    CommandResult run(const std::function<CommandResult()>& command);

private:
    Mission& m_mission;
    Prompter& m_prompter;
    StatusLine& m_status;
    std::function<void(MissionFile)> m_reloadStale;
};

} // namespace mw
