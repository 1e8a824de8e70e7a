#include "workspace/Mission.h"
#include "io/Paths.h"

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

const std::filesystem::path& Mission::pathOf(MissionFile file) const
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
        break;
    }
    return nullptr;
}

bool Mission::readFile(MissionFile file, Prompter& prompter)
{
    auto& bytes = m_bytes[index(file)];
    try {
        // Stamped before reading: a change made while we read makes the stamp older, never newer.
        m_stamps[index(file)] = mw::stampOf(pathOf(file));
        bytes = std::make_shared<std::vector<std::uint8_t>>(readWholeFile(pathOf(file)));
    } catch (const IoError&) {
        bytes.reset();
        m_stamps[index(file)].reset();
        m_ws.Busy = false;
        prompter.message(CannotOpen, "");
        return false;
    }
    if (!bytes->empty())
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
    // A reload after our own write: the kept bytes are the file's.
    const bool ours = kind == SceneLoadKind::Reload && m_bytes[index(MissionFile::Scene)] && stamp &&
                      mw::stampOf(m_ws.ScenePath) == stamp;
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
            notify(MissionFile::Scene, done);
            return;
        }
        loadSceneInto(sharedBytes(MissionFile::Scene), m_scene, m_progress);
    }
    m_ws.SceneSize = bytes(MissionFile::Scene).size();
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

template <class Result, class Reader>
void Mission::loadList(MissionFile file, Result& result, Reader read, Prompter& prompter)
{
    notify(file, MissionChange::Kind::AboutToLoad);
    result = Result{};
    if (readFile(file, prompter)) {
        result = read(sharedBytes(file), m_progress);
        say(prompter, result.messages);
    }
    m_ws.Busy = false;
    notify(file, MissionChange::Kind::Loaded);
}

void Mission::reloadSceneAt(std::uint32_t row, std::uint32_t fallback, Prompter& prompter)
{
    m_ws.KeepSelection = true;
    m_ws.ReloadIndex = row;
    m_ws.ObjectIndex = fallback;
    loadScene(SceneLoadKind::Reload, prompter);
}

void Mission::loadCache(Prompter& prompter)
{
    loadList(MissionFile::Cache, m_cache, [](auto bytes, Progress* p) { return readCacheFile(bytes, p); }, prompter);
}

void Mission::loadModel(Prompter& prompter)
{
    loadList(MissionFile::Model, m_model, [](const SharedImage& bytes, Progress* p) { return readModelFile(*bytes, p); }, prompter);
}

bool Mission::loadTree(Prompter& prompter)
{
    notify(MissionFile::Tree, MissionChange::Kind::AboutToLoad);
    // The collision path now names this file: nothing of an earlier one may stay listed.
    m_tree = CollisionLoadResult{};
    m_bytes[index(MissionFile::Tree)].reset();
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
                prompter.message("cannot create " + utf8Of(placeholder->parent_path()) + ": " + ec.message(), "");
            else // part of the load, not a step to undo
                writeImage(*placeholder, std::nullopt,
                           std::make_shared<const std::vector<std::uint8_t>>(loadBuiltinResource("Cube1")), prompter,
                           nullptr);
        }
        if (!sameMission(m_ws.ScenePath, m_ws.SceneTitle, m_ws.TreePath, m_ws.TreeTitle)) {
            prompter.message(treemsg::DifferentMissions, "");
            return false;
        }
        if (!readFile(MissionFile::Tree, prompter))
            return false;
        m_tree = readCollisionFile(sharedBytes(MissionFile::Tree), m_scene.catalogue, m_progress);
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

bool Mission::changedOnDisk(MissionFile file) const
{
    return isLoaded(file) && mw::stampOf(pathOf(file)) != m_stamps[index(file)];
}

std::optional<MissionFile> Mission::loadedFileAt(const std::filesystem::path& path) const
{
    // A file whose load failed has no bytes or stamp here: it is written like any other file.
    for (MissionFile file : {MissionFile::Scene, MissionFile::Cache, MissionFile::Model, MissionFile::Tree})
        if (isLoaded(file) && std::filesystem::path(pathOf(file)) == path)
            return file;
    return std::nullopt;
}

bool Mission::wrote(const std::filesystem::path& path, std::optional<MissionFile> file)
{
    m_written[path] = mw::stampOf(path);
    if (!file)
        return false;
    m_stamps[index(*file)] = m_written[path];
    if (*file == MissionFile::Scene)
        m_parsedScene.reset();
    return true;
}

