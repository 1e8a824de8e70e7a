#pragma once
// What the map and the 3D view show, in layers: the scene objects, the cached objects, the
// collision bodies, the model file's frames and the route. Each layer stands for one mission file;
// an item of a layer is a row of that file's list (a route point's number for the route).

#include <array>
#include <cstdint>

#include "mission/MissionFile.h"

namespace mw {

enum class ViewLayer : std::uint8_t { Scene, Cache, Collision, Frames, Route };
inline constexpr std::size_t ViewLayerCount = 5;
inline constexpr ViewLayer AllViewLayers[] = {ViewLayer::Scene, ViewLayer::Cache, ViewLayer::Collision, ViewLayer::Frames,
                                           ViewLayer::Route};
// A switch for each layer (shown, locked), by ViewLayer.
using LayerSwitches = std::array<bool, ViewLayerCount>;

constexpr std::size_t indexOf(ViewLayer layer) { return static_cast<std::size_t>(layer); }

constexpr ViewLayer layerOf(MissionFile file)
{
    switch (file) {
    case MissionFile::Cache: return ViewLayer::Cache;
    case MissionFile::Model: return ViewLayer::Frames;
    case MissionFile::Tree: return ViewLayer::Collision;
    case MissionFile::Route: return ViewLayer::Route;
    case MissionFile::Scene: break;
    }
    return ViewLayer::Scene;
}

constexpr MissionFile fileOf(ViewLayer layer)
{
    switch (layer) {
    case ViewLayer::Cache: return MissionFile::Cache;
    case ViewLayer::Frames: return MissionFile::Model;
    case ViewLayer::Collision: return MissionFile::Tree;
    case ViewLayer::Route: return MissionFile::Route;
    case ViewLayer::Scene: break;
    }
    return MissionFile::Scene;
}

// One item the views draw: its layer and its row there.
struct ItemRef {
    ViewLayer layer = ViewLayer::Scene;
    std::uint32_t row = 0;
    bool operator==(const ItemRef&) const = default;
    auto operator<=>(const ItemRef&) const = default;
};

} // namespace mw
