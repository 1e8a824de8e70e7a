#pragma once
// What a drag in the 3D view shows before it is let go: the items it moves drawn at the places the
// placing command will write (the command's own places and rotations, through the scene's own
// instance function), without copying the scene: the moved items are passed over where they stand
// and drawn where they would go.

#include <optional>
#include <utility>
#include <vector>

#include "commands/placing/Placing.h"
#include "render/view3d/FrameCulling.h"
#include "render/view3d/Scene3D.h"

namespace mw {

class PlacingPreview {
public:
    // The places drawn instead of where the scene holds them, over what `base` leaves out already.
    void show(const Mission& mission, const Scene3D& scene, const Scene3DSource& source, const std::vector<NewPlace>& places,
              const DrawOverrides& base);
    void clear();
    bool active() const { return m_active; }
    const DrawOverrides& overrides() const { return m_overrides; }
    // Where an item is drawn while the preview shows it elsewhere; nothing for one it does not move.
    const Instance3D* movedInstance(ItemRef item) const;

private:
    bool m_active = false;
    DrawOverrides m_overrides;
    std::vector<std::pair<ItemRef, Instance3D>> m_moved;
};

} // namespace mw
