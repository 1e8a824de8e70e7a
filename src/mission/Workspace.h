#pragma once
// The state of the mission being edited that the core reads: the four open files, the Busy guard,
// and the list rows a reload of the scene keeps. What the window alone uses (unsaved edits, the
// searches' stop flags, the last choices of its dialogs) stays on the window's side; the section
// offsets of the loaded scene are the catalogue's.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

namespace mw {

struct Workspace {
    // Set while a file is read into the lists or rewritten; every list, edit, search and save
    // handler does nothing while it is set.
    bool Busy = false;

    std::filesystem::path ScenePath, CachePath, ModelPath, TreePath;
    std::filesystem::path RoutePath; // check.bin beside the scene, when the folder holds one
    // The file name part of each path, as the file dialog returned it.
    std::string SceneTitle, CacheTitle, ModelTitle, TreeTitle;

    // Set by a command that rewrote scene2.bin before it reloads it, so the reload restores the
    // list selections; ReloadIndex is the "All" row to select then (0: use ObjectIndex).
    bool KeepSelection = false;
    std::uint32_t ReloadIndex = 0;
    std::uint32_t ObjectIndex = 0;      // remembered row of "All"
    std::uint32_t ScriptListIndex = 0;  // remembered row of "Scripts"
    std::uint32_t PlainListIndex = 0;   // remembered row of "Things"
};

// The mission folder of a file: its full path without the file name part, as UTF-8 text.
std::string missionFolder(const std::filesystem::path& path, const std::string& title);

// Two files belong to one mission when their mission folders name the same folder: "/" and "\"
// count alike, and letter case counts only where the file system heeds it (not on Windows).
bool sameMission(const std::filesystem::path& pathA, const std::string& titleA, const std::filesystem::path& pathB,
                 const std::string& titleB);

} // namespace mw
