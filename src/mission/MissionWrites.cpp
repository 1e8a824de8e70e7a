// The mission's two write paths, its steps (all or nothing) and the travel of undo and redo.
#include "mission/Mission.h"

#include <algorithm>

#include "foundation/files/Paths.h"
#include "foundation/seams/Prompter.h"

namespace mw {

namespace {

std::string changedOnDiskMessage(const char* fileName)
{
    return std::string("****** ") + fileName + " was changed outside the editor! Nothing saved - the file is read again. ******";
}

} // namespace

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

void Mission::failWrite(const std::string& error, const char* failureText, Prompter& prompter)
{
    if (failureText)
        fail(failureText, error, prompter);
    else
        fail(error, "", prompter);
}

std::optional<std::string> Mission::writePatches(const std::filesystem::path& path, std::optional<MissionFile> file,
                                                 std::span<const Patch> patches, std::span<const std::uint32_t> rows)
{
    if (m_holding) {
        if (!file)
            return std::string(stepmsg::HeldOutside);
        if (*file == MissionFile::Scene)
            m_parsedScene.reset();
    } else {
        try {
            patchInPlace(path, patches);
        } catch (const IoError& error) {
            return error.what();
        }
        if (!wrote(path, file))
            return std::nullopt;
    }
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
    tellChanged(*file, FileChanged::How::Written, rows);
    return std::nullopt;
}

std::optional<std::string> Mission::writeImage(const std::filesystem::path& path, std::optional<MissionFile> file,
                                               const SharedImage& image)
{
    if (m_holding) {
        if (!file || !image)
            return std::string(stepmsg::HeldOutside);
        if (*file == MissionFile::Scene)
            m_parsedScene.reset();
    } else {
        try {
            if (image)
                replaceWholeFile(path, *image);
            else
                removeFile(path);
        } catch (const IoError& error) {
            return error.what();
        }
        if (!wrote(path, file))
            return std::nullopt;
    }
    // Shared, not copied: nothing patches bytes that the history holds.
    m_bytes[index(*file)] = image ? std::const_pointer_cast<std::vector<std::uint8_t>>(image) : nullptr;
    // The route has no reader to go stale: what is kept is what it holds now.
    tellChanged(*file, *file == MissionFile::Route ? FileChanged::How::Written : FileChanged::How::Replaced);
    return std::nullopt;
}

void Mission::recordPatches(const std::filesystem::path& path, std::vector<Patch> before, std::span<const Patch> after)
{
    FileChange* change = m_history.changeOf(path);
    if (!change)
        change = &m_history.addChange(path);
    if (change->whole) {
        // A loaded file's kept bytes are patched already: the step's end takes them as they are
        // then, instead of a copy of the whole file for every patch.
        const auto file = loadedFileAt(path);
        const std::vector<std::uint8_t>* kept = file ? m_bytes[index(*file)].get() : nullptr;
        if (kept && change->after && kept->size() == change->after->size()) {
            change->afterIsKept = true;
            return;
        }
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
    change->afterIsKept = false;
}

void Mission::fail(std::string_view text, std::string_view title, Prompter& prompter)
{
    if (!m_step) {
        prompter.message(text, title);
        return;
    }
    if (!m_step->m_failure)
        m_step->m_failure.emplace(std::string(text), std::string(title));
}

bool Mission::checkUnchanged(MissionFile file, Prompter& prompter)
{
    // A held step looks at each file once; its end looks again before it writes.
    if (m_holding && m_checkedWhileHeld[index(file)])
        return true;
    const auto& stamp = m_stamps[index(file)];
    if (stamp && mw::stampOf(pathOf(file)) == stamp) {
        m_checkedWhileHeld[index(file)] = m_holding;
        return true;
    }
    fail(changedOnDiskMessage(missionFileName(file)), "", prompter);
    return false;
}

WriteOutcome Mission::patch(MissionFile file, std::span<const Patch> patches, Prompter& prompter,
                            const char* failureText, std::span<const std::uint32_t> rows)
{
    Step step(*this, std::string("Write ") + missionFileName(file), prompter);
    if (!checkUnchanged(file, prompter))
        return WriteOutcome::Stale;
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
    if (const auto error = writePatches(path, file, patches, rows)) {
        failWrite(*error, failureText, prompter);
        return WriteOutcome::Failed;
    }
    recordPatches(path, std::move(before), patches);
    step.commit();
    return WriteOutcome::Done;
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
    Step step(*this, std::string("Write ") + missionFileName(file), prompter);
    if (!checkUnchanged(file, prompter))
        return WriteOutcome::Stale;
    const SharedImage before = m_bytes[index(file)];
    const std::filesystem::path path = pathOf(file);
    if (const auto error = writeImage(path, file, after)) {
        failWrite(*error, failureText, prompter);
        return WriteOutcome::Failed;
    }
    recordImage(path, before, after);
    step.commit();
    return WriteOutcome::Done;
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
    // The route file is the user's to replace whole as the track commands do, whatever it held.
    if (const auto file = loadedFileAt(path); file && *file != MissionFile::Route)
        return replace(*file, image, prompter, failureText);
    Step step(*this, "Write " + utf8Of(path.filename()), prompter);
    SharedImage before;
    // A file written earlier in the step holds what the step wrote: its first state is recorded.
    if (!m_history.changeOf(path)) {
        try {
            if (fileExists(path))
                before = std::make_shared<const std::vector<std::uint8_t>>(readWholeFile(path));
        } catch (const IoError& error) {
            failWrite(error.what(), failureText, prompter);
            return WriteOutcome::Failed;
        }
    }
    if (const auto error = writeImage(path, routeFileAt(path), image)) {
        failWrite(*error, failureText, prompter);
        return WriteOutcome::Failed;
    }
    recordImage(path, before, image);
    step.commit();
    return WriteOutcome::Done;
}

bool Mission::createFolders(const std::filesystem::path& folder, Prompter& prompter, const char* failureText)
{
    Step step(*this, "Create " + utf8Of(folder.filename()), prompter);
    try {
        const auto created = mw::createFolders(folder);
        if (created.empty())
            return true; // nothing to record
        m_history.addCreatedFolders(created);
    } catch (const IoError& error) {
        failWrite(error.what(), failureText, prompter);
        return false;
    }
    step.commit();
    return true;
}

std::optional<std::string> Mission::restore(const FileChange& c, bool back)
{
    const auto file = loadedFileAt(c.path);
    if (c.whole)
        return writeImage(c.path, file, back ? c.before : c.after);
    if (back) {
        const std::vector<Patch> taken(c.patchesBefore.rbegin(), c.patchesBefore.rend());
        return writePatches(c.path, file, taken);
    }
    return writePatches(c.path, file, c.patchesAfter);
}

std::optional<std::string> Mission::restoreFolders(const HistoryStep& step, bool back)
{
    try {
        if (!back) {
            for (const auto& folder : step.createdFolders)
                mw::createFolders(folder);
            return std::nullopt;
        }
        // Innermost first; a folder that something else put files into stays.
        for (auto f = step.createdFolders.rbegin(); f != step.createdFolders.rend(); ++f) {
            std::error_code ec;
            if (std::filesystem::is_directory(*f, ec) && std::filesystem::is_empty(*f, ec))
                removeFolder(*f);
        }
    } catch (const IoError& error) {
        return error.what();
    }
    return std::nullopt;
}

std::vector<std::string> Mission::takeBack(const HistoryStep& step)
{
    std::vector<std::string> notPutBack;
    for (auto c = step.changes.rbegin(); c != step.changes.rend(); ++c)
        if (restore(*c, true))
            notPutBack.push_back(utf8Of(c->path.filename()));
    if (restoreFolders(step, true))
        notPutBack.push_back("the folders it made");
    return notPutBack;
}

std::string Mission::takenBackMessage(const std::string& failure, const std::vector<std::string>& notPutBack)
{
    std::string text = failure;
    if (!text.empty())
        text += "\n\n";
    if (notPutBack.empty())
        return text + stepmsg::NothingChanged;
    text += stepmsg::NotPutBack;
    for (std::size_t i = 0; i < notPutBack.size(); ++i)
        text += (i ? ", " : "") + notPutBack[i];
    return text + stepmsg::UndoCanRetry;
}

Mission::Step::Step(Mission& mission, std::string name, Prompter& prompter)
    : m_mission(mission), m_prompter(prompter), m_exceptions(std::uncaught_exceptions())
{
    if (mission.m_step) {
        m_outer = mission.m_step;
        return;
    }
    mission.m_step = this;
    mission.m_history.open(std::move(name));
    mission.startGathering();
}

Mission::Step::~Step()
{
    if (!m_outer)
        m_mission.endStep(*this);
}

bool Mission::Step::holdWrites()
{
    if (m_outer)
        return false;
    m_held = true;
    m_mission.m_holding = true;
    m_mission.m_checkedWhileHeld = {};
    return true;
}

std::optional<std::string> Mission::writeHeld(const HistoryStep& step, std::vector<std::string>& notPutBack)
{
    for (const FileChange& c : step.changes) {
        const auto file = loadedFileAt(c.path);
        if (file && mw::stampOf(c.path) != m_stamps[index(*file)])
            return changedOnDiskMessage(missionFileName(*file));
    }
    // Each file written whole or patched as the step left it; on a failure, those already written
    // are put back as they were.
    const auto write = [](const FileChange& c, bool back) {
        if (!c.whole) {
            if (back)
                patchInPlace(c.path, std::vector<Patch>(c.patchesBefore.rbegin(), c.patchesBefore.rend()));
            else
                patchInPlace(c.path, c.patchesAfter);
        } else if (const SharedImage& image = back ? c.before : c.after) {
            replaceWholeFile(c.path, *image);
        } else {
            removeFile(c.path);
        }
    };
    for (auto c = step.changes.begin(); c != step.changes.end(); ++c) {
        try {
            write(*c, false);
        } catch (const IoError& error) {
            // The failing file too: patches in place may have reached it in part.
            for (auto w = std::make_reverse_iterator(c + 1); w != step.changes.rend(); ++w) {
                try {
                    write(*w, true);
                } catch (const IoError&) {
                    notPutBack.push_back(utf8Of(w->path.filename()));
                }
                wrote(w->path, loadedFileAt(w->path));
            }
            return error.what();
        }
        wrote(c->path, loadedFileAt(c->path));
    }
    return std::nullopt;
}

void Mission::endStep(Step& s)
{
    m_step = nullptr;
    HistoryStep step = m_history.close();
    // A whole file patched after it was replaced in the step ends as its kept bytes hold it.
    for (FileChange& c : step.changes)
        if (c.afterIsKept) {
            if (const auto file = loadedFileAt(c.path))
                c.after = m_bytes[index(*file)];
            c.afterIsKept = false;
        }
    // A held step's files are written now, once each; a step taken back while held puts back
    // only the memory (what the write put on disk, it has put back itself).
    std::vector<std::string> heldNotPutBack;
    if (s.m_held && s.m_committed && !s.m_failure) {
        if (const auto error = writeHeld(step, heldNotPutBack))
            s.m_failure.emplace(*error, "");
    }
    const bool kept = s.m_committed && !s.m_failure;
    // Its notice last, once every file is put back and read again where it must be.
    struct Tell {
        Mission& mission;
        bool writes;
        ~Tell()
        {
            // This may run while an exception leaves the command: nothing may escape it.
            try {
                mission.endGathering(writes);
            } catch (...) {
            }
        }
    } tell{*this, kept};
    // Writes go to the disk again before anyone hears of the step.
    struct Release {
        bool& holding;
        ~Release() { holding = false; }
    } release{m_holding};
    if (kept) {
        if (m_history.record(std::move(step)))
            notifyHistory();
        return;
    }
    // Taken back. Nothing may escape: this runs in a destructor, perhaps while an exception leaves
    // the command.
    const bool unwinding = std::uncaught_exceptions() > s.m_exceptions;
    try {
        std::string failure = s.m_failure ? s.m_failure->first : std::string();
        const std::string title = s.m_failure ? s.m_failure->second : std::string();
        if (step.empty()) {
            if (s.m_failure)
                s.m_prompter.message(failure, title);
            return;
        }
        auto notPutBack = takeBack(step);
        notPutBack.insert(notPutBack.end(), heldNotPutBack.begin(), heldNotPutBack.end());
        m_holding = false;
        refreshReaders(step, s.m_prompter);
        if (!s.m_failure && !unwinding)
            failure = "****** \"" + step.name + "\" stopped before its end. ******";
        const std::string text = takenBackMessage(failure, notPutBack);
        if (unwinding && !s.m_failure)
            m_unwoundNote = text;
        else
            s.m_prompter.message(text, title);
        if (!notPutBack.empty()) {
            // The files are not as the step found them: the step stays for "&Undo" to try again.
            m_history.pushUndo(std::move(step));
            notifyHistory();
        }
    } catch (...) {
    }
}

void Mission::refreshReaders(const HistoryStep& step, Prompter& prompter)
{
    for (const FileChange& c : step.changes) {
        const auto file = loadedFileAt(c.path);
        if (!file)
            continue;
        const SharedImage* source = readerSourceOf(*file);
        if (source && *source == m_bytes[index(*file)])
            continue; // the reader still shows the kept bytes
        if (*file == MissionFile::Scene)
            reloadSceneAt(m_ws.ReloadIndex, m_ws.ObjectIndex, prompter);
        else
            load(*file, SceneLoadKind::Reload, prompter);
    }
}

bool Mission::undo(Prompter& prompter, const std::optional<KeptRows>& keep) { return travel(true, prompter, keep); }
bool Mission::redo(Prompter& prompter, const std::optional<KeptRows>& keep) { return travel(false, prompter, keep); }

bool Mission::travel(bool back, Prompter& prompter, const std::optional<KeptRows>& keep)
{
    if (!(back ? m_history.nextUndo() : m_history.nextRedo()))
        return false;
    HistoryStep step = back ? m_history.takeUndo() : m_history.takeRedo();
    // One notice for the whole undo, when it is done; one that fails tells only what it read again.
    bool travelled = false;
    startGathering();
    struct Tell {
        Mission& mission;
        const bool& writes;
        ~Tell() { mission.endGathering(writes); }
    } tell{*this, travelled};
    const auto putAway = [&] {
        if (back)
            m_history.pushUndo(std::move(step));
        else
            m_history.pushRedo(std::move(step));
    };
    // Every file must still be as the step (or its undo) left it.
    for (const FileChange& c : step.changes) {
        const auto written = m_written.find(c.path);
        if (written == m_written.end() || mw::stampOf(c.path) != written->second) {
            prompter.message("****** " + utf8Of(c.path.filename()) + " was changed outside the editor! \"" + step.name +
                                 "\" cannot be " + (back ? "undone" : "redone") + ". ******",
                             "");
            putAway();
            m_history.forget(c.path);
            notifyHistory();
            return false;
        }
    }
    // All or nothing: redo makes the folders first, undo removes them last.
    std::optional<std::string> failure;
    std::vector<const FileChange*> done;
    if (!back)
        failure = restoreFolders(step, false);
    const auto order = [&](auto each) {
        if (back)
            for (auto c = step.changes.rbegin(); c != step.changes.rend(); ++c)
                each(*c);
        else
            for (const FileChange& c : step.changes)
                each(c);
    };
    order([&](const FileChange& c) {
        if (failure)
            return;
        failure = restore(c, back);
        if (!failure)
            done.push_back(&c);
    });
    if (!failure && back)
        failure = restoreFolders(step, true);
    if (failure) {
        std::vector<std::string> notPutBack;
        for (auto c = done.rbegin(); c != done.rend(); ++c)
            if (restore(**c, !back))
                notPutBack.push_back(utf8Of((*c)->path.filename()));
        if (!back && restoreFolders(step, true))
            notPutBack.push_back("the folders it made");
        refreshReaders(step, prompter);
        prompter.message(takenBackMessage("****** \"" + step.name + "\" cannot be " + (back ? "undone" : "redone") +
                                              ": " + *failure + " ******",
                                          notPutBack),
                         "");
        putAway(); // the step stays where it was
        notifyHistory();
        return false;
    }
    reloadAfterTravel(step, keep ? *keep : rememberedRows(), prompter);
    travelled = true;
    if (back)
        m_history.pushRedo(std::move(step));
    else
        m_history.pushUndo(std::move(step));
    notifyHistory();
    return true;
}

void Mission::reloadAfterTravel(const HistoryStep& step, const KeptRows& keep, Prompter& prompter)
{
    // A step that only patched in place kept every row where it was: the rows selected beside the
    // shown one stay selected. After a whole file's rewrite they may name other entries.
    const bool rowsStay = std::none_of(step.changes.begin(), step.changes.end(), [](const FileChange& c) { return c.whole; });
    m_sceneSelection.more.clear(); // kept only by the reload below
    for (const FileChange& c : step.changes) {
        const auto file = loadedFileAt(c.path);
        if (!file)
            continue;
        if (*file != MissionFile::Scene) {
            load(*file, SceneLoadKind::Reload, prompter);
            continue;
        }
        // "All" keeps its row, or the remembered one when it names none.
        KeptRows rows = keep;
        if (!rowsStay)
            rows.more.clear();
        if (rows.all == 0)
            rows.all = rows.fallback;
        rows.fallback = rows.all;
        reloadScene(rows, prompter);
    }
}

} // namespace mw
