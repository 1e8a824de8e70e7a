#include "commands/objects/MoveObjects.h"

#include <vector>

#include "commands/editing/Deletion.h"
#include "commands/editing/PatchList.h"
#include "mission/Mission.h"

namespace mw {

Outcome moveObjects(Mission& mission, std::span<const std::uint32_t> rows, Vec3 offset, Prompter& prompter)
{
    const SceneCatalogue& catalogue = mission.sceneCatalogue();
    PatchList list;
    std::vector<std::uint32_t> moved;
    for (std::uint32_t row : rows) {
        if (row >= catalogue.FirstScriptIndex || catalogue.records[row].isScript)
            continue;
        const std::uint32_t at = catalogue.records[row].TranslationOffset;
        if (at == 0)
            continue;
        const Vec3 t = catalogue.translation(row);
        list.floats(at, {t.x + offset.x, t.y + offset.y, t.z + offset.z});
        moved.push_back(row);
    }
    if (moved.empty())
        return Outcome::refused();
    return runStep(mission, "Move " + objectCount(moved.size()), prompter, [&] {
        return Outcome::of(mission.patch(MissionFile::Scene, list.patches(), prompter, nullptr, moved), MissionFile::Scene);
    });
}

} // namespace mw
