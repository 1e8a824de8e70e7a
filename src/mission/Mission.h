#pragma once
// The loaded mission: the one owner of the workspace, each loaded file's bytes, what the readers
// made of them and each file's stamp. Every write of the program goes through its two write paths
// (a patch in place, a whole-file replace); each checks that the file on disk is still the one we
// loaded or last wrote, renews the stamp after writing and tells the listeners. Views observe the
// mission and keep no copy of its data; what they see of it is read-only, and the state they drive
// (unsaved edits, the stop buttons, the track dialog's files) is set through the methods below.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "formats/cache/CacheFile.h"
#include "formats/collision/CollisionFile.h"
#include "formats/model/ModelFile.h"
#include "formats/scene/SceneLoader.h"
#include "foundation/files/FileAccess.h"
#include "mission/History.h"
#include "mission/MissionFile.h"
#include "mission/SceneSelection.h"
#include "mission/Workspace.h"

namespace mw {

class Progress;
class Prompter;

// What changed in one file.
struct FileChanged {
    enum class How {
        Written,  // fields written in place: offsets and lengths unchanged
        Replaced, // the whole file rewritten: its reader's results are stale until it is read again
        Reloaded, // read again (after a write, an undo, a change on disk): show it anew
        Loaded,   // a fresh load (also one that failed: the file's data is then empty)
    };
    MissionFile file = MissionFile::Scene;
    How how = How::Written;
    // Written: the list rows the writes were to, sorted; empty when any row may have changed.
    std::vector<std::uint32_t> rows;

    // Its reader ran: everything shown of it is to be shown anew.
    bool read() const { return how == How::Reloaded || how == How::Loaded; }
};

// What a listener is told. A load or reload that starts is told at once (AboutToLoad: let go of
// everything shown of the file). Everything else is told once per step of the history (once per
// undo or redo), when the step is committed and every copy in memory is final: one notice naming
// each file the step changed and how. A step taken back tells no write (it tells what it read
// again). A load outside any step is a notice of its own.
struct MissionChange {
    enum class Kind { AboutToLoad, Changed };
    Kind kind = Kind::Changed;
    MissionFile file = MissionFile::Scene; // AboutToLoad: the file about to be read
    std::vector<FileChanged> files;        // Changed: each file once

    // What the notice says of a file; nothing when it does not name it.
    const FileChanged* of(MissionFile file) const;
};

class MissionListener {
public:
    virtual ~MissionListener() = default;
    virtual void missionChanged(const MissionChange& change) = 0;
    // A step was recorded, or undo or redo moved through the history: what "&Undo" and "&Redo"
    // offer has changed.
    virtual void historyChanged() {}
    // The mission became busy or idle.
    virtual void busyChanged() {}
};

// How a write through one of the two paths ended.
enum class WriteOutcome {
    Done,
    Stale,  // the file changed on disk since we loaded or wrote it: nothing written
    Failed, // the write failed: the file is as it was
};

// What the user is told after a step was taken back.
namespace stepmsg {
inline constexpr const char* NothingChanged = "Nothing was changed: every file is as it was before.";
inline constexpr const char* NotPutBack = "These files could not be put back: ";
inline constexpr const char* UndoCanRetry = ". \"&Undo\" can try again.";
inline constexpr const char* HeldOutside = "a script writes only the loaded mission's files";
} // namespace stepmsg

class Mission {
public:
    const Workspace& workspace() const { return m_ws; }

    // What the readers made of each file. The scene catalogue reads its values from the kept bytes,
    // so it shows what the value saves wrote.
    const SceneLoadResult& scene() const { return m_scene; }
    const SceneCatalogue& sceneCatalogue() const { return m_scene.catalogue; }
    const CacheLoadResult& cache() const { return m_cache; }
    const ModelLoadResult& model() const { return m_model; }
    const CollisionLoadResult& tree() const { return m_tree; }

    // The rows the three scene lists select after the last scene load: what a command that loaded
    // the scene hands the window to select.
    const SceneSelection& sceneSelection() const { return m_sceneSelection; }

