// The mission's state and its loads; the write paths, steps and the history's travel are in
// MissionWrites.cpp.
#include "mission/Mission.h"

#include "mission/MissionFolder.h"

#include <algorithm>
#include <utility>

#include "formats/model/PlaceholderModel.h"
#include "formats/templates/BuiltinResources.h"
#include "foundation/files/Paths.h"
#include "foundation/seams/Prompter.h"

namespace mw {

namespace {

constexpr const char* CannotOpen = "************";

void say(Prompter& prompter, const std::vector<std::string>& messages)
{
    for (const auto& text : messages)
        prompter.message(text, "");
}

} // namespace

const std::filesystem::path& Mission::pathOf(MissionFile file) const
{
    switch (file) {
    case MissionFile::Cache:
        return m_ws.CachePath;
    case MissionFile::Model:
        return m_ws.ModelPath;
    case MissionFile::Tree:
        return m_ws.TreePath;
    case MissionFile::Route:
        return m_ws.RoutePath;
    case MissionFile::Scene:
        break;
    }
    return m_ws.ScenePath;
}

std::filesystem::path Mission::folder() const
{
    for (const MissionFile file : MissionFiles)
        if (isLoaded(file))
            return pathOf(file).parent_path();
    return {};
}

SharedImage* Mission::readerSourceOf(MissionFile file)
{
    switch (file) {
    case MissionFile::Scene:
        return &m_scene.catalogue.source;
    case MissionFile::Cache:
        return &m_cache.source;
    case MissionFile::Tree:
        return &m_tree.source;
    case MissionFile::Model:
    case MissionFile::Route:
        break;
    }
    return nullptr;
}

Mission::BusyScope::BusyScope(Mission& mission) : m_mission(mission)
{
    if (m_mission.m_busyDepth++ == 0) {
        m_mission.m_ws.Busy = true;
        m_mission.notifyBusy();
    }
}

Mission::BusyScope::~BusyScope()
{
    if (--m_mission.m_busyDepth == 0) {
        m_mission.m_ws.Busy = false;
        m_mission.notifyBusy();
    }
}

bool Mission::open(MissionFile file, const std::filesystem::path& path, Prompter& prompter,
                   const std::function<void()>& readable)
{
    const std::string title = utf8Of(path.filename());
    switch (file) {
    case MissionFile::Scene:
        m_ws.ScenePath = path, m_ws.SceneTitle = title;
        break;
    case MissionFile::Cache:
        m_ws.CachePath = path, m_ws.CacheTitle = title;
        break;
    case MissionFile::Model:
        m_ws.ModelPath = path, m_ws.ModelTitle = title;
        break;
    case MissionFile::Tree:
        m_ws.TreePath = path, m_ws.TreeTitle = title;
        break;
    case MissionFile::Route:
        return false; // read with the scene beside it
    }
    if (path.empty())
        return false;
    if (!canOpenForReading(path)) {
        prompter.message(CannotOpen, "");
        return false;
    }
    if (readable)
        readable();
    load(file, SceneLoadKind::Fresh, prompter);
    return isLoaded(file);
}

void Mission::load(MissionFile file, SceneLoadKind kind, Prompter& prompter)
{
    switch (file) {
    case MissionFile::Scene:
        // A fresh load selects the first rows (the remembered ones start again from 0).
        loadScene(kind, kind == SceneLoadKind::Fresh ? std::optional<KeptRows>(KeptRows{}) : std::nullopt, prompter);
        return;
    case MissionFile::Cache:
        loadCache(prompter, kind);
        return;
    case MissionFile::Model:
        loadModel(prompter, kind);
        return;
    case MissionFile::Tree:
        loadTree(prompter, kind);
        return;
    case MissionFile::Route:
        loadRoute(kind, prompter);
        return;
    }
}

void Mission::reload(MissionFile file, Prompter& prompter)
{
    if (file == MissionFile::Scene)
        reloadScene(rememberedRows(), prompter);
    else
        load(file, SceneLoadKind::Reload, prompter);
}

std::optional<ReadShortfall> Mission::readShortfall(MissionFile file) const
{
    switch (file) {
    case MissionFile::Cache: return m_cache.cut;
    case MissionFile::Model: return m_model.cut;
    case MissionFile::Tree: return m_tree.cut;
    case MissionFile::Scene:
    case MissionFile::Route: break;
    }
    return std::nullopt;
}

bool Mission::keptBytesCurrent(MissionFile file) const
{
    // A held step's writes are in the kept bytes only: they are the file as the step sees it
    // (a change on disk meanwhile is found when the step ends).
    if (m_holding)
        return m_bytes[index(file)] != nullptr;
    const auto& stamp = m_stamps[index(file)];
    return m_bytes[index(file)] && stamp && mw::stampOf(pathOf(file)) == stamp;
}

bool Mission::readFile(MissionFile file, Prompter& prompter, SceneLoadKind kind)
{
    auto& bytes = m_bytes[index(file)];
    if (kind == SceneLoadKind::Reload && keptBytesCurrent(file))
        return true; // our own write: the kept bytes are the file's
    try {
        // Stamped before reading: a change made while we read makes the stamp older, never newer.
        m_stamps[index(file)] = mw::stampOf(pathOf(file));
        bytes = std::make_shared<std::vector<std::uint8_t>>(readWholeFile(pathOf(file)));
    } catch (const IoError&) {
        bytes.reset();
        m_stamps[index(file)].reset();
        prompter.message(CannotOpen, "");
        return false;
    }
    return true;
}

const SceneSelection& Mission::reloadScene(const std::optional<KeptRows>& keep, Prompter& prompter)
{
    loadScene(SceneLoadKind::Reload, keep, prompter);
    return m_sceneSelection;
}

const SceneSelection& Mission::reloadSceneAt(std::uint32_t row, std::uint32_t fallback, Prompter& prompter)
{
    KeptRows keep = rememberedRows();
    keep.all = row;
    keep.fallback = fallback;
    return reloadScene(keep, prompter);
}

KeptRows Mission::rememberedRows() const
{
    return {m_ws.ReloadIndex, m_ws.ObjectIndex, m_ws.ScriptListIndex, m_ws.PlainListIndex};
}

void Mission::loadScene(SceneLoadKind kind, const std::optional<KeptRows>& keep, Prompter& prompter)
{
    const auto done = kind == SceneLoadKind::Fresh ? FileChanged::How::Loaded : FileChanged::How::Reloaded;
    tellAboutToLoad(MissionFile::Scene);
    // The scene and the route file beside it, read together, are told together.
    startGathering();
    m_sceneSelection = {};
    const bool loaded = [&] {
        const BusyScope busy(*this);
        auto parsed = std::exchange(m_parsedScene, std::nullopt);
        // A reload after our own write: the kept bytes are the file's.
        const bool ours = kind == SceneLoadKind::Reload && keptBytesCurrent(MissionFile::Scene);
        if (ours && parsed) {
            std::swap(m_scene, *parsed); // parsed before it was written
        } else if (ours) {
            loadSceneInto(sharedBytes(MissionFile::Scene), m_scene, m_progress);
        } else {
            // The old bytes go before the new are read (the catalogue's names read as empty meanwhile).
            m_scene.catalogue.source.reset();
            m_bytes[index(MissionFile::Scene)].reset();
            if (!readFile(MissionFile::Scene, prompter)) {
                m_ws.KeepSelection = false;
                m_scene = SceneLoadResult{};
                return false;
            }
            loadSceneInto(sharedBytes(MissionFile::Scene), m_scene, m_progress);
        }
        say(prompter, m_scene.messages);

        m_sceneSelection = selectionAfterLoad(m_scene.catalogue, m_ws, kind, keep);
        return true;
    }();
    (void)loaded;
    tellChanged(MissionFile::Scene, done); // not busy any more: the lists show the current entry
    loadRoute(kind, prompter);
    endGathering(true);
}

void Mission::loadRoute(SceneLoadKind kind, Prompter& prompter)
{
    const std::filesystem::path path =
        m_ws.ScenePath.empty() ? std::filesystem::path() : missionFilesIn(m_ws.ScenePath.parent_path())[MissionFile::Route];
    if (path != m_ws.RoutePath)
        kind = SceneLoadKind::Fresh; // another file
    m_ws.RoutePath = path;
    auto& bytes = m_bytes[index(MissionFile::Route)];
    auto& stamp = m_stamps[index(MissionFile::Route)];
    if (kind == SceneLoadKind::Fresh || !keptBytesCurrent(MissionFile::Route)) {
        bytes.reset();
        stamp.reset();
        if (!path.empty()) {
            try {
                stamp = mw::stampOf(path);
                bytes = std::make_shared<std::vector<std::uint8_t>>(readWholeFile(path));
            } catch (const IoError& error) {
                bytes.reset();
                stamp.reset();
                if (m_step)
                    fail(error.what(), "", prompter);
            }
        }
    }
    tellChanged(MissionFile::Route, kind == SceneLoadKind::Fresh ? FileChanged::How::Loaded : FileChanged::How::Reloaded);
}

template <class Result, class Reader>
void Mission::loadList(MissionFile file, Result& result, Reader read, Prompter& prompter, SceneLoadKind kind)
{
    tellAboutToLoad(file);
    result = Result{};
    {
        const BusyScope busy(*this);
        if (readFile(file, prompter, kind)) {
            result = read(sharedBytes(file), m_progress);
            say(prompter, result.messages);
        }
    }
    tellChanged(file, kind == SceneLoadKind::Fresh ? FileChanged::How::Loaded : FileChanged::How::Reloaded);
}

void Mission::loadCache(Prompter& prompter, SceneLoadKind kind)
{
    loadList(MissionFile::Cache, m_cache, [](auto bytes, Progress* p) { return readCacheFile(bytes, p); }, prompter,
             kind);
}

void Mission::loadModel(Prompter& prompter, SceneLoadKind kind)
{
    loadList(MissionFile::Model, m_model, [](const SharedImage& bytes, Progress* p) { return readModelFile(*bytes, p); },
             prompter, kind);
}

bool Mission::loadTree(Prompter& prompter, SceneLoadKind kind)
{
    tellAboutToLoad(MissionFile::Tree);
    // The collision path now names this file: nothing of an earlier one may stay listed.
    m_tree = CollisionLoadResult{};
    if (kind == SceneLoadKind::Fresh || !keptBytesCurrent(MissionFile::Tree)) {
        m_bytes[index(MissionFile::Tree)].reset();
        m_stamps[index(MissionFile::Tree)].reset();
    }
    const bool read = [&] {
        const BusyScope busy(*this);
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
            // Part of the load, not a step to undo.
            try {
                mw::createFolders(placeholder->parent_path());
                if (const auto error = writeImage(*placeholder, std::nullopt,
                                                  std::make_shared<const std::vector<std::uint8_t>>(loadBuiltinResource("Cube1"))))
                    prompter.message(*error, "");
            } catch (const IoError& error) {
                prompter.message(error.what(), "");
            }
        }
        if (!sameMission(m_ws.ScenePath, m_ws.SceneTitle, m_ws.TreePath, m_ws.TreeTitle)) {
            prompter.message(treemsg::DifferentMissions, "");
            return false;
        }
        if (!readFile(MissionFile::Tree, prompter, kind))
            return false;
        m_tree = readCollisionFile(sharedBytes(MissionFile::Tree), m_scene.catalogue, m_progress);
        say(prompter, m_tree.messages);
        return true;
    }();
    tellChanged(MissionFile::Tree, kind == SceneLoadKind::Fresh ? FileChanged::How::Loaded : FileChanged::How::Reloaded);
    return read;
}

