#include "commands/merges/PutCache.h"

#include "formats/scene/ObjectRecord.h"
#include "foundation/seams/Progress.h"
#include "foundation/seams/Prompter.h"
#include "mission/Mission.h"

namespace mw {

std::vector<std::uint8_t> cacheObjectChunks(const CacheLoadResult& cache)
{
    ChunkWriter out;
    for (std::size_t k = 0; k < cache.records.size(); ++k) {
        const CacheRecord& r = cache.records[k];
        if (r.TranslationOffset == 0)
            continue; // a base record
        const std::string name(cache.name(k));
        // A name too short to have a 4-character extension is kept whole.
        const std::string stem = name.size() >= 4 ? name.substr(0, name.size() - 4) : name;
        writeModelObject(out, {"CA" + std::to_string(k) + "-" + stem, r.position, r.rotation, r.size, name});
    }
    return out.out().take();
}

Outcome putCache(Mission& mission, Prompter& prompter)
{
    const Workspace& ws = mission.workspace();
    if (mission.sceneCatalogue().empty()) {
        prompter.message("Load scene2.bin and cache.bin", "");
        return Outcome::refused();
    }
    if (mission.cache().records.empty()) {
        prompter.message("Load cache.bin and scne2.bin", "");
        return Outcome::refused();
    }
    if (!prompter.askYesNo("Do you want to put cache.bin into scene2.bin ?", "Put cache!"))
        return Outcome::refused();
    if (ws.CachePath.empty() || ws.ScenePath.empty()) {
        prompter.message(ws.CachePath.empty() ? "Load cache.bin" : "Load scene2.bin", "");
        return Outcome::refused();
    }
    if (!sameMission(ws.ScenePath, ws.SceneTitle, ws.CachePath, ws.CacheTitle) &&
        !prompter.askYesNo("Want to put cache anyway?", "Different Missions!"))
        return Outcome::refused();

    Progress* progress = mission.progress();
    if (progress) {
        progress->start(51);
        progress->step(25, "cache.bin");
    }
    const Outcome result = appendObjects(mission, "Put cache", nullptr, cacheObjectChunks(mission.cache()), prompter);
    if (progress)
        progress->finish();
    return result;
}

} // namespace mw
