#include "commands/objects/Rename.h"

#include <algorithm>
#include <vector>

#include "commands/editing/SceneRewrite.h"
#include "formats/scene/ObjectChunks.h"
#include "foundation/bytes/ByteReader.h"
#include "foundation/seams/Prompter.h"
#include "foundation/text/Latin1Text.h"
#include "mission/Mission.h"

namespace mw {

namespace {

constexpr std::size_t LongestName = 50;

// The whole chunk that starts at `at` in the scene's bytes; one that does not lie inside them
// is a damaged scene.
std::span<const std::uint8_t> chunkAt(std::span<const std::uint8_t> bytes, std::uint32_t at)
{
    const auto whole = wholeChunkAt(bytes, at);
    if (whole.empty())
        throw TruncatedData();
    return whole;
}

// The object's chunk renamed, its definition's and the linked objects' chunks following.
std::vector<SceneSplice> renamings(const Mission& mission, std::uint32_t row, const std::string& from, const std::string& to)
{
    const SceneCatalogue& c = mission.sceneCatalogue();
    const auto bytes = mission.bytes(MissionFile::Scene);
    std::vector<SceneSplice> splices;
    const auto replace = [&](std::uint32_t at, std::span<const std::uint8_t> old, std::vector<std::uint8_t> chunk,
                             std::uint32_t sizeField) {
        splices.push_back({at, static_cast<std::uint32_t>(old.size()), std::move(chunk), {sizeField}});
    };
    const SceneRecord& record = c.records[row];
    const auto object = chunkAt(bytes, record.ObjectChunkOffset);
    replace(record.ObjectChunkOffset, object, changedObjectChunk(object, to, std::nullopt, 0), c.ObjectsSizeOffset);
    if (record.DefinitionChunkOffset != 0) {
        const auto definition = chunkAt(bytes, record.DefinitionChunkOffset);
        const std::string name = definitionChunkName(definition);
        // Owned by the whole name, or by the part before its first ".".
        const std::string renamed = name == from ? to : to + name.substr(std::min(name.size(), from.size()));
        replace(record.DefinitionChunkOffset, definition, renamedDefinitionChunk(definition, renamed), c.DefsPos);
    }
    for (std::uint32_t other = 0; other < c.FirstScriptIndex; ++other) {
        if (other == row || !c.isObject(other) || c.link(other) != from)
            continue;
        const auto linked = chunkAt(bytes, c.records[other].ObjectChunkOffset);
        replace(c.records[other].ObjectChunkOffset, linked,
                changedObjectChunk(linked, std::string(c.name(other)), to, 0), c.ObjectsSizeOffset);
    }
    std::sort(splices.begin(), splices.end(), [](const SceneSplice& a, const SceneSplice& b) { return a.at < b.at; });
    return splices;
}

} // namespace

Outcome renameObject(Mission& mission, std::uint32_t row, const std::string& name, Prompter& prompter)
{
    const SceneCatalogue& c = mission.sceneCatalogue();
    if (!mission.isLoaded(MissionFile::Scene) || !c.isObject(row)) {
        prompter.message(renamemsg::NotAnObject, renamemsg::Title);
        return Outcome::refused();
    }
    if (name.empty() || name.size() > LongestName || name.find('\0') != std::string::npos) {
        prompter.message(renamemsg::BadName, renamemsg::Title);
        return Outcome::refused();
    }
    // A definition belongs to the whole name or to the part before its first "."; a dot in the new
    // name would hand the definition to another owner.
    if (c.records[row].DefinitionChunkOffset != 0 && name.find('.') != std::string::npos) {
        prompter.message(renamemsg::DotWithDefinition, renamemsg::Title);
        return Outcome::refused();
    }
    const std::string from(c.name(row));
    if (name == from)
        return Outcome::doneWith();
    for (std::uint32_t other = 0; other < c.FirstScriptIndex; ++other)
        if (other != row && equalIgnoringCase(c.name(other), name)) {
            prompter.message(renamemsg::Taken, renamemsg::Title);
            return Outcome::refused();
        }
    std::vector<SceneSplice> splices;
    try {
        splices = renamings(mission, row, from, name);
    } catch (const TruncatedData&) {
        prompter.message(WouldDamageScene, "");
        return Outcome::refused();
    }
    const Outcome outcome = runStep(mission, "Rename " + from + " to " + name, prompter, [&] {
        return Outcome::of(rewriteScene(mission, splices, prompter), MissionFile::Scene);
    });
    if (!outcome.done())
        return outcome;
    return Outcome::doneWith(mission.reloadSceneAt(row, row, prompter));
}

} // namespace mw
