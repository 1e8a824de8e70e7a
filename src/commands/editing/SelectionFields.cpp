#include "commands/editing/SelectionFields.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "commands/editing/Rotation.h"
#include "foundation/bytes/ByteReader.h"
#include "foundation/text/NumericText.h"
#include "mission/Mission.h"

namespace mw {

namespace {

constexpr FieldInfo Fields[] = {
    {Field::TranslationX, "x", "Translation X", FieldOwner::Any, false},
    {Field::TranslationY, "y", "Translation Y", FieldOwner::Any, false},
    {Field::TranslationZ, "z", "Translation Z", FieldOwner::Any, false},
    {Field::SizeX, "sizeX", "Size X", FieldOwner::Any, false},
    {Field::SizeY, "sizeY", "Size Y", FieldOwner::Any, false},
    {Field::SizeZ, "sizeZ", "Size Z", FieldOwner::Any, false},
    {Field::Heading, "heading", "Heading", FieldOwner::Any, false},
    {Field::LightRed, "red", "Red", FieldOwner::Light, false},
    {Field::LightGreen, "green", "Green", FieldOwner::Light, false},
    {Field::LightBlue, "blue", "Blue", FieldOwner::Light, false},
    {Field::LightBrightness, "brightness", "Brightness", FieldOwner::Light, false},
    {Field::LightCone, "cone", "Cone", FieldOwner::Light, false},
    {Field::LightRange1, "range1", "Range 1", FieldOwner::Light, false},
    {Field::LightRange2, "range2", "Range 2", FieldOwner::Light, false},
    {Field::SoundKind, "soundKind", "Sound kind", FieldOwner::Sound, false},
    {Field::SoundVolume, "volume", "Volume", FieldOwner::Sound, false},
    {Field::SoundField3, "sound3", "Sound 3", FieldOwner::Sound, false},
    {Field::SoundField4, "sound4", "Sound 4", FieldOwner::Sound, false},
    {Field::SoundField5, "sound5", "Sound 5", FieldOwner::Sound, false},
    {Field::SoundDistance, "distance", "Distance", FieldOwner::Sound, false},
    {Field::HumanBehaviour, "behaviour", "Behaviour", FieldOwner::Human, true},
    {Field::HumanAggression, "aggression", "Aggression", FieldOwner::Human, false},
    {Field::HumanWeight, "humanWeight", "Weight", FieldOwner::Human, false},
    {Field::ThingWeight, "thingWeight", "Weight", FieldOwner::Thing, false},
    {Field::ThingSound, "thingSound", "Sound", FieldOwner::Thing, true},
};

// infoOf() finds a field's entry by its number.
constexpr bool inFieldOrder()
{
    for (std::size_t k = 0; k < std::size(Fields); ++k)
        if (static_cast<std::size_t>(Fields[k].field) != k)
            return false;
    return std::size(Fields) == FieldCount;
}
static_assert(inFieldOrder());

std::optional<FieldOwner> ownerOfType(std::uint32_t typeCode)
{
    switch (typeCode) {
    case typecode::Light: return FieldOwner::Light;
    case typecode::Sound: return FieldOwner::Sound;
    case typecode::Human: return FieldOwner::Human;
    case typecode::PhysicalThing: return FieldOwner::Thing;
    default: return std::nullopt;
    }
}

std::optional<FieldSlot> slotAt(std::uint64_t offset, std::uint64_t plus, std::uint8_t width = 4)
{
    if (offset == 0)
        return std::nullopt;
    return FieldSlot{offset + plus, width};
}

std::optional<FieldSlot> lightSlot(const SceneCatalogue& c, const SceneRecord& r, Field field)
{
    if (r.light == SceneRecord::NoRow)
        return std::nullopt;
    const LightRecord& l = c.lights[r.light];
    switch (field) {
    case Field::LightRed: return slotAt(l.ColourOffset, 0);
    case Field::LightGreen: return slotAt(l.ColourOffset, 4);
    case Field::LightBlue: return slotAt(l.ColourOffset, 8);
    case Field::LightBrightness: return slotAt(l.PowerOffset, 0);
    case Field::LightCone: return slotAt(l.DistanceOffset, 4); // the cone's second value, the one saved
    case Field::LightRange1: return slotAt(l.RangeOffset, 0);
    case Field::LightRange2: return slotAt(l.RangeOffset, 4);
    default: return std::nullopt;
    }
}

std::optional<FieldSlot> soundSlot(const SceneCatalogue& c, const SceneRecord& r, Field field)
{
    // Without the kind (field 1) the inspector saves none of a sound's values.
    if (r.sound == SceneRecord::NoRow || c.sounds[r.sound].KindOffset == 0)
        return std::nullopt;
    const SoundRecord& s = c.sounds[r.sound];
    switch (field) {
    case Field::SoundKind: return slotAt(s.KindOffset, 0);
    case Field::SoundVolume: return slotAt(s.VolumeOffset, 0);
    case Field::SoundField3: return slotAt(s.Pair34Offset, 0);
    case Field::SoundField4: return slotAt(s.Pair34Offset, 4);
    case Field::SoundField5: return slotAt(s.Pair56Offset, 0);
    case Field::SoundDistance: return slotAt(s.Pair56Offset, 4);
    default: return std::nullopt;
    }
}

std::optional<FieldSlot> definitionSlot(const SceneCatalogue& c, const SceneRecord& r, Field field)
{
    if (r.values == SceneRecord::NoRow)
        return std::nullopt;
    const DefinitionValues& v = c.definitionValues[r.values];
    switch (field) {
    case Field::HumanBehaviour: return slotAt(v.HumanBehaviourOffset, 0, 1);
    case Field::HumanAggression: return slotAt(v.AggressionOffset, 0);
    case Field::HumanWeight:
    case Field::ThingWeight: return slotAt(v.WeightOffset, 0);
    case Field::ThingSound: return slotAt(v.ThingSoundOffset, 0);
    default: return std::nullopt;
    }
}

std::optional<FieldSlot> sceneSlot(const SceneCatalogue& c, std::uint32_t row, Field field)
{
    if (!c.isObject(row))
        return std::nullopt;
    const SceneRecord& r = c.records[row];
    const FieldOwner owner = infoOf(field).owner;
    if (owner != FieldOwner::Any && ownerOfType(r.typeCode) != owner)
        return std::nullopt;
    const auto index = static_cast<std::uint64_t>(field);
    switch (owner) {
    case FieldOwner::Any:
        if (field == Field::Heading) {
            auto slot = slotAt(r.RotationOffset, 0);
            if (slot)
                slot->second = slot->at + 8; // q1 and q3
            return slot;
        }
        if (field <= Field::TranslationZ)
            return slotAt(r.TranslationOffset, 4 * (index - static_cast<std::uint64_t>(Field::TranslationX)));
        return slotAt(r.SizeOffset, 4 * (index - static_cast<std::uint64_t>(Field::SizeX)));
    case FieldOwner::Light: return lightSlot(c, r, field);
    case FieldOwner::Sound: return soundSlot(c, r, field);
    case FieldOwner::Human:
    case FieldOwner::Thing: return definitionSlot(c, r, field);
    }
    return std::nullopt;
}

// A cached object's record: translation at +0, rotation at +12, size at +44.
std::optional<FieldSlot> cacheSlot(const CacheLoadResult& cache, std::uint32_t row, Field field)
{
    if (row >= cache.records.size() || infoOf(field).owner != FieldOwner::Any)
        return std::nullopt;
    const std::uint64_t at = cache.records[row].TranslationOffset;
    const auto index = static_cast<std::uint64_t>(field);
    if (field == Field::Heading) {
        auto slot = slotAt(at, 12);
        if (slot)
            slot->second = slot->at + 4; // q1 and q2
        return slot;
    }
    if (field <= Field::TranslationZ)
        return slotAt(at, 4 * (index - static_cast<std::uint64_t>(Field::TranslationX)));
    return slotAt(at, 44 + 4 * (index - static_cast<std::uint64_t>(Field::SizeX)));
}

double headingShown(float q1, float other)
{
    double angle = std::fmod(firstSliderAngleOf(q1, other), 180.0);
    if (angle < 0)
        angle += 180.0;
    angle = std::round(angle * 1e4) / 1e4;
    return angle >= 180.0 ? 0.0 : angle;
}

bool isColour(Field field) { return field >= Field::LightRed && field <= Field::LightBlue; }

double sceneValue(const SceneCatalogue& c, const FieldSlot& slot, Field field)
{
    const ByteReader r(c.bytes());
    const auto f32 = [&r](std::uint64_t at) { return r.has(at, 4) ? r.f32(at) : 0.0f; };
    if (field == Field::Heading)
        return headingShown(f32(slot.at), f32(slot.second));
    if (slot.width == 1)
        return r.has(slot.at, 1) ? r.u8(slot.at) : 0;
    if (field == Field::SoundKind)
        return r.has(slot.at, 4) ? r.i32(slot.at) : 0;
    if (field == Field::ThingSound) // written as 32 bits, read as the inspector reads it: its first byte
        return r.has(slot.at, 1) ? r.u8(slot.at) : 0;
    if (isColour(field))
        return f32(slot.at) * 255.0f; // the box shows the channel times 255, as a float
    return f32(slot.at);
}

double cacheValue(const CacheRecord& r, Field field)
{
    switch (field) {
    case Field::TranslationX: return r.position.x;
    case Field::TranslationY: return r.position.y;
    case Field::TranslationZ: return r.position.z;
    case Field::SizeX: return r.size.x;
    case Field::SizeY: return r.size.y;
    case Field::SizeZ: return r.size.z;
    case Field::Heading: return headingShown(r.rotation[0], r.rotation[1]);
    default: return 0;
    }
}

} // namespace

std::span<const FieldInfo> allFields() { return Fields; }

const FieldInfo& infoOf(Field field) { return Fields[static_cast<std::size_t>(field)]; }

std::optional<Field> fieldNamed(std::string_view name)
{
    for (const FieldInfo& info : Fields)
        if (name == info.name)
            return info.field;
    return std::nullopt;
}

std::vector<FieldItem> fieldItemsOf(const PlacedItems& items)
{
    std::vector<FieldItem> out;
    out.reserve(items.scene.size() + items.cache.size());
    for (const std::uint32_t row : items.scene)
        out.push_back({MissionFile::Scene, row});
    for (const std::uint32_t row : items.cache)
        out.push_back({MissionFile::Cache, row});
    return out;
}

std::optional<FieldSlot> fieldSlot(const Mission& mission, FieldItem item, Field field)
{
    if (item.file == MissionFile::Scene && mission.isLoaded(MissionFile::Scene))
        return sceneSlot(mission.sceneCatalogue(), item.row, field);
    if (item.file == MissionFile::Cache && mission.isLoaded(MissionFile::Cache))
        return cacheSlot(mission.cache(), item.row, field);
    return std::nullopt;
}

std::optional<double> fieldValue(const Mission& mission, FieldItem item, Field field)
{
    const auto slot = fieldSlot(mission, item, field);
    if (!slot)
        return std::nullopt;
    if (item.file == MissionFile::Cache)
        return cacheValue(mission.cache().records[item.row], field);
    return sceneValue(mission.sceneCatalogue(), *slot, field);
}

std::vector<FieldSummary> summariseFields(const Mission& mission, std::span<const FieldItem> items)
{
    std::vector<FieldSummary> out;
    if (items.empty())
        return out;
    for (const FieldInfo& info : Fields) {
        FieldSummary summary{info.field, 0, 0};
        bool everyone = true, first = true;
        for (const FieldItem& item : items) {
            const auto value = fieldValue(mission, item, info.field);
            if (!value) {
                everyone = false;
                break;
            }
            summary.low = first ? *value : std::min(summary.low, *value);
            summary.high = first ? *value : std::max(summary.high, *value);
            first = false;
        }
        if (everyone)
            out.push_back(summary);
    }
    return out;
}

std::string fieldText(Field field, double value)
{
    if (infoOf(field).coded || field == Field::SoundKind || field == Field::Heading)
        return formatDouble(value);
    return formatFloat(static_cast<float>(value));
}

std::string mixedText(const FieldSummary& summary)
{
    if (infoOf(summary.field).coded)
        return "(mixed: several)";
    return "(mixed: " + fieldText(summary.field, summary.low) + " \u2026 " + fieldText(summary.field, summary.high) + ")";
}

} // namespace mw
