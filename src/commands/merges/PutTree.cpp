#include "commands/merges/PutTree.h"

#include <algorithm>

#include "formats/scene/ObjectRecord.h"
#include "foundation/files/FileAccess.h"
#include "foundation/files/Paths.h"
#include "foundation/seams/Progress.h"
#include "foundation/seams/Prompter.h"
#include "mission/Mission.h"

namespace mw {

std::pair<std::size_t, std::size_t> putTreeRange(const CollisionLoadResult& tree, const std::string& kind)
{
    const std::size_t bodies = tree.bodyCount();
    if (kind == "all")
        return {0, bodies};
    // Kind name, list prefix, and its count in the data header (kinds 0x80 ... 0x84).
    const struct {
        const char* kind;
        const char* tag;
        std::size_t count;
    } kinds[] = {{"simple", "SC", tree.kindCounts[1]},   {"rotation", "SR", tree.kindCounts[0]},
                 {"cylinder", "CY", tree.kindCounts[4]}, {"rotation2", "BI", tree.kindCounts[3]},
                 {"sphere", "SP", tree.kindCounts[2]}};
    for (const auto& k : kinds) {
        if (kind != k.kind)
            continue;
        std::size_t start = 0;
        while (start < bodies && tree.kindTag(start) != k.tag)
            ++start;
        if (start == bodies)
            return {0, 0};
        // The header's count, as far as the file held the bodies.
        return {start, std::min(start + k.count, bodies)};
    }
    return {0, 0};
}

std::vector<std::uint8_t> placeholderChunks(const CollisionLoadResult& tree, std::size_t first, std::size_t last)
{
    ChunkWriter out;
    for (std::size_t i = first; i < last && i < tree.bodyCount(); ++i) {
        const CollisionBody& b = tree.body(i);
        writeModelObject(out, {tree.listText(i), b.position, b.rotation, b.size, PlaceholderObjectModel});
    }
    return out.out().take();
}

Outcome putTree(Mission& mission, const PutTreeChoice& choice, Prompter& prompter)
{
    const Workspace& ws = mission.workspace();
    if (ws.TreePath.empty() || ws.ScenePath.empty() ||
        !sameMission(ws.ScenePath, ws.SceneTitle, ws.TreePath, ws.TreeTitle)) {
        prompter.message(ws.TreePath.empty()    ? "Load tree.klz"
                         : ws.ScenePath.empty() ? "Load scene2.bin"
                                                : "Different missions!",
                         "");
        return Outcome::refused();
    }
    // With "use saved scene2.bin", the put starts from the scene as it was before the last put.
    SharedImage saved;
    const std::filesystem::path backup = withSuffix(ws.ScenePath, BackupSuffix);
    if (choice.useSavedScene && fileExists(backup)) {
        try {
            if (auto bytes = readWholeFile(backup); !bytes.empty())
                saved = std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes));
        } catch (const IoError& error) {
            prompter.message(error.what(), "");
            return Outcome::refused();
        }
    }
    const auto [first, last] = putTreeRange(mission.tree(), choice.kind);
    Progress* progress = mission.progress();
    if (progress) {
        progress->start(51);
        progress->step(25, choice.kind);
    }
    const Outcome result =
        appendObjects(mission, "Put tree", saved, placeholderChunks(mission.tree(), first, last), prompter);
    if (progress)
        progress->finish();
    return result;
}

} // namespace mw
