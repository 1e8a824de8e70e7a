#pragma once
// Bounds-checked little-endian reads over a byte span. Every read that would leave the span
// throws TruncatedData, so a reader can walk untrusted files without ever reading out of bounds.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace mw {

class TruncatedData : public std::runtime_error {
public:
    TruncatedData() : std::runtime_error("data ends before the field") {}
};

// Little-endian fields of bytes already known to lie inside the data; assembled byte by byte, which
// every compiler turns into one load on a little-endian machine.
inline std::uint16_t loadU16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t loadU32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::size_t size() const { return m_bytes.size(); }
    std::span<const std::uint8_t> all() const { return m_bytes; }

    // True when `count` bytes starting at `offset` lie inside the data (no overflow possible).
    bool has(std::size_t offset, std::size_t count) const
    {
        return offset <= m_bytes.size() && count <= m_bytes.size() - offset;
    }

    std::uint8_t u8(std::size_t offset) const
    {
        require(offset, 1);
        return m_bytes[offset];
    }

    std::uint16_t u16(std::size_t offset) const
    {
        require(offset, 2);
        return loadU16(m_bytes.data() + offset);
    }

    std::uint32_t u32(std::size_t offset) const
    {
        require(offset, 4);
        return loadU32(m_bytes.data() + offset);
    }

    std::int32_t i32(std::size_t offset) const { return static_cast<std::int32_t>(u32(offset)); }

    float f32(std::size_t offset) const { return std::bit_cast<float>(u32(offset)); }

    // `count` raw bytes as a byte string (texts in the mission files are single-byte).
    std::string text(std::size_t offset, std::size_t count) const
    {
        require(offset, count);
        return std::string(reinterpret_cast<const char*>(m_bytes.data() + offset), count);
    }

    std::span<const std::uint8_t> bytes(std::size_t offset, std::size_t count) const
    {
        require(offset, count);
        return m_bytes.subspan(offset, count);
    }

private:
    void require(std::size_t offset, std::size_t count) const
    {
        if (!has(offset, count))
            throw TruncatedData();
    }

    std::span<const std::uint8_t> m_bytes;
};

} // namespace mw
