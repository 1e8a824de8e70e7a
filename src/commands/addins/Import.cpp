#include "commands/addins/Import.h"
#include "foundation/files/Paths.h"

#include <algorithm>
#include <array>
#include <optional>

#include "commands/editing/SceneRewrite.h"
#include "formats/addin/Package.h"
#include "foundation/files/FileAccess.h"
#include "foundation/seams/Progress.h"
#include "foundation/seams/Prompter.h"
#include "foundation/text/Latin1Text.h"
#include "mission/Mission.h"
#include "mission/MissionFolder.h"

namespace mw {

namespace {

namespace fs = std::filesystem;

constexpr std::array<const char*, 4> TargetNames{"tree.klz", "cache.bin", "scene.4ds", "scene2.bin"};
constexpr std::array<MissionFile, 4> TargetFiles{MissionFile::Tree, MissionFile::Cache, MissionFile::Model, MissionFile::Scene};

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

// How far a part of the import got, and how the whole of it ended.
enum class Went { On, Stopped, Failed };
enum class Ran { Complete, Stopped, Refused, Stale, Failed };

class Import {
public:
    Import(Mission& mission, Prompter& prompter, const Package& package)
        : m_mission(mission), m_prompter(prompter), m_package(package),
          m_folder(missionFolder(mission.workspace().ScenePath, mission.workspace().SceneTitle)),
          m_found(missionFilesIn(pathFromUtf8(m_folder)))
    {
    }

    Ran run();
    const std::vector<fs::path>& written() const { return m_written; }

private:
    // The mission's files as the folder names them; the scene is the one loaded.
    fs::path target(int t) const
    {
        return t == 3 ? m_mission.pathOf(MissionFile::Scene) : m_found.orDefault(pathFromUtf8(m_folder), TargetFiles[t]);
    }
    fs::path routeFile() const { return m_found.orDefault(pathFromUtf8(m_folder), MissionFile::Route); }
    void progress(int value, const char* text)
    {
        if (Progress* p = m_mission.progress())
            p->step(value, text);
    }
    // A write of the import; a failure is told as "Can't find" with the path, and ends the import.
    bool write(const fs::path& path, const SharedImage& bytes)
    {
        m_written.push_back(path);
        const std::string failure = cannotFind(path);
        return m_mission.replace(path, bytes, m_prompter, failure.c_str()) == WriteOutcome::Done;
    }
    bool write(const fs::path& path, const std::vector<std::uint8_t>& bytes)
    {
        return write(path, std::make_shared<const std::vector<std::uint8_t>>(bytes));
    }
    bool readAll();
    bool patchFile(int t, std::vector<std::uint8_t>& image);
    Went putSceneBlock(std::vector<std::uint8_t> scene, bool sceneChanged);
    Went extract();

