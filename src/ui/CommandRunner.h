#pragma once
// Every command the window runs goes through run(): nothing while the mission is busy; the wait
// cursor while it runs; a last guard that turns anything the command let escape into a message
// (the mission's steps have put their files back by then, and Busy is clear); and, in this one
// place, what the command's outcome means for the window: the rows it selects, a file that changed
// on disk read again, the status line when it is done.

#include <QColor>
#include <QString>
#include <functional>

#include "commands/Outcome.h"

namespace mw {

class Prompter;
class Selection;
class StatusLine;

// How a command of the window ended: the core command's outcome, and what the status line says
// when it is done.
struct CommandResult {
    Outcome outcome;
    QString status;
    QColor colour;

    CommandResult() = default;
    CommandResult(Outcome o, const QString& text = {}, const QColor& c = {}) : outcome(std::move(o)), status(text), colour(c) {}
    static CommandResult done(const QString& text = {}, const QColor& c = {}) { return {Outcome::doneWith(), text, c}; }
    static CommandResult refused() { return {}; }
    bool isDone() const { return outcome.done(); }
};

class CommandRunner final : private MissionListener {
public:
    CommandRunner(Mission& mission, Prompter& prompter, StatusLine& status, Selection& selection);
    ~CommandRunner() override;
    // How a file that changed on disk is read again (keeping what its lists show).
    void setStaleReload(std::function<void(MissionFile)> reload) { m_reloadStale = std::move(reload); }

    CommandResult run(const std::function<CommandResult()>& command);

private:
    void missionChanged(const MissionChange& change) override;

    Mission& m_mission;
    Prompter& m_prompter;
    StatusLine& m_status;
    Selection& m_selection;
    std::function<void(MissionFile)> m_reloadStale;
    int m_depth = 0;              // commands running inside one another
    bool m_sceneLoaded = false;   // the scene was read while the outermost command ran
};

} // namespace mw