WriteOutcome Mission::writePatches(const std::filesystem::path& path, std::optional<MissionFile> file,
                                   std::span<const Patch> patches, Prompter& prompter, const char* failureText)
{
    try {
        patchInPlace(path, patches);
    } catch (const IoError& error) {
        tellFailure(prompter, error, failureText);
        return WriteOutcome::Failed;
    }
    if (!wrote(path, file))
        return WriteOutcome::Done;
    auto& kept = m_bytes[index(*file)];
    // The reader's result points into the kept bytes; it lets go while they are patched, so they
    // are patched in place unless the history holds them too, and then views the patched bytes
    // (a patch keeps every offset and length).
    SharedImage* readerView = readerSourceOf(*file);
    const bool viewsKept = readerView && kept && *readerView == kept;
    if (viewsKept)
        readerView->reset();
    if (kept && kept.use_count() > 1) // the history holds these bytes: patch a copy
        kept = std::make_shared<std::vector<std::uint8_t>>(*kept);
    if (kept)
        for (const Patch& p : patches)
            if (p.offset <= kept->size() && p.bytes.size() <= kept->size() - p.offset)
                std::copy(p.bytes.begin(), p.bytes.end(), kept->begin() + static_cast<std::ptrdiff_t>(p.offset));
    if (viewsKept)
        *readerView = kept;
    notify(*file, MissionChange::Kind::Patched);
    return WriteOutcome::Done;
}

WriteOutcome Mission::writeImage(const std::filesystem::path& path, std::optional<MissionFile> file,
                                 const SharedImage& image, Prompter& prompter, const char* failureText)
{
    try {
        if (image) {
            replaceWholeFile(path, *image);
        } else {
            std::error_code ec;
            if (!std::filesystem::remove(path, ec) && ec)
                throw IoError("cannot remove " + utf8Of(path) + ": " + ec.message());
        }
    } catch (const IoError& error) {
        tellFailure(prompter, error, failureText);
        return WriteOutcome::Failed;
    }
    if (!wrote(path, file))
        return WriteOutcome::Done;
    // Shared, not copied: nothing patches bytes that the history holds.
    m_bytes[index(*file)] = image ? std::const_pointer_cast<std::vector<std::uint8_t>>(image) : nullptr;
    notify(*file, MissionChange::Kind::Replaced);
    return WriteOutcome::Done;
}

void Mission::recordPatches(const std::filesystem::path& path, std::vector<Patch> before, std::span<const Patch> after)
{
    FileChange* change = m_history.changeOf(path);
    if (!change)
        change = &m_history.addChange(path);
    if (change->whole) {
        auto image = std::make_shared<std::vector<std::uint8_t>>(*change->after);
        for (const Patch& p : after)
            std::copy(p.bytes.begin(), p.bytes.end(), image->begin() + static_cast<std::ptrdiff_t>(p.offset));
        change->after = std::move(image);
    } else {
        change->patchesBefore.insert(change->patchesBefore.end(), std::make_move_iterator(before.begin()),
                                     std::make_move_iterator(before.end()));
        change->patchesAfter.insert(change->patchesAfter.end(), after.begin(), after.end());
    }
}

void Mission::recordImage(const std::filesystem::path& path, const SharedImage& before, const SharedImage& after)
{
    FileChange* change = m_history.changeOf(path);
    if (!change) {
        change = &m_history.addChange(path);
        change->whole = true;
        change->before = before;
    } else if (!change->whole) {
        // Patched earlier in the step: the content before the step is `before` with those
        // patches taken back, last first.
        auto image = std::make_shared<std::vector<std::uint8_t>>(*before);
        for (auto p = change->patchesBefore.rbegin(); p != change->patchesBefore.rend(); ++p)
            std::copy(p->bytes.begin(), p->bytes.end(), image->begin() + static_cast<std::ptrdiff_t>(p->offset));
        change->before = std::move(image);
        change->whole = true;
        change->patchesBefore.clear();
        change->patchesAfter.clear();
    }
    change->after = after;
}

WriteOutcome Mission::patch(MissionFile file, std::span<const Patch> patches, Prompter& prompter,
                            const char* failureText)
{
    if (!checkUnchanged(file, prompter))
        return WriteOutcome::Stale;
    const Step step(*this, std::string("Write ") + missionFileName(file));
    // What the ranges hold now, for undo; the kept bytes are the file's (the stamp says so).
    std::vector<Patch> before;
    const auto kept = bytes(file);
    for (const Patch& p : patches) {
        if (p.offset > kept.size() || p.bytes.size() > kept.size() - p.offset)
            break; // the write refuses it below
        const auto from = kept.begin() + static_cast<std::ptrdiff_t>(p.offset);
        before.push_back({p.offset, {from, from + static_cast<std::ptrdiff_t>(p.bytes.size())}});
    }
    const std::filesystem::path path = pathOf(file);
    const WriteOutcome outcome = writePatches(path, file, patches, prompter, failureText);
    if (outcome == WriteOutcome::Done)
        recordPatches(path, std::move(before), patches);
    return outcome;
}

