// mwtool run: a script over a mission folder through the editor's scripting interface. Everything
// it changes is written once when it ends well, or nothing at all; --dry-run writes nothing.
#include <QCoreApplication>
#include <iostream>
#include <memory>

#include "app/mwtool/Commands.h"
#include "foundation/files/FileAccess.h"
#include "foundation/files/Paths.h"
#include "foundation/seams/Prompter.h"
#include "mission/Mission.h"
#include "mission/MissionFolder.h"
#include "script/ScriptRun.h"

namespace mw::tool {

namespace {

namespace fs = std::filesystem;

// What the readers say while the files are read.
class LoadPrompter final : public Prompter {
public:
    void message(std::string_view text, std::string_view title) override
    {
        std::cerr << (title.empty() ? std::string() : std::string(title) + ": ") << text << '\n';
    }
    bool askYesNo(std::string_view text, std::string_view title) override
    {
        message(text, title);
        return false;
    }
};

// The mission folder's files, the scene first; false (and why) when one cannot be read.
bool openMission(Mission& mission, const fs::path& folder)
{
    const MissionFolderFiles files = missionFilesIn(folder);
    if (!files.problem.empty() || files[MissionFile::Scene].empty()) {
        std::cerr << "mwtool: no scene2.bin in " << utf8Of(folder) << '\n';
        return false;
    }
    LoadPrompter prompter;
    for (const MissionFile file : MissionFiles) {
        if (files[file].empty())
            continue;
        if (!mission.open(file, fs::absolute(files[file]), prompter) ||
            (file == MissionFile::Scene && mission.scene().status != SceneLoadStatus::Loaded)) {
            std::cerr << "mwtool: " << utf8Of(files[file]) << " cannot be read\n";
            return false;
        }
    }
    return true;
}

} // namespace

int run(const fs::path& script, const fs::path& folder, bool dryRun, double timeLimit)
{
    QString source;
    try {
        if (!canOpenForReading(script))
            throw IoError("cannot read the script " + utf8Of(script));
        source = readScriptSource(script);
    } catch (const IoError& e) {
        std::cerr << "mwtool: " << e.what() << '\n';
        return CannotRun;
    }
    Mission mission;
    if (!openMission(mission, folder))
        return CannotRun;

    // The engine wants an application object of its own kind; none is there in mwtool.
    int argc = 1;
    char name[] = "mwtool";
    char* argv[] = {name, nullptr};
    std::unique_ptr<QCoreApplication> app;
    if (!QCoreApplication::instance())
        app = std::make_unique<QCoreApplication>(argc, argv);

    ScriptOptions options;
    options.dryRun = dryRun;
    options.timeLimit = std::chrono::milliseconds(static_cast<long long>(timeLimit * 1000));
    options.print = [](const QString& line) { std::cout << line.toStdString() << '\n'; };
    ScriptRun run(mission, options);
    const ScriptResult result = run.run(source, QString::fromStdString(utf8Of(script.filename())));
    (result.ok() ? std::cout : std::cerr) << result.summary(dryRun).toStdString() << '\n';
    return result.ok() ? Ok : Problems;
}

} // namespace mw::tool
