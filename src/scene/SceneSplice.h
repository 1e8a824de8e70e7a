#pragma once
// Length-changing edits of a scene image: byte ranges removed and inserted, with every size field
// that encloses a change corrected by the change in length. The root size at offset 2 encloses
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

} // namespace mw
