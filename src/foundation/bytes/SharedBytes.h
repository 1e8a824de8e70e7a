#pragma once
// A file's bytes shared between the mission, the history and what the readers made of them: a
// reader's result keeps the bytes it points into alive, so its names and offsets can never outlive
// them.

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace mw {

using SharedImage = std::shared_ptr<const std::vector<std::uint8_t>>;

// A run of single-byte characters inside a file's bytes, recorded instead of a copy of the text.
struct TextRef {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
};

// The characters of `ref`; empty when they do not lie inside `bytes`.
inline std::string_view textIn(std::span<const std::uint8_t> bytes, TextRef ref)
{
    if (ref.offset > bytes.size() || ref.length > bytes.size() - ref.offset)
        return {};
    return {reinterpret_cast<const char*>(bytes.data()) + ref.offset, ref.length};
}

inline std::span<const std::uint8_t> spanOf(const SharedImage& image)
{
    return image ? std::span<const std::uint8_t>(*image) : std::span<const std::uint8_t>();
}

} // namespace mw
