#pragma once
// The state of the mission being edited: the four open files, the guards and remembered list rows
// that every command shares, and the recorded section offsets of the loaded scene.

#include <array>
#include <cstdint>
#include <string>

namespace mw {

// The four object lists, by the index the editing commands use for them.
enum ListIndex : int { SceneList = 0, CacheList = 1, ModelList = 2, CollisionList = 3 };

struct Workspace {
    // Set while a file is read into the lists or rewritten; every list, edit, search and save
    // handler does nothing while it is set.
    bool Busy = false;

    std::string ScenePath, CachePath, ModelPath, TreePath;
    // The file name part of each path, as the file dialog returned it.
    std::string SceneTitle, CacheTitle, ModelTitle, TreeTitle;

    // Set by a command that rewrote scene2.bin before it reloads it, so the reload restores the
    // list selections; ReloadIndex is the "All" row to select then (0: use ObjectIndex).
    bool KeepSelection = false;
    std::uint32_t ReloadIndex = 0;
    std::uint32_t ObjectIndex = 0;      // remembered row of "All"
    std::uint32_t ScriptListIndex = 0;  // remembered row of "Scripts"
    std::uint32_t PlainListIndex = 0;   // remembered row of "Things"

    // Recorded by the scene loader.
    std::uint64_t SceneSize = 0;
    std::uint32_t ObjectsSize = 0;
    std::uint32_t ObjectsSizeOffset = 0;
    std::uint32_t DefsPos = 0;
    std::uint32_t ScriptsLengthPos = 0;
    std::uint32_t FirstScriptIndex = 0;

    // Set by the "stop" buttons; a search clears its own flag when it starts and polls it.
    bool NameSearchStop = false;
    bool TranslationSearchStop = false;

    // Unsaved edits per list (indexed by ListIndex).
    std::array<bool, 4> ChangedFlags{};

    // Choices of the Put tree dialog.
    std::string PutTreeKind;
    bool UseSavedScene = false;

    // The two files chosen in the track dialog.
    std::string TrackSourcePath, TrackDestinationPath;
};

// The mission folder of a file: its full path without the file name part.
std::string missionFolder(const std::string& path, const std::string& title);

// Two files belong to one mission when their mission folders are equal as texts (case counts).
bool sameMission(const std::string& pathA, const std::string& titleA, const std::string& pathB,
                 const std::string& titleB);

} // namespace mw
