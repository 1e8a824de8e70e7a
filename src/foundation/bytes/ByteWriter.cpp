#include "foundation/bytes/ByteWriter.h"

#include <algorithm>

namespace mw {

namespace {

void put(std::span<std::uint8_t> image, std::size_t offset, std::span<const std::uint8_t> field)
{
    if (offset > image.size() || field.size() > image.size() - offset)
        throw std::out_of_range("field lies outside the image");
    std::copy(field.begin(), field.end(), image.begin() + static_cast<std::ptrdiff_t>(offset));
}

} // namespace

void ByteWriter::putU16At(std::size_t offset, std::uint16_t v) { putU16(m_bytes, offset, v); }
void ByteWriter::putU32At(std::size_t offset, std::uint32_t v) { putU32(m_bytes, offset, v); }

void putU8(std::span<std::uint8_t> image, std::size_t offset, std::uint8_t v)
{
    const std::array<std::uint8_t, 1> field{v};
    put(image, offset, field);
}

void putU16(std::span<std::uint8_t> image, std::size_t offset, std::uint16_t v) { put(image, offset, encodeU16(v)); }
void putU32(std::span<std::uint8_t> image, std::size_t offset, std::uint32_t v) { put(image, offset, encodeU32(v)); }
void putF32(std::span<std::uint8_t> image, std::size_t offset, float v) { put(image, offset, encodeF32(v)); }

} // namespace mw
