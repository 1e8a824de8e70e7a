#pragma once
// What the scene loader records for every entry of the "All" list: the 0-based offsets of every
// field the inspector shows or a later command patches, and where each name lies in the file. An
// offset of 0 means the field is absent, so nothing is ever written for it. Values and names are
// read from the file's bytes, which the catalogue keeps alive, only when asked for; the catalogue
// itself stays a small fraction of the file.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/geometry/Vec3.h"
#include "formats/scene/BlockTable.h"
#include "formats/scene/NameIndex.h"
#include "formats/scene/SceneChunks.h"
#include "foundation/bytes/SharedBytes.h"

namespace mw {

// Everything the inspector shows of one row, read from the file's bytes (see SceneCatalogue::entry).
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

// The stored form of a row: what every row needs, plus the row of its light, sound or definition
// values in the per-kind tables (NoRow when it has none).
struct SceneRecord {
    static constexpr std::uint32_t NoRow = 0xFFFFFFFFu;
    std::uint32_t NameOffset = 0, ModelOffset = 0, LinkOffset = 0;
    std::uint8_t nameLength = 0, modelLength = 0, linkLength = 0; // texts are at most 50 characters
    bool isScript = false;
    bool hasScript = false;
    std::uint32_t typeCode = typecode::None;
    std::uint32_t ObjectChunkOffset = 0;
    std::uint32_t TranslationOffset = 0, RotationOffset = 0, SizeOffset = 0;
    std::uint32_t DefinitionChunkOffset = 0, ScriptOffset = 0;
    std::uint32_t light = NoRow, sound = NoRow, values = NoRow;
};

struct LightRecord {
    std::uint32_t kind = 0;
    std::uint32_t ColourOffset = 0, PowerOffset = 0, RangeOffset = 0, DistanceOffset = 0;
};

struct SoundRecord {
    TextRef fileName;
    // Sound fields 1 and 2, and the pairs 3-4 and 5-6 (field 4 lies 4 bytes behind field 3).
    std::uint32_t KindOffset = 0, VolumeOffset = 0, Pair34Offset = 0, Pair56Offset = 0;
};

// What a definition with a data chunk adds to its object: the data chunk of a human or scripted
// object, and the values of a human or physical thing.
struct DefinitionValues {
    std::uint32_t DataChunkOffset = 0;
    std::uint32_t HumanBehaviourOffset = 0, AggressionOffset = 0, WeightOffset = 0, ThingSoundOffset = 0;
};

class SceneCatalogue {
public:
    BlockTable<SceneRecord> records; // one per row of "All": objects, then free-standing scripts
    BlockTable<LightRecord> lights;
    BlockTable<SoundRecord> sounds;
    BlockTable<DefinitionValues> definitionValues;

    // Row maps: the "All" row of each row of "Scripts" (check-marked) and of "Things" (the rest).
    std::vector<std::uint32_t> scriptRows;
    std::vector<std::uint32_t> plainRows;

    std::uint64_t SceneSize = 0;
    std::uint32_t ObjectsSize = 0;
    std::uint32_t ObjectsSizeOffset = 0;
    std::uint32_t DefsPos = 0;
    std::uint32_t ScriptsLengthPos = 0;
    std::uint32_t FirstScriptIndex = 0; // = the number of scene objects

    // The bytes every offset points into. Our own in-place writes keep offsets and lengths, so the
    // mission hands the catalogue the patched bytes after each one.
    SharedImage source;
    // The hash of each row's name (NameIndex::hashOf), for finding rows by name.
    std::vector<std::uint32_t> nameHashes;

    std::size_t entryCount() const { return records.size(); }
    bool empty() const { return records.empty(); }
    std::span<const std::uint8_t> bytes() const { return spanOf(source); }

    std::string_view name(std::size_t row) const
    {
        const SceneRecord& r = records[row];
        return textIn(bytes(), {r.NameOffset, r.nameLength});
    }
    std::string_view model(std::size_t row) const
    {
        const SceneRecord& r = records[row];
        return textIn(bytes(), {r.ModelOffset, r.modelLength});
    }
    // The name the row's link starts with.
    std::string_view link(std::size_t row) const
    {
        const SceneRecord& r = records[row];
        return textIn(bytes(), {r.LinkOffset, r.linkLength});
    }
    // Whether the row is a placed object (not a free-standing script, not past the rows).
    bool isObject(std::size_t row) const
    {
        return row < FirstScriptIndex && row < records.size() && !records[row].isScript;
    }
    // For each of `names` (with `hashes`, their NameIndex::hashOf), the first row bearing it, or
    // NameIndex::NotFound: one pass over the rows. `slots` is working memory, reusable.
    void findFirstRows(std::span<const std::string_view> names, std::span<const std::uint32_t> hashes,
                       std::vector<std::uint32_t>& rows, NameIndex& slots) const;
    std::vector<std::uint32_t> findFirstRows(std::span<const std::string_view> names) const;

    Vec3 translation(std::size_t row) const { return vec3At(records[row].TranslationOffset); }
    Vec3 size(std::size_t row) const { return vec3At(records[row].SizeOffset); }
    std::array<float, 4> rotation(std::size_t row) const;

    // Every value of the row, read from the bytes.
    SceneEntry entry(std::size_t row) const;

    // What the catalogue takes in memory beside the file's bytes.
    std::size_t memoryBytes() const;

private:
    Vec3 vec3At(std::uint32_t offset) const;
};

} // namespace mw
