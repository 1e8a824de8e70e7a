#include "editing/SceneRewrite.h"

#include "scene/SceneLoader.h"
#include "workspace/Prompter.h"

namespace mw {

WriteOutcome rewriteScene(Mission& mission, std::span<const SceneSplice> splices, Prompter& prompter,
                          const char* failureText)
{
    return rewriteSceneFrom(mission, mission.bytes(MissionFile::Scene), splices, prompter, failureText);
}

WriteOutcome rewriteSceneFrom(Mission& mission, std::span<const std::uint8_t> base,
                              std::span<const SceneSplice> splices, Prompter& prompter, const char* failureText)
{
    std::vector<std::uint8_t> image;
    const bool fits = spliceSceneInto(base, splices, image);
    // The result must read back as a scene with its objects section intact; a change that would
    // leave a damaged chunk tree is never written.
    SceneLoadResult parsed;
    if (fits)
        loadSceneInto(image, parsed);
    if (!fits || parsed.status != SceneLoadStatus::Loaded) {
        prompter.message(WouldDamageScene, "");
        return WriteOutcome::Failed;
    }
    const WriteOutcome outcome = mission.replace(MissionFile::Scene, std::move(image), prompter, failureText);
    if (outcome == WriteOutcome::Done)
        mission.offerParsedScene(std::move(parsed)); // the reload that follows needs no second parse
    return outcome;
}

} // namespace mw
