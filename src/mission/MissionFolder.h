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

#include "mission/MissionFile.h"

namespace mw {

// The file of a folder a name stands for, letter case ignored.
std::optional<MissionFile> missionFileNamed(std::string_view fileName);

// Names of one folder file that differ only in letter case: the one taken and the others.
struct NameClash {
    MissionFile file;
    std::string taken;
    std::vector<std::string> others;
};

struct MissionFolderFiles {
    std::array<std::filesystem::path, MissionFileCount> paths; // empty where the folder holds no such file
    std::vector<NameClash> clashes;
    std::string problem; // why the folder could not be read; empty when it could

    const std::filesystem::path& operator[](MissionFile file) const { return paths[indexOf(file)]; }
    // The file's path, or the folder joined with its lower-case name when the folder has none.
    std::filesystem::path orDefault(const std::filesystem::path& folder, MissionFile file) const;
};

// Every entry of the folder is looked at by name only: what is not a regular file is found all the
// same, so that reading it says why it cannot be read.
MissionFolderFiles missionFilesIn(const std::filesystem::path& folder);

} // namespace mw
