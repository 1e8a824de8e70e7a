#include "ui/view3d/PlacingPreview.h"

#include <algorithm>

#include "mission/Mission.h"

namespace mw {

namespace {

// No rotation, in the scene's layout (y, z, w, x): what an item without one is drawn with.
constexpr std::array<float, 4> NoTurn{0, 0, 1, 0};

} // namespace

void PlacingPreview::show(const Mission& mission, const Scene3D& scene, const Scene3DSource& source,
                          const std::vector<NewPlace>& places, const DrawOverrides& base)
{
    clear();
    m_active = true;
    m_overrides = base;
    for (const NewPlace& p : places) {
        const ItemRef item{layerOf(p.file), p.row};
        const auto place = scene.find(item);
        if (!place)
            continue;
        m_overrides.skip(*place, scene.batch(place->batch).instances.size());
        const auto moved = placedInstance(source, item, p.translation, rotationAfter(mission, p).value_or(NoTurn));
        if (!moved)
            continue; // moved beyond the world: not drawn
        m_overrides.added[static_cast<std::size_t>(moved->batch)].push_back(moved->instance);
        m_moved.emplace_back(item, moved->instance);
    }
    std::sort(m_moved.begin(), m_moved.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
}

void PlacingPreview::clear()
{
    m_active = false;
    m_overrides = {};
    m_moved.clear();
}

const Instance3D* PlacingPreview::movedInstance(ItemRef item) const
{
    const auto it = std::lower_bound(m_moved.begin(), m_moved.end(), item, [](const auto& a, ItemRef b) { return a.first < b; });
    return it != m_moved.end() && it->first == item ? &it->second : nullptr;
}

} // namespace mw
