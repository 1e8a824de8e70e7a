#pragma once
// Placing what the 3D view and the map show: scene objects, cached objects and model-file frames
// moved by an offset, or turned about the vertical axis, each written in place in its own file, all
// of them as one step of the history.
//
// A turn writes an object's heading as the inspector's first rotation slider does: the two
// components that slider drives (q1 and q3 of a scene object, q1 and q2 of a cached one) for the
// slider angle of the new heading, so that the inspector's views and the map's heading follow.
// Frames are moved, never turned (their rotation is not written anywhere in the editor).

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "commands/Outcome.h"

namespace mw {

class Prompter;

// What a placing command acts on, by list row.
struct PlacedItems {
    std::vector<std::uint32_t> scene, cache, frames;
    bool empty() const { return scene.empty() && cache.empty() && frames.empty(); }
    std::size_t size() const { return scene.size() + cache.size() + frames.size(); }
};

// One item's new place: its translation and, for a scene or cached object, the two heading
// components (see above).
struct NewPlace {
    MissionFile file = MissionFile::Scene;
    std::uint32_t row = 0;
    Vec3 translation;
    std::optional<std::array<float, 2>> heading;
};

// The items that can be placed (a scene object with a translation, a cached object that is not a
// base record, a frame), with the translation each has now.
std::vector<NewPlace> placesOf(const Mission& mission, const PlacedItems& items);

// The new places written, as the step `name`: every file is patched, or none is. Refused when
// there is nothing to write.
Outcome writePlaces(Mission& mission, const std::vector<NewPlace>& places, const std::string& name, Prompter& prompter);

// Every item moved by `offset`.
Outcome moveItems(Mission& mission, const PlacedItems& items, Vec3 offset, Prompter& prompter);
// The places that move writes (what a preview of it shows).
std::vector<NewPlace> movedPlaces(const Mission& mission, const PlacedItems& items, Vec3 offset);

// The items turned by `degrees` about the vertical axis (a positive turn takes +z towards +x, as the
// heading on the map turns): one item about itself, several about the centre of their translations.
Outcome turnItems(Mission& mission, const PlacedItems& items, double degrees, Prompter& prompter);
// The places that turn writes.
std::vector<NewPlace> turnedPlaces(const Mission& mission, const PlacedItems& items, double degrees);

// The four rotation floats an item holds once its new place is written: its own, with the two the
// heading replaces. Nothing for an item without a rotation of its own (a frame).
std::optional<std::array<float, 4>> rotationAfter(const Mission& mission, const NewPlace& place);

// The centre of the items' translations (what a turn of several turns about, and where the handles
// stand); translations not finite or beyond the world are passed over. Nothing without such items.
std::optional<Vec3> centreOf(const std::vector<NewPlace>& places);

// The translation and heading after a turn by `degrees` about `pivot`.
NewPlace turned(const Mission& mission, const NewPlace& place, Vec3 pivot, double degrees);

} // namespace mw
