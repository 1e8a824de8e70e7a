#include "commands/editing/Scripts.h"

#include <cmath>

#include "commands/editing/SceneRewrite.h"
#include "foundation/bytes/ByteReader.h"
#include "foundation/seams/Progress.h"
#include "foundation/seams/Prompter.h"
#include "mission/Mission.h"

namespace mw {

namespace {

std::string replaceAll(const std::string& text, const std::string& from, const std::string& to)
{
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    for (std::size_t hit; (hit = text.find(from, at)) != std::string::npos; at = hit + from.size())
        out.append(text, at, hit - at).append(to);
    return out.append(text, at);
}

// The script's length field and text as they lie in the loaded bytes; nothing when the entry
// carries no script or its recorded places do not hold one.
struct ScriptPlace {
    std::uint32_t lengthField = 0;
    std::uint32_t length = 0;
    std::uint32_t chunk = 0, chunkEnd = 0;
};

std::optional<ScriptPlace> placeOf(const Mission& mission, std::uint32_t row)
{
    const auto& records = mission.sceneCatalogue().records;
    if (row >= records.size() || records[row].ScriptOffset == 0 || records[row].DefinitionChunkOffset == 0)
        return std::nullopt;
    const SceneRecord& e = records[row];
    const ByteReader file(mission.bytes(MissionFile::Scene));
    try {
        ScriptPlace p{e.ScriptOffset, file.u32(e.ScriptOffset), e.DefinitionChunkOffset, 0};
        p.chunkEnd = e.DefinitionChunkOffset + file.u32(e.DefinitionChunkOffset + 2ull);
        return p;
    } catch (const TruncatedData&) {
        return std::nullopt;
    }
}

} // namespace

std::string scriptForEditing(const std::string& stored) { return replaceAll(stored, "\r\n", "\n"); }

std::string scriptForStoring(const std::string& edited, const std::string& stored)
{
    if (edited == scriptForEditing(stored))
        return stored;
    const bool crlf = stored.find("\r\n") != std::string::npos || stored.find('\n') == std::string::npos;
    return crlf ? replaceAll(edited, "\n", "\r\n") : edited;
}

std::optional<std::string> storedScript(const Mission& mission, std::uint32_t row)
{
    const auto place = placeOf(mission, row);
    if (!place)
        return std::nullopt;
    const ByteReader file(mission.bytes(MissionFile::Scene));
    if (!file.has(place->lengthField + 4ull, place->length))
        return std::nullopt;
    return file.text(place->lengthField + 4ull, place->length);
}

Result<ScriptSaved> saveScript(Mission& mission, std::uint32_t row, const std::string& text, Prompter& prompter,
                               const std::optional<KeptRows>& keep)
{
    const auto place = placeOf(mission, row);
    if (!place)
        return Outcome::refused();
    const std::uint64_t textStart = place->lengthField + 4ull;
    if (place->chunkEnd < textStart || place->length > place->chunkEnd - textStart ||
        place->chunkEnd > mission.bytes(MissionFile::Scene).size()) {
        prompter.message(scriptmsg::Damaged, "");
        return Outcome::refused();
    }
    const SceneCatalogue& catalogue = mission.sceneCatalogue();
    const SceneEntry entry = mission.sceneCatalogue().entry(row);
    const std::string stepName = "Save script of " + entry.name;

    if (text.size() == place->length) {
        const std::vector<Patch> patches{{textStart, {text.begin(), text.end()}}};
        if (Progress* progress = mission.progress()) {
            progress->start(100);
            progress->step(50, "");
            progress->finish();
        }
        return runStep(mission, stepName, prompter, [&] {
            return Outcome::of(mission.patch(MissionFile::Scene, patches, prompter, scriptmsg::CloseFile),
                               MissionFile::Scene);
        });
    }

    SceneSplice splice{static_cast<std::uint32_t>(textStart), place->length, {text.begin(), text.end()}, {}};
    if (entry.isScript)
        splice.sizeFields = {catalogue.ScriptsLengthPos, place->chunk + 2, place->lengthField};
    else if (entry.DataChunkOffset != 0)
        splice.sizeFields = {catalogue.DefsPos, place->chunk + 2, place->lengthField, entry.DataChunkOffset + 2};
    else
        return Outcome::refused();
    const Outcome written = runStep(mission, stepName, prompter, [&] {
        return Outcome::of(rewriteScene(mission, std::span(&splice, 1), prompter, scriptmsg::CloseFile),
                           MissionFile::Scene);
    });
    if (!written.done())
        return written;
    KeptRows rows = keep.value_or(mission.rememberedRows());
    rows.fallback = rows.all;
    return {Outcome::doneWith(mission.reloadScene(rows, prompter)), {true}};
}

std::string scriptListing(const Mission& mission)
{
    std::string out;
    const SceneCatalogue& catalogue = mission.sceneCatalogue();
    for (std::uint32_t row = 0; row < catalogue.entryCount(); ++row) {
        if (!catalogue.records[row].hasScript)
            continue;
        const std::string_view name = catalogue.name(row);
        const double half = (46.0 - (static_cast<double>(name.size()) + 4.0)) / 2.0;
        const long k = static_cast<long>(std::floor(half)) - 2;
        const std::string stars(k > 0 ? static_cast<std::size_t>(k) : 0, '*');
        out.append("\r\n\r\n").append(stars).append(" -- ").append(name).append(" -- ").append(stars).append("\r\n");
        out.append(storedScript(mission, row).value_or(std::string()));
    }
    return out;
}

} // namespace mw
