#pragma once
// The codes a human's and a physical thing's definition hold, with the captions each view lists
// them by. The inspector and the insert dialog word two entries differently ("Afraid!" and
// "Afraid", "No sound!" and "No sound"); each keeps its own words, from this one table.

#include <cstdint>

namespace mw {

struct CodedCaption {
    std::int32_t code;           // what the definition holds, and what a save writes
    const char* inspectorCaption; // the Scene page
    const char* insertCaption;    // the insert dialog
};

// The behaviour byte of a human.
inline constexpr CodedCaption HumanBehaviours[] = {
    {0, "Duck", "Duck"},
    {2, "No reaction", "No reaction"},
    {4, "No reaction on weapon", "No reaction on weapon"},
    {8, "React when hit", "React when hit"},
    {16, "Reaction on Player", "Reaction on Player"},
    {32, "React on Attack", "React on Attack"},
    {64, "React on Attack 2", "React on Attack 2"},
    {128, "Afraid!", "Afraid"},
};

// The sound a physical thing makes: its code is its place in the list.
inline constexpr CodedCaption ThingSounds[] = {
    {0, "Lath 1", "Lath 1"}, {1, "Lath 2", "Lath 2"}, {2, "Barrel 1", "Barrel 1"},
    {3, "Barrel 2", "Barrel 2"}, {4, "Label", "Label"}, {5, "Box", "Box"},
    {6, "Wood", "Wood"}, {7, "Plate", "Plate"}, {8, "No sound!", "No sound"},
};

} // namespace mw
