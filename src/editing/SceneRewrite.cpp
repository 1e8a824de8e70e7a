#include "editing/SceneRewrite.h"

#include <algorithm>

#include "io/ByteReader.h"
#include "scene/ObjectRecord.h"
#include "scene/SceneChunks.h"
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

std::optional<std::uint32_t> objectsEndOf(std::span<const std::uint8_t> scene, std::uint32_t objectsSizeField)
{
    const ByteReader r(scene);
    if (objectsSizeField < 2 || !r.has(objectsSizeField, 4))
        return std::nullopt;
    const std::uint64_t end = objectsSizeField - 2ull + r.u32(objectsSizeField);
    if (end > scene.size())
        return std::nullopt;
    return static_cast<std::uint32_t>(end);
}

std::optional<std::vector<SceneSplice>> appendingSplices(std::span<const std::uint8_t> scene,
                                                         std::uint32_t objectsSizeField,
                                                         std::uint32_t definitionsSizeField,
                                                         std::vector<std::uint8_t> objects,
                                                         std::vector<std::uint8_t> definitions)
{
    const auto objectsEnd = objectsEndOf(scene, objectsSizeField);
    if (!objectsEnd)
        return std::nullopt;
    std::vector<SceneSplice> splices;
    if (!objects.empty())
        splices.push_back({*objectsEnd, 0, std::move(objects), {objectsSizeField}});
    if (!definitions.empty()) {
        if (definitionsSizeField != 0) {
            const auto definitionsEnd = objectsEndOf(scene, definitionsSizeField); // the same kind of field
            if (!definitionsEnd)
                return std::nullopt;
            splices.push_back({*definitionsEnd, 0, std::move(definitions), {definitionsSizeField}});
        } else {
            ChunkWriter section;
            const auto at = section.open(chunk::DefinitionsSection);
            section.out().append(definitions);
            section.close(at);
            splices.push_back({*objectsEnd, 0, section.out().take(), {}});
        }
    }
    std::stable_sort(splices.begin(), splices.end(), [](const SceneSplice& a, const SceneSplice& b) { return a.at < b.at; });
    return splices;
}

} // namespace mw
