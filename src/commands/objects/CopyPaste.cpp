#include "commands/objects/CopyPaste.h"

#include <algorithm>
#include <map>
#include <optional>
#include <unordered_set>

#include "commands/editing/Deletion.h"
#include "commands/editing/SceneRewrite.h"
#include "formats/scene/ObjectChunks.h"
#include "formats/scene/SceneChunks.h"
#include "foundation/bytes/ByteReader.h"
#include "foundation/files/Paths.h"
#include "foundation/seams/Prompter.h"
#include "foundation/text/Latin1Text.h"
#include "mission/Mission.h"

namespace mw {

namespace {

// A text for a package's 20-byte field: cut, without trailing blanks.
std::string fieldText(std::string_view text)
{
    std::string s(text.substr(0, 20));
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

std::span<const std::uint8_t> chunkAt(std::span<const std::uint8_t> file, std::uint32_t at)
{
    const ByteReader r(file);
    if (!r.has(at, chunk::HeaderSize) || !r.has(at, r.u32(at + 2)))
        return {};
    return file.subspan(at, r.u32(at + 2));
}

// The names of the scene and of the objects pasted so far, compared letter case ignored or as they
// are. The scene's names are looked up through hashes, without a copy of each: a scene has up to
// 30 001 of them.
class Names {
public:
    Names(const SceneCatalogue& catalogue, bool ignoreCase) : m_catalogue(catalogue), m_ignoreCase(ignoreCase)
    {
        m_rows.reserve(catalogue.entryCount());
        for (std::uint32_t row = 0; row < catalogue.entryCount(); ++row)
            m_rows.push_back({hashOf(catalogue.name(row)), row});
        std::sort(m_rows.begin(), m_rows.end());
    }
    bool contains(std::string_view name) const
    {
        const std::uint64_t h = hashOf(name);
        for (auto it = std::lower_bound(m_rows.begin(), m_rows.end(), std::pair(h, std::uint32_t{0}));
             it != m_rows.end() && it->first == h; ++it)
            if (same(m_catalogue.name(it->second), name))
                return true;
        return m_added.count(key(name)) > 0;
    }
    void add(std::string_view name) { m_added.insert(key(name)); }

private:
    std::string key(std::string_view name) const { return m_ignoreCase ? foldedCase(name) : std::string(name); }
    bool same(std::string_view a, std::string_view b) const { return m_ignoreCase ? equalIgnoringCase(a, b) : a == b; }
    std::uint64_t hashOf(std::string_view name) const
    {
        std::uint64_t h = 0xCBF29CE484222325ull;
        for (const char c : name) {
            const unsigned char letter = static_cast<unsigned char>(c);
            const bool upper = m_ignoreCase && ((letter >= 'A' && letter <= 'Z') || (letter >= 0xC0 && letter <= 0xDE && letter != 0xD7));
            h = (h ^ (upper ? letter + 32u : letter)) * 0x100000001B3ull;
        }
        return h;
    }

    const SceneCatalogue& m_catalogue;
    bool m_ignoreCase;
    std::vector<std::pair<std::uint64_t, std::uint32_t>> m_rows;
    std::unordered_set<std::string> m_added;
};

// The first name "name-2", "name-3", ... that is not taken.
std::string freeName(const std::string& name, const Names& taken)
{
    for (std::size_t k = 2;; ++k) {
        std::string candidate = name + "-" + std::to_string(k);
        if (!taken.contains(candidate))
            return candidate;
    }
}

} // namespace

std::string missionNameOf(const Mission& mission)
{
    const Workspace& ws = mission.workspace();
    std::string folder = missionFolder(ws.ScenePath, ws.SceneTitle);
    while (!folder.empty() && (folder.back() == '/' || folder.back() == '\\'))
        folder.pop_back();
    const auto slash = folder.find_last_of("/\\");
    return fieldText(slash == std::string::npos ? folder : folder.substr(slash + 1));
}

CopiedObjects copyObjects(const Mission& mission, std::span<const std::uint32_t> rows)
{
    const SceneCatalogue& catalogue = mission.sceneCatalogue();
    const auto file = mission.bytes(MissionFile::Scene);
    std::vector<std::uint32_t> sorted(rows.begin(), rows.end());
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    CopiedObjects copied;
    std::vector<std::uint32_t> definitions;
    for (std::uint32_t row : sorted) {
        if (row >= catalogue.entryCount())
            continue;
        if (row >= catalogue.FirstScriptIndex || catalogue.records[row].isScript) {
            ++copied.scriptsLeftOut;
            continue;
        }
        const SceneRecord& r = catalogue.records[row];
        const auto object = chunkAt(file, r.ObjectChunkOffset);
        if (object.empty())
            continue;
        copied.package.objects.insert(copied.package.objects.end(), object.begin(), object.end());
        copied.names.emplace_back(catalogue.name(row));
        if (r.DefinitionChunkOffset && std::find(definitions.begin(), definitions.end(), r.DefinitionChunkOffset) == definitions.end()) {
            const auto definition = chunkAt(file, r.DefinitionChunkOffset);
            if (!definition.empty() && ByteReader(definition).u16(0) == chunk::Definition) {
                copied.package.definitions.insert(copied.package.definitions.end(), definition.begin(), definition.end());
                definitions.push_back(r.DefinitionChunkOffset);
            }
        }
    }
    Package& p = copied.package;
    p.missionName = missionNameOf(mission);
    if (!copied.names.empty())
        p.title = fieldText(copied.names.front());
    for (const std::string& name : copied.names)
        if (name.size() <= 20 && (name.empty() || name.back() != ' ')) {
            p.blockName = name;
            break;
        }
    return copied;
}

PasteResult pasteObjects(Mission& mission, const Package& package, Prompter& prompter, const PasteOptions& options)
{
    const SceneCatalogue& catalogue = mission.sceneCatalogue();
    const auto objects = splitChunks(package.objects);
    const auto definitions = splitChunks(package.definitions);
    if (!objects || !definitions || objects->empty() || catalogue.ObjectsSizeOffset == 0)
        return {};

    // Every name of the scene, and of the objects pasted so far, is taken.
    Names taken(catalogue, true);
    Names present(catalogue, false); // as the scene has them, for the links
    std::vector<ObjectChunkInfo> infos;
    std::map<std::string, std::string> renamed; // old name -> new name
    std::vector<std::string> names;
    for (const auto& object : *objects) {
        ObjectChunkInfo info = objectChunkInfo(object);
        std::string name = info.name;
        if (taken.contains(name)) {
            name = freeName(info.name, taken);
            renamed.emplace(info.name, name);
        }
        taken.add(name);
        present.add(name);
        names.push_back(std::move(name));
        infos.push_back(std::move(info));
    }

    PasteResult result;
    std::vector<std::uint8_t> objectBytes, definitionBytes;
    for (std::size_t i = 0; i < objects->size(); ++i) {
        const ObjectChunkInfo& info = infos[i];
        std::optional<std::string> link = info.link;
        if (link)
            if (const auto to = renamed.find(*link); to != renamed.end())
                link = to->second;
        if (link && !present.contains(*link))
            ++result.missingParents;
        const bool changed = names[i] != info.name || link != info.link || (options.moveX != 0 && info.hasTranslation);
        const auto bytes = changed ? changedObjectChunk((*objects)[i], names[i], link, options.moveX)
                                   : std::vector<std::uint8_t>((*objects)[i].begin(), (*objects)[i].end());
        objectBytes.insert(objectBytes.end(), bytes.begin(), bytes.end());
    }
    // A definition follows its owner's new name: the whole name, or the part before its first ".".
    for (const auto& definition : *definitions) {
        const std::string name = definitionChunkName(definition);
        std::optional<std::string> newName;
        if (const auto to = renamed.find(name); to != renamed.end())
            newName = to->second;
        else if (const auto dot = name.find('.'); dot != std::string::npos)
            if (const auto owner = renamed.find(name.substr(0, dot)); owner != renamed.end())
                newName = owner->second + name.substr(dot);
        const auto bytes = newName ? renamedDefinitionChunk(definition, *newName)
                                   : std::vector<std::uint8_t>(definition.begin(), definition.end());
        definitionBytes.insert(definitionBytes.end(), bytes.begin(), bytes.end());
    }

    const auto splices = appendingSplices(mission.bytes(MissionFile::Scene), catalogue.ObjectsSizeOffset,
                                          catalogue.DefsPos, std::move(objectBytes), std::move(definitionBytes));
    if (!splices) {
        prompter.message(WouldDamageScene, "");
        return {};
    }
    result.count = objects->size();
    result.firstRow = catalogue.FirstScriptIndex;
    const std::string stepName = options.stepName.empty() ? "Paste " + objectCount(result.count) : options.stepName;
    const WriteOutcome outcome = [&] {
        const Mission::BusyScope busy(mission);
        Mission::Step step(mission, stepName, prompter);
        const WriteOutcome written = rewriteScene(mission, *splices, prompter);
        if (written == WriteOutcome::Done)
            step.commit();
        return written;
    }();
    if (outcome != WriteOutcome::Done) {
        result.outcome = outcome == WriteOutcome::Stale ? PasteResult::Outcome::Stale : PasteResult::Outcome::Refused;
        return result;
    }
    mission.reloadSceneAt(result.firstRow, prompter);
    result.outcome = PasteResult::Outcome::Pasted;
    return result;
}

} // namespace mw
