#include "commands/editing/Deletion.h"

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

} // namespace

DeleteResult deleteObject(Mission& mission, std::uint32_t row, Prompter& prompter)
{
    const SceneCatalogue& catalogue = mission.sceneCatalogue();
    if (row >= catalogue.entryCount())
        return DeleteResult::Refused;
    if (row >= catalogue.FirstScriptIndex || catalogue.records[row].isScript) {
        prompter.message(deletemsg::NotDeletable, deletemsg::Title);
        return DeleteResult::Refused;
    }
    const SceneEntry e = catalogue.entry(row);
    const ByteReader file(mission.bytes(MissionFile::Scene));
    std::vector<SceneSplice> splices;
    try {
        splices.push_back({e.ObjectChunkOffset, file.u32(e.ObjectChunkOffset + 2ull), {}, {catalogue.ObjectsSizeOffset}});
        if (hasDefinition(e))
            splices.push_back({e.DefinitionChunkOffset, file.u32(e.DefinitionChunkOffset + 2ull), {}, {catalogue.DefsPos}});
    } catch (const TruncatedData&) {
        prompter.message(WouldDamageScene, "");
        return DeleteResult::Refused;
    }

    Progress* progress = mission.progress();
    if (progress) {
        progress->start(5);
        progress->step(1, e.name);
    }
    const WriteOutcome outcome = [&] {
        const Mission::BusyScope busy(mission);
        Mission::Step step(mission, "Delete " + e.name, prompter);
        const WriteOutcome written = rewriteScene(mission, splices, prompter);
        if (written == WriteOutcome::Done)
            step.commit();
        return written;
    }();
    if (progress)
        progress->finish();
    if (outcome != WriteOutcome::Done)
        return outcome == WriteOutcome::Stale ? DeleteResult::Stale : DeleteResult::Refused;

    // The entry that followed takes the deleted one's row; after the last row, the one before it.
    const auto rowsBefore = static_cast<std::uint32_t>(catalogue.entryCount());
    mission.reloadSceneAt(row, row + 1 < rowsBefore ? row : (row > 0 ? row - 1 : 0), prompter);
    return DeleteResult::Deleted;
}

} // namespace mw
