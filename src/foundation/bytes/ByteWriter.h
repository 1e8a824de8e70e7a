#pragma once
// Little-endian encoding: a growing byte buffer for building records and whole file images, and
// bounds-checked puts for patching fixed-width fields inside an existing image.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace mw {

inline std::array<std::uint8_t, 2> encodeU16(std::uint16_t v)
{
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
}

inline std::array<std::uint8_t, 4> encodeU32(std::uint32_t v)
{
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}

inline std::array<std::uint8_t, 4> encodeF32(float v) { return encodeU32(std::bit_cast<std::uint32_t>(v)); }

class ByteWriter {
public:
    std::size_t size() const { return m_bytes.size(); }
    const std::vector<std::uint8_t>& bytes() const { return m_bytes; }
    std::vector<std::uint8_t> take() { return std::move(m_bytes); }

    void u8(std::uint8_t v) { m_bytes.push_back(v); }
    void u16(std::uint16_t v) { append(encodeU16(v)); }
    void u32(std::uint32_t v) { append(encodeU32(v)); }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void f32(float v) { append(encodeF32(v)); }
    void text(std::string_view s) { m_bytes.insert(m_bytes.end(), s.begin(), s.end()); }
    void append(std::span<const std::uint8_t> b) { m_bytes.insert(m_bytes.end(), b.begin(), b.end()); }
    void fill(std::size_t count, std::uint8_t value) { m_bytes.insert(m_bytes.end(), count, value); }

    // Overwrites an already written field, e.g. a size that is known only once the chunk is done.
    void putU16At(std::size_t offset, std::uint16_t v);
    void putU32At(std::size_t offset, std::uint32_t v);

private:
    std::vector<std::uint8_t> m_bytes;
};

// Patches of an existing image; throw std::out_of_range when the field does not fit.
void putU8(std::span<std::uint8_t> image, std::size_t offset, std::uint8_t v);
void putU16(std::span<std::uint8_t> image, std::size_t offset, std::uint16_t v);
void putU32(std::span<std::uint8_t> image, std::size_t offset, std::uint32_t v);
void putF32(std::span<std::uint8_t> image, std::size_t offset, float v);

} // namespace mw