    Mission& m_mission;
    Prompter& m_prompter;
    const Package& m_package;
    std::string m_folder; // UTF-8, as missionFolder() gives it
    MissionFolderFiles m_found;
    std::array<std::optional<std::vector<std::uint8_t>>, 4> m_files; // the mission files to change
    std::optional<std::vector<std::uint8_t>> m_route;                  // check.bin, when it is replaced
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

// Every file the import reads, read before the first write: a missing or unreadable one ends the
// import before any change.
bool Import::readAll()
{
    const auto read = [&](const fs::path& path, std::optional<std::vector<std::uint8_t>>& into) {
        try {
            into = readWholeFile(path);
            return true;
        } catch (const IoError&) {
            m_prompter.message(cannotFind(path), "");
            return false;
        }
    };
    for (int t = 0; t < 4; ++t)
        if ((m_package.apply[t] || t == 3) && !read(target(t), m_files[t]))
            return false;
    const bool replacesRoute = !m_package.groups[static_cast<std::size_t>(FileGroup::MissionFiles)].empty();
    return !replacesRoute || !fileExists(routeFile()) || read(routeFile(), m_route);
}

Ran Import::run()
{
    // The folders the file groups go to must be found before anything is changed.
    for (std::size_t g = 0; g < Groups.size(); ++g)
        if ((g == 0 || !m_package.groups[g].empty()) && m_folder.find(Groups[g].word) == std::string::npos) {
            m_prompter.message(Groups[g].missing, "");
            return Ran::Refused;
        }
    if (!readAll())
        return Ran::Refused;
    if (!m_mission.checkUnchanged(MissionFile::Scene, m_prompter))
        return Ran::Stale;

    const auto ended = [](Went went) { return went == Went::Failed ? Ran::Failed : Ran::Stopped; };
    // Each ".sav" keeps the file as it was before the first import.
    for (int t = 0; t < 4; ++t) {
        const fs::path backup = withSuffix(target(t), ".sav");
        std::error_code ec;
        if (m_files[t] && !(fs::exists(backup, ec) && fs::file_size(backup, ec) > 0) && !write(backup, *m_files[t]))
            return Ran::Failed;
    }
    for (int t = 0; t < 3; ++t) {
        if (!m_package.apply[t] || m_files[t]->empty())
            continue;
        progress(10 + 5 * t, ("  --- Analyse " + std::string(TargetNames[t]) + " ---").c_str());
        std::vector<std::uint8_t> image = *m_files[t];
        const bool goOn = patchFile(t, image);
        if (image != *m_files[t] && !write(target(t), image))
            return Ran::Failed;
        if (!goOn)
            return Ran::Stopped;
    }
    std::vector<std::uint8_t> scene = *m_files[3];
    if (m_package.apply[3] && !scene.empty()) {
        progress(25, "  --- Analyse scene2.bin ---");
        if (!patchFile(3, scene)) {
            if (scene != *m_files[3] && !write(target(3), scene))
                return Ran::Failed;
            return Ran::Stopped;
        }
    }
    const bool sceneChanged = scene != *m_files[3];
    if (const Went went = putSceneBlock(std::move(scene), sceneChanged); went != Went::On)
        return ended(went);
    const Went went = extract();
    return went == Went::On ? Ran::Complete : ended(went);
}

Went Import::putSceneBlock(std::vector<std::uint8_t> scene, bool sceneChanged)
{
    progress(30, "  ---  Put scene2.bin ---");
    const SceneCatalogue& loaded = m_mission.sceneCatalogue();
    auto splices = appendingSplices(scene, loaded.ObjectsSizeOffset, loaded.DefsPos, m_package.objects,
                                    m_package.definitions);
    if (!splices) {
        m_mission.fail(WouldDamageScene, "", m_prompter);
        return Went::Failed;
    }
    // The block was put before when its name stands behind the objects already.
    const std::uint32_t objectsEnd = *objectsEndOf(scene, loaded.ObjectsSizeOffset);
    const std::string_view tail(reinterpret_cast<const char*>(scene.data()) + objectsEnd, scene.size() - objectsEnd);
    const bool known = m_package.blockName.empty() || containsIgnoringCase(tail, m_package.blockName);
    if (known && !m_prompter.askYesNo(cannotMod("scene2.bin"), "")) {
        if (sceneChanged && !write(target(3), scene))
            return Went::Failed;
        return Went::Stopped;
    }
    if (splices->empty())
        return !sceneChanged || write(target(3), scene) ? Went::On : Went::Failed;
    m_written.push_back(target(3));
    const std::string failure = cannotFind(target(3));
    return rewriteSceneFrom(m_mission, scene, *splices, m_prompter, failure.c_str()) == WriteOutcome::Done
               ? Went::On
               : Went::Failed;
}

Went Import::extract()
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
        if (const std::string failure = cannotFind(folder); !m_mission.createFolders(folder, m_prompter, failure.c_str()))
            return Went::Failed;
        for (const PackageFile& file : files) {
            const fs::path path = folder / file.name;
            if (missionFiles) {
                // The route file is replaced by the package's files; its first state is kept.
                const fs::path saved = withSuffix(routeFile(), ".sav");
                if (m_route && !fileExists(saved) && !write(saved, *m_route))
                    return Went::Failed;
                if (fileExists(routeFile()) && !write(routeFile(), SharedImage{}))
                    return Went::Failed;
            } else if (fileExists(path) &&
                       !m_prompter.askYesNo("File" + file.name + " already exists!! Still overwrite?", "File exists!")) {
                continue;
            }
            if (!write(path, file.content))
                return Went::Failed;
        }
    }
    return Went::On;
}

} // namespace

Result<Imported> importAddin(Mission& mission, const std::filesystem::path& packagePath, Prompter& prompter,
                             const std::optional<KeptRows>& keep)
{
    const Workspace& ws = mission.workspace();
    if (ws.ScenePath.empty() || packagePath.empty())
        return Outcome::refused();
    if (!containsIgnoringCase(utf8Of(packagePath), ".QRA")) {
        prompter.message(addinmsg::NotAPackage, "");
        return Outcome::refused();
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes = readWholeFile(packagePath);
    } catch (const IoError&) {
        prompter.message(cannotFind(packagePath), "");
        return Outcome::refused();
    }
    const PackageReadResult read = readPackage(bytes);
    if (!read.package) {
        prompter.message("** This ADDin file is damaged: " + read.problem + " - nothing was changed! **", "");
        return Outcome::refused();
    }
    const Package& package = *read.package;
    if (!containsIgnoringCase(missionFolder(ws.ScenePath, ws.SceneTitle), package.missionName)) {
        prompter.message(addinmsg::OtherMission + package.missionName, "");
        return Outcome::refused();
    }

    if (Progress* progress = mission.progress()) {
        progress->start(51);
        progress->step(5, package.title);
    }
    Import import(mission, prompter, package);
    Ran ran = Ran::Refused;
    // The user's No keeps what was written; a failure takes all of it back.
    const Outcome outcome =
        runStep(mission, "Import " + (package.title.empty() ? std::string("add-in") : package.title), prompter, [&] {
            switch (ran = import.run()) {
            case Ran::Complete:
            case Ran::Stopped:
                return Outcome::doneWith();
            case Ran::Stale:
                return Outcome::stale(MissionFile::Scene);
            case Ran::Failed:
                return Outcome::failed();
            case Ran::Refused:
                break;
            }
            return Outcome::refused();
        });
    if (Progress* progress = mission.progress())
        progress->finish();
    if (!outcome.done())
        return outcome;

    // Everything the import changed is read again.
    const auto written = [&](MissionFile file) {
        return mission.isLoaded(file) && std::any_of(import.written().begin(), import.written().end(), [&](const fs::path& p) {
                   return p == fs::path(mission.pathOf(file));
               });
    };
    const SceneSelection selected = mission.reloadScene(keep.value_or(mission.rememberedRows()), prompter);
    for (MissionFile file : {MissionFile::Cache, MissionFile::Model, MissionFile::Tree})
        if (written(file))
            mission.reload(file, prompter);
    return {Outcome::doneWith(selected), {ran == Ran::Stopped}};
}

} // namespace mw
