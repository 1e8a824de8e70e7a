#include "commands/editing/Deletion.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "commands/editing/SceneRewrite.h"
#include "foundation/bytes/ByteReader.h"
#include "foundation/seams/Progress.h"
#include "foundation/seams/Prompter.h"
#include "mission/Mission.h"

namespace mw {

namespace {

// Definitions are removed for check-marked entries and for scripted objects, humans and physical
// things, when the loader found the object's definition.
bool hasDefinition(const SceneEntry& e)
{
    const bool kind = e.typeCode == typecode::ScriptedObject || e.typeCode == typecode::Human ||
                      e.typeCode == typecode::PhysicalThing;
    return (e.hasScript || kind) && e.DefinitionChunkOffset != 0;
}

// The splices that remove the objects of `rows` (objects only) and their definitions, in file
// order; nothing when a recorded chunk does not lie in the kept bytes.
std::optional<std::vector<SceneSplice>> removals(const Mission& mission, std::span<const std::uint32_t> rows)
{
    const SceneCatalogue& catalogue = mission.sceneCatalogue();
    const ByteReader file(mission.bytes(MissionFile::Scene));
    std::vector<SceneSplice> splices;
    try {
        for (std::uint32_t row : rows) {
            const SceneEntry e = catalogue.entry(row);
            splices.push_back({e.ObjectChunkOffset, file.u32(e.ObjectChunkOffset + 2ull), {}, {catalogue.ObjectsSizeOffset}});
            if (hasDefinition(e))
                splices.push_back(
                    {e.DefinitionChunkOffset, file.u32(e.DefinitionChunkOffset + 2ull), {}, {catalogue.DefsPos}});
        }
    } catch (const TruncatedData&) {
        return std::nullopt;
    }
    std::sort(splices.begin(), splices.end(), [](const SceneSplice& a, const SceneSplice& b) { return a.at < b.at; });
    // A definition two deleted objects share goes once.
    splices.erase(std::unique(splices.begin(), splices.end(), [](const SceneSplice& a, const SceneSplice& b) { return a.at == b.at; }),
                  splices.end());
    return splices;
}

// Removes the rows' objects in one step; the scene is reloaded with the entry that follows the
// first of them selected, or, after the last row, the one before it.
Outcome remove(Mission& mission, std::span<const std::uint32_t> rows, const std::string& stepName,
               const std::string& progressText, Prompter& prompter)
{
    const auto splices = removals(mission, rows);
    if (!splices) {
        prompter.message(WouldDamageScene, "");
        return Outcome::refused();
    }
    Progress* progress = mission.progress();
    if (progress) {
        progress->start(5);
        progress->step(1, progressText);
    }
    const Outcome outcome = runStep(mission, stepName, prompter, [&] {
        return Outcome::of(rewriteScene(mission, *splices, prompter), MissionFile::Scene);
    });
    if (progress)
        progress->finish();
    if (!outcome.done())
        return outcome;

    const std::uint32_t first = *std::min_element(rows.begin(), rows.end());
    const auto rowsAfter = static_cast<std::uint32_t>(mission.sceneCatalogue().entryCount() - rows.size());
    return Outcome::doneWith(
        mission.reloadSceneAt(first, first < rowsAfter ? first : (rowsAfter > 0 ? rowsAfter - 1 : 0), prompter));
}

} // namespace

std::string objectCount(std::size_t n) { return std::to_string(n) + (n == 1 ? " object" : " objects"); }

Outcome deleteObject(Mission& mission, std::uint32_t row, Prompter& prompter)
{
    const SceneCatalogue& catalogue = mission.sceneCatalogue();
    if (row >= catalogue.entryCount())
        return Outcome::refused();
    if (!catalogue.isObject(row)) {
        prompter.message(deletemsg::NotDeletable, deletemsg::Title);
        return Outcome::refused();
    }
    const std::string name(catalogue.name(row));
    return remove(mission, std::span(&row, 1), "Delete " + name, name, prompter);
}

Outcome deleteObjects(Mission& mission, std::span<const std::uint32_t> rows, Prompter& prompter, bool ask,
                      const std::string& stepName)
{
    const SceneCatalogue& catalogue = mission.sceneCatalogue();
    std::vector<std::uint32_t> objects;
    for (std::uint32_t row : rows)
        if (catalogue.isObject(row))
            objects.push_back(row);
    std::sort(objects.begin(), objects.end());
    objects.erase(std::unique(objects.begin(), objects.end()), objects.end());
    if (objects.empty())
        return Outcome::refused();
    if (ask && !prompter.askYesNo("Delete " + objectCount(objects.size()) + "?", deletemsg::Title))
        return Outcome::refused();
    const std::string name = stepName.empty() ? "Delete " + objectCount(objects.size()) : stepName;
    return remove(mission, objects, name, name, prompter);
}

} // namespace mw
