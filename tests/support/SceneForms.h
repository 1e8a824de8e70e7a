#pragma once
// The inspector's form as it is filled for an entry: every value as its box shows it.

#include <string>

#include "commands/editing/Rotation.h"
#include "commands/editing/SceneValueSave.h"
#include "formats/scene/SceneCatalogue.h"
#include "foundation/text/NumericText.h"

namespace mw::build {

inline SceneValueForm formShowing(const SceneEntry& e)
{
    SceneValueForm f;
    f.translationX = formatFloat(e.translation.x);
    f.translationY = formatFloat(e.translation.y);
    f.translationZ = formatFloat(e.translation.z);
    f.sizeX = formatFloat(e.size.x);
    f.sizeY = formatFloat(e.size.y);
    f.sizeZ = formatFloat(e.size.z);
    f.verticalAngle = formatDouble(verticalAngleFromQ2(e.rotation[1]));
    f.rotation = e.rotation;
    f.red = formatFloat(e.lightColour[0] * 255.0f);
    f.green = formatFloat(e.lightColour[1] * 255.0f);
    f.blue = formatFloat(e.lightColour[2] * 255.0f);
    f.brightness = formatFloat(e.lightPower);
    f.distance1 = formatFloat(e.lightDistance[0]);
    f.distance2 = formatFloat(e.lightDistance[1]);
    f.range1 = formatFloat(e.lightRange[0]);
    f.range2 = formatFloat(e.lightRange[1]);
    f.sex = std::to_string(e.sex);
    f.behaviour = e.behaviour;
    f.aggression = formatFloat(e.aggression);
    f.humanWeight = f.thingWeight = formatFloat(e.weight);
    f.thingSound = e.thingSound;
    f.soundKind = std::to_string(e.soundKind);
    f.volume = formatFloat(e.soundField[2]);
    f.soundField3 = formatFloat(e.soundField[3]);
    f.soundField4 = formatFloat(e.soundField[4]);
    f.soundField5 = formatFloat(e.soundField[5]);
    f.soundDistance = formatFloat(e.soundField[6]);
    return f;
}

} // namespace mw::build
