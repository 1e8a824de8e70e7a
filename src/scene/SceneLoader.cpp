#include "scene/SceneLoader.h"

#include <algorithm>
#include <limits>
#include <string_view>

#include "io/ByteReader.h"
#include "scene/NameIndex.h"
#include "workspace/Progress.h"

namespace mw {

namespace {

// Raised for a chunk tree that cannot be trusted: a size below the header, a chunk running past its
// parent or the file, or a field running past its chunk. The load then ends with nothing loaded,
// so no later write can use offsets into a damaged tree.
struct DamagedScene {};

struct Chunk {
    std::uint32_t start = 0;
    std::uint16_t id = 0;
    std::uint32_t size = 0;
    std::uint32_t payload() const { return start + chunk::HeaderSize; }
    std::uint32_t end() const { return start + size; }
    std::uint32_t payloadSize() const { return size - chunk::HeaderSize; }
};

constexpr int ProgressMaximum = 51;
constexpr int ObjectsProgressShare = 25;

class SceneWalker {
public:
    SceneWalker(std::span<const std::uint8_t> bytes, Progress* progress, SceneLoadResult& result)
        : m_file(bytes), m_progress(progress), m_result(result), m_catalogue(result.catalogue)
    {
    }

    void run();

private:
    // The chunk at `pos`, which must lie whole inside [pos, limit).
    Chunk chunkAt(std::uint32_t pos, std::uint32_t limit) const
    {
        if (limit - pos < chunk::HeaderSize)
            throw DamagedScene{};
        Chunk c;
        c.start = pos;
        c.id = m_file.u16(pos);
        c.size = m_file.u32(pos + 2);
        if (c.size < chunk::HeaderSize || c.size > limit - pos)
            throw DamagedScene{};
        return c;
    }

    // Requires `count` bytes at `offset` inside chunk `c`.
    static void requireInside(const Chunk& c, std::uint64_t offset, std::uint64_t count)
    {
        if (offset < c.payload() || offset + count > c.end())
            throw DamagedScene{};
    }

    float floatIn(const Chunk& c, std::uint32_t offset) const
    {
        requireInside(c, offset, 4);
        return m_file.f32(offset);
    }

    // A text chunk holds its characters and a terminating zero: size - 7 characters. A chunk
    // longer than 50 bytes yields only its first 8 characters.
    std::string_view textOf(const Chunk& c) const
    {
        std::uint32_t length = c.size > 50 ? 8 : (c.size > 7 ? c.size - 7 : 0);
        auto bytes = m_file.bytes(c.payload(), length);
        return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
    }

    void walkTopLevel();
    void reserveEntries(const Chunk& objectsSection);
    std::size_t countChildren(const Chunk& parent, std::uint16_t id) const;
    void walkObjects(const Chunk& section);
    std::string_view readObject(const Chunk& object, SceneEntry& entry);
    void readLight(const Chunk& light, SceneEntry& entry);
    void readSound(const Chunk& sound, SceneEntry& entry);
    void walkAfterObjects(std::uint32_t from);
    void readDefinition(const Chunk& definition);
    void applyDefinition(const Chunk& definition, std::string_view name, std::uint32_t type,
                         const Chunk& data);
    void readScript(const Chunk& script);
    void recordScriptAt(const Chunk& data, std::uint32_t lengthOffset, SceneEntry& entry);
    std::uint32_t ownerOf(std::string_view definitionName) const;
    void addListName(std::string_view name);
    void buildRowMaps();

    void advanceProgress(std::uint32_t pos, std::uint32_t base, std::uint32_t step, int first, int cap,
                         std::string_view text);

