#include "ui/CommandRunner.h"

#include <exception>

#include "foundation/seams/Prompter.h"
#include "ui/StatusLine.h"
#include "ui/WaitCursor.h"

namespace mw {

CommandResult CommandRunner::run(const std::function<CommandResult()>& command)
{
    if (m_mission.busy())
        return CommandResult::refused();
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
        return CommandResult::refused();
    }
    switch (result.outcome) {
    case CommandResult::Outcome::Done:
        if (!result.status.isEmpty())
            m_status.show(result.status, result.colour);
        break;
    case CommandResult::Outcome::Stale:
        if (m_reloadStale)
            m_reloadStale(result.file);
        break;
    case CommandResult::Outcome::Refused:
        break;
    }
    return result;
}

} // namespace mw
