#pragma once
// The loaded mission: the one owner of the workspace, each loaded file's bytes, what the readers
// made of them and each file's stamp. Every write of the program goes through its two write paths
// (a patch in place, a whole-file replace); each checks that the file on disk is still the one we
// loaded or last wrote, renews the stamp after writing and tells the listeners. Views observe the
// mission and keep no copy of its data.

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <vector>

#include "io/FileAccess.h"
#include "missionfiles/CacheFile.h"
#include "workspace/History.h"
#include "missionfiles/CollisionFile.h"
#include "missionfiles/ModelFile.h"
#include "scene/SceneLoader.h"
#include "workspace/SceneSelection.h"
#include "workspace/Workspace.h"

namespace mw {

class Progress;
class Prompter;

// The four files of a mission, in the order of the lists' indices.
enum class MissionFile { Scene = 0, Cache = 1, Model = 2, Tree = 3 };

// The name a file is known by in messages ("scene2.bin", ...).
const char* missionFileName(MissionFile file);

struct MissionChange {
    enum class Kind {
        AboutToLoad, // a load or reload starts: let go of everything shown of this file
        Loaded,      // a fresh load ended (also when it failed: the file's data is then empty)
        Reloaded,    // a reload after a write ended
        Patched,     // fields were written in place; offsets and lengths are unchanged
        Replaced,    // the whole file was rewritten; its reader's results are stale until reloaded
    };
    MissionFile file;
    Kind kind;
};

class MissionListener {
public:
    virtual ~MissionListener() = default;
    virtual void missionChanged(const MissionChange& change) = 0;
    // A step was recorded, or undo or redo moved through the history: what "&Undo" and "&Redo"
    // offer has changed.
    virtual void historyChanged() {}
};

// How a write through one of the two paths ended.
enum class WriteOutcome {
    Done,
    Stale,  // the file changed on disk since we loaded or wrote it: nothing written, user told
    Failed, // the write failed: the file is as it was, user told
};

class Mission {
public:
    Workspace& workspace() { return m_ws; }
    const Workspace& workspace() const { return m_ws; }

    // What the readers made of each file. The scene catalogue reads its values from the kept bytes,
    // so it shows what the value saves wrote.
    SceneLoadResult& scene() { return m_scene; }
    const SceneLoadResult& scene() const { return m_scene; }
    SceneCatalogue& sceneCatalogue() { return m_scene.catalogue; }
    const SceneCatalogue& sceneCatalogue() const { return m_scene.catalogue; }
    CacheLoadResult& cache() { return m_cache; }
    const CacheLoadResult& cache() const { return m_cache; }
    ModelLoadResult& model() { return m_model; }
    const ModelLoadResult& model() const { return m_model; }
    CollisionLoadResult& tree() { return m_tree; }
    const CollisionLoadResult& tree() const { return m_tree; }

    // The rows the three scene lists select after the last scene load.
    const SceneSelection& sceneSelection() const { return m_sceneSelection; }

    // The file's bytes as loaded and as changed by our own writes since.
    std::span<const std::uint8_t> bytes(MissionFile file) const
    {
        const auto& kept = m_bytes[index(file)];
        return kept ? std::span<const std::uint8_t>(*kept) : std::span<const std::uint8_t>();
    }
    // The same bytes, shared: they stay as they are while anyone holds them.
    SharedImage sharedBytes(MissionFile file) const { return m_bytes[index(file)]; }
    const std::filesystem::path& pathOf(MissionFile file) const;
    const std::optional<FileStamp>& stampOf(MissionFile file) const { return m_stamps[index(file)]; }
    // True when the last load of the file read it (its lists may still be empty).
    bool isLoaded(MissionFile file) const { return m_stamps[index(file)].has_value(); }
    // True when a loaded file on disk is no longer the one we loaded or last wrote.
    bool changedOnDisk(MissionFile file) const;
    // The same check as the write paths make: false, with the message, when the file changed.
    bool checkUnchanged(MissionFile file, Prompter& prompter) const;

    // Where long loads report how far they are; nothing by default.
    void setProgress(Progress* progress) { m_progress = progress; }
    Progress* progress() const { return m_progress; }

