#pragma once
// The layers the map and the 3D view show: scene objects, cached objects, collision bodies, model
// frames and the route. One set, so that a switch in either dock hides the layer in both.

#include <QObject>

#include "render/view3d/Scene3D.h"

class QBoxLayout;

namespace mw {

class ViewLayers final : public QObject {
    Q_OBJECT
public:
    const std::array<bool, ViewLayerCount>& shown() const { return m_shown; }
    bool shown(ViewLayer layer) const { return m_shown[static_cast<std::size_t>(layer)]; }
    void setShown(ViewLayer layer, bool shown);
    // Adds a check box per layer to `row`, named prefix + the layer's number, kept in step with the set.
    void addSwitches(QBoxLayout* row, const char* prefix);

signals:
    void changed();

private:
    std::array<bool, ViewLayerCount> m_shown{true, true, true, true, true};
};

} // namespace mw
