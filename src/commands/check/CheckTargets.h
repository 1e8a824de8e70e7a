#pragma once
// What a check reads: the files of a mission folder, one file named alone, or the files the
// editor has loaded, as they stand in memory.

#include <filesystem>
#include <string>
#include <vector>

#include "commands/check/MissionCheck.h"

namespace mw {

class Mission;

struct CheckTarget {
    std::vector<CheckedFile> files;
    std::string problem;           // why the path cannot be checked; empty when it can
    std::vector<Problem> problems; // found before any file is read: names that clash in a folder
};

// A folder: its scene2.bin, cache.bin, tree.klz, scene.4ds and check.bin, each when present, found
// by the rule of missionFilesIn() (two names that differ only in letter case are an error). A file: that file, of the kind kindOfFile() tells. Files are named in the
// report by the path as given joined with their name ("missions/demo/scene2.bin"; for ".", the
// name alone).
CheckTarget filesToCheck(const std::filesystem::path& path);

// The mission's loaded files as they stand in memory, named by their file names, and the route
// file check.bin beside the loaded scene when there is one (the editor does not load it).
std::vector<CheckedFile> loadedFiles(const Mission& mission);

} // namespace mw