    // The load of each file from its workspace path, with the system's messages. A scene load with
    // kind Reload restores the remembered selections (KeepSelection, ReloadIndex).
    void loadScene(SceneLoadKind kind, Prompter& prompter);
    // The reload after a write: the "All" list selects `row`, or `fallback` when the scene has no
    // such row any more; the other two lists keep their remembered rows.
    void reloadSceneAt(std::uint32_t row, Prompter& prompter) { reloadSceneAt(row, row, prompter); }
    void reloadSceneAt(std::uint32_t row, std::uint32_t fallback, Prompter& prompter);
    void loadCache(Prompter& prompter);
    void loadModel(Prompter& prompter);
    // The collision file needs the scene of the same mission; true when it was read.
    bool loadTree(Prompter& prompter);

    // Write path one: fixed-width fields in place. The file's length never changes.
    // A failed write is told as the error's description, or, when `failureText` is given, as that
    // text with the description as its title.
    WriteOutcome patch(MissionFile file, std::span<const Patch> patches, Prompter& prompter,
                       const char* failureText = nullptr);
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

    // After a rewrite of the scene through replace(): what the scene loader made of the image just
    // written. The next scene load uses it instead of parsing the same bytes again, as long as the
    // file on disk is still the one we wrote.
    void offerParsedScene(SceneLoadResult parsed);

    // Every write between a Step's construction and its end is one step of the history, undone and
    // redone as a whole. A write outside any step is a step of its own.
    class Step {
    public:
        Step(Mission& mission, std::string name) : m_mission(mission) { mission.m_history.begin(std::move(name)); }
        ~Step()
        {
            if (m_mission.m_history.end())
                m_mission.notifyHistory();
        }
        Step(const Step&) = delete;
        Step& operator=(const Step&) = delete;

    private:
        Mission& m_mission;
    };

    const History& history() const { return m_history; }
    void setHistoryLimit(std::size_t bytes) { m_history.setLimit(bytes); }
    // Restores the files of the last step (or of the last undone one) and reloads what is loaded;
    // a scene reload keeps the selections (the caller sets ReloadIndex and the list rows first).
    // Refused, with a message naming the file, when a file of the step was changed by another
    // program since; that file's history is then dropped.
    bool undo(Prompter& prompter);
    bool redo(Prompter& prompter);

    void addListener(MissionListener* listener);
    void removeListener(MissionListener* listener);

private:
    static std::size_t index(MissionFile file) { return static_cast<std::size_t>(file); }
    std::optional<MissionFile> loadedFileAt(const std::filesystem::path& path) const;
    // The writes themselves, with no stamp check and no history: the file, its stamp, the kept
    // bytes and the listeners. A null image removes the file.
    WriteOutcome writePatches(const std::filesystem::path& path, std::optional<MissionFile> file,
                              std::span<const Patch> patches, Prompter& prompter, const char* failureText);
    WriteOutcome writeImage(const std::filesystem::path& path, std::optional<MissionFile> file, const SharedImage& image,
                            Prompter& prompter, const char* failureText);
    // After a write: the file's new stamp; true when it is one of the loaded files.
    bool wrote(const std::filesystem::path& path, std::optional<MissionFile> file);
    void recordPatches(const std::filesystem::path& path, std::vector<Patch> before, std::span<const Patch> after);
    void recordImage(const std::filesystem::path& path, const SharedImage& before, const SharedImage& after);
    bool travel(bool back, Prompter& prompter);
    void reloadAfterTravel(const HistoryStep& step, Prompter& prompter);
    // The bytes the file's reader result points into, when it keeps them.
    SharedImage* readerSourceOf(MissionFile file);
    // Reads the file's bytes and stamp; on failure says "************", clears Busy and the
    // file's data, and returns false.
    bool readFile(MissionFile file, Prompter& prompter);
    // The cache and model-file loads: read, run the reader, say its messages.
    template <class Result, class Reader>
    void loadList(MissionFile file, Result& result, Reader read, Prompter& prompter);
    void notify(MissionFile file, MissionChange::Kind kind);
    void notifyHistory();

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
    std::array<std::shared_ptr<std::vector<std::uint8_t>>, 4> m_bytes;
    // Size and modification time of each file as loaded or last written by us: offsets recorded
    // by a load are only written through while the file on disk still matches.
    std::array<std::optional<FileStamp>, 4> m_stamps;
    Progress* m_progress = nullptr;
    std::vector<MissionListener*> m_listeners;
};

} // namespace mw
