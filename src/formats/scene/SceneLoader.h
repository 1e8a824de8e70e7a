#pragma once
// Reads scene2.bin into the object catalogue. A pure function over the file's bytes: it returns the
// catalogue (which keeps the bytes alive and points into them) and the messages to show, in the
// order they arose.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "formats/scene/SceneCatalogue.h"

namespace mw {

class Progress;

namespace scenemsg {
inline constexpr const char* NotAScene = "****** No scene2.bin file! ******";
inline constexpr const char* UnknownId = "****** ID ?  ****** ";
inline constexpr const char* Unreadable = "****** Cann't read file!! ****** ";
} // namespace scenemsg

enum class SceneLoadStatus {
    Empty,      // a file of 0 bytes: nothing loaded, nothing said
    Loaded,
    NotAScene,  // does not start with "SL": nothing loaded
    Unreadable, // no objects section, or a damaged chunk tree: nothing loaded
};

struct SceneLoadScratch;

struct SceneLoadResult {
    SceneLoadStatus status = SceneLoadStatus::Empty;
    std::vector<std::string> messages;
    SceneCatalogue catalogue;
    // The loader's working memory, kept for the next load into this result.
    std::shared_ptr<SceneLoadScratch> scratch;
};

// `progress`, when given, is started, stepped (0 ... 51, naming each definition as it is read) and
// finished.
SceneLoadResult loadScene(SharedImage bytes, Progress* progress = nullptr);

// The same over a copy of `bytes`.
SceneLoadResult loadScene(std::span<const std::uint8_t> bytes, Progress* progress = nullptr);

// The same, reusing the allocations of an earlier result (the editor reloads after every write).
void loadSceneInto(SharedImage bytes, SceneLoadResult& result, Progress* progress = nullptr);

} // namespace mw
