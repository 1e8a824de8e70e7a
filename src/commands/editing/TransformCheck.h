#pragma once
// The checks every list's save starts with, in their fixed order: the translation boxes filled and
// numeric, the size boxes numeric (not for the model file), the vertical rotation numeric and within
// -180 ... 180 (scene and cache only). The first failure is told and ends the save.

#include <array>
#include <optional>
#include <string>

#include "mission/MissionFile.h"
#include "mission/Workspace.h"

namespace mw {

class Prompter;

struct TransformForm {
    std::string translationX, translationY, translationZ; // Text5, Text6, Text7
    std::string sizeX, sizeY, sizeZ;                      // Text8, Text9, Text10
    std::string verticalAngle;                            // Text11
    std::array<float, 4> rotation{};                      // q1 ... q4 as the sliders left them
};

struct CheckedTransform {
    std::array<float, 3> translation{};
    std::array<float, 3> size{};
    double verticalAngle = 0;
};

std::optional<CheckedTransform> checkTransform(const TransformForm& form, MissionFile list, Prompter& prompter);

} // namespace mw
