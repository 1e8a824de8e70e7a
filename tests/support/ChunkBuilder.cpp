#include "support/ChunkBuilder.h"

namespace mw::build {

std::size_t ChunkBuilder::open(std::uint16_t id)
{
    const std::size_t start = m_out.size();
    m_out.u16(id);
    m_out.u32(0);
    return start;
}

void ChunkBuilder::close(std::size_t start)
{
    m_out.putU32At(start + 2, static_cast<std::uint32_t>(m_out.size() - start));
}

std::size_t ChunkBuilder::chunk(std::uint16_t id, std::span<const std::uint8_t> payload)
{
    const std::size_t start = open(id);
    m_out.append(payload);
    close(start);
    return start;
}

std::size_t ChunkBuilder::text(std::uint16_t id, std::string_view text)
{
    const std::size_t start = open(id);
    m_out.text(text);
    m_out.u8(0);
    close(start);
    return start;
}

std::size_t ChunkBuilder::u32(std::uint16_t id, std::uint32_t value)
{
    const std::size_t start = open(id);
    m_out.u32(value);
    close(start);
    return start;
}

std::size_t ChunkBuilder::floats(std::uint16_t id, std::initializer_list<float> values)
{
    const std::size_t start = open(id);
    for (float v : values)
        m_out.f32(v);
    close(start);
    return start;
}

std::size_t ChunkBuilder::rawChunk(std::uint16_t id, std::uint32_t sizeField, std::span<const std::uint8_t> payload)
{
    const std::size_t start = m_out.size();
    m_out.u16(id);
    m_out.u32(sizeField);
    m_out.append(payload);
    return start;
}

} // namespace mw::build
