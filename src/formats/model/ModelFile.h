#pragma once
// scene.4ds as far as the editor uses it: the "4DS" signature, the material table walked to get past
// it, and a byte-by-byte scan for mesh frames (01 00 00 2A, a position, a rotation whose first three
// floats lie within -1 ... 1, three further floats and a name).

#include <array>
#include <optional>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "foundation/geometry/Vec3.h"
#include "formats/common/ReadStatus.h"

namespace mw {

class Progress;

namespace modelmsg {
inline constexpr const char* NotAModelFile = "****** No *.4ds file! ******";
} // namespace modelmsg

struct ModelFrame {
    std::string name;
    std::uint32_t TranslationOffset = 0; // frame start + 6
    Vec3 position;
    std::array<float, 4> rotation{};
    Vec3 further; // stored, not shown
};

struct ModelLoadResult {
    FileReadStatus status = FileReadStatus::Empty;
    std::vector<std::string> messages;
    std::vector<ModelFrame> frames;
    // The material table or a frame runs past the end of the file: the frames before are listed.
    std::optional<ReadShortfall> cut;
};

ModelLoadResult readModelFile(std::span<const std::uint8_t> bytes, Progress* progress = nullptr);

} // namespace mw
