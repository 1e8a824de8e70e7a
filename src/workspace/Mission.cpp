#include "workspace/Mission.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "insertion/BuiltinResources.h"
#include "missionfiles/PlaceholderModel.h"
#include "workspace/Prompter.h"

namespace mw {

namespace {

constexpr const char* CannotOpen = "************";

std::string changedOnDiskMessage(const char* fileName)
{
    return std::string("****** ") + fileName + " was changed outside the editor! Nothing saved - the file is read again. ******";
}

void tellFailure(Prompter& prompter, const IoError& error, const char* failureText)
{
    if (failureText)
        prompter.message(failureText, error.what());
    else
        prompter.message(error.what(), "");
}

void say(Prompter& prompter, const std::vector<std::string>& messages)
{
    for (const auto& text : messages)
        prompter.message(text, "");
}

} // namespace

const char* missionFileName(MissionFile file)
{
    switch (file) {
    case MissionFile::Scene:
        return "scene2.bin";
    case MissionFile::Cache:
        return "cache.bin";
    case MissionFile::Model:
        return "scene.4ds";
    case MissionFile::Tree:
        return "tree.klz";
    }
    return "";
}

const std::string& Mission::pathOf(MissionFile file) const
{
    switch (file) {
    case MissionFile::Cache:
        return m_ws.CachePath;
    case MissionFile::Model:
        return m_ws.ModelPath;
    case MissionFile::Tree:
        return m_ws.TreePath;
    case MissionFile::Scene:
        break;
    }
    return m_ws.ScenePath;
}

bool Mission::readFile(MissionFile file, Prompter& prompter)
{
    auto& bytes = m_bytes[index(file)];
    try {
        // Stamped before reading: a change made while we read makes the stamp older, never newer.
        m_stamps[index(file)] = mw::stampOf(pathOf(file));
        bytes = readWholeFile(pathOf(file));
    } catch (const IoError&) {
        bytes.clear();
        m_stamps[index(file)].reset();
        m_ws.Busy = false;
        prompter.message(CannotOpen, "");
        return false;
    }
    if (!bytes.empty())
        m_ws.Busy = true;
    return true;
}

void Mission::loadScene(SceneLoadKind kind, Prompter& prompter)
{
    const auto done = kind == SceneLoadKind::Fresh ? MissionChange::Kind::Loaded : MissionChange::Kind::Reloaded;
    notify(MissionFile::Scene, MissionChange::Kind::AboutToLoad);
    m_sceneSelection = {};
    auto parsed = std::exchange(m_parsedScene, std::nullopt);
    const auto& stamp = m_stamps[index(MissionFile::Scene)];
    if (parsed && stamp && mw::stampOf(m_ws.ScenePath) == stamp) {
        // Our own rewrite: the kept bytes are the file's, and they were parsed before writing.
        std::swap(m_scene, *parsed);
    } else {
        if (!readFile(MissionFile::Scene, prompter)) {
            m_ws.KeepSelection = false;
            m_scene = SceneLoadResult{};
            notify(MissionFile::Scene, done);
            return;
        }
        loadSceneInto(m_bytes[index(MissionFile::Scene)], m_scene, m_progress);
    }
    m_ws.SceneSize = m_bytes[index(MissionFile::Scene)].size();
    say(prompter, m_scene.messages);

    const SceneCatalogue& c = m_scene.catalogue;
    m_ws.ObjectsSize = c.ObjectsSize;
    m_ws.ObjectsSizeOffset = c.ObjectsSizeOffset;
    m_ws.DefsPos = c.DefsPos;
    m_ws.ScriptsLengthPos = c.ScriptsLengthPos;
    m_ws.FirstScriptIndex = c.FirstScriptIndex;
    m_sceneSelection = selectionAfterLoad(c, m_ws, kind);
    m_ws.Busy = false;
    notify(MissionFile::Scene, done);
}

void Mission::loadCache(Prompter& prompter)
{
    notify(MissionFile::Cache, MissionChange::Kind::AboutToLoad);
    m_cache = CacheLoadResult{};
    if (readFile(MissionFile::Cache, prompter)) {
        m_cache = readCacheFile(m_bytes[index(MissionFile::Cache)], m_progress);
        say(prompter, m_cache.messages);
    }
    m_ws.Busy = false;
    notify(MissionFile::Cache, MissionChange::Kind::Loaded);
}

void Mission::loadModel(Prompter& prompter)
{
    notify(MissionFile::Model, MissionChange::Kind::AboutToLoad);
    m_model = ModelLoadResult{};
    if (readFile(MissionFile::Model, prompter)) {
        m_model = readModelFile(m_bytes[index(MissionFile::Model)], m_progress);
        say(prompter, m_model.messages);
    }
    m_ws.Busy = false;
    notify(MissionFile::Model, MissionChange::Kind::Loaded);
}

bool Mission::loadTree(Prompter& prompter)
{
    notify(MissionFile::Tree, MissionChange::Kind::AboutToLoad);
    // The collision path now names this file: nothing of an earlier one may stay listed.
    m_tree = CollisionLoadResult{};
    m_bytes[index(MissionFile::Tree)].clear();
    m_stamps[index(MissionFile::Tree)].reset();
    const bool read = [&] {
        const auto placeholder = placeholderModelPath(m_ws.TreePath);
        if (!placeholder) {
            prompter.message(treemsg::NoMissionsFolder, "");
            return false;
        }
        // Without a scene there is no mission to put the placeholder model beside.
        if (m_ws.ScenePath.empty()) {
            prompter.message(treemsg::FirstLoadScene, "");
            return false;
        }
        if (!fileExists(*placeholder)) {
            std::error_code ec;
            std::filesystem::create_directories(placeholder->parent_path(), ec);
            if (ec)
                prompter.message("cannot create " + placeholder->parent_path().string() + ": " + ec.message(), "");
            else
                replace(*placeholder, loadBuiltinResource("Cube1"), prompter);
        }
        if (!sameMission(m_ws.ScenePath, m_ws.SceneTitle, m_ws.TreePath, m_ws.TreeTitle)) {
            prompter.message(treemsg::DifferentMissions, "");
            return false;
        }
        if (!readFile(MissionFile::Tree, prompter))
            return false;
        m_tree = readCollisionFile(m_bytes[index(MissionFile::Tree)], m_scene.catalogue, m_progress);
        say(prompter, m_tree.messages);
        return true;
    }();
    m_ws.Busy = false;
    notify(MissionFile::Tree, MissionChange::Kind::Loaded);
    return read;
}

bool Mission::checkUnchanged(MissionFile file, Prompter& prompter) const
{
    const auto& stamp = m_stamps[index(file)];
    if (stamp && mw::stampOf(pathOf(file)) == stamp)
        return true;
    prompter.message(changedOnDiskMessage(missionFileName(file)), "");
    return false;
}

WriteOutcome Mission::patch(MissionFile file, std::span<const Patch> patches, Prompter& prompter,
                            const char* failureText)
{
    if (!checkUnchanged(file, prompter))
        return WriteOutcome::Stale;
    try {
        patchInPlace(pathOf(file), patches);
    } catch (const IoError& error) {
        tellFailure(prompter, error, failureText);
        return WriteOutcome::Failed;
    }
    m_stamps[index(file)] = mw::stampOf(pathOf(file));
    if (file == MissionFile::Scene)
        m_parsedScene.reset();
    auto& bytes = m_bytes[index(file)];
    for (const Patch& p : patches)
        if (p.offset <= bytes.size() && p.bytes.size() <= bytes.size() - p.offset)
            std::copy(p.bytes.begin(), p.bytes.end(), bytes.begin() + static_cast<std::ptrdiff_t>(p.offset));
    notify(file, MissionChange::Kind::Patched);
    return WriteOutcome::Done;
}

WriteOutcome Mission::replace(MissionFile file, std::span<const std::uint8_t> image, Prompter& prompter,
                              const char* failureText)
{
    if (!checkUnchanged(file, prompter))
        return WriteOutcome::Stale;
    try {
        replaceWholeFile(pathOf(file), image);
    } catch (const IoError& error) {
        tellFailure(prompter, error, failureText);
        return WriteOutcome::Failed;
    }
    m_stamps[index(file)] = mw::stampOf(pathOf(file));
    if (file == MissionFile::Scene)
        m_parsedScene.reset();
    m_bytes[index(file)].assign(image.begin(), image.end());
    notify(file, MissionChange::Kind::Replaced);
    return WriteOutcome::Done;
}

WriteOutcome Mission::replace(const std::filesystem::path& path, std::span<const std::uint8_t> image,
                              Prompter& prompter, const char* failureText)
{
    for (MissionFile file : {MissionFile::Scene, MissionFile::Cache, MissionFile::Model, MissionFile::Tree})
        if (!pathOf(file).empty() && std::filesystem::path(pathOf(file)) == path)
            return replace(file, image, prompter, failureText);
    try {
        replaceWholeFile(path, image);
    } catch (const IoError& error) {
        tellFailure(prompter, error, failureText);
        return WriteOutcome::Failed;
    }
    return WriteOutcome::Done;
}

void Mission::offerParsedScene(SceneLoadResult parsed) { m_parsedScene = std::move(parsed); }

void Mission::addListener(MissionListener* listener) { m_listeners.push_back(listener); }

void Mission::removeListener(MissionListener* listener)
{
    m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), listener), m_listeners.end());
}

void Mission::notify(MissionFile file, MissionChange::Kind kind)
{
    const MissionChange change{file, kind};
    // A copy: a listener may remove itself while it is told.
    const auto listeners = m_listeners;
    for (MissionListener* l : listeners)
        l->missionChanged(change);
}

} // namespace mw
