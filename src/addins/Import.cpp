#include "addins/Import.h"
#include "io/Paths.h"

#include <algorithm>
#include <array>
#include <optional>

#include "addins/Package.h"
#include "editing/SceneRewrite.h"
#include "io/FileAccess.h"
#include "scene/Search.h"
#include "workspace/Mission.h"
#include "workspace/Progress.h"
#include "workspace/Prompter.h"

namespace mw {

namespace {

namespace fs = std::filesystem;

constexpr std::array<const char*, 4> TargetNames{"tree.klz", "cache.bin", "scene.4ds", "scene2.bin"};

std::string cannotFind(const fs::path& path) { return "****** Can't find - " + utf8Of(path) + "- ******"; }

std::string cannotMod(const char* file)
{
    return std::string("**Sorry, cannot mod your ") + file + "!! Maybe it's modded already. Go on? **";
}

// Where each file group goes: the word its folder is found by, the folder beside "missions" (empty:
// the mission folder itself), the progress text and the message when the word is missing.
struct GroupPlace {
    const char* word;
    const char* folder;
    const char* progress;
    const char* missing;
};
constexpr std::array<GroupPlace, 6> Groups{{
    {"mission", "models", "  ---  extract models ---", "**Sorry, can't extract models!! Directory - missions - missing! **"},
    {"missions", "sounds", "  ---  extract sounds ---", "**Sorry, can't extract sounds!! Directory - missions - missing! **"},
    {"missions", "maps", "  ---  extract maps ---", "**Sorry, can't extract maps!! Directory - missions - missing! **"},
    {"missions", "tables", "  ---  extract ... ---", "**Sorry, can't extract tables!! Directory - missions - missing! **"},
    {"missions", "tables", "  ---  extract ... ---", "**Sorry, can't extract tables!! Directory - missions - missing! **"},
    {"missions", "", "  ---  check.bin ---", "**Sorry, can't extract check.bin!! Directory - missions - missing! **"},
}};

class Import {
public:
    Import(Mission& mission, Prompter& prompter, const Package& package)
        : m_mission(mission), m_prompter(prompter), m_package(package),
          m_folder(missionFolder(mission.workspace().ScenePath, mission.workspace().SceneTitle))
    {
    }

    ImportResult run();
    const std::vector<fs::path>& written() const { return m_written; }

private:
    fs::path target(int t) const { return pathFromUtf8(m_folder) / TargetNames[t]; }
    void progress(int value, const char* text)
    {
        if (Progress* p = m_mission.progress())
            p->step(value, text);
    }
    bool write(const fs::path& path, const std::vector<std::uint8_t>& bytes)
    {
        m_written.push_back(path);
        return m_mission.replace(path, bytes, m_prompter) == WriteOutcome::Done;
    }
    bool patchFile(int t, std::vector<std::uint8_t>& image);
    bool putSceneBlock(std::vector<std::uint8_t> scene, bool sceneChanged);
    bool extract();

