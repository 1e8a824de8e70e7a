#include "formats/scene/ObjectRecord.h"

#include "formats/scene/SceneChunks.h"

namespace mw {

std::size_t ChunkWriter::open(std::uint16_t id)
{
    const std::size_t at = m_out.size();
    m_out.u16(id);
    m_out.u32(0);
    return at;
}

void ChunkWriter::close(std::size_t start)
{
    m_out.putU32At(start + 2, static_cast<std::uint32_t>(m_out.size() - start));
}

void ChunkWriter::text(std::uint16_t id, const std::string& s)
{
    const auto at = open(id);
    m_out.text(s);
    m_out.u8(0);
    close(at);
}

void ChunkWriter::u32(std::uint16_t id, std::uint32_t v)
{
    const auto at = open(id);
    m_out.u32(v);
    close(at);
}

void ChunkWriter::floats(std::uint16_t id, std::initializer_list<float> values)
{
    const auto at = open(id);
    for (float v : values)
        m_out.f32(v);
    close(at);
}

void ChunkWriter::raw(std::uint16_t id, std::span<const std::uint8_t> payload)
{
    const auto at = open(id);
    m_out.append(payload);
    close(at);
}

void writeModelObject(ChunkWriter& out, const ModelObject& o)
{
    const auto object = out.open(chunk::Object);
    out.u32(chunk::ObjectType, 9);
    out.text(chunk::ObjectName, o.name);
    out.floats(chunk::Translation, {o.position.x, o.position.y, o.position.z});
    out.floats(chunk::Rotation, {o.rotation[0], o.rotation[1], o.rotation[2], o.rotation[3]});
    out.floats(chunk::Size, {o.size.x, o.size.y, o.size.z});
    out.raw(0x002C, ModelObjectExtent);
    const auto link = out.open(chunk::Link);
    out.text(chunk::ObjectName, PrimarySector);
    out.close(link);
    out.text(chunk::Model, o.model);
    out.close(object);
}

} // namespace mw
