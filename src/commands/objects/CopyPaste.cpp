#include "commands/objects/CopyPaste.h"

#include <algorithm>
#include <deque>
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

// The names of the scene and of the objects pasted so far: letter case ignored when a name is made
// free (as the insert command compares names), as they are when a link is looked for. The scene's
// names stay in its bytes; a scene has up to 30 001 of them.
class Names {
public:
    explicit Names(const SceneCatalogue& catalogue) : m_folded(catalogue.entryCount() + 64)
    {
        m_exact.reserve(catalogue.entryCount() + 64);
        for (std::uint32_t row = 0; row < catalogue.entryCount(); ++row) {
            m_folded.insert(catalogue.name(row), row);
            m_exact.insert(catalogue.name(row));
        }
    }
    bool taken(std::string_view name) const { return m_folded.contains(name); }
    bool present(std::string_view name) const { return m_exact.count(name) > 0; }
    void add(std::string name)
    {
        const std::string& kept = m_added.emplace_back(std::move(name));
        m_folded.insert(kept, 0);
        m_exact.insert(kept);
    }

private:
    std::deque<std::string> m_added; // where the names pasted so far stay put
    FoldedNameSet m_folded;
    std::unordered_set<std::string_view> m_exact;
};

// The first name "name-2", "name-3", ... that is not taken.
std::string freeName(const std::string& name, const Names& names)
{
    for (std::size_t k = 2;; ++k) {
        std::string candidate = name + "-" + std::to_string(k);
        if (!names.taken(candidate))
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
        if (!catalogue.isObject(row)) {
            ++copied.scriptsLeftOut;
            continue;
        }
        const SceneRecord& r = catalogue.records[row];
        const auto object = wholeChunkAt(file, r.ObjectChunkOffset);
        if (object.empty())
            continue;
        copied.package.objects.insert(copied.package.objects.end(), object.begin(), object.end());
        copied.names.emplace_back(catalogue.name(row));
        if (r.DefinitionChunkOffset && std::find(definitions.begin(), definitions.end(), r.DefinitionChunkOffset) == definitions.end()) {
            const auto definition = wholeChunkAt(file, r.DefinitionChunkOffset);
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

Result<Pasted> pasteObjects(Mission& mission, const Package& package, Prompter& prompter, const PasteOptions& options)
{
    const SceneCatalogue& catalogue = mission.sceneCatalogue();
    const auto objects = splitChunks(package.objects);
    const auto definitions = splitChunks(package.definitions);
    if (!objects || !definitions || objects->empty() || catalogue.ObjectsSizeOffset == 0)
        return Outcome::refused();

    // Every name of the scene, and of the objects pasted so far, is taken.
    Names scene(catalogue);
    std::vector<ObjectChunkInfo> infos;
    std::map<std::string, std::string> renamed; // old name -> new name
    std::vector<std::string> names;
    for (const auto& object : *objects) {
        ObjectChunkInfo info = objectChunkInfo(object);
        std::string name = info.name;
        if (scene.taken(name)) {
            name = freeName(info.name, scene);
            renamed.emplace(info.name, name);
        }
        scene.add(name);
        names.push_back(std::move(name));
        infos.push_back(std::move(info));
    }

    Pasted result;
    std::vector<std::uint8_t> objectBytes, definitionBytes;
    for (std::size_t i = 0; i < objects->size(); ++i) {
        const ObjectChunkInfo& info = infos[i];
        std::optional<std::string> link = info.link;
        if (link)
            if (const auto to = renamed.find(*link); to != renamed.end())
                link = to->second;
        if (link && !scene.present(*link))
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
        return Outcome::refused();
    }
    result.count = objects->size();
    result.firstRow = catalogue.FirstScriptIndex;
    const std::string stepName = options.stepName.empty() ? "Paste " + objectCount(result.count) : options.stepName;
    const Outcome written = runStep(mission, stepName, prompter, [&] {
        return Outcome::of(rewriteScene(mission, *splices, prompter), MissionFile::Scene);
    });
    if (!written.done())
        return written;
    // The pasted objects are selected, the first of them current.
    SceneSelection selected = mission.reloadSceneAt(result.firstRow, prompter);
    for (std::uint32_t row = result.firstRow + 1; row < result.firstRow + result.count; ++row)
        selected.more.push_back(row);
    return {Outcome::doneWith(std::move(selected)), result};
}

} // namespace mw
