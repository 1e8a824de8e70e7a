#include "commands/merges/SceneMerge.h"

#include "commands/editing/SceneRewrite.h"
#include "formats/scene/SceneLoader.h"
#include "foundation/bytes/ByteReader.h"
#include "foundation/files/Paths.h"
#include "foundation/seams/Prompter.h"
#include "mission/Mission.h"

namespace mw {

Outcome appendObjects(Mission& mission, const char* stepName, SharedImage saved, std::vector<std::uint8_t> objects,
                      Prompter& prompter)
{
    std::uint32_t firstAdded = 0;
    const Outcome outcome = runStep(mission, stepName, prompter, [&] {
        const SharedImage base = saved ? saved : mission.sharedBytes(MissionFile::Scene);
        // Where the base's objects end, and how many it has (the first added object's row).
        std::uint32_t sizeField = mission.sceneCatalogue().ObjectsSizeOffset;
        firstAdded = mission.sceneCatalogue().FirstScriptIndex;
        if (saved) {
            const SceneLoadResult parsed = loadScene(*base);
            if (parsed.status != SceneLoadStatus::Loaded) {
                mission.fail(WouldDamageScene, "", prompter);
                return Outcome::failed();
            }
            sizeField = parsed.catalogue.ObjectsSizeOffset;
            firstAdded = parsed.catalogue.FirstScriptIndex;
        }
        auto splices = appendingSplices(*base, sizeField, 0, std::move(objects), {});
        if (!splices) {
            mission.fail(WouldDamageScene, "", prompter);
            return Outcome::failed();
        }
        if (!mission.checkUnchanged(MissionFile::Scene, prompter))
            return Outcome::stale(MissionFile::Scene);
        const Outcome backup =
            Outcome::of(mission.replace(withSuffix(mission.workspace().ScenePath, BackupSuffix), base, prompter),
                        MissionFile::Scene);
        if (!backup.done())
            return backup;
        // Starting from the saved scene restores it even when nothing is added.
        if (!splices->empty() || saved)
            return Outcome::of(rewriteSceneFrom(mission, *base, *splices, prompter), MissionFile::Scene);
        return Outcome::doneWith();
    });
    if (!outcome.done())
        return outcome;
    return Outcome::doneWith(mission.reloadSceneAt(firstAdded, prompter));
}

} // namespace mw
