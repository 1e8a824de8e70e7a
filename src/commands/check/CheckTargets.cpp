#include "commands/check/CheckTargets.h"

#include <array>
#include <memory>
#include <system_error>

#include "foundation/files/FileAccess.h"
#include "foundation/files/Paths.h"
#include "foundation/text/Latin1Text.h"
#include "mission/Mission.h"
#include "mission/MissionFolder.h"

namespace mw {

namespace {

namespace fs = std::filesystem;

std::string shownName(const fs::path& path)
{
    const std::u8string text = path.lexically_normal().generic_u8string();
    return std::string(text.begin(), text.end());
}

// Reads the file into the target; false, with the problem, when it cannot be read.
bool addFile(CheckTarget& target, const fs::path& path, const std::string& fileName)
{
    std::vector<std::uint8_t> bytes;
    try {
        bytes = readWholeFile(path);
    } catch (const IoError& e) {
        target.problem = "cannot read " + shownName(path) + ": " + e.what();
        return false;
    }
    const auto kind = kindOfFile(fileName, bytes);
    if (!kind) {
        target.problem = "cannot tell which mission file " + shownName(path) + " is";
        return false;
    }
    target.files.push_back({*kind, shownName(path), std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes))});
    return true;
}

} // namespace

CheckTarget filesToCheck(const fs::path& path)
{
    CheckTarget target;
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        const MissionFolderFiles found = missionFilesIn(path);
        if (!found.problem.empty()) {
            target.problem = "cannot read the folder " + shownName(path) + ": " + found.problem;
            return target;
        }
        for (const MissionFile file : FolderFiles)
            if (!found[file].empty() && !addFile(target, found[file], missionFileName(file)))
                return target;
        if (target.files.empty()) {
            target.problem = "no mission files in " + shownName(path);
            return target;
        }
        for (const NameClash& clash : found.clashes) {
            std::string names = "\"" + clash.taken + "\"";
            for (const std::string& other : clash.others)
                names += " and \"" + other + "\"";
            target.problems.push_back({Severity::Error, shownName(found[clash.file]), {}, {},
                                       names + " differ only in letter case: \"" + clash.taken + "\" is the " +
                                           missionFileName(clash.file) + " checked"});
        }
        return target;
    }
    if (!fs::exists(path, ec)) {
        target.problem = "no such file or folder: " + shownName(path);
        return target;
    }
    addFile(target, path, utf8Of(path.filename()));
    return target;
}

std::vector<CheckedFile> loadedFiles(const Mission& mission)
{
    constexpr std::array<CheckedKind, 4> kinds{CheckedKind::Scene, CheckedKind::Cache, CheckedKind::Model,
                                               CheckedKind::Tree};
    const Workspace& ws = mission.workspace();
    const std::array<const std::string*, 4> titles{&ws.SceneTitle, &ws.CacheTitle, &ws.ModelTitle, &ws.TreeTitle};
    std::vector<CheckedFile> files;
    for (const MissionFile file : MissionFiles) {
        if (!mission.isLoaded(file))
            continue;
        const auto i = static_cast<std::size_t>(file);
        const std::string name = titles[i]->empty() ? missionFileName(file) : *titles[i];
        files.push_back({kinds[i], name, mission.sharedBytes(file)});
    }
    // The route file the mission read with the scene.
    if (mission.isLoaded(MissionFile::Route))
        if (const auto kind = kindOfFile(missionFileName(MissionFile::Route), mission.bytes(MissionFile::Route)))
            files.push_back({*kind, missionFileName(MissionFile::Route), mission.sharedBytes(MissionFile::Route)});
    return files;
}

} // namespace mw