WriteOutcome Mission::replace(MissionFile file, std::vector<std::uint8_t> image, Prompter& prompter,
                              const char* failureText)
{
    return replace(file, std::make_shared<const std::vector<std::uint8_t>>(std::move(image)), prompter, failureText);
}

WriteOutcome Mission::replace(MissionFile file, const SharedImage& after, Prompter& prompter, const char* failureText)
{
    if (!after)
        return WriteOutcome::Failed;
    if (!checkUnchanged(file, prompter))
        return WriteOutcome::Stale;
    const Step step(*this, std::string("Write ") + missionFileName(file));
    const SharedImage before = m_bytes[index(file)];
    const std::filesystem::path path = pathOf(file);
    const WriteOutcome outcome = writeImage(path, file, after, prompter, failureText);
    if (outcome == WriteOutcome::Done)
        recordImage(path, before, after);
    return outcome;
}

WriteOutcome Mission::replace(const std::filesystem::path& path, std::span<const std::uint8_t> image,
                              Prompter& prompter, const char* failureText)
{
    return replace(path, std::make_shared<const std::vector<std::uint8_t>>(image.begin(), image.end()), prompter,
                   failureText);
}

WriteOutcome Mission::replace(const std::filesystem::path& path, const SharedImage& image, Prompter& prompter,
                              const char* failureText)
{
    if (const auto file = loadedFileAt(path))
        return replace(*file, image, prompter, failureText);
    const Step step(*this, "Write " + utf8Of(path.filename()));
    SharedImage before;
    try {
        if (fileExists(path))
            before = std::make_shared<const std::vector<std::uint8_t>>(readWholeFile(path));
    } catch (const IoError& error) {
        tellFailure(prompter, error, failureText);
        return WriteOutcome::Failed;
    }
    const WriteOutcome outcome = writeImage(path, std::nullopt, image, prompter, failureText);
    if (outcome == WriteOutcome::Done)
        recordImage(path, before, image);
    return outcome;
}

bool Mission::undo(Prompter& prompter) { return travel(true, prompter); }
bool Mission::redo(Prompter& prompter) { return travel(false, prompter); }

bool Mission::travel(bool back, Prompter& prompter)
{
    if (!(back ? m_history.nextUndo() : m_history.nextRedo()))
        return false;
    HistoryStep step = back ? m_history.takeUndo() : m_history.takeRedo();
    // Every file must still be as the step (or its undo) left it.
    for (const FileChange& c : step.changes) {
        const auto written = m_written.find(c.path);
        if (written == m_written.end() || mw::stampOf(c.path) != written->second) {
            prompter.message("****** " + utf8Of(c.path.filename()) + " was changed outside the editor! \"" + step.name +
                                 "\" cannot be " + (back ? "undone" : "redone") + ". ******",
                             "");
            m_history.forget(c.path);
            notifyHistory();
            return false;
        }
    }
    bool restored = true;
    auto restore = [&](const FileChange& c) {
        const auto file = loadedFileAt(c.path);
        WriteOutcome outcome;
        if (c.whole) {
            outcome = writeImage(c.path, file, back ? c.before : c.after, prompter, nullptr);
        } else if (back) {
            const std::vector<Patch> taken(c.patchesBefore.rbegin(), c.patchesBefore.rend());
            outcome = writePatches(c.path, file, taken, prompter, nullptr);
        } else {
            outcome = writePatches(c.path, file, c.patchesAfter, prompter, nullptr);
        }
        restored = outcome == WriteOutcome::Done;
    };
    if (back)
        for (auto c = step.changes.rbegin(); restored && c != step.changes.rend(); ++c)
            restore(*c);
    else
        for (auto c = step.changes.begin(); restored && c != step.changes.end(); ++c)
            restore(*c);
    reloadAfterTravel(step, prompter);
    if (!restored) {
        m_history.clear(); // half restored: no step describes the files any more
        notifyHistory();
        return false;
    }
    if (back)
        m_history.pushRedo(std::move(step));
    else
        m_history.pushUndo(std::move(step));
    notifyHistory();
    return true;
}

void Mission::reloadAfterTravel(const HistoryStep& step, Prompter& prompter)
{
    for (const FileChange& c : step.changes) {
        const auto file = loadedFileAt(c.path);
        if (!file)
            continue;
        switch (*file) {
        case MissionFile::Scene:
            reloadSceneAt(m_ws.ReloadIndex, m_ws.ReloadIndex != 0 ? m_ws.ReloadIndex : m_ws.ObjectIndex, prompter);
            break;
        case MissionFile::Cache:
            loadCache(prompter);
            break;
        case MissionFile::Model:
            loadModel(prompter);
            break;
        case MissionFile::Tree:
            loadTree(prompter);
            break;
        }
    }
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

namespace mw {

void Mission::notifyHistory()
{
    const auto listeners = m_listeners;
    for (MissionListener* l : listeners)
        l->historyChanged();
}

} // namespace mw
