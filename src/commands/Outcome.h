#pragma once
// How a command ended, in one shape for every command: done; refused (a check or the user said no
// before anything changed); stale (a file changed on disk since it was loaded: nothing was written,
// and the file is to be read again); failed (a write failed: everything the command wrote was
// taken back, and said). Beside it, each command's own payload, and the scene rows the window
// selects once the command is done (the rows a reload kept, the objects a paste added).

#include <optional>
#include <string>
#include <utility>

#include "mission/Mission.h"

namespace mw {

enum class Ended { Done, Refused, Stale, Failed };

struct Outcome {
    Ended ended = Ended::Refused;
    MissionFile staleFile = MissionFile::Scene; // Stale: the file to read again
    std::optional<SceneSelection> select;       // Done: the scene rows to select now

    bool done() const { return ended == Ended::Done; }
    static Outcome doneWith(std::optional<SceneSelection> select = std::nullopt)
    {
        return {Ended::Done, MissionFile::Scene, std::move(select)};
    }
    static Outcome refused() { return {}; }
    static Outcome failed() { return {Ended::Failed, MissionFile::Scene, std::nullopt}; }
    static Outcome stale(MissionFile file) { return {Ended::Stale, file, std::nullopt}; }
    // How a write through one of the mission's two paths ended, for the file it wrote.
    static Outcome of(WriteOutcome written, MissionFile file)
    {
        switch (written) {
        case WriteOutcome::Done: return doneWith();
        case WriteOutcome::Stale: return stale(file);
        case WriteOutcome::Failed: break;
        }
        return failed();
    }
};

// An outcome with the command's own payload.
template <class Payload>
struct Result : Outcome {
    Payload value{};
    Result() = default;
    Result(Outcome outcome, Payload payload = {}) : Outcome(std::move(outcome)), value(std::move(payload)) {}
};

// Runs `work` as one step of the history named `name`, the mission busy meanwhile: the step stays
// when the work is done (a user's No that keeps what was written is done too), and is taken back
// otherwise. `work` returns an Outcome or a Result.
template <class Work>
auto runStep(Mission& mission, std::string name, Prompter& prompter, Work&& work) -> decltype(work())
{
    const Mission::BusyScope busy(mission);
    Mission::Step step(mission, std::move(name), prompter);
    auto outcome = work();
    if (outcome.done())
        step.commit();
    return outcome;
}

} // namespace mw
