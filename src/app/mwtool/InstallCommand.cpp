// mwtool install: the add-in import without a window, its questions answered by a flag. The
// core's messages are UTF-8 and printed as they are.
#include <iostream>
#include <optional>

#include "app/mwtool/Commands.h"
#include "commands/addins/Import.h"
#include "foundation/files/Paths.h"
#include "foundation/seams/Prompter.h"
#include "foundation/text/Latin1Text.h"
#include "foundation/files/FileAccess.h"
#include "mission/Mission.h"
#include "mission/MissionFolder.h"

namespace mw::tool {

namespace {

namespace fs = std::filesystem;

// Raised by a question that no flag answers: the import's step is taken back as it unwinds.
struct UnansweredQuestion {
    std::string text;
};

class ConsolePrompter final : public Prompter {
public:
    explicit ConsolePrompter(Answer answer) : m_answer(answer) {}

    void message(std::string_view text, std::string_view title) override
    {
        std::cout << (title.empty() ? std::string() : std::string(title) + ": ") << text << '\n';
    }
    bool askYesNo(std::string_view text, std::string_view title) override
    {
        if (m_answer == Answer::Ask)
            throw UnansweredQuestion{title.empty() ? std::string(text) : std::string(title) + ": " + std::string(text)};
        const bool yes = m_answer == Answer::Yes;
        std::cout << text << (yes ? " yes" : " no") << '\n';
        return yes;
    }

private:
    Answer m_answer;
};

// What the step of the import wrote, one line per file and folder.
void tellWhatWasDone(const Mission& mission)
{
    const HistoryStep* step = mission.history().nextUndo();
    if (!step)
        return;
    for (const fs::path& folder : step->createdFolders)
        std::cout << "created folder " << utf8Of(folder) << '\n';
    for (const FileChange& change : step->changes) {
        const char* what = !change.whole ? "patched" : !change.before ? "created" : !change.after ? "removed" : "replaced";
        std::cout << what << ' ' << utf8Of(change.path) << '\n';
    }
}

} // namespace

int install(const fs::path& package, const fs::path& missionFolder, Answer answer)
{
    const fs::path scene = missionFilesIn(missionFolder)[MissionFile::Scene];
    if (scene.empty()) {
        std::cerr << "mwtool: no scene2.bin in " << utf8Of(missionFolder) << '\n';
        return CannotRun;
    }
    if (!canOpenForReading(package)) {
        std::cerr << "mwtool: cannot read " << utf8Of(package) << '\n';
        return CannotRun;
    }
    Mission mission;
    ConsolePrompter prompter(answer);
    if (!mission.open(MissionFile::Scene, fs::absolute(scene), prompter) ||
        mission.scene().status != SceneLoadStatus::Loaded) {
        std::cerr << "mwtool: " << utf8Of(scene) << " cannot be read\n";
        return CannotRun;
    }
    Result<Imported> result;
    try {
        result = importAddin(mission, fs::absolute(package), prompter);
    } catch (const UnansweredQuestion& question) {
        std::cout << question.text << '\n';
        const std::string note = mission.takeUnwoundNote();
        std::cerr << "mwtool: the install asks the question above; answer it with --yes or --no. "
                  << (note.empty() ? std::string("Nothing was changed.") : note) << '\n';
        return Unanswered;
    }
    if (result.done()) {
        tellWhatWasDone(mission);
        if (!result.value.stopped) {
            std::cout << "complete\n";
            return Ok;
        }
        std::cout << (mission.history().nextUndo() ? "stopped: what is listed above stays\n"
                                                   : "stopped: nothing was changed\n");
        return Problems;
    }
    // A failure was told by the mission's message, with what was put back.
    if (result.ended != Ended::Failed)
        std::cout << "nothing was changed\n";
    return Problems;
}

} // namespace mw::tool
