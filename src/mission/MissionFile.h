#pragma once
// The files of a mission folder, one name for each wherever the program speaks of them: the four
// the editor loads, each shown in a list of its own (its index is the list's), and the route file
// beside the scene.

#include <cstddef>

namespace mw {

enum class MissionFile { Scene = 0, Cache = 1, Model = 2, Tree = 3, Route = 4 };
inline constexpr std::size_t MissionFileCount = 5;
// The four with a list and a load command, in the order of the lists.
inline constexpr MissionFile MissionFiles[] = {MissionFile::Scene, MissionFile::Cache, MissionFile::Model,
                                               MissionFile::Tree};
// Every file a mission folder may hold.
inline constexpr MissionFile FolderFiles[] = {MissionFile::Scene, MissionFile::Cache, MissionFile::Model,
                                              MissionFile::Tree, MissionFile::Route};

constexpr std::size_t indexOf(MissionFile file) { return static_cast<std::size_t>(file); }

// The name a file is known by in messages and in a folder: "scene2.bin", "cache.bin", "scene.4ds",
// "tree.klz", "check.bin".
const char* missionFileName(MissionFile file);

} // namespace mw
