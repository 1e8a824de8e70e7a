#pragma once
// Generated missions of the largest sizes the editor is built for, written to a temporary folder.

#include <filesystem>
#include <string>

namespace mw::bench {

// A scene of 30 001 entries: lights, sounds, humans with scripts, things, plain models and
// free-standing scripts. Returns the file's path (written once per process).
const std::filesystem::path& largeScenePath();

// cache.bin of 10 000 records (one base record per 20 objects).
const std::filesystem::path& largeCachePath();

// tree.klz of 30 001 bodies of all five kinds.
const std::filesystem::path& largeTreePath();

// scene.4ds of about 100 MB: frames with meshes, each followed by data the scan has to walk through.
const std::filesystem::path& largeModelPath();

} // namespace mw::bench
