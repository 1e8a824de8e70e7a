#pragma once
// Generated missions of the largest sizes the editor is built for, written to a temporary folder.

#include <filesystem>
#include <string>

namespace mw::bench {

// A scene of 30 001 entries: lights, sounds, humans with scripts, things, plain models and
// free-standing scripts. Returns the file's path (written once per process).
const std::filesystem::path& largeScenePath();

} // namespace mw::bench
