#include "commands/editing/TransformCheck.h"

#include "foundation/seams/Prompter.h"
#include "foundation/text/NumericText.h"

namespace mw {

std::optional<CheckedTransform> checkTransform(const TransformForm& f, MissionFile list, Prompter& prompter)
{
    if (f.translationX.empty() || f.translationY.empty() || f.translationZ.empty()) {
        prompter.message("Fill all fields", "");
        return std::nullopt;
    }
    CheckedTransform checked;
    const std::string* translation[] = {&f.translationX, &f.translationY, &f.translationZ};
    for (int i = 0; i < 3; ++i) {
        const auto v = parseFloat32(*translation[i]);
        if (!v) {
            prompter.message("Put numeric", "Translation");
            return std::nullopt;
        }
        checked.translation[i] = *v;
    }
    if (list != MissionFile::Model) {
        const std::string* size[] = {&f.sizeX, &f.sizeY, &f.sizeZ};
        for (int i = 0; i < 3; ++i) {
            const auto v = parseFloat32(*size[i]);
            if (!v) {
                prompter.message("Put numeric", "Size");
                return std::nullopt;
            }
            checked.size[i] = *v;
        }
    }
    if (list == MissionFile::Scene || list == MissionFile::Cache) {
        const auto angle = parseNumber(f.verticalAngle);
        if (!angle) {
            prompter.message("Put numeric", "Vert Rotation");
            return std::nullopt;
        }
        if (*angle < -180.0 || *angle > 180.0) {
            prompter.message("Value -180 ... 180", "Vert Rotation");
            return std::nullopt;
        }
        checked.verticalAngle = *angle;
    }
    return checked;
}

} // namespace mw