    // The file's bytes as loaded and as changed by our own writes since. The route file (check.bin)
    // is read with the scene, from the scene's folder; it has no reader of its own.
    std::span<const std::uint8_t> bytes(MissionFile file) const
    {
        const auto& kept = m_bytes[index(file)];
        return kept ? std::span<const std::uint8_t>(*kept) : std::span<const std::uint8_t>();
    }
    // The same bytes, shared: they stay as they are while anyone holds them.
    SharedImage sharedBytes(MissionFile file) const { return m_bytes[index(file)]; }
    const std::filesystem::path& pathOf(MissionFile file) const;
    // The folder of the first loaded file; empty while nothing is loaded.
    std::filesystem::path folder() const;
    const std::optional<FileStamp>& stampOf(MissionFile file) const { return m_stamps[index(file)]; }
    // True when the last load of the file read it (its lists may still be empty).
    bool isLoaded(MissionFile file) const { return m_stamps[index(file)].has_value(); }
    // Where the file's reader stopped short of what the file counts or promises (never the scene,
    // whose loader refuses a damaged file whole).
    std::optional<ReadShortfall> readShortfall(MissionFile file) const;
    // True when a loaded file on disk is no longer the one we loaded or last wrote.
    bool changedOnDisk(MissionFile file) const;
    // The same check as the write paths make: false, with the message, when the file changed
    // (inside a step the message is the step's failure).
    bool checkUnchanged(MissionFile file, Prompter& prompter);

    // Where long loads report how far they are; nothing by default.
    void setProgress(Progress* progress) { m_progress = progress; }
    Progress* progress() const { return m_progress; }

    // Set while a file is read or written, or a search runs: every command waits. Only a BusyScope
    // sets it; the listeners hear when it changes.
    bool busy() const { return m_ws.Busy; }
    class BusyScope {
    public:
        explicit BusyScope(Mission& mission);
        ~BusyScope();
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        Mission& m_mission;
    };

    // The load command: the path becomes the file's (its file name part the title) and the file is
    // read with the system's messages. A file that cannot be opened says "************" and is not
    // read (the lists keep what they show); `readable` is called when it can, before it is read.
    // True when the file was read.
    bool open(MissionFile file, const std::filesystem::path& path, Prompter& prompter,
              const std::function<void()>& readable = {});
    // The scene read again: `keep` names the rows to select; without it, the remembered "All" row,
    // or the first free-standing script when none is remembered. After our own write the kept bytes
    // are used when the file on disk is still the one we wrote.
    // Each returns the rows the reload selects.
    const SceneSelection& reloadScene(const std::optional<KeptRows>& keep, Prompter& prompter);
    // The reload after a write: the "All" list selects `row`, or `fallback` when the scene has no
    // such row any more; the other two lists keep their remembered rows.
    const SceneSelection& reloadSceneAt(std::uint32_t row, Prompter& prompter) { return reloadSceneAt(row, row, prompter); }
    const SceneSelection& reloadSceneAt(std::uint32_t row, std::uint32_t fallback, Prompter& prompter);
    // The rows the last scene load selected, to keep across the next reload.
    KeptRows rememberedRows() const;
    // The cache, model file, collision file or route file read again from its path.
    void reload(MissionFile file, Prompter& prompter);

    // Write path one: fixed-width fields in place. The file's length never changes. `rows` are the
    // list rows the patch writes, for the listeners.
    // A failed write is told as the error's description, or, when `failureText` is given, as that
    // text with the description as its title; inside a step, it is told when the step is taken back.
    WriteOutcome patch(MissionFile file, std::span<const Patch> patches, Prompter& prompter,
                       const char* failureText = nullptr, std::span<const std::uint32_t> rows = {});
    // Write path two: the whole file replaced atomically by `image`. The caller reloads the file
    // (its reader's offsets are stale after a change of length).
    WriteOutcome replace(MissionFile file, std::vector<std::uint8_t> image, Prompter& prompter,
                         const char* failureText = nullptr);
    // The same with an image the mission and its history may keep as it is (no copy is made).
    WriteOutcome replace(MissionFile file, const SharedImage& image, Prompter& prompter,
                         const char* failureText = nullptr);
    // The same for a file beside the mission's four (a backup, a file an add-in installs): created
    // when missing; there is no loaded state to check it against.
    WriteOutcome replace(const std::filesystem::path& path, std::span<const std::uint8_t> image, Prompter& prompter,
                         const char* failureText = nullptr);
    // The same with an image that the history may keep as it is (no copy is made). A null image
    // removes the file (an undo puts it back); a loaded file is never removed.
    WriteOutcome replace(const std::filesystem::path& path, const SharedImage& image, Prompter& prompter,
                         const char* failureText = nullptr);
    // Makes the folder and the folders above it that are missing; the step that made them removes
    // them when it is undone or taken back. False, told as `failureText` or the error, when one
    // cannot be made.
    bool createFolders(const std::filesystem::path& folder, Prompter& prompter, const char* failureText = nullptr);

    // After a rewrite of the scene through replace(): what the scene loader made of the image just
    // written. The next scene load uses it instead of parsing the same bytes again, as long as the
    // file on disk is still the one we wrote.
    void offerParsedScene(SceneLoadResult parsed);