bool Mission::changedOnDisk(MissionFile file) const
{
    return isLoaded(file) && mw::stampOf(pathOf(file)) != m_stamps[index(file)];
}

std::optional<MissionFile> Mission::routeFileAt(const std::filesystem::path& path)
{
    if (isLoaded(MissionFile::Route))
        return path == m_ws.RoutePath ? std::optional(MissionFile::Route) : std::nullopt;
    if (m_ws.ScenePath.empty() || path.parent_path() != m_ws.ScenePath.parent_path() ||
        missionFileNamed(utf8Of(path.filename())) != MissionFile::Route)
        return std::nullopt;
    m_ws.RoutePath = path;
    return MissionFile::Route;
}

std::optional<MissionFile> Mission::loadedFileAt(const std::filesystem::path& path) const
{
    // A file whose load failed has no bytes or stamp here: it is written like any other file.
    for (MissionFile file : FolderFiles)
        if (isLoaded(file) && std::filesystem::path(pathOf(file)) == path)
            return file;
    return std::nullopt;
}

void Mission::offerParsedScene(SceneLoadResult parsed) { m_parsedScene = std::move(parsed); }

void Mission::keepSavedCacheValues(std::size_t row, Vec3 position, const std::array<float, 4>& rotation, Vec3 size)
{
    if (row >= m_cache.records.size())
        return;
    CacheRecord& r = m_cache.records[row];
    r.position = position;
    r.rotation = rotation;
    r.size = size;
}

