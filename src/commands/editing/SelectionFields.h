#pragma once
// The fields one edit can set across many selected objects at once: the transform every scene and
// cached object has (translation, size, heading) and the values of one kind of scene object (a
// light's, a sound's, a human's, a physical thing's). Each field is a fixed-width value at an offset
// the readers recorded; an object that lacks the offset lacks the field. Values are shown as the
// inspector shows them: a colour channel as 0 ... 255, a heading as the first rotation slider's
// angle.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "commands/placing/Placing.h"

namespace mw {

class Mission;

enum class Field : std::uint8_t {
    TranslationX, TranslationY, TranslationZ,
    SizeX, SizeY, SizeZ,
    Heading,
    LightRed, LightGreen, LightBlue, LightBrightness, LightCone, LightRange1, LightRange2,
    SoundKind, SoundVolume, SoundField3, SoundField4, SoundField5, SoundDistance,
    HumanBehaviour, HumanAggression, HumanWeight,
    ThingWeight, ThingSound,
};
inline constexpr std::size_t FieldCount = static_cast<std::size_t>(Field::ThingSound) + 1;

// Which objects carry a field: every scene and cached object with a transform, or the scene
// objects of one kind.
enum class FieldOwner : std::uint8_t { Any, Light, Sound, Human, Thing };

struct FieldInfo {
    Field field;
    const char* name;   // how scripts and the step's name call it ("brightness")
    const char* caption; // the dock's label
    FieldOwner owner;
    bool coded;          // one of a list of codes (a combo), not a number
};

// Every field, in the order the inspector groups them.
std::span<const FieldInfo> allFields();
const FieldInfo& infoOf(Field field);
// The field a script names ("translation.x" or "x", "brightness", ...).
std::optional<Field> fieldNamed(std::string_view name);

// One selected object: a scene row or a cache row.
struct FieldItem {
    MissionFile file = MissionFile::Scene;
    std::uint32_t row = 0;
};
std::vector<FieldItem> fieldItemsOf(const PlacedItems& items);

// Where an object keeps a field: `width` bytes (4, or 1 for a human's behaviour) at `at` of its
// file; a heading is two floats, the second at `second`.
struct FieldSlot {
    std::uint64_t at = 0;
    std::uint8_t width = 4;
    std::uint64_t second = 0;
};
std::optional<FieldSlot> fieldSlot(const Mission& mission, FieldItem item, Field field);

// The value of `field` that `item` holds now, as the inspector shows it; nothing when the item does
// not have the field.
std::optional<double> fieldValue(const Mission& mission, FieldItem item, Field field);

// What one field holds across the selection: the smallest and largest value.
struct FieldSummary {
    Field field;
    double low = 0, high = 0;
    bool mixed() const { return low != high; }
};

// The fields every one of `items` has, with their values, in the order of allFields(). The kind's
// fields only when all the items are scene objects of that kind.
std::vector<FieldSummary> summariseFields(const Mission& mission, std::span<const FieldItem> items);

// A value as its box shows it, and the placeholder of a box whose values differ:
// "(mixed: 0.5 … 2)", or "(mixed: several)" for a list.
std::string fieldText(Field field, double value);
std::string mixedText(const FieldSummary& summary);

} // namespace mw
