#pragma once
// Length-changing edits of a scene image: byte ranges removed and inserted, with every size field
// that encloses a change corrected by the change in length; and the splices that append objects and
// definitions, which every inserting command shares. The root size at offset 2 encloses
// everything and is always corrected. Bytes behind the root length (if a file has any) move with
// the rest and are kept.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace mw {

struct SceneSplice {
    std::uint32_t at = 0;             // where the change starts, in the image as it is
    std::uint32_t remove = 0;         // bytes removed from there
    std::vector<std::uint8_t> insert; // bytes put in their place
    // Offsets (in the image as it is) of the 32-bit size fields that enclose this change; each
    // changes by insert.size() - remove. The root size at offset 2 is not listed.
    std::vector<std::uint32_t> sizeFields;
};

// The new image, or nothing when the splices do not fit the image: a range past the end, splices
// that overlap or are not in order, a size field outside the image or inside a removed range, or a
// size that would leave the 32-bit range.
std::optional<std::vector<std::uint8_t>> spliceScene(std::span<const std::uint8_t> image,
                                                     std::span<const SceneSplice> splices);

// The same into `out`, whose storage is reused (a large scene is written often); false when the
// splices do not fit.
bool spliceSceneInto(std::span<const std::uint8_t> image, std::span<const SceneSplice> splices,
                     std::vector<std::uint8_t>& out);

// Where the objects section of `scene` ends, from its size field; nothing when it does not fit.
std::optional<std::uint32_t> objectsEndOf(std::span<const std::uint8_t> scene, std::uint32_t objectsSizeField);

// The splices that append whole object chunks behind the last object and whole definition chunks
// behind the last definition of `scene` (its section size fields at the given offsets; a
// definitions size field of 0: there is no definitions section, and one is made behind the
// objects). Nothing when a size field does not fit `scene`.
std::optional<std::vector<SceneSplice>> appendingSplices(std::span<const std::uint8_t> scene,
                                                         std::uint32_t objectsSizeField,
                                                         std::uint32_t definitionsSizeField,
                                                         std::vector<std::uint8_t> objects,
                                                         std::vector<std::uint8_t> definitions);

} // namespace mw