void Mission::keepSavedModelPosition(std::size_t row, Vec3 position)
{
    if (row < m_model.frames.size())
        m_model.frames[row].position = position;
}

void Mission::keepSavedBody(std::size_t row, const CollisionBody& body)
{
    if (row < m_tree.bodyCount())
        m_tree.body(row) = body;
}

void Mission::addListener(MissionListener* listener) { m_listeners.push_back(listener); }

void Mission::removeListener(MissionListener* listener)
{
    m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), listener), m_listeners.end());
}

const FileChanged* MissionChange::of(MissionFile file) const
{
    const auto it = std::find_if(files.begin(), files.end(), [file](const FileChanged& f) { return f.file == file; });
    return it == files.end() ? nullptr : &*it;
}

void Mission::tellAboutToLoad(MissionFile file) { notify(MissionChange{MissionChange::Kind::AboutToLoad, file, {}}); }

void Mission::tellChanged(MissionFile file, FileChanged::How how, std::span<const std::uint32_t> rows)
{
    FileChanged told{file, how, {rows.begin(), rows.end()}};
    if (m_gathering == 0) {
        std::sort(told.rows.begin(), told.rows.end());
        notify(MissionChange{MissionChange::Kind::Changed, file, {std::move(told)}});
        return;
    }
    auto& files = m_gathered.files;
    const auto it = std::find_if(files.begin(), files.end(), [file](const FileChanged& f) { return f.file == file; });
    if (it == files.end()) {
        files.push_back(std::move(told));
        return;
    }
    // What was read again covers every write before or after it; writes add up their rows (none
    // named: any row).
    if (how == FileChanged::How::Written && it->how == FileChanged::How::Written) {
        if (it->rows.empty() || told.rows.empty())
            it->rows.clear();
        else
            it->rows.insert(it->rows.end(), told.rows.begin(), told.rows.end());
    } else if (how > it->how) {
        *it = std::move(told);
        it->rows.clear();
    }
}

void Mission::startGathering()
{
    if (m_gathering++ == 0)
        m_gathered = {};
}

void Mission::endGathering(bool withWrites)
{
    if (--m_gathering > 0)
        return;
    MissionChange change = std::exchange(m_gathered, {});
    if (!withWrites)
        std::erase_if(change.files, [](const FileChanged& f) { return !f.read(); });
    if (change.files.empty())
        return;
    for (FileChanged& f : change.files) {
        std::sort(f.rows.begin(), f.rows.end());
        f.rows.erase(std::unique(f.rows.begin(), f.rows.end()), f.rows.end());
    }
    notify(change);
}

// Each tells a copy of the listener list: a listener may remove itself while it is told.
void Mission::notify(const MissionChange& change)
{
    const auto listeners = m_listeners;
    for (MissionListener* l : listeners)
        l->missionChanged(change);
}

void Mission::notifyHistory()
{
    const auto listeners = m_listeners;
    for (MissionListener* l : listeners)
        l->historyChanged();
}

void Mission::notifyBusy()
{
    const auto listeners = m_listeners;
    for (MissionListener* l : listeners)
        l->busyChanged();
}

} // namespace mw
