#pragma once
// How the window names one item of the views in the status line: a scene object by its name, a
// cached object, a frame or a collision body as its list shows it.

#include <QString>

#include "mission/Mission.h"
#include "render/common/Layers.h"

namespace mw {

QString itemName(const Mission& mission, ItemRef item);

} // namespace mw
