#include "support/SceneBuilder.h"

#include "formats/scene/SceneChunks.h"

namespace mw::build {

SceneBuilder::SceneBuilder()
{
    m_chunks.raw().u16(chunk::SceneHeader);
    m_chunks.raw().u32(0);
}

void SceneBuilder::headerRecord(std::uint16_t id, std::vector<std::uint8_t> payload)
{
    m_chunks.chunk(id, payload);
}

void SceneBuilder::beginObjects() { objectsStart = m_chunks.open(chunk::ObjectsSection); }
void SceneBuilder::endObjects() { m_chunks.close(objectsStart); }

ObjectOffsets SceneBuilder::object(const ObjectParts& parts)
{
    ObjectOffsets at;
    ChunkBuilder& c = m_chunks;
    at.object = c.open(chunk::Object);
    if (parts.type)
        c.u32(chunk::ObjectType, *parts.type);
    if (parts.name)
        c.text(chunk::ObjectName, *parts.name);
    if (parts.translation) {
        const auto& t = *parts.translation;
        at.translation = c.floats(chunk::Translation, {t[0], t[1], t[2]}) + 6;
    }
    if (parts.rotation) {
        const auto& r = *parts.rotation;
        at.rotation = c.floats(chunk::Rotation, {r[0], r[1], r[2], r[3]}) + 6;
    }
    if (parts.size) {
        const auto& s = *parts.size;
        at.size = c.floats(chunk::Size, {s[0], s[1], s[2]}) + 6;
    }
    if (parts.unknownChunks) {
        c.floats(0x002C, {1.0f, 2.0f, 3.0f});
        c.floats(0x4050, {-0.5f, -0.5f, -0.5f, 0.5f, 0.5f, 0.5f});
        c.u32(0xB401, 7);
    }
    if (parts.link) {
        const auto link = c.open(chunk::Link);
        c.text(chunk::ObjectName, *parts.link);
        c.close(link);
    }
    if (parts.model)
        c.text(chunk::Model, *parts.model);
    if (parts.light) {
        const LightParts& l = *parts.light;
        const auto light = c.open(chunk::Light);
        if (l.kind)
            c.u32(chunk::LightKind, *l.kind);
        const auto inner = l.nested ? c.open(chunk::Light) : 0;
        if (l.colour)
            at.lightColour = c.floats(chunk::LightColour, {(*l.colour)[0], (*l.colour)[1], (*l.colour)[2]}) + 6;
        if (l.power)
            at.lightPower = c.floats(chunk::LightPower, {*l.power}) + 6;
        if (l.range)
            at.lightRange = c.floats(chunk::LightRange, {(*l.range)[0], (*l.range)[1]}) + 6;
        if (l.distance)
            at.lightDistance = c.floats(chunk::LightDistance, {(*l.distance)[0], (*l.distance)[1]}) + 6;
        c.u32(0x4045, 0x6B); // a child the loader skips
        if (l.nested)
            c.close(inner);
        c.close(light);
    }
    if (parts.sound) {
        const SoundParts& s = *parts.sound;
        const auto sound = c.open(chunk::Sound);
        if (s.fileName)
            c.text(chunk::SoundName, *s.fileName);
        if (s.kind)
            at.soundField[1] = c.u32(chunk::SoundKind, static_cast<std::uint32_t>(*s.kind)) + 6;
        if (s.volume)
            at.soundField[2] = c.floats(chunk::SoundVolume, {*s.volume}) + 6;
        c.u32(0x4063, 0); // skipped by the loader
        if (s.fields34) {
            at.soundField[3] = c.floats(chunk::SoundPair34, {(*s.fields34)[0], (*s.fields34)[1]}) + 6;
            at.soundField[4] = at.soundField[3] + 4;
        }
        if (s.fields56) {
            at.soundField[5] = c.floats(chunk::SoundPair56, {(*s.fields56)[0], (*s.fields56)[1]}) + 6;
            at.soundField[6] = at.soundField[5] + 4;
        }
        const std::uint8_t b800[] = {0x06, 0x00, 0x80, 0x3F};
        c.chunk(0xB800, b800);
        c.close(sound);
    }
    c.close(at.object);
    at.end = c.pos();
    return at;
}

void SceneBuilder::beginDefinitions() { definitionsStart = m_chunks.open(chunk::DefinitionsSection); }
void SceneBuilder::endDefinitions() { m_chunks.close(definitionsStart); }

DefinitionOffsets SceneBuilder::definition(const DefinitionParts& parts)
{
    DefinitionOffsets at;
    at.definition = m_chunks.open(chunk::Definition);
    m_chunks.text(chunk::DefinitionName, parts.name);
    m_chunks.u32(chunk::DefinitionType, parts.type);
    at.data = m_chunks.chunk(chunk::DefinitionData, parts.data);
    at.dataPayload = at.data + 6;
    m_chunks.close(at.definition);
    at.end = m_chunks.pos();
    return at;
}

void SceneBuilder::beginScripts() { scriptsStart = m_chunks.open(chunk::ScriptsSection); }
void SceneBuilder::endScripts() { m_chunks.close(scriptsStart); }

ScriptOffsets SceneBuilder::script(const std::string& name, const std::string& text)
{
    ScriptOffsets at;
    ByteWriter& out = m_chunks.raw();
    at.chunk = m_chunks.open(chunk::Script);
    out.u8(1);
    out.u32(static_cast<std::uint32_t>(name.size()));
    out.text(name);
    at.lengthField = m_chunks.pos();
    out.u32(static_cast<std::uint32_t>(text.size()));
    out.text(text);
    m_chunks.close(at.chunk);
    at.end = m_chunks.pos();
    return at;
}

NestedScene nestedLightScene(std::size_t lights)
{
    NestedScene out;
    SceneBuilder b;
    ChunkBuilder& c = b.chunks();
    b.beginObjects();
    out.object = c.open(chunk::Object);
    c.text(chunk::ObjectName, "Deep");
    for (std::size_t k = 0; k < lights; ++k)
        out.lightStarts.push_back(c.open(chunk::Light));
    for (auto at = out.lightStarts.rbegin(); at != out.lightStarts.rend(); ++at)
        c.close(*at);
    c.close(out.object);
    out.objectEnd = c.pos();
    b.endObjects();
    out.bytes = b.finish();
    return out;
}

std::vector<std::uint8_t> SceneBuilder::finish()
{
    m_chunks.raw().putU32At(2, static_cast<std::uint32_t>(m_chunks.pos()));
    return m_chunks.take();
}

std::vector<std::uint8_t> humanData(std::uint8_t behaviour, std::uint8_t sex, float aggression, float weight,
                                    const std::string& script, bool scriptAt78, std::uint8_t byte78)
{
    ByteWriter out;
    out.u8(6);
    out.u8(behaviour);
    out.fill(3, 0);
    out.u8(sex);
    out.fill(3, 0);
    out.f32(0.7f);
    out.f32(100.0f);
    for (int i = 0; i < 4; ++i)
        out.f32(20.0f);
    out.f32(0.7f);
    out.f32(1.0f);
    out.f32(aggression); // 41
    out.f32(0.8f);
    for (int i = 0; i < 3; ++i)
        out.f32(1.0f);
    out.f32(0.8f);
    out.f32(weight); // 65
    out.f32(0.5f);
    out.u8(1);
    out.u8(1);
    out.fill(3, 0); // 75 ... 77
    if (!scriptAt78)
        out.u8(byte78); // 78: a control character moves the script to 79
    out.u32(static_cast<std::uint32_t>(script.size()));
    out.text(script);
    return out.take();
}

std::vector<std::uint8_t> thingData(float weight, std::int32_t sound)
{
    ByteWriter out;
    out.u8(2);
    out.u8(1);
    out.f32(1.0f);
    out.f32(1.0f);
    out.f32(weight); // 10
    out.f32(0.5f);
    out.f32(0.01f);
    out.i32(sound); // 22
    out.u8(1);
    out.i32(-1);
    return out.take();
}

CrateScene crateScene()
{
    SceneBuilder b;
    b.beginObjects();
    b.object({.name = "Crate", .type = 9, .translation = Floats3{1, 2, 3}});
    b.endObjects();
    b.beginDefinitions();
    b.definition({"Crate", 0x23, thingData(10, 1)});
    b.endDefinitions();
    CrateScene scene;
    scene.objectsStart = b.objectsStart;
    scene.bytes = b.finish();
    return scene;
}

std::vector<std::uint8_t> scriptedObjectData(const std::string& script)
{
    ByteWriter out;
    const std::uint8_t fixed[] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00};
    out.append(fixed);
    out.u32(static_cast<std::uint32_t>(script.size())); // 10
    out.text(script);
    return out.take();
}

} // namespace mw::build
