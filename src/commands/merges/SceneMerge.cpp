#include "commands/merges/SceneMerge.h"

#include "commands/editing/SceneRewrite.h"
#include "formats/scene/SceneLoader.h"
#include "foundation/bytes/ByteReader.h"
#include "foundation/files/Paths.h"
#include "foundation/seams/Prompter.h"
#include "mission/Mission.h"

namespace mw {

MergeResult appendObjects(Mission& mission, SharedImage saved, std::vector<std::uint8_t> objects,
                          Prompter& prompter)
{
    Workspace& ws = mission.workspace();
    const SharedImage base = saved ? saved : mission.sharedBytes(MissionFile::Scene);
    // Where the base's objects end, and how many it has (the first added object's row).
    std::uint32_t sizeField = ws.ObjectsSizeOffset;
    std::uint32_t objectCount = ws.FirstScriptIndex;
    if (saved) {
        const SceneLoadResult parsed = loadScene(*base);
        if (parsed.status != SceneLoadStatus::Loaded) {
            mission.fail(WouldDamageScene, "", prompter);
            return MergeResult::Refused;
        }
        sizeField = parsed.catalogue.ObjectsSizeOffset;
        objectCount = parsed.catalogue.FirstScriptIndex;
    }
    auto splices = appendingSplices(*base, sizeField, 0, std::move(objects), {});
    if (!splices) {
        mission.fail(WouldDamageScene, "", prompter);
        return MergeResult::Refused;
    }

    if (!mission.checkUnchanged(MissionFile::Scene, prompter))
        return MergeResult::Stale;
    if (mission.replace(withSuffix(ws.ScenePath, BackupSuffix), base, prompter) != WriteOutcome::Done)
        return MergeResult::Refused;
    // Starting from the saved scene restores it even when nothing is added.
    if (!splices->empty() || saved) {
        const WriteOutcome outcome = rewriteSceneFrom(mission, *base, *splices, prompter);
        if (outcome != WriteOutcome::Done)
            return outcome == WriteOutcome::Stale ? MergeResult::Stale : MergeResult::Refused;
    }
    mission.reloadSceneAt(objectCount, prompter);
    return MergeResult::Merged;
}

} // namespace mw
