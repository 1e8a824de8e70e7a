#pragma once
// Writing scene chunks: a small chunk writer, and the object chunk of a plain model object as the
// insert and merge commands add it (type 9, name, translation, rotation, size, the fixed 0x002C
// triple, a link to "Primary sector" and the model).

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "formats/scene/SceneCatalogue.h"
#include "foundation/bytes/ByteWriter.h"

namespace mw {

// Chunks written into a byte buffer; a chunk's size is filled in when it is closed.
class ChunkWriter {
public:
    std::size_t open(std::uint16_t id);
    void close(std::size_t start);
    // A text chunk: the characters and a terminating zero.
    void text(std::uint16_t id, const std::string& s);
    void u32(std::uint16_t id, std::uint32_t v);
    void floats(std::uint16_t id, std::initializer_list<float> values);
    void raw(std::uint16_t id, std::span<const std::uint8_t> payload);
    ByteWriter& out() { return m_out; }

private:
    ByteWriter m_out;
};

inline constexpr const char* PrimarySector = "Primary sector";
// The 0x002C triple of model objects (about -1774.3284, -5.601484, 4.3234544).
inline constexpr std::array<std::uint8_t, 12> ModelObjectExtent{0x82, 0xca, 0xdd, 0xc4, 0x5b, 0x3f,
                                                                0xb3, 0xc0, 0xbd, 0x59, 0x8a, 0x40};

struct ModelObject {
    std::string name;
    Vec3 position;
    std::array<float, 4> rotation{1, 0, 0, 0};
    Vec3 size{1, 1, 1};
    std::string model;
};

// Appends the object chunk (133 + name length + model length bytes).
void writeModelObject(ChunkWriter& out, const ModelObject& object);

} // namespace mw
