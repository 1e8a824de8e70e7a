#include "commands/merges/SceneMerge.h"

#include "commands/editing/SceneRewrite.h"
#include "formats/scene/SceneLoader.h"
#include "foundation/bytes/ByteReader.h"
#include "foundation/files/Paths.h"
#include "foundation/seams/Prompter.h"
#include "mission/Mission.h"

namespace mw {

MergeResult appendObjects(Mission& mission, const char* stepName, SharedImage saved, std::vector<std::uint8_t> objects,
                          Prompter& prompter)
{
    std::uint32_t firstAdded = 0;
    const MergeResult result = [&] {
        const Mission::BusyScope busy(mission);
        Mission::Step step(mission, stepName, prompter);
        const SharedImage base = saved ? saved : mission.sharedBytes(MissionFile::Scene);
        // Where the base's objects end, and how many it has (the first added object's row).
        std::uint32_t sizeField = mission.sceneCatalogue().ObjectsSizeOffset;
        firstAdded = mission.sceneCatalogue().FirstScriptIndex;
        if (saved) {
            const SceneLoadResult parsed = loadScene(*base);
            if (parsed.status != SceneLoadStatus::Loaded) {
                mission.fail(WouldDamageScene, "", prompter);
                return MergeResult::Refused;
            }
            sizeField = parsed.catalogue.ObjectsSizeOffset;
            firstAdded = parsed.catalogue.FirstScriptIndex;
        }
        auto splices = appendingSplices(*base, sizeField, 0, std::move(objects), {});
        if (!splices) {
            mission.fail(WouldDamageScene, "", prompter);
            return MergeResult::Refused;
        }
        if (!mission.checkUnchanged(MissionFile::Scene, prompter))
            return MergeResult::Stale;
        if (mission.replace(withSuffix(mission.workspace().ScenePath, BackupSuffix), base, prompter) != WriteOutcome::Done)
            return MergeResult::Refused;
        // Starting from the saved scene restores it even when nothing is added.
        if (!splices->empty() || saved) {
            const WriteOutcome outcome = rewriteSceneFrom(mission, *base, *splices, prompter);
            if (outcome != WriteOutcome::Done)
                return outcome == WriteOutcome::Stale ? MergeResult::Stale : MergeResult::Refused;
        }
        step.commit();
        return MergeResult::Merged;
    }();
    if (result == MergeResult::Merged)
        mission.reloadSceneAt(firstAdded, prompter);
    return result;
}

} // namespace mw
