#include "render/view3d/Highlight.h"

#include <cmath>
#include <numbers>

namespace mw {

namespace {

constexpr float OutlineGrowth = 1.03f; // the outline a little larger, so that its edges show around the item
constexpr int CircleSegments = 48;

Instance3D outlineOf(const Instance3D& item)
{
    Instance3D outline = item;
    for (std::size_t k = 0; k < 9; ++k)
        outline.columns[k] *= OutlineGrowth;
    return outline;
}

void addCircle(std::vector<Vec3>& lines, Vec3 centre, float radius)
{
    for (int k = 0; k < CircleSegments; ++k) {
        const float a = Tau * static_cast<float>(k) / CircleSegments, b = Tau * static_cast<float>(k + 1) / CircleSegments;
        lines.push_back(centre + Vec3{std::cos(a), 0, std::sin(a)} * radius);
        lines.push_back(centre + Vec3{std::cos(b), 0, std::sin(b)} * radius);
    }
}

// A light's reach: the second value of its distance, when it is one the view can draw.
std::optional<float> reachOf(const SceneCatalogue& catalogue, ItemRef item)
{
    if (item.layer != ViewLayer::Scene || item.row >= catalogue.entryCount() ||
        catalogue.records[item.row].typeCode != typecode::Light)
        return std::nullopt;
    const float reach = catalogue.entry(item.row).lightDistance[1];
    return reach > 0 && withinWorld(reach) ? std::optional<float>(reach) : std::nullopt;
}

} // namespace

Highlight3D highlightOf(const Scene3D& scene, std::span<const ItemRef> items, const SceneCatalogue& catalogue,
                        const InstanceLookup& drawnAt)
{
    Highlight3D highlight;
    for (const ItemRef& item : items) {
        const auto place = scene.find(item);
        const Instance3D* instance = drawnAt(item);
        if (!place || !instance)
            continue;
        highlight.items[static_cast<std::size_t>(meshOf(place->batch))].push_back(outlineOf(*instance));
        if (const auto reach = reachOf(catalogue, item))
            addCircle(highlight.lines, instance->column(3), *reach);
    }
    return highlight;
}

void addHover(Highlight3D& highlight, const Scene3D& scene, ItemRef item, const InstanceLookup& drawnAt)
{
    const auto place = scene.find(item);
    const Instance3D* instance = drawnAt(item);
    if (place && instance)
        highlight.hover[static_cast<std::size_t>(meshOf(place->batch))].push_back(outlineOf(*instance));
}

} // namespace mw
