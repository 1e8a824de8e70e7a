#pragma once
// The whole chunk tree of a scene file, walked to find where it is damaged: the file header's
// length against the file, every container's children tiling it exactly (the sections, objects,
// links, lights, sounds, definitions), the fixed-size fields a reader takes from their chunks, and
// every script's lengths against the chunk that holds it. The loader stops at the first fault and
// reads only what it needs; this walk goes on past each fault to say where every one lies.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace mw {

struct StructureFinding {
    bool error = true; // false: a warning
    std::uint64_t offset = 0;
    std::string message;
};

// A definition chunk as the walk met it: its name (shortened as the loader shortens it), type and
// where it starts.
struct DefinitionSeen {
    std::string name;
    std::uint32_t type = 0;
    std::uint32_t offset = 0;
};

struct SceneStructure {
    std::vector<StructureFinding> findings;
    std::vector<DefinitionSeen> definitions;
};

// Nothing is found in a file that does not start with "SL": it is no scene file.
SceneStructure walkSceneStructure(std::span<const std::uint8_t> bytes);

} // namespace mw
