#include "support/MissionFileBuilders.h"

namespace mw::build {

CacheBuilder::CacheBuilder()
{
    m_out.u16(0x01F4);
    m_out.fill(8, 0x11);
}

std::size_t CacheBuilder::base(const std::string& name)
{
    const std::size_t start = m_out.size();
    m_out.u16(0x03E8);
    m_out.u32(static_cast<std::uint32_t>(10 + name.size() + 76));
    m_out.u32(static_cast<std::uint32_t>(name.size()));
    m_out.text(name);
    m_out.fill(76, 0x22);
    return start;
}

std::size_t CacheBuilder::object(const std::string& name, F3 position, F4 rotation, F3 size)
{
    m_out.u16(0x07D0);
    m_out.u32(static_cast<std::uint32_t>(10 + name.size() + 56));
    m_out.u32(static_cast<std::uint32_t>(name.size()));
    m_out.text(name);
    const std::size_t translation = m_out.size();
    for (float v : position)
        m_out.f32(v);
    for (float v : rotation)
        m_out.f32(v);
    m_out.fill(16, 0x33);
    for (float v : size)
        m_out.f32(v);
    return translation;
}

int TreeBuilder::link(const std::string& name)
{
    m_links.push_back(name);
    return static_cast<int>(m_links.size()) - 1;
}

std::size_t TreeBuilder::body(std::uint8_t kind, std::uint8_t material, int link)
{
    const std::size_t start = m_bodies.size();
    m_bodies.u8(kind);
    m_bodies.u8(0);
    m_bodies.u8(0);
    m_bodies.u8(material);
    m_bodies.u32(static_cast<std::uint32_t>(link));
    ++m_counts[kind - 0x80];
    return start + 8;
}

std::size_t TreeBuilder::box(std::uint8_t material, int link, F3 min, F3 max)
{
    const std::size_t at = body(0x81, material, link);
    for (float v : min)
        m_bodies.f32(v);
    for (float v : max)
        m_bodies.f32(v);
    return at;
}

std::size_t TreeBuilder::rotatedBox(std::uint8_t material, int link, F3 min, F3 max, Matrix m, F3 position)
{
    const std::size_t at = body(0x80, material, link);
    for (float v : min)
        m_bodies.f32(v);
    for (float v : max)
        m_bodies.f32(v);
    for (int i = 0; i < 6; ++i)
        m_bodies.f32(0);
    for (float v : m.m)
        m_bodies.f32(v);
    for (float v : position)
        m_bodies.f32(v);
    m_bodies.fill(68, 0);
    return at;
}

std::size_t TreeBuilder::verticalBox(std::uint8_t material, int link, F3 e1, F3 e2, Matrix m, F3 position, float r,
                                     float w)
{
    const std::size_t at = body(0x83, material, link);
    for (float v : e1)
        m_bodies.f32(v);
    for (float v : e2)
        m_bodies.f32(v);
    for (float v : m.m)
        m_bodies.f32(v);
    for (float v : position)
        m_bodies.f32(v);
    m_bodies.fill(4, 0);
    m_bodies.f32(r);
    m_bodies.f32(w);
    m_bodies.fill(56, 0);
    return at;
}

std::size_t TreeBuilder::cylinder(std::uint8_t material, int link, float x, float z, float radius)
{
    const std::size_t at = body(0x84, material, link);
    m_bodies.f32(x);
    m_bodies.f32(z);
    m_bodies.f32(radius);
    return at;
}

std::size_t TreeBuilder::sphere(std::uint8_t material, int link, F3 centre, float radius)
{
    const std::size_t at = body(0x82, material, link);
    for (float v : centre)
        m_bodies.f32(v);
    m_bodies.f32(radius);
    return at;
}

std::vector<std::uint8_t> TreeBuilder::finish()
{
    ByteWriter out;
    out.text("GifC");
    out.u32(0);
    const std::size_t dataHeaderField = out.size();
    out.u32(0); // D, filled in below
    out.u32(static_cast<std::uint32_t>(m_links.size()));
    out.fill(8, 0);
    const std::size_t table = out.size();
    out.fill(4 * m_links.size(), 0);
    for (std::size_t i = 0; i < m_links.size(); ++i) {
        out.putU32At(table + 4 * i, static_cast<std::uint32_t>(out.size()));
        out.u32(0);
        out.text(m_links[i]);
        out.u8(0);
    }
    out.putU32At(dataHeaderField, static_cast<std::uint32_t>(out.size()));
    out.fill(48, 0);
    out.u32(static_cast<std::uint32_t>(m_leading));
    out.u32(0);
    for (std::uint32_t count : m_counts) {
        out.u32(count);
        out.u32(0);
    }
    out.u32(0); // D+96
    out.u32(0);
    out.fill(3, 0x55); // the marker is searched from D+104
    out.text("#a->");
    out.u8(0);
    out.fill(32 * static_cast<std::size_t>(m_leading), 0x66);
    m_bodiesStart = out.size();
    out.append(m_bodies.bytes());
    out.append(m_trailer);
    return out.take();
}

ModelFileBuilder::ModelFileBuilder()
{
    m_out.text("4DS");
    m_out.u8(0);
    m_out.u16(29);
    m_out.fill(8, 0); // up to the material count at 14
    m_out.u16(0);
}

void ModelFileBuilder::material(const std::string& texture, bool twoNames, const std::string& second)
{
    if (twoNames) {
        const std::uint8_t flags[] = {0x01, 0x80, 0x84, 0x40};
        m_out.append(flags);
    } else {
        m_out.u32(0x00000001);
    }
    m_out.fill(40, 0);
    m_out.u8(static_cast<std::uint8_t>(texture.size()));
    m_out.text(texture);
    if (twoNames) {
        m_out.u8(static_cast<std::uint8_t>(second.size()));
        m_out.text(second);
    }
    ++m_materials;
}

void ModelFileBuilder::endMaterials() { m_out.putU16At(14, m_materials); }

std::size_t ModelFileBuilder::frame(const std::string& name, F3 position, F4 rotation, F3 further, int meshCount)
{
    const std::uint8_t start[] = {0x01, 0x00, 0x00, 0x2A};
    m_out.append(start);
    m_out.u16(0);
    const std::size_t translation = m_out.size();
    for (float v : position)
        m_out.f32(v);
    for (float v : rotation)
        m_out.f32(v);
    for (float v : further)
        m_out.f32(v);
    m_out.u8(0);
    m_out.u8(static_cast<std::uint8_t>(name.size()));
    m_out.text(name);
    if (meshCount >= 0) {
        const std::uint8_t mesh[] = {0x00, 0x00, 0x00, 0x01};
        m_out.append(mesh);
        m_out.fill(4, 0);
        m_out.u16(static_cast<std::uint16_t>(meshCount));
        m_out.fill(32 * static_cast<std::size_t>(meshCount), 0x77);
    }
    return translation;
}

std::vector<std::uint8_t> routeFile(std::uint32_t points)
{
    ByteWriter out;
    out.u32(0x12345678);
    out.u32(points);
    for (std::uint32_t i = 0; i < points; ++i) {
        out.f32(static_cast<float>(i));
        out.f32(0);
        out.f32(-static_cast<float>(i));
        out.fill(18, static_cast<std::uint8_t>(i));
    }
    return out.take();
}

} // namespace mw::build
