#include "editing/SceneRewrite.h"

#include "scene/SceneLoader.h"
#include "workspace/Prompter.h"

namespace mw {

WriteOutcome rewriteScene(Mission& mission, std::span<const SceneSplice> splices, Prompter& prompter,
                          const char* failureText)
{
    const auto image = spliceScene(mission.bytes(MissionFile::Scene), splices);
    // The result must read back as a scene with its objects section intact; a change that would
    // leave a damaged chunk tree is never written.
    if (!image || loadScene(*image).status != SceneLoadStatus::Loaded) {
        prompter.message(WouldDamageScene, "");
        return WriteOutcome::Failed;
    }
    return mission.replace(MissionFile::Scene, *image, prompter, failureText);
}

} // namespace mw
