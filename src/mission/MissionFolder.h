#pragma once
// Which file of a mission folder is which. One rule for every place that looks into a folder (the
// window's open and drop, the check, the add-in import, mwtool): a file is known by its name with
// letter case ignored, since a folder copied from a case-blind system holds "SCENE2.BIN"; where two
// names differ only in case, the exact lower-case name wins and the clash is reported.

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mission/Mission.h"

namespace mw {

// The files a mission folder holds: the four the editor loads and the route file.
enum class FolderFile { Scene = 0, Cache = 1, Model = 2, Tree = 3, Route = 4 };
inline constexpr FolderFile FolderFiles[] = {FolderFile::Scene, FolderFile::Cache, FolderFile::Model, FolderFile::Tree,
                                             FolderFile::Route};

// "scene2.bin", "cache.bin", "scene.4ds", "tree.klz", "check.bin".
const char* folderFileName(FolderFile file);
inline FolderFile folderFileOf(MissionFile file) { return static_cast<FolderFile>(file); }

// The folder file a name stands for, letter case ignored.
std::optional<FolderFile> folderFileNamed(std::string_view fileName);

// Names of one folder file that differ only in letter case: the one taken and the others.
struct NameClash {
    FolderFile file;
    std::string taken;
    std::vector<std::string> others;
};

struct MissionFolderFiles {
    std::array<std::filesystem::path, 5> paths; // empty where the folder holds no such file
    std::vector<NameClash> clashes;
    std::string problem; // why the folder could not be read; empty when it could

    const std::filesystem::path& operator[](FolderFile file) const { return paths[static_cast<std::size_t>(file)]; }
    const std::filesystem::path& operator[](MissionFile file) const { return (*this)[folderFileOf(file)]; }
    // The file's path, or the folder joined with its lower-case name when the folder has none.
    std::filesystem::path orDefault(const std::filesystem::path& folder, FolderFile file) const;
};

// Every entry of the folder is looked at by name only: what is not a regular file is found all the
// same, so that reading it says why it cannot be read.
MissionFolderFiles missionFilesIn(const std::filesystem::path& folder);

} // namespace mw
