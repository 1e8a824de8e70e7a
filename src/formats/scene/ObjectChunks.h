#pragma once
// Whole object chunks (0x4010) and definition chunks (0xAE21) as they are copied between scenes:
// the name, link and translation a paste may change, and the chunk with those changed and every
// other byte kept. Pure functions over the chunks' bytes.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace mw {

// The whole chunk that starts at `at` in a file's bytes; empty when it does not lie inside them.
std::span<const std::uint8_t> wholeChunkAt(std::span<const std::uint8_t> file, std::uint32_t at);

// A run of whole chunks (the objects or the definitions of a package's scene block), split into
// its chunks. Nothing when the run does not consist of whole chunks.
std::optional<std::vector<std::span<const std::uint8_t>>> splitChunks(std::span<const std::uint8_t> run);

// What a paste reads of an object chunk.
struct ObjectChunkInfo {
    std::string name;                // its name chunk (0x0010), as stored
    std::optional<std::string> link; // the name its link chunk (0x4020) starts with
    bool hasTranslation = false;
};
ObjectChunkInfo objectChunkInfo(std::span<const std::uint8_t> chunk);

// The object chunk with its name, its link's name and its translation's X changed (every other
// byte as it was; the chunk's size follows the texts' lengths).
std::vector<std::uint8_t> changedObjectChunk(std::span<const std::uint8_t> chunk, const std::string& name,
                                             const std::optional<std::string>& link, float moveX);

// The name of a definition chunk (its 0xAE23 child), and the chunk with another name.
std::string definitionChunkName(std::span<const std::uint8_t> chunk);
std::vector<std::uint8_t> renamedDefinitionChunk(std::span<const std::uint8_t> chunk, const std::string& name);

} // namespace mw
