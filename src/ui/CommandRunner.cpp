#include "ui/CommandRunner.h"

#include <exception>

#include "foundation/seams/Prompter.h"
#include "ui/Selection.h"
#include "ui/StatusLine.h"
#include "ui/WaitCursor.h"

namespace mw {

CommandRunner::CommandRunner(Mission& mission, Prompter& prompter, StatusLine& status, Selection& selection)
    : m_mission(mission), m_prompter(prompter), m_status(status), m_selection(selection)
{
    mission.addListener(this);
}

CommandRunner::~CommandRunner() { m_mission.removeListener(this); }

void CommandRunner::missionChanged(const MissionChange& change)
{
    if (change.kind == MissionChange::Kind::AboutToLoad) {
        if (change.file == MissionFile::Scene)
            m_selection.clear(MissionFile::Scene); // its rows are no longer the file's
        return;
    }
    if (const FileChanged* scene = change.of(MissionFile::Scene); scene && scene->read())
        m_sceneLoaded = true;
}

CommandResult CommandRunner::run(const std::function<CommandResult()>& command)
{
    if (m_mission.busy())
        return CommandResult::refused();
    const bool outermost = m_depth++ == 0;
    if (outermost)
        m_sceneLoaded = false;
    CommandResult result;
    std::string escaped;
    {
        const WaitCursor wait;
        try {
            result = command();
        } catch (const std::exception& error) {
            escaped = error.what();
        } catch (...) {
            escaped = "an unknown error";
        }
    }
    if (!escaped.empty()) {
        const std::string note = m_mission.takeUnwoundNote();
        m_prompter.message("****** The command stopped: " + escaped + " ******" + (note.empty() ? "" : "\n\n" + note), "");
        result = CommandResult::refused();
    }
    // Stale: nothing was written; the file is read again, keeping what its lists show.
    if (result.outcome.ended == Ended::Stale && m_reloadStale)
        m_reloadStale(result.outcome.staleFile);
    --m_depth;
    // The rows to select, once: those the command names, or those the scene's load chose.
    if (result.outcome.select)
        m_selection.setScene(*result.outcome.select);
    else if (outermost && m_sceneLoaded)
        m_selection.setScene(m_mission.sceneSelection());
    // Last, what the command has to say: the selection's own notes go before it.
    if (result.outcome.done() && !result.status.isEmpty())
        m_status.show(result.status, result.colour);
    return result;
}

} // namespace mw
