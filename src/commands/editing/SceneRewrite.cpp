#include "commands/editing/SceneRewrite.h"

#include "formats/scene/SceneLoader.h"
#include "foundation/seams/Prompter.h"

namespace mw {

WriteOutcome rewriteScene(Mission& mission, std::span<const SceneSplice> splices, Prompter& prompter,
                          const char* failureText)
{
    return rewriteSceneFrom(mission, mission.bytes(MissionFile::Scene), splices, prompter, failureText);
}

WriteOutcome rewriteSceneFrom(Mission& mission, std::span<const std::uint8_t> base,
                              std::span<const SceneSplice> splices, Prompter& prompter, const char* failureText)
{
    auto image = std::make_shared<std::vector<std::uint8_t>>();
    const bool fits = spliceSceneInto(base, splices, *image);
    // The result must read back as a scene with its objects section intact; a change that would
    // leave a damaged chunk tree is never written.
    SceneLoadResult parsed;
    if (fits)
        loadSceneInto(image, parsed);
    if (!fits || parsed.status != SceneLoadStatus::Loaded) {
        mission.fail(WouldDamageScene, "", prompter);
        return WriteOutcome::Failed;
    }
    // The image written is the one parsed: the catalogue offered to the reload points into it.
    const WriteOutcome outcome = mission.replace(MissionFile::Scene, SharedImage(std::move(image)), prompter, failureText);
    if (outcome == WriteOutcome::Done)
        mission.offerParsedScene(std::move(parsed)); // the reload that follows needs no second parse
    return outcome;
}

} // namespace mw
