#include "missionfiles/TreeLoad.h"

#include "io/FileAccess.h"
#include "missionfiles/PlaceholderModel.h"
#include "workspace/Prompter.h"

namespace mw {

std::optional<CollisionLoadResult> loadTreeOfMission(const Workspace& ws, const SceneCatalogue& scene,
                                                     Prompter& prompter, Progress* progress)
{
    const auto placeholder = placeholderModelPath(ws.TreePath);
    if (!placeholder) {
        prompter.message(treemsg::NoMissionsFolder, "");
        return std::nullopt;
    }
    // Without a scene there is no mission to put the placeholder model beside.
    if (ws.ScenePath.empty()) {
        prompter.message(treemsg::FirstLoadScene, "");
        return std::nullopt;
    }
    try {
        ensurePlaceholderModel(*placeholder);
    } catch (const IoError& error) {
        prompter.message(error.what(), "");
    }
    if (!sameMission(ws.ScenePath, ws.SceneTitle, ws.TreePath, ws.TreeTitle)) {
        prompter.message(treemsg::DifferentMissions, "");
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes = readWholeFile(ws.TreePath);
    } catch (const IoError&) {
        prompter.message("************", "");
        return std::nullopt;
    }
    auto result = readCollisionFile(bytes, scene, progress);
    for (const auto& text : result.messages)
        prompter.message(text, "");
    return result;
}

} // namespace mw
