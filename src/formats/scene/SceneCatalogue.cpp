#include "formats/scene/SceneCatalogue.h"

#include <bit>

#include "foundation/bytes/ByteReader.h"

namespace mw {

namespace {

// The loader checked every recorded field against the same bytes, so these reads stay inside; a
// field that does not (never expected) reads as 0.
std::uint32_t u32At(std::span<const std::uint8_t> bytes, std::uint64_t offset)
{
    const ByteReader r(bytes);
    return r.has(offset, 4) ? r.u32(offset) : 0;
}

float f32At(std::span<const std::uint8_t> bytes, std::uint64_t offset)
{
    return std::bit_cast<float>(u32At(bytes, offset));
}

std::uint8_t u8At(std::span<const std::uint8_t> bytes, std::uint64_t offset)
{
    return offset < bytes.size() ? bytes[offset] : 0;
}

} // namespace

Vec3 SceneCatalogue::vec3At(std::uint32_t offset) const
{
    if (offset == 0)
        return {};
    const auto b = bytes();
    return {f32At(b, offset), f32At(b, offset + 4ull), f32At(b, offset + 8ull)};
}

std::array<float, 4> SceneCatalogue::rotation(std::size_t row) const
{
    const std::uint32_t at = records[row].RotationOffset;
    if (at == 0)
        return {};
    const auto b = bytes();
    return {f32At(b, at), f32At(b, at + 4ull), f32At(b, at + 8ull), f32At(b, at + 12ull)};
}

SceneEntry SceneCatalogue::entry(std::size_t row) const
{
    const auto b = bytes();
    const SceneRecord& r = records.at(row);
    SceneEntry e;
    e.name = name(row);
    e.isScript = r.isScript;
    e.hasScript = r.hasScript;
    e.ObjectChunkOffset = r.ObjectChunkOffset;
    e.typeCode = r.typeCode;
    e.model = model(row);
    e.linkName = textIn(b, {r.LinkOffset, r.linkLength});

    e.TranslationOffset = r.TranslationOffset;
    e.translation = translation(row);
    e.noTranslation = r.TranslationOffset == 0;
    e.RotationOffset = r.RotationOffset;
    e.rotation = rotation(row);
    e.noRotation = r.RotationOffset == 0;
    e.SizeOffset = r.SizeOffset;
    e.size = size(row);
    e.noSize = r.SizeOffset == 0;

    if (r.light != SceneRecord::NoRow) {
        const LightRecord& l = lights[r.light];
        e.lightKind = l.kind;
        e.LightColourOffset = l.ColourOffset;
        if (l.ColourOffset)
            e.lightColour = {f32At(b, l.ColourOffset), f32At(b, l.ColourOffset + 4ull), f32At(b, l.ColourOffset + 8ull)};
        e.LightPowerOffset = l.PowerOffset;
        if (l.PowerOffset)
            e.lightPower = f32At(b, l.PowerOffset);
        e.LightRangeOffset = l.RangeOffset;
        if (l.RangeOffset)
            e.lightRange = {f32At(b, l.RangeOffset), f32At(b, l.RangeOffset + 4ull)};
        e.LightDistanceOffset = l.DistanceOffset;
        if (l.DistanceOffset)
            e.lightDistance = {f32At(b, l.DistanceOffset), f32At(b, l.DistanceOffset + 4ull)};
    }
    if (r.sound != SceneRecord::NoRow) {
        const SoundRecord& s = sounds[r.sound];
        e.soundFileName = textIn(b, s.fileName);
        e.SoundFieldOffset[1] = s.KindOffset;
        e.SoundFieldOffset[2] = s.VolumeOffset;
        if (s.Pair34Offset)
            e.SoundFieldOffset[3] = s.Pair34Offset, e.SoundFieldOffset[4] = s.Pair34Offset + 4;
        if (s.Pair56Offset)
            e.SoundFieldOffset[5] = s.Pair56Offset, e.SoundFieldOffset[6] = s.Pair56Offset + 4;
        if (s.KindOffset)
            e.soundKind = static_cast<std::int32_t>(u32At(b, s.KindOffset));
        for (int k = 2; k <= 6; ++k)
            if (e.SoundFieldOffset[k])
                e.soundField[k] = f32At(b, e.SoundFieldOffset[k]);
    }

    e.DefinitionChunkOffset = r.DefinitionChunkOffset;
    e.ScriptOffset = r.ScriptOffset;
    if (r.values != SceneRecord::NoRow) {
        const DefinitionValues& v = definitionValues[r.values];
        e.DataChunkOffset = v.DataChunkOffset;
        e.HumanBehaviourOffset = v.HumanBehaviourOffset;
        e.AggressionOffset = v.AggressionOffset;
        e.WeightOffset = v.WeightOffset;
        e.ThingSoundOffset = v.ThingSoundOffset;
        if (v.HumanBehaviourOffset) {
            e.behaviour = u8At(b, v.HumanBehaviourOffset);
            e.sex = u8At(b, v.HumanBehaviourOffset + 4ull); // four bytes behind the behaviour
        }
        if (v.AggressionOffset)
            e.aggression = f32At(b, v.AggressionOffset);
        if (v.WeightOffset)
            e.weight = f32At(b, v.WeightOffset);
        if (v.ThingSoundOffset)
            e.thingSound = u8At(b, v.ThingSoundOffset);
    }
    return e;
}

void SceneCatalogue::findFirstRows(std::span<const std::string_view> names, std::span<const std::uint32_t> hashes,
                                   std::vector<std::uint32_t>& rows, NameIndex& slots) const
{
    // Equal names share one slot, so the first row bearing a name is given to each of them.
    rows.assign(names.size(), NameIndex::NotFound);
    std::vector<std::uint32_t> sameAs(names.size());
    slots.reset(names.size());
    std::size_t distinct = 0;
    for (std::uint32_t i = 0; i < names.size(); ++i) {
        const std::uint32_t earlier = slots.find(hashes[i], [&](std::uint32_t k) { return NameIndex::same(names[k], names[i]); });
        sameAs[i] = earlier == NameIndex::NotFound ? i : earlier;
        if (earlier == NameIndex::NotFound) {
            slots.insert(hashes[i], i);
            ++distinct;
        }
    }
    // Rows in order; the pass ends when every name has its row. The slots a few rows ahead are
    // fetched while a row is looked up.
    constexpr std::size_t Ahead = 16;
    const std::size_t count = records.size();
    for (std::size_t row = 0; row < count && distinct > 0; ++row) {
        if (row + Ahead < count)
            slots.prefetch(nameHashes[row + Ahead]);
        const std::uint32_t k = slots.find(nameHashes[row], [&](std::uint32_t key) {
            return rows[key] == NameIndex::NotFound && NameIndex::same(names[key], name(row));
        });
        if (k != NameIndex::NotFound) {
            rows[k] = static_cast<std::uint32_t>(row);
            --distinct;
        }
    }
    for (std::size_t i = 0; i < names.size(); ++i)
        rows[i] = rows[sameAs[i]];
}

std::vector<std::uint32_t> SceneCatalogue::findFirstRows(std::span<const std::string_view> names) const
{
    std::vector<std::uint32_t> hashes(names.size()), rows;
    for (std::size_t i = 0; i < names.size(); ++i)
        hashes[i] = NameIndex::hashOf(names[i]);
    NameIndex slots;
    findFirstRows(names, hashes, rows, slots);
    return rows;
}

std::size_t SceneCatalogue::memoryBytes() const
{
    return sizeof(*this) + records.memoryBytes() + lights.memoryBytes() + sounds.memoryBytes() +
           definitionValues.memoryBytes() +
           (scriptRows.capacity() + plainRows.capacity() + nameHashes.capacity()) * sizeof(std::uint32_t);
}

} // namespace mw
