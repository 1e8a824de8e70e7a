#pragma once
// How the window names one item of the views in the status line: a scene object by its name, a
// cached object, a frame or a collision body as its list shows it.

#include <QString>

#include "mission/Mission.h"
#include "render/common/Layers.h"

namespace mw {

QString itemName(const Mission& mission, ItemRef item);
// The item a click picked, and when several lie under the cursor its place among them:
// "SCube-0 (2 of 3 here)".
QString pickedText(const Mission& mission, ItemRef item, std::size_t nth, std::size_t among);
// How many selected items a view command left where they are, for they are locked.
QString lockedText(std::size_t locked);
// What a drag is about to do, while it runs: "Move 2.5 m to 1, 2, 3", "Turn 30°".
QString moveText(Vec3 offset, Vec3 to);
QString turnText(double degrees);
// How many items the views left out for a damaged place or size.
QString leftOutText(std::size_t leftOut);

} // namespace mw
