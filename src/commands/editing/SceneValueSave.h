#pragma once
// Saving the values of the scene inspector back into scene2.bin: validation in a fixed order with
// the system's messages, conversion to 32-bit fields, and in-place writes at the offsets the loader
// recorded. Two stages: the transform (translation, rotation, size), then the values of the
// object's kind (light, human, physical thing, sound). A failed stage writes nothing of itself.

#include <array>
#include <optional>
#include <string>

#include "commands/Outcome.h"
#include "commands/editing/TransformCheck.h"
#include "formats/scene/SceneCatalogue.h"
#include "mission/Mission.h"

namespace mw {

class Mission;
class Prompter;

// The texts of the scene page's boxes, and the item data of its combos (nothing: no entry chosen).
struct SceneValueForm : TransformForm {
    std::string brightness;                   // Text32
    std::string red, green, blue;             // Text33, Text34, Text35 (0 ... 255)
    std::string distance1, distance2;         // Text56, Text57 ("Dist.")
    std::string range1, range2;               // Text58, Text59

    std::string sex, aggression, humanWeight; // Text36, Text37, Text38
    std::optional<int> behaviour;             // Combo3

    std::string thingWeight;                  // Text46
    std::optional<int> thingSound;            // Combo1

    std::string soundKind;                    // Text44
    std::string volume, soundField3, soundField4, soundField5, soundDistance; // Text43, 42, 41, 40, 39
};

// What a save of the scene's values wrote: the transform always, the values of the object's kind
// unless one of their checks failed (they are then still unsaved).
struct ValuesSaved {
    bool all = true;
};

// Validates and writes through the mission's patch path; every refusal is told through the
// prompter. On success the entry (one of the mission's catalogue) holds the saved values.
Result<ValuesSaved> saveSceneValues(const SceneValueForm& form, SceneEntry& entry, Mission& mission, Prompter& prompter);

} // namespace mw
