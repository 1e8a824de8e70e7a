#pragma once
// Chunk identifiers and codes of scene2.bin. A chunk is a u16 identifier, a u32 size that includes
// the 6-byte header, and its payload.

#include <cstdint>

namespace mw::chunk {

inline constexpr std::uint32_t HeaderSize = 6;

// How deep chunks may nest, the file's top-level chunks counting as level 1. The game's files nest
// a few levels (section, object, light, a nested light header); a deeper tree is taken as damaged,
// so that no walk over a crafted file grows with its nesting.
inline constexpr int MaxDepth = 64;

// A chunk as a walk meets it: where it starts, its identifier and its size (the header included).
struct Span {
    std::uint32_t start = 0;
    std::uint16_t id = 0;
    std::uint32_t size = 0;
    std::uint32_t payload() const { return start + HeaderSize; }
    std::uint32_t end() const { return start + size; }
    std::uint32_t payloadSize() const { return size - HeaderSize; }
};

inline constexpr std::uint16_t SceneHeader = 0x4C53; // "SL"

// Top-level records before the objects section that are skipped silently.
inline constexpr std::uint16_t HeaderRecords[] = {0x0001, 0xAFFF, 0x3200, 0x3010, 0x3011, 0x3211};

inline constexpr std::uint16_t ObjectsSection = 0x4000;
inline constexpr std::uint16_t Object = 0x4010;
inline constexpr std::uint16_t ObjectName = 0x0010;
inline constexpr std::uint16_t ObjectType = 0x4011;
inline constexpr std::uint16_t Translation = 0x0020;
inline constexpr std::uint16_t Rotation = 0x0022;
inline constexpr std::uint16_t Size = 0x002D;
inline constexpr std::uint16_t Model = 0x2012;
inline constexpr std::uint16_t Link = 0x4020;
inline constexpr std::uint16_t Light = 0x4040;
inline constexpr std::uint16_t Sound = 0x4060;

inline constexpr std::uint16_t LightKind = 0x4041;
inline constexpr std::uint16_t LightColour = 0x0026;
inline constexpr std::uint16_t LightPower = 0x4042;
inline constexpr std::uint16_t LightRange = 0x4043;
inline constexpr std::uint16_t LightDistance = 0x4044;

inline constexpr std::uint16_t SoundName = 0x0010;
inline constexpr std::uint16_t SoundKind = 0x4061;   // sound field 1
inline constexpr std::uint16_t SoundVolume = 0x4062; // sound field 2
inline constexpr std::uint16_t SoundPair34 = 0x4064; // sound fields 3 and 4
inline constexpr std::uint16_t SoundPair56 = 0x4068; // sound fields 5 and 6 (6: distance)

inline constexpr std::uint16_t DefinitionsSection = 0xAE20;
inline constexpr std::uint16_t Definition = 0xAE21;
inline constexpr std::uint16_t DefinitionType = 0xAE22;
inline constexpr std::uint16_t DefinitionName = 0xAE23;
inline constexpr std::uint16_t DefinitionData = 0xAE24;

inline constexpr std::uint16_t ScriptsSection = 0xAE50;
inline constexpr std::uint16_t Script = 0xAE51;

} // namespace mw::chunk

namespace mw::typecode {

// Object type codes (chunk 0x4011), and the codes that definitions give their owners.
inline constexpr std::uint32_t Light = 0x02;
inline constexpr std::uint32_t Sound = 0x04;
inline constexpr std::uint32_t Car = 0x04;
inline constexpr std::uint32_t ScriptedObject = 0x05;
inline constexpr std::uint32_t Door = 0x06;
inline constexpr std::uint32_t Human = 0x1B;
inline constexpr std::uint32_t PhysicalThing = 0x23;
inline constexpr std::uint32_t Tommy = 0x37;
inline constexpr std::uint32_t None = 0xFF; // no type chunk

} // namespace mw::typecode