    // After a value save of a cache object, a model frame or a collision body: the reader's entry
    // shows the values that were written (the readers keep copies of them).
    void keepSavedCacheValues(std::size_t row, Vec3 position, const std::array<float, 4>& rotation, Vec3 size);
    void keepSavedModelPosition(std::size_t row, Vec3 position);
    void keepSavedBody(std::size_t row, const CollisionBody& body);

    // A failure of the command that runs the open step: told when the step is taken back (the
    // first one told counts), or at once when no step is open.
    void fail(std::string_view text, std::string_view title, Prompter& prompter);

    // A command's writes are one step of the history, and all or nothing: the command commits the
    // step when it has done its work; a step destroyed without being committed, or in which a
    // write, a read or a check failed, is taken back — every file it wrote is put back, every file
    // and folder it created is removed — and the failure is told once, saying that nothing was
    // changed. A file that cannot be put back is named, and the step then stays in the history for
    // "&Undo" to try again. A step opened inside another joins it; the outer one decides. A write
    // outside any step is a step of its own.
    // Steps are for the mission's files and what commands make beside them (backups, installed
    // files, the reversed copy). The one command that writes the user's own file elsewhere, the
    // export of an add-in, writes past the mission and its history: undoing it would delete a file
    // the user just saved, which no "&Redo" could be trusted to bring back once redo is cleared.
    class Step {
    public:
        Step(Mission& mission, std::string name, Prompter& prompter);
        ~Step();
        Step(const Step&) = delete;
        Step& operator=(const Step&) = delete;

        // The command has done its work: its writes stay, as one step of the history.
        void commit() { m_committed = true; }
        // From now until its end the step's writes change the loaded files in memory only; a
        // committed step then writes each file it changed once, as the step left it (a file
        // changed on disk meanwhile, or a write that fails, takes the whole step back), and a step
        // taken back puts back only the memory: nothing was written. A write to anything but a
        // loaded mission file fails. While held, a reload reads the kept bytes, never the disk.
        // For the outermost step only (scripts: many commands, one step); false inside another.
        bool holdWrites();
        // True when a write, read or check inside the step failed: the step will be taken back.
        bool failed() const { return outermost().m_failure.has_value(); }

    private:
        friend class Mission;
        const Step& outermost() const { return m_outer ? *m_outer : *this; }

        Mission& m_mission;
        Prompter& m_prompter;
        Step* m_outer = nullptr; // the step this one joined
        bool m_committed = false;
        bool m_held = false;
        std::optional<std::pair<std::string, std::string>> m_failure; // text and title
        int m_exceptions = 0; // exceptions in flight when the step began
    };

    // What a step taken back while an exception left its command could not tell: the note for the
    // message that reports the exception ("nothing was changed", or the files not put back).
    std::string takeUnwoundNote() { return std::exchange(m_unwoundNote, {}); }

    const History& history() const { return m_history; }
    void setHistoryLimit(std::size_t bytes) { m_history.setLimit(bytes); }
    // Restores the files of the last step (or of the last undone one) and reloads what is loaded;
    // a scene reload keeps `keep` (the remembered rows when not given).
    // Refused, with a message naming the file, when a file of the step was changed by another
    // program since; that file's history is then dropped. All or nothing: when one file cannot be
    // restored, the files already restored are put back and the step stays where it was.
    bool undo(Prompter& prompter, const std::optional<KeptRows>& keep = {});
    bool redo(Prompter& prompter, const std::optional<KeptRows>& keep = {});

    void addListener(MissionListener* listener);
    void removeListener(MissionListener* listener);

private:
    static std::size_t index(MissionFile file) { return static_cast<std::size_t>(file); }
    std::optional<MissionFile> loadedFileAt(const std::filesystem::path& path) const;

    // The loads of each file from its workspace path, with the system's messages.
    void loadScene(SceneLoadKind kind, const std::optional<KeptRows>& keep, Prompter& prompter);
    void loadCache(Prompter& prompter, SceneLoadKind kind);
    void loadModel(Prompter& prompter, SceneLoadKind kind);
    // The collision file needs the scene of the same mission; true when it was read.
    bool loadTree(Prompter& prompter, SceneLoadKind kind);
    // The route file beside the scene, read with it; a folder without one has no route. One that
    // cannot be read is a failure of the step that reads it, and says nothing outside a step.
    void loadRoute(SceneLoadKind kind, Prompter& prompter);
    // The route file a write at `path` makes or replaces: the loaded one, or a new one beside the
    // scene (which the mission holds from then on, as it would read it with the scene).
    std::optional<MissionFile> routeFileAt(const std::filesystem::path& path);
    void load(MissionFile file, SceneLoadKind kind, Prompter& prompter);
    // Reads the file's bytes and stamp (a reload keeps the bytes of our own last write when the
    // file on disk is still that one); on failure says "************", clears the file's data, and
    // returns false.
    bool readFile(MissionFile file, Prompter& prompter, SceneLoadKind kind = SceneLoadKind::Fresh);
    // True when the kept bytes are the file's on disk as our last write or load left them.
    bool keptBytesCurrent(MissionFile file) const;
    // The cache and model-file loads: read, run the reader, say its messages.
    template <class Result, class Reader>
    void loadList(MissionFile file, Result& result, Reader read, Prompter& prompter, SceneLoadKind kind);
    // The bytes the file's reader result points into, when it keeps them.
    SharedImage* readerSourceOf(MissionFile file);