    Mission& m_mission;
    Prompter& m_prompter;
    const Package& m_package;
    std::string m_folder; // UTF-8, as missionFolder() gives it
    std::vector<fs::path> m_written; // every file the import wrote
};

// Applies the records of one file to `image`, each pattern searched in the file as it was. False
// when the user does not want to go on.
bool Import::patchFile(int t, std::vector<std::uint8_t>& image)
{
    const std::vector<std::uint8_t> original = image;
    for (const PatchRecord& record : m_package.patches[t]) {
        const auto found = std::search(original.begin(), original.end(), record.pattern.begin(), record.pattern.end());
        const auto at = static_cast<std::size_t>(found - original.begin());
        // A replacement that would run past the end would lengthen the file: as if not found.
        if (found == original.end() || record.replacement.size() > original.size() - at)
            return m_prompter.askYesNo(cannotMod(TargetNames[t]), ""); // Yes: the rest stays unpatched
        std::copy(record.replacement.begin(), record.replacement.end(), image.begin() + static_cast<std::ptrdiff_t>(at));
    }
    return true;
}

ImportResult Import::run()
{
    Workspace& ws = m_mission.workspace();
    // The folders the file groups go to must be found before anything is changed.
    for (std::size_t g = 0; g < Groups.size(); ++g)
        if ((g == 0 || !m_package.groups[g].empty()) && m_folder.find(Groups[g].word) == std::string::npos) {
            m_prompter.message(Groups[g].missing, "");
            return ImportResult::Refused;
        }
    // Every file to patch is read first: a missing one ends the import before any change.
    std::array<std::optional<std::vector<std::uint8_t>>, 4> files;
    for (int t = 0; t < 4; ++t) {
        if (!m_package.apply[t] && t != 3)
            continue;
        try {
            files[t] = readWholeFile(target(t));
        } catch (const IoError&) {
            m_prompter.message(cannotFind(target(t)), "");
            return ImportResult::Refused;
        }
    }
    if (!m_mission.checkUnchanged(MissionFile::Scene, m_prompter))
        return ImportResult::Refused;

    ws.Busy = true;
    // Each ".sav" keeps the file as it was before the first import.
    for (int t = 0; t < 4; ++t) {
        const fs::path backup = withSuffix(target(t), ".sav");
        std::error_code ec;
        if (files[t] && !(fs::exists(backup, ec) && fs::file_size(backup, ec) > 0) && !write(backup, *files[t]))
            return ImportResult::Stopped;
    }
    for (int t = 0; t < 3; ++t) {
        if (!m_package.apply[t] || files[t]->empty())
            continue;
        progress(10 + 5 * t, ("  --- Analyse " + std::string(TargetNames[t]) + " ---").c_str());
        std::vector<std::uint8_t> image = *files[t];
        const bool goOn = patchFile(t, image);
        if (image != *files[t] && !write(target(t), image))
            return ImportResult::Stopped;
        if (!goOn)
            return ImportResult::Stopped;
    }
    std::vector<std::uint8_t> scene = *files[3];
    bool goOn = true;
    if (m_package.apply[3] && !scene.empty()) {
        progress(25, "  --- Analyse scene2.bin ---");
        goOn = patchFile(3, scene);
    }
    if (!goOn) {
        if (scene != *files[3] && !write(target(3), scene))
            return ImportResult::Stopped;
        return ImportResult::Stopped;
    }
    if (!putSceneBlock(std::move(scene), scene != *files[3]))
        return ImportResult::Stopped;
    return extract() ? ImportResult::Complete : ImportResult::Stopped;
}

bool Import::putSceneBlock(std::vector<std::uint8_t> scene, bool sceneChanged)
{
    progress(30, "  ---  Put scene2.bin ---");
    const Workspace& ws = m_mission.workspace();
    auto splices = appendingSplices(scene, ws.ObjectsSizeOffset, ws.DefsPos, m_package.objects, m_package.definitions);
    if (!splices) {
        m_prompter.message(WouldDamageScene, "");
        return false;
    }
    // The block was put before when its name stands behind the objects already.
    const std::uint32_t objectsEnd = *objectsEndOf(scene, ws.ObjectsSizeOffset);
    const std::string_view tail(reinterpret_cast<const char*>(scene.data()) + objectsEnd, scene.size() - objectsEnd);
    const bool known = m_package.blockName.empty() || containsIgnoringCase(tail, m_package.blockName);
    if (known && !m_prompter.askYesNo(cannotMod("scene2.bin"), "")) {
        if (sceneChanged)
            write(target(3), scene);
        return false;
    }
    if (splices->empty())
        return !sceneChanged || write(target(3), scene);
    m_written.push_back(target(3));
    return rewriteSceneFrom(m_mission, scene, *splices, m_prompter) == WriteOutcome::Done;
}

bool Import::extract()
{
    for (std::size_t g = 0; g < Groups.size(); ++g) {
        const auto& files = m_package.groups[g];
        if (g != 0 && files.empty())
            continue;
        progress(35 + 2 * static_cast<int>(g), Groups[g].progress);
        const bool missionFiles = g == static_cast<std::size_t>(FileGroup::MissionFiles);
        const fs::path folder = missionFiles
                                    ? pathFromUtf8(m_folder)
                                    : pathFromUtf8(m_folder.substr(0, m_folder.find(Groups[g].word))) / Groups[g].folder;
        std::error_code ec;
        fs::create_directories(folder, ec);
        if (ec) {
            m_prompter.message(cannotFind(folder), "");
            return false;
        }
        const fs::path check = pathFromUtf8(m_folder) / "check.bin";
        for (const PackageFile& file : files) {
            const fs::path path = folder / file.name;
            if (missionFiles) {
                // The route file is replaced by the package's files; its first state is kept.
                const fs::path saved = withSuffix(check, ".sav");
                if (fileExists(check) && !fileExists(saved) && !write(saved, readWholeFile(check)))
                    return false;
                if (fileExists(check) && m_mission.replace(check, SharedImage{}, m_prompter) != WriteOutcome::Done)
                    return false;
            } else if (fileExists(path) &&
                       !m_prompter.askYesNo("File" + file.name + " already exists!! Still overwrite?", "File exists!")) {
                continue;
            }
            if (!write(path, file.content))
                return false;
        }
    }
    return true;
}

} // namespace

ImportResult importAddin(Mission& mission, const std::filesystem::path& packagePath, Prompter& prompter)
{
    Workspace& ws = mission.workspace();
    if (ws.ScenePath.empty() || packagePath.empty())
        return ImportResult::Refused;
    if (!containsIgnoringCase(utf8Of(packagePath), ".QRA")) {
        prompter.message(addinmsg::NotAPackage, "");
        return ImportResult::Refused;
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes = readWholeFile(packagePath);
    } catch (const IoError&) {
        prompter.message(cannotFind(packagePath), "");
        return ImportResult::Refused;
    }
    const PackageReadResult read = readPackage(bytes);
    if (!read.package) {
        prompter.message("** This ADDin file is damaged: " + read.problem + " - nothing was changed! **", "");
        return ImportResult::Refused;
    }
    const Package& package = *read.package;
    if (!containsIgnoringCase(missionFolder(ws.ScenePath, ws.SceneTitle), package.missionName)) {
        prompter.message(addinmsg::OtherMission + package.missionName, "");
        return ImportResult::Refused;
    }

    if (Progress* progress = mission.progress()) {
        progress->start(51);
        progress->step(5, package.title);
    }
    ImportResult result;
    Import import(mission, prompter, package);
    {
        const Mission::Step step(mission, "Import " + (package.title.empty() ? std::string("add-in") : package.title));
        result = import.run();
    }
    if (Progress* progress = mission.progress())
        progress->finish();
    ws.Busy = false;
    if (result == ImportResult::Refused)
        return result;

    // Everything the import changed is read again.
    const auto written = [&](MissionFile file) {
        return mission.isLoaded(file) && std::any_of(import.written().begin(), import.written().end(), [&](const fs::path& p) {
                   return p == fs::path(mission.pathOf(file));
               });
    };
    ws.KeepSelection = true;
    mission.loadScene(SceneLoadKind::Reload, prompter);
    if (written(MissionFile::Cache))
        mission.loadCache(prompter);
    if (written(MissionFile::Model))
        mission.loadModel(prompter);
    if (written(MissionFile::Tree))
        mission.loadTree(prompter);
    return result;
}

} // namespace mw
