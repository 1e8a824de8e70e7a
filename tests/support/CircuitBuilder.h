#pragma once
// The objects a race circuit needs in a scene: the start points, the edge markers TrackPoint1A ...
// TrackPoint109B, the route nodes TR0 ... TR551 and the cameras race_cam1 ... race_cam19, each a name
// chunk directly followed by its translation.

#include <cmath>
#include <string>

#include "support/SceneBuilder.h"

namespace mw::build {

// The right (A) and left (B) edge of cross-section r (0: the start points): a road 20 units wide
// round a circle about (400, 400), where every coordinate is positive.
inline Floats3 circuitEdge(int r, char side)
{
    const double angle = 2 * 3.14159265358979 * r / 110;
    const double radius = side == 'A' ? 160 : 140;
    return {static_cast<float>(400 + radius * std::cos(angle)), side == 'A' ? 0.5f : 1.5f,
            static_cast<float>(400 + radius * std::sin(angle))};
}

// Adds the circuit's objects to an open objects section; `skip` names one object to leave out.
inline void addCircuit(SceneBuilder& b, const std::string& skip = "")
{
    auto add = [&](const std::string& name, Floats3 at) {
        if (name != skip)
            b.object({.name = name, .translation = at});
    };
    add("StartPointA", circuitEdge(0, 'A'));
    add("StartPointB", circuitEdge(0, 'B'));
    for (int r = 1; r <= 109; ++r) {
        add("TrackPoint" + std::to_string(r) + "A", circuitEdge(r, 'A'));
        add("TrackPoint" + std::to_string(r) + "B", circuitEdge(r, 'B'));
    }
    for (int n = 0; n < 552; ++n)
        add("TR" + std::to_string(n), Floats3{0, -1, 0});
    for (int k = 1; k <= 19; ++k)
        add("race_cam" + std::to_string(k), Floats3{0, -2, 0});
}

} // namespace mw::build