    // The writes themselves, with no stamp check and no history: the file, its stamp, the kept
    // bytes and the listeners. A null image removes the file. The error's description when the
    // write failed (the file is then as it was).
    std::optional<std::string> writePatches(const std::filesystem::path& path, std::optional<MissionFile> file,
                                            std::span<const Patch> patches, std::span<const std::uint32_t> rows = {});
    std::optional<std::string> writeImage(const std::filesystem::path& path, std::optional<MissionFile> file,
                                          const SharedImage& image);
    // The held step's files written, each once as it ends, after checking that none changed on
    // disk meanwhile; the error when one could not be, those already written put back (the names
    // of any that could not be go into `notPutBack`).
    std::optional<std::string> writeHeld(const HistoryStep& step, std::vector<std::string>& notPutBack);
    // A failed write, as `failureText` (with the error as its title) or as the error itself.
    void failWrite(const std::string& error, const char* failureText, Prompter& prompter);
    // After a write: the file's new stamp; true when it is one of the loaded files.
    bool wrote(const std::filesystem::path& path, std::optional<MissionFile> file);
    void recordPatches(const std::filesystem::path& path, std::vector<Patch> before, std::span<const Patch> after);
    void recordImage(const std::filesystem::path& path, const SharedImage& before, const SharedImage& after);
    // Writes a change's content before the step (back) or after it.
    std::optional<std::string> restore(const FileChange& change, bool back);
    // Removes the step's created folders that are empty (back), or makes them again.
    std::optional<std::string> restoreFolders(const HistoryStep& step, bool back);
    // The end of the outermost step.
    void endStep(Step& step);
    // Puts back every file and folder of a failed step; the names of those that could not be.
    std::vector<std::string> takeBack(const HistoryStep& step);
    // The message after a step was taken back: the failure, and whether everything was put back.
    static std::string takenBackMessage(const std::string& failure, const std::vector<std::string>& notPutBack);
    // Reads again each loaded file of the step whose reader no longer shows the kept bytes.
    void refreshReaders(const HistoryStep& step, Prompter& prompter);
    bool travel(bool back, Prompter& prompter, const std::optional<KeptRows>& keep);
    void reloadAfterTravel(const HistoryStep& step, const KeptRows& keep, Prompter& prompter);

    void notify(const MissionChange& change);
    void tellAboutToLoad(MissionFile file);
    // Gathered into the step's notice while a step or an undo runs; told at once otherwise.
    void tellChanged(MissionFile file, FileChanged::How how, std::span<const std::uint32_t> rows = {});
    // Gathering notices: from the outermost step's start (or an undo's) to its end, when the
    // notice is told (with the writes when `withWrites`, else only what was read again).
    void startGathering();
    void endGathering(bool withWrites);
    void notifyHistory();
    void notifyBusy();

    Workspace m_ws;
    SceneLoadResult m_scene;
    CacheLoadResult m_cache;
    ModelLoadResult m_model;
    CollisionLoadResult m_tree;
    SceneSelection m_sceneSelection;
    std::optional<SceneLoadResult> m_parsedScene; // see offerParsedScene()
    History m_history;
    // The stamp of every file as our last write left it (nothing: we removed it). An undo or redo
    // touches a file only while it still carries that stamp.
    std::map<std::filesystem::path, std::optional<FileStamp>> m_written;
    // Shared with the history's images; patched in place only while nothing else holds them.
    std::array<std::shared_ptr<std::vector<std::uint8_t>>, MissionFileCount> m_bytes;
    // Size and modification time of each file as loaded or last written by us: offsets recorded
    // by a load are only written through while the file on disk still matches.
    std::array<std::optional<FileStamp>, MissionFileCount> m_stamps;
    Progress* m_progress = nullptr;
    std::vector<MissionListener*> m_listeners;
    int m_busyDepth = 0;
    Step* m_step = nullptr; // the outermost open step
    bool m_holding = false; // the open step's writes stay in memory (Step::holdWrites)
    std::array<bool, MissionFileCount> m_checkedWhileHeld{}; // a held step's files found unchanged
    int m_gathering = 0;    // steps and undos running whose notice is being gathered
    MissionChange m_gathered;
    std::string m_unwoundNote;
};

} // namespace mw
