#pragma once
// The loaded mission: the one owner of the workspace, each loaded file's bytes, what the readers
// made of them and each file's stamp. Every write of the program goes through its two write paths
// (a patch in place, a whole-file replace); each checks that the file on disk is still the one we
// loaded or last wrote, renews the stamp after writing and tells the listeners. Views observe the
// mission and keep no copy of its data.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "io/FileAccess.h"
#include "missionfiles/CacheFile.h"
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

    // What the readers made of each file. The value saves update the entries they wrote.
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
    std::span<const std::uint8_t> bytes(MissionFile file) const { return m_bytes[index(file)]; }
    const std::string& pathOf(MissionFile file) const;
    const std::optional<FileStamp>& stampOf(MissionFile file) const { return m_stamps[index(file)]; }
    // True when the last load of the file read it (its lists may still be empty).
    bool isLoaded(MissionFile file) const { return m_stamps[index(file)].has_value(); }

    // Where long loads report how far they are; nothing by default.
    void setProgress(Progress* progress) { m_progress = progress; }
    Progress* progress() const { return m_progress; }

    // The load of each file from its workspace path, with the system's messages. A scene load with
    // kind Reload restores the remembered selections (KeepSelection, ReloadIndex).
    void loadScene(SceneLoadKind kind, Prompter& prompter);
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
    WriteOutcome replace(MissionFile file, std::span<const std::uint8_t> image, Prompter& prompter,
                         const char* failureText = nullptr);
    // The same for a file beside the mission's four (a backup, the placeholder model): created when
    // missing; there is no loaded state to check it against.
    WriteOutcome replace(const std::filesystem::path& path, std::span<const std::uint8_t> image, Prompter& prompter,
                         const char* failureText = nullptr);

    // After a rewrite of the scene through replace(): what the scene loader made of the image just
    // written. The next scene load uses it instead of reading and parsing the same bytes again,
    // as long as the file on disk is still the one we wrote.
    void offerParsedScene(SceneLoadResult parsed);
    // Storage for building a new image of a large file; kept between writes, since fresh memory
    // of a file's size costs more to touch than the copy itself.
    std::vector<std::uint8_t>& imageBuffer() { return m_imageBuffer; }

    void addListener(MissionListener* listener);
    void removeListener(MissionListener* listener);

private:
    static std::size_t index(MissionFile file) { return static_cast<std::size_t>(file); }
    // Reads the file's bytes and stamp; on failure says "************", clears Busy and the
    // file's data, and returns false.
    bool readFile(MissionFile file, Prompter& prompter);
    // True when the file on disk is the one we loaded or last wrote; otherwise says so.
    bool checkUnchanged(MissionFile file, Prompter& prompter) const;
    void notify(MissionFile file, MissionChange::Kind kind);

    Workspace m_ws;
    SceneLoadResult m_scene;
    CacheLoadResult m_cache;
    ModelLoadResult m_model;
    CollisionLoadResult m_tree;
    SceneSelection m_sceneSelection;
    std::optional<SceneLoadResult> m_parsedScene; // see offerParsedScene()
    std::vector<std::uint8_t> m_imageBuffer;
    std::array<std::vector<std::uint8_t>, 4> m_bytes;
    // Size and modification time of each file as loaded or last written by us: offsets recorded
    // by a load are only written through while the file on disk still matches.
    std::array<std::optional<FileStamp>, 4> m_stamps;
    Progress* m_progress = nullptr;
    std::vector<MissionListener*> m_listeners;
};

} // namespace mw
