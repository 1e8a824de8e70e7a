#pragma once
// Writes chunk trees (u16 identifier, u32 size including the 6-byte header, payload) and reports
// where each chunk landed, so tests can compare a reader's recorded offsets with the writer's own.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

#include "foundation/bytes/ByteWriter.h"

namespace mw::build {

class ChunkBuilder {
public:
    std::size_t pos() const { return m_out.size(); }
    ByteWriter& raw() { return m_out; }

    // Starts a chunk whose size is filled in by close(); returns its start offset.
    std::size_t open(std::uint16_t id);
    void close(std::size_t start);

    std::size_t chunk(std::uint16_t id, std::span<const std::uint8_t> payload = {});
    // A text chunk: the characters and a terminating zero.
    std::size_t text(std::uint16_t id, std::string_view text);
    std::size_t u32(std::uint16_t id, std::uint32_t value);
    std::size_t floats(std::uint16_t id, std::initializer_list<float> values);
    // A chunk with an explicit (possibly wrong) size field and the given payload bytes.
    std::size_t rawChunk(std::uint16_t id, std::uint32_t sizeField, std::span<const std::uint8_t> payload = {});

    std::vector<std::uint8_t> take() { return m_out.take(); }

private:
    ByteWriter m_out;
};

} // namespace mw::build