    ByteReader m_file;
    Progress* m_progress;
    SceneLoadResult& m_result;
    SceneCatalogue& m_catalogue;
    // First "All" row of each name, for the definition-owner lookup. Names view the file's bytes.
    NameIndex m_firstRowOfName;
    std::vector<std::string_view> m_objectNames; // by row, indexed in one go after the objects walk
    std::uint32_t m_objectsEnd = 0;
    int m_progressValue = 0;
};

void SceneWalker::run()
{
    m_catalogue.SceneSize = m_file.size();
    walkTopLevel();
    buildRowMaps();
}

void SceneWalker::walkTopLevel()
{
    const auto fileEnd = static_cast<std::uint32_t>(m_file.size());
    std::uint32_t pos = 6;
    while (pos < fileEnd) {
        const Chunk c = chunkAt(pos, fileEnd);
        if (c.id == chunk::ObjectsSection) {
            m_catalogue.ObjectsSize = c.size;
            m_catalogue.ObjectsSizeOffset = c.start + 2;
            reserveEntries(c);
            walkObjects(c);
            m_firstRowOfName.addAll(m_objectNames);
            m_catalogue.FirstScriptIndex = static_cast<std::uint32_t>(m_catalogue.entries.size());
            m_objectsEnd = c.end();
            walkAfterObjects(c.end());
            return;
        }
        const bool known = std::find(std::begin(chunk::HeaderRecords), std::end(chunk::HeaderRecords), c.id) !=
                           std::end(chunk::HeaderRecords);
        if (!known)
            m_result.messages.emplace_back(scenemsg::UnknownId);
        pos = c.end();
    }
    throw DamagedScene{}; // no objects section
}

std::size_t SceneWalker::countChildren(const Chunk& parent, std::uint16_t id) const
{
    std::size_t count = 0;
    for (std::uint32_t pos = parent.payload(); pos < parent.end(); pos = chunkAt(pos, parent.end()).end())
        count += m_file.u16(pos) == id;
    return count;
}

// Counts the objects and free-standing scripts by hopping over chunk headers, so the catalogue is
// allocated once: with 30 000 entries a regrowth would copy megabytes.
void SceneWalker::reserveEntries(const Chunk& objectsSection)
{
    std::size_t entries = countChildren(objectsSection, chunk::Object);
    const auto fileEnd = static_cast<std::uint32_t>(m_file.size());
    for (std::uint32_t pos = objectsSection.end(); pos < fileEnd;) {
        const Chunk c = chunkAt(pos, fileEnd);
        if (c.id == chunk::ScriptsSection)
            entries += countChildren(c, chunk::Script);
        pos = c.end();
    }
    m_catalogue.entries.reserve(entries);
    m_objectNames.reserve(entries);
    m_firstRowOfName.reserve(entries);
}

void SceneWalker::walkObjects(const Chunk& section)
{
    const std::uint32_t step = std::max<std::uint32_t>(1, static_cast<std::uint32_t>(m_file.size() / 30));
    std::uint32_t pos = section.payload();
    while (pos < section.end()) {
        const Chunk c = chunkAt(pos, section.end());
        if (c.id == chunk::Object) {
            SceneEntry& entry = m_catalogue.entries.emplace_back();
            entry.ObjectChunkOffset = c.start;
            m_objectNames.push_back(readObject(c, entry));
        }
        pos = c.end();
        advanceProgress(pos, section.start, step, 0, ObjectsProgressShare, {});
    }
}

void SceneWalker::addListName(std::string_view name) { m_firstRowOfName.add(name); }

std::string_view SceneWalker::readObject(const Chunk& object, SceneEntry& entry)
{
    std::string_view name;
    std::uint32_t pos = object.payload();
    while (pos < object.end()) {
        const Chunk c = chunkAt(pos, object.end());
        const std::uint32_t p = c.payload();
        switch (c.id) {
        case chunk::ObjectName:
            name = textOf(c);
            break;
        case chunk::ObjectType:
            requireInside(c, p, 4);
            entry.typeCode = m_file.u32(p);
            break;
        case chunk::Translation:
            requireInside(c, p, 12);
            entry.TranslationOffset = p;
            entry.translation = {m_file.f32(p), m_file.f32(p + 4), m_file.f32(p + 8)};
            entry.noTranslation = false;
            break;
        case chunk::Rotation:
            requireInside(c, p, 16);
            entry.RotationOffset = p;
            entry.rotation = {m_file.f32(p), m_file.f32(p + 4), m_file.f32(p + 8), m_file.f32(p + 12)};
            entry.noRotation = false;
            break;
        case chunk::Size:
            requireInside(c, p, 12);
            entry.SizeOffset = p;
            entry.size = {m_file.f32(p), m_file.f32(p + 4), m_file.f32(p + 8)};
            entry.noSize = false;
            break;
        case chunk::Model:
            entry.model = textOf(c);
            break;
        case chunk::Link:
            if (c.payloadSize() >= chunk::HeaderSize) {
                const Chunk first = chunkAt(p, c.end());
                if (first.id == chunk::ObjectName)
                    entry.linkName = textOf(first);
            }
            break;
        case chunk::Light:
            readLight(c, entry);
            break;
        case chunk::Sound:
            readSound(c, entry);
            break;
        default:
            break; // carried through untouched
        }
        pos = c.end();
    }
    // Every object gets its row, named or not, so rows and catalogue entries never drift apart.
    entry.name = name;
    return name;
}

void SceneWalker::readLight(const Chunk& light, SceneEntry& entry)
{
    std::uint32_t pos = light.payload();
    while (pos < light.end()) {
        const Chunk c = chunkAt(pos, light.end());
        const std::uint32_t p = c.payload();
        switch (c.id) {
        case chunk::LightKind:
            requireInside(c, p, 4);
            entry.lightKind = m_file.u32(p);
            break;
        case chunk::LightColour:
            requireInside(c, p, 12);
            entry.LightColourOffset = p;
            entry.lightColour = {m_file.f32(p), m_file.f32(p + 4), m_file.f32(p + 8)};
            break;
        case chunk::LightPower:
            entry.lightPower = floatIn(c, p);
            entry.LightPowerOffset = p;
            break;
        case chunk::LightRange:
            requireInside(c, p, 8);
            entry.LightRangeOffset = p;
            entry.lightRange = {m_file.f32(p), m_file.f32(p + 4)};
            break;
        case chunk::LightDistance:
            requireInside(c, p, 8);
            entry.LightDistanceOffset = p;
            entry.lightDistance = {m_file.f32(p), m_file.f32(p + 4)};
            break;
        case chunk::Light:
            // A nested light header: its children belong to the same light.
            readLight(c, entry);
            break;
        default:
            break;
        }
        pos = c.end();
    }
}

void SceneWalker::readSound(const Chunk& sound, SceneEntry& entry)
{
    std::uint32_t pos = sound.payload();
    while (pos < sound.end()) {
        const Chunk c = chunkAt(pos, sound.end());
        const std::uint32_t p = c.payload();
        switch (c.id) {
        case chunk::SoundName:
            entry.soundFileName = textOf(c);
            break;
        case chunk::SoundKind:
            requireInside(c, p, 4);
            entry.SoundFieldOffset[1] = p;
            entry.soundKind = m_file.i32(p);
            break;
        case chunk::SoundVolume:
            entry.soundField[2] = floatIn(c, p);
            entry.SoundFieldOffset[2] = p;
            break;
        case chunk::SoundPair34:
            requireInside(c, p, 8);
            entry.SoundFieldOffset[3] = p;
            entry.SoundFieldOffset[4] = p + 4;
            entry.soundField[3] = m_file.f32(p);
            entry.soundField[4] = m_file.f32(p + 4);
            break;
        case chunk::SoundPair56:
            requireInside(c, p, 8);
            entry.SoundFieldOffset[5] = p;
            entry.SoundFieldOffset[6] = p + 4;
            entry.soundField[5] = m_file.f32(p);
            entry.soundField[6] = m_file.f32(p + 4);
            break;
        default:
            break;
        }
        pos = c.end();
    }
}

void SceneWalker::walkAfterObjects(std::uint32_t from)
{
    const auto fileEnd = static_cast<std::uint32_t>(m_file.size());
    std::uint32_t pos = from;
    while (pos < fileEnd) {
        const Chunk c = chunkAt(pos, fileEnd);
        if (c.id == chunk::DefinitionsSection) {
            m_catalogue.DefsPos = c.start + 2;
            for (std::uint32_t p = c.payload(); p < c.end();) {
                const Chunk child = chunkAt(p, c.end());
                if (child.id == chunk::Definition)
                    readDefinition(child);
                p = child.end();
            }
        } else if (c.id == chunk::ScriptsSection) {
            m_catalogue.ScriptsLengthPos = c.start + 2;
            m_catalogue.FirstScriptIndex = static_cast<std::uint32_t>(m_catalogue.entries.size());
            for (std::uint32_t p = c.payload(); p < c.end();) {
                const Chunk child = chunkAt(p, c.end());
                if (child.id == chunk::Script)
                    readScript(child);
                p = child.end();
            }
        }
        pos = c.end();
    }
}

void SceneWalker::readDefinition(const Chunk& definition)
{
    std::string_view name;
    std::uint32_t type = 0;
    for (std::uint32_t pos = definition.payload(); pos < definition.end();) {
        const Chunk c = chunkAt(pos, definition.end());
        switch (c.id) {
        case chunk::DefinitionName:
            name = textOf(c);
            advanceProgress(c.start, m_objectsEnd,
                            std::max<std::uint32_t>(1, static_cast<std::uint32_t>((m_file.size() - m_objectsEnd) / 30)),
                            ObjectsProgressShare, ProgressMaximum, name);
            break;
        case chunk::DefinitionType:
            requireInside(c, c.payload(), 4);
            type = m_file.u32(c.payload());
            break;
        case chunk::DefinitionData:
            // The owner is settled at the data chunk; a definition without an owner is skipped whole.
            applyDefinition(definition, name, type, c);
            return;
        default:
            break;
        }
        pos = c.end();
    }
}

std::uint32_t SceneWalker::ownerOf(std::string_view definitionName) const
{
    // The first row whose name equals the definition name or, when that holds a ".", the part of it
    // before the first ".".
    std::uint32_t owner = m_firstRowOfName.find(definitionName);
    if (const auto dot = definitionName.find('.'); dot != std::string_view::npos)
        owner = std::min(owner, m_firstRowOfName.find(definitionName.substr(0, dot)));
    return owner;
}

void SceneWalker::applyDefinition(const Chunk& definition, std::string_view name, std::uint32_t type,
                                  const Chunk& data)
{
    const std::uint32_t row = ownerOf(name);
    if (row >= m_catalogue.entries.size())
        return;
    SceneEntry& entry = m_catalogue.entries[row];
    entry.DefinitionChunkOffset = definition.start;
    const std::uint32_t p = data.payload();

    switch (type) {
    case typecode::Car:
    case typecode::Door:
        entry.typeCode = type;
        break;
    case typecode::ScriptedObject:
        entry.typeCode = type;
        entry.hasScript = true;
        entry.DataChunkOffset = data.start;
        recordScriptAt(data, p + 10, entry);
        break;
    case typecode::Human: {
        entry.typeCode = type;
        entry.hasScript = true;
        entry.DataChunkOffset = data.start;
        requireInside(data, p + 1, 69); // behaviour (1) ... weight (65 + 4)
        entry.HumanBehaviourOffset = p + 1;
        entry.behaviour = m_file.u8(p + 1);
        entry.sex = m_file.u8(p + 5);
        entry.AggressionOffset = p + 41;
        entry.aggression = m_file.f32(p + 41);
        entry.WeightOffset = p + 65;
        entry.weight = m_file.f32(p + 65);
        // The script starts at data offset 78, or at 79 when byte 78 is a control character other
        // than line feed and carriage return.
        requireInside(data, p + 78, 1);
        const std::uint8_t marker = m_file.u8(p + 78);
        const bool shifted = marker <= 0x1F && marker != 0x0A && marker != 0x0D;
        recordScriptAt(data, p + (shifted ? 79 : 78), entry);
        break;
    }
    case typecode::PhysicalThing:
        entry.typeCode = type;
        requireInside(data, p + 10, 16); // weight (10) ... sound kind (22 + 4)
        entry.WeightOffset = p + 10;
        entry.weight = m_file.f32(p + 10);
        entry.ThingSoundOffset = p + 22;
        entry.thingSound = m_file.u8(p + 22);
        break;
    default:
        break;
    }
}

// A script is a u32 length and that many characters; both must lie inside the chunk that holds it.
void SceneWalker::recordScriptAt(const Chunk& holder, std::uint32_t lengthOffset, SceneEntry& entry)
{
    requireInside(holder, lengthOffset, 4);
    requireInside(holder, lengthOffset + 4ull, m_file.u32(lengthOffset));
    entry.ScriptOffset = lengthOffset;
}

void SceneWalker::readScript(const Chunk& script)
{
    const std::uint32_t p = script.payload();
    requireInside(script, p + 1, 4);
    const std::uint32_t nameLength = m_file.u32(p + 1);
    requireInside(script, p + 5ull, nameLength);
    // A name longer than 50 characters yields its first 15.
    const std::uint32_t shown = nameLength > 50 ? 15 : nameLength;
    const auto nameBytes = m_file.bytes(p + 5, shown);
    const std::string_view name(reinterpret_cast<const char*>(nameBytes.data()), nameBytes.size());

    const std::uint64_t lengthOffset = p + 5ull + nameLength;
    requireInside(script, lengthOffset, 4);
    SceneEntry entry;
    entry.name = name;
    entry.isScript = true;
    entry.hasScript = true;
    entry.DefinitionChunkOffset = script.start;
    recordScriptAt(script, static_cast<std::uint32_t>(lengthOffset), entry);
    m_catalogue.entries.push_back(std::move(entry));
    addListName(name);
}

void SceneWalker::buildRowMaps()
{
    for (std::uint32_t row = 0; row < m_catalogue.entries.size(); ++row)
        (m_catalogue.entries[row].hasScript ? m_catalogue.scriptRows : m_catalogue.plainRows).push_back(row);
}

void SceneWalker::advanceProgress(std::uint32_t pos, std::uint32_t base, std::uint32_t step, int first, int cap,
                                  std::string_view text)
{
    if (!m_progress)
        return;
    const int reached = std::min<int>(cap, first + static_cast<int>((pos - std::min(pos, base)) / step));
    if (reached > m_progressValue || !text.empty()) {
        m_progressValue = std::max(m_progressValue, reached);
        m_progress->step(m_progressValue, text);
    }
}

} // namespace

namespace {

// Empties a catalogue but keeps its allocations, so a reload of a large scene does not pay for
// fresh memory again.
void resetKeepingCapacity(SceneCatalogue& c, std::uint64_t sceneSize)
{
    c.entries.clear();
    c.scriptRows.clear();
    c.plainRows.clear();
    c.SceneSize = sceneSize;
    c.ObjectsSize = c.ObjectsSizeOffset = c.DefsPos = c.ScriptsLengthPos = c.FirstScriptIndex = 0;
}

} // namespace

void loadSceneInto(std::span<const std::uint8_t> bytes, SceneLoadResult& result, Progress* progress)
{
    result.status = SceneLoadStatus::Empty;
    result.messages.clear();
    resetKeepingCapacity(result.catalogue, bytes.size());
    if (bytes.empty())
        return;

    ByteReader file(bytes);
    if (bytes.size() < 2 || file.u16(0) != chunk::SceneHeader) {
        result.status = SceneLoadStatus::NotAScene;
        result.messages.emplace_back(scenemsg::NotAScene);
        return;
    }

    if (progress) {
        progress->start(ProgressMaximum);
        progress->step(0, {});
    }
    try {
        // Offsets are recorded as 32-bit values, as the file's own size fields are.
        if (bytes.size() > std::numeric_limits<std::uint32_t>::max())
            throw DamagedScene{};
        SceneWalker(bytes, progress, result).run();
        result.status = SceneLoadStatus::Loaded;
    } catch (const DamagedScene&) {
        result.status = SceneLoadStatus::Unreadable;
    } catch (const TruncatedData&) {
        result.status = SceneLoadStatus::Unreadable;
    }
    if (result.status == SceneLoadStatus::Unreadable) {
        resetKeepingCapacity(result.catalogue, bytes.size());
        result.messages.emplace_back(scenemsg::Unreadable);
    }
    if (progress)
        progress->finish();
}

SceneLoadResult loadScene(std::span<const std::uint8_t> bytes, Progress* progress)
{
    SceneLoadResult result;
    loadSceneInto(bytes, result, progress);
    return result;
}

} // namespace mw
