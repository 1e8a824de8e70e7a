#pragma once
// The layers the map and the 3D view show: scene objects, cached objects, collision bodies, model
// frames and the route. One set, so that a switch in either dock hides the layer in both; beside
// each switch a lock: a locked layer is drawn but never picked, dragged or banded in either view
// (modders lock the collision bodies while they place objects among them).

#include <QObject>

#include "render/common/Layers.h"

class QBoxLayout;

namespace mw {

class ViewLayers final : public QObject {
    Q_OBJECT
public:
    const LayerSwitches& shown() const { return m_shown; }
    bool shown(ViewLayer layer) const { return m_shown[indexOf(layer)]; }
    void setShown(ViewLayer layer, bool shown);
    const LayerSwitches& locked() const { return m_locked; }
    bool locked(ViewLayer layer) const { return m_locked[indexOf(layer)]; }
    void setLocked(ViewLayer layer, bool locked);
    // The layers a click, a drag or a band can reach: shown and not locked.
    LayerSwitches pickable() const;
    // Adds a check box per layer to `row`, named `prefix` + the layer's number, and beside it a lock
    // button named `lockPrefix` + the number, kept in step with the set.
    void addSwitches(QBoxLayout* row, const char* prefix, const char* lockPrefix);

signals:
    void changed();

private:
    LayerSwitches m_shown{true, true, true, true, true};
    LayerSwitches m_locked{};
};

} // namespace mw
