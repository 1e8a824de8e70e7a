#pragma once
// The objects a race circuit needs in a scene: the start points, the edge markers TrackPoint1A ...
// TrackPoint109B, the route nodes TR0 ... TR551 and the cameras race_cam1 ... race_cam19, each a name
// chunk directly followed by its translation.

#include <string>

#include "support/SceneBuilder.h"

namespace mw::build {

// The right (A) and left (B) edge of cross-section r (0: the start points).
inline Floats3 circuitEdge(int r, char side)
{
    const float z = 10.0f * static_cast<float>(r);
    return side == 'A' ? Floats3{20.0f + static_cast<float>(r % 7), 0.5f, z}
                       : Floats3{4.0f + static_cast<float>(r % 5), 1.5f, z + 1.0f};
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
