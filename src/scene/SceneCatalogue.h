#pragma once
// What the scene loader records for every entry of the "All" list: the values shown by the
// inspector and the 0-based offsets of every field a later command patches. An offset of 0 means
// the field is absent, so nothing is ever written for it.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "scene/SceneChunks.h"

namespace mw {

struct Vec3 {
    float x = 0, y = 0, z = 0;
    bool operator==(const Vec3&) const = default;
};

struct SceneEntry {
    std::string name;
    bool isScript = false;   // a free-standing script of the scripts section
    bool hasScript = false;  // check-marked: carries a script

    std::uint32_t ObjectChunkOffset = 0;
    std::uint32_t typeCode = typecode::None;
    std::string model;
    std::string linkName;

    std::uint32_t TranslationOffset = 0;
    Vec3 translation;
    std::uint32_t RotationOffset = 0;
    std::array<float, 4> rotation{}; // q1..q4 in file order
    std::uint32_t SizeOffset = 0;
    Vec3 size;
    bool noTranslation = true;
    bool noRotation = true;
    bool noSize = true;

    std::uint32_t lightKind = 0;
    std::uint32_t LightColourOffset = 0;
    std::array<float, 3> lightColour{0.5f, 0.5f, 0.5f};
    std::uint32_t LightPowerOffset = 0;
    float lightPower = 2.0f;
    std::uint32_t LightRangeOffset = 0;
    std::array<float, 2> lightRange{};
    std::uint32_t LightDistanceOffset = 0;
    std::array<float, 2> lightDistance{};

    std::string soundFileName;
    // Sound fields 1..6 (index 0 unused): field 1 is the integer kind, 2..6 are floats.
    std::array<std::uint32_t, 7> SoundFieldOffset{};
    std::int32_t soundKind = 0;
    std::array<float, 7> soundField{};

    std::uint32_t DefinitionChunkOffset = 0;
    std::uint32_t DataChunkOffset = 0;
    std::uint32_t ScriptOffset = 0;

    std::uint32_t HumanBehaviourOffset = 0;
    std::uint8_t behaviour = 0;
    std::uint8_t sex = 0;
    std::uint32_t AggressionOffset = 0;
    float aggression = 0;
    std::uint32_t WeightOffset = 0;
    float weight = 0;
    std::uint32_t ThingSoundOffset = 0;
    std::uint8_t thingSound = 0;
};

struct SceneCatalogue {
    std::vector<SceneEntry> entries; // one per row of "All": objects, then free-standing scripts

    // Row maps: the "All" row of each row of "Scripts" (check-marked) and of "Things" (the rest).
    std::vector<std::uint32_t> scriptRows;
    std::vector<std::uint32_t> plainRows;

    std::uint64_t SceneSize = 0;
    std::uint32_t ObjectsSize = 0;
    std::uint32_t ObjectsSizeOffset = 0;
    std::uint32_t DefsPos = 0;
    std::uint32_t ScriptsLengthPos = 0;
    std::uint32_t FirstScriptIndex = 0; // = the number of scene objects

    std::size_t entryCount() const { return entries.size(); }
};

} // namespace mw
