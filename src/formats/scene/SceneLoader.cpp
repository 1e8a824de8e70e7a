#include "formats/scene/SceneLoader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <string_view>

#include "formats/scene/NameIndex.h"
#include "foundation/bytes/ByteReader.h"
#include "foundation/seams/Progress.h"

namespace mw {

namespace {

// Raised for a chunk tree that cannot be trusted: a size below the header, a chunk running past its
// parent or the file, or a field running past its chunk. The load then ends with nothing loaded,
// so no later write can use offsets into a damaged tree.
struct DamagedScene {};

using Chunk = chunk::Span;

constexpr int ProgressMaximum = 51;
constexpr int LightFieldLevel = 4; // section, object, light, the light's fields
constexpr int ObjectsProgressShare = 25;

} // namespace

// A definition as read, its owner not yet looked up.
struct PendingDefinition {
    std::uint32_t definitionStart = 0, dataStart = 0, dataSize = 0;
    TextRef name;
    std::uint32_t type = 0;
    std::uint32_t hash = 0, stemHash = 0; // of the name, and of its part before the first "."
    bool hasStem = false;
};

// The loader's working memory, kept with the result so a reload allocates nothing new.
struct SceneLoadScratch {
    std::vector<PendingDefinition> pending;
    std::vector<std::string_view> names;
    std::vector<std::uint32_t> hashes, rows;
    NameIndex slots;
};

namespace {

class SceneWalker {
public:
    SceneWalker(std::span<const std::uint8_t> bytes, Progress* progress, SceneLoadResult& result)
        : m_file(bytes), m_data(bytes.data()), m_progress(progress), m_result(result), m_catalogue(result.catalogue),
          m_scratch(*result.scratch)
    {
    }

    void run();

private:
    // The chunk at `pos`, which must lie whole inside [pos, limit).
    Chunk chunkAt(std::uint32_t pos, std::uint32_t limit) const
    {
        if (limit - pos < chunk::HeaderSize)
            throw DamagedScene{};
        // `limit` never lies past the file, so the header is inside it.
        Chunk c;
        c.start = pos;
        c.id = rawU16(pos);
        c.size = rawU32(pos + 2);
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

    // Reads of fields already checked to lie inside a chunk (and so inside the file).
    std::uint16_t rawU16(std::uint32_t at) const { return loadU16(m_data + at); }
    std::uint32_t rawU32(std::uint32_t at) const { return loadU32(m_data + at); }

    // A text chunk holds its characters and a terminating zero: size - 7 characters. A chunk
    // longer than 50 bytes yields only its first 8 characters. The text always lies inside the
    // chunk (a chunk is at least its header; 8 <= 50 - 6).
    static TextRef textOf(const Chunk& c)
    {
        return {c.payload(), c.size > 50 ? 8 : (c.size > 7 ? c.size - 7 : 0)};
    }
    std::string_view textAt(TextRef ref) const
    {
        return {reinterpret_cast<const char*>(m_data) + ref.offset, ref.length};
    }
    std::string_view nameOfRow(std::uint32_t row) const
    {
        const SceneRecord& r = m_catalogue.records[row];
        return {reinterpret_cast<const char*>(m_data) + r.NameOffset, r.nameLength};
    }
    // The row of `table` that `row` names, added when it names none yet.
    template <class Table>
    static auto& rowIn(Table& table, std::uint32_t& row)
    {
        if (row == SceneRecord::NoRow) {
            row = static_cast<std::uint32_t>(table.size());
            return table.emplace_back();
        }
        return table[row];
    }
    DefinitionValues& valuesOf(SceneRecord& entry) { return rowIn(m_catalogue.definitionValues, entry.values); }

    void walkTopLevel();
    void walkObjects(const Chunk& section);
    void readObject(const Chunk& object, SceneRecord& entry);
    // `level`: the level of the light's children (those of an object's light stand at level 4).
    void readLight(const Chunk& light, LightRecord& entry, int level);
    void readSound(const Chunk& sound, SoundRecord& entry);
    void walkAfterObjects(std::uint32_t from);
    void readDefinition(const Chunk& definition);
    void settleDefinitions();
    void applyDefinition(const PendingDefinition& definition, std::uint32_t owner);
    void readScript(const Chunk& script);
    void recordScriptAt(const Chunk& data, std::uint32_t lengthOffset, SceneRecord& entry);
    void buildRowMaps();

    void advanceProgress(std::uint32_t pos, std::uint32_t base, std::uint32_t step, int first, int cap,
                         std::string_view text);

    ByteReader m_file;
    const std::uint8_t* m_data;
    Progress* m_progress;
    SceneLoadResult& m_result;
    SceneCatalogue& m_catalogue;
    SceneLoadScratch& m_scratch;
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
            walkObjects(c);
            m_catalogue.FirstScriptIndex = static_cast<std::uint32_t>(m_catalogue.records.size());
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

void SceneWalker::walkObjects(const Chunk& section)
{
    const std::uint32_t step = std::max<std::uint32_t>(1, static_cast<std::uint32_t>(m_file.size() / 30));
    std::uint32_t pos = section.payload();
    while (pos < section.end()) {
        const Chunk c = chunkAt(pos, section.end());
        if (c.id == chunk::Object) {
            SceneRecord& entry = m_catalogue.records.emplace_back();
            entry.ObjectChunkOffset = c.start;
            readObject(c, entry);
            // Hashed while the name is at hand, for finding rows by name.
            m_catalogue.nameHashes.push_back(
                NameIndex::hashOf(nameOfRow(static_cast<std::uint32_t>(m_catalogue.records.size() - 1))));
        }
        pos = c.end();
        if (m_progress)
            advanceProgress(pos, section.start, step, 0, ObjectsProgressShare, {});
    }
}

// Every object gets its row, named or not, so rows and catalogue entries never drift apart.
void SceneWalker::readObject(const Chunk& object, SceneRecord& entry)
{
    std::uint32_t pos = object.payload();
    while (pos < object.end()) {
        const Chunk c = chunkAt(pos, object.end());
        const std::uint32_t p = c.payload();
        switch (c.id) {
        case chunk::ObjectName: {
            const TextRef name = textOf(c);
            entry.NameOffset = name.offset;
            entry.nameLength = static_cast<std::uint8_t>(name.length);
            break;
        }
        case chunk::ObjectType:
            requireInside(c, p, 4);
            entry.typeCode = rawU32(p);
            break;
        case chunk::Translation:
            requireInside(c, p, 12);
            entry.TranslationOffset = p;
            break;
        case chunk::Rotation:
            requireInside(c, p, 16);
            entry.RotationOffset = p;
            break;
        case chunk::Size:
            requireInside(c, p, 12);
            entry.SizeOffset = p;
            break;
        case chunk::Model: {
            const TextRef model = textOf(c);
            entry.ModelOffset = model.offset;
            entry.modelLength = static_cast<std::uint8_t>(model.length);
            break;
        }
        case chunk::Link:
            if (c.payloadSize() >= chunk::HeaderSize) {
                const Chunk first = chunkAt(p, c.end());
                if (first.id == chunk::ObjectName) {
                    const TextRef link = textOf(first);
                    entry.LinkOffset = link.offset;
                    entry.linkLength = static_cast<std::uint8_t>(link.length);
                }
            }
            break;
        case chunk::Light:
            readLight(c, rowIn(m_catalogue.lights, entry.light), LightFieldLevel);
            break;
        case chunk::Sound:
            readSound(c, rowIn(m_catalogue.sounds, entry.sound));
            break;
        default:
            break; // carried through untouched
        }
        pos = c.end();
    }
}

void SceneWalker::readLight(const Chunk& light, LightRecord& entry, int level)
{
    std::uint32_t pos = light.payload();
    while (pos < light.end()) {
        if (level > chunk::MaxDepth)
            throw DamagedScene{};
        const Chunk c = chunkAt(pos, light.end());
        const std::uint32_t p = c.payload();
        switch (c.id) {
        case chunk::LightKind:
            requireInside(c, p, 4);
            entry.kind = rawU32(p);
            break;
        case chunk::LightColour:
            requireInside(c, p, 12);
            entry.ColourOffset = p;
            break;
        case chunk::LightPower:
            requireInside(c, p, 4);
            entry.PowerOffset = p;
            break;
        case chunk::LightRange:
            requireInside(c, p, 8);
            entry.RangeOffset = p;
            break;
        case chunk::LightDistance:
            requireInside(c, p, 8);
            entry.DistanceOffset = p;
            break;
        case chunk::Light:
            // A nested light header: its children belong to the same light.
            readLight(c, entry, level + 1);
            break;
        default:
            break;
        }
        pos = c.end();
    }
}

void SceneWalker::readSound(const Chunk& sound, SoundRecord& entry)
{
    std::uint32_t pos = sound.payload();
    while (pos < sound.end()) {
        const Chunk c = chunkAt(pos, sound.end());
        const std::uint32_t p = c.payload();
        switch (c.id) {
        case chunk::SoundName:
            entry.fileName = textOf(c);
            break;
        case chunk::SoundKind:
            requireInside(c, p, 4);
            entry.KindOffset = p;
            break;
        case chunk::SoundVolume:
            requireInside(c, p, 4);
            entry.VolumeOffset = p;
            break;
        case chunk::SoundPair34:
            requireInside(c, p, 8);
            entry.Pair34Offset = p;
            break;
        case chunk::SoundPair56:
            requireInside(c, p, 8);
            entry.Pair56Offset = p;
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
            m_scratch.pending.clear();
            for (std::uint32_t p = c.payload(); p < c.end();) {
                const Chunk child = chunkAt(p, c.end());
                if (child.id == chunk::Definition)
                    readDefinition(child);
                p = child.end();
            }
            settleDefinitions();
        } else if (c.id == chunk::ScriptsSection) {
            m_catalogue.ScriptsLengthPos = c.start + 2;
            m_catalogue.FirstScriptIndex = static_cast<std::uint32_t>(m_catalogue.records.size());
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

// Reads a definition up to its data chunk; its owner is settled with the rest of its section.
void SceneWalker::readDefinition(const Chunk& definition)
{
    TextRef name;
    std::uint32_t type = 0;
    for (std::uint32_t pos = definition.payload(); pos < definition.end();) {
        const Chunk c = chunkAt(pos, definition.end());
        switch (c.id) {
        case chunk::DefinitionName:
            name = textOf(c);
            advanceProgress(c.start, m_objectsEnd,
                            std::max<std::uint32_t>(1, static_cast<std::uint32_t>((m_file.size() - m_objectsEnd) / 30)),
                            ObjectsProgressShare, ProgressMaximum, textAt(name));
            break;
        case chunk::DefinitionType:
            requireInside(c, c.payload(), 4);
            type = rawU32(c.payload());
            break;
        case chunk::DefinitionData: {
            // Read no further: the owner is settled at the data chunk, and a definition without an
            // owner is skipped whole.
            PendingDefinition& pending = m_scratch.pending.emplace_back();
            pending.definitionStart = definition.start;
            pending.dataStart = c.start;
            pending.dataSize = c.size;
            pending.name = name;
            pending.type = type;
            const std::string_view text = textAt(name);
            pending.hash = NameIndex::hashOf(text);
            if (const auto dot = text.find('.'); dot != std::string_view::npos) {
                pending.hasStem = true;
                pending.stemHash = NameIndex::hashOf(text.substr(0, dot));
            }
            return;
        }
        default:
            break;
        }
        pos = c.end();
    }
}

// The definitions of a section, each given to its owner in file order: the first row named like
// the definition or, when its name holds a ".", like the part before the first "." (whichever row
// comes first). The rows bearing those names are found in one pass over the rows so far.
void SceneWalker::settleDefinitions()
{
    auto& names = m_scratch.names;
    auto& hashes = m_scratch.hashes;
    names.clear();
    hashes.clear();
    for (const PendingDefinition& d : m_scratch.pending) {
        const std::string_view name = textAt(d.name);
        names.push_back(name);
        hashes.push_back(d.hash);
        if (d.hasStem) {
            names.push_back(name.substr(0, name.find('.')));
            hashes.push_back(d.stemHash);
        }
    }
    m_catalogue.findFirstRows(names, hashes, m_scratch.rows, m_scratch.slots);
    std::size_t k = 0;
    for (const PendingDefinition& d : m_scratch.pending) {
        std::uint32_t owner = m_scratch.rows[k++];
        if (d.hasStem)
            owner = std::min(owner, m_scratch.rows[k++]);
        applyDefinition(d, owner);
    }
}

void SceneWalker::applyDefinition(const PendingDefinition& pending, std::uint32_t row)
{
    if (row >= m_catalogue.records.size())
        return;
    Chunk data;
    data.start = pending.dataStart;
    data.id = chunk::DefinitionData;
    data.size = pending.dataSize;
    const std::uint32_t type = pending.type;
    SceneRecord& entry = m_catalogue.records[row];
    entry.DefinitionChunkOffset = pending.definitionStart;
    const std::uint32_t p = data.payload();

    switch (type) {
    case typecode::Car:
    case typecode::Door:
        entry.typeCode = type;
        break;
    case typecode::ScriptedObject:
        entry.typeCode = type;
        entry.hasScript = true;
        valuesOf(entry).DataChunkOffset = data.start;
        recordScriptAt(data, p + 10, entry);
        break;
    case typecode::Human: {
        entry.typeCode = type;
        entry.hasScript = true;
        DefinitionValues& values = valuesOf(entry);
        values.DataChunkOffset = data.start;
        requireInside(data, p + 1, 69); // behaviour (1), sex (5) ... weight (65 + 4)
        values.HumanBehaviourOffset = p + 1;
        values.AggressionOffset = p + 41;
        values.WeightOffset = p + 65;
        // The script starts at data offset 78, or at 79 when byte 78 is a control character other
        // than line feed and carriage return.
        requireInside(data, p + 78, 1);
        const std::uint8_t marker = m_data[p + 78];
        const bool shifted = marker <= 0x1F && marker != 0x0A && marker != 0x0D;
        recordScriptAt(data, p + (shifted ? 79 : 78), entry);
        break;
    }
    case typecode::PhysicalThing: {
        entry.typeCode = type;
        requireInside(data, p + 10, 16); // weight (10) ... sound kind (22 + 4)
        DefinitionValues& values = valuesOf(entry);
        values.WeightOffset = p + 10;
        values.ThingSoundOffset = p + 22;
        break;
    }
    default:
        break;
    }
}

// A script is a u32 length and that many characters; both must lie inside the chunk that holds it.
void SceneWalker::recordScriptAt(const Chunk& holder, std::uint32_t lengthOffset, SceneRecord& entry)
{
    requireInside(holder, lengthOffset, 4);
    requireInside(holder, lengthOffset + 4ull, rawU32(lengthOffset));
    entry.ScriptOffset = lengthOffset;
}

void SceneWalker::readScript(const Chunk& script)
{
    const std::uint32_t p = script.payload();
    requireInside(script, p + 1, 4);
    const std::uint32_t nameLength = rawU32(p + 1);
    requireInside(script, p + 5ull, nameLength);
    const std::uint64_t lengthOffset = p + 5ull + nameLength;
    requireInside(script, lengthOffset, 4);
    SceneRecord& entry = m_catalogue.records.emplace_back();
    entry.NameOffset = p + 5;
    entry.nameLength = static_cast<std::uint8_t>(nameLength > 50 ? 15 : nameLength); // a longer name shows 15
    entry.isScript = true;
    entry.hasScript = true;
    entry.DefinitionChunkOffset = script.start;
    recordScriptAt(script, static_cast<std::uint32_t>(lengthOffset), entry);
    m_catalogue.nameHashes.push_back(
        NameIndex::hashOf(nameOfRow(static_cast<std::uint32_t>(m_catalogue.records.size() - 1))));
}

void SceneWalker::buildRowMaps()
{
    const auto rows = static_cast<std::uint32_t>(m_catalogue.records.size());
    auto& scriptRows = m_catalogue.scriptRows;
    auto& plainRows = m_catalogue.plainRows;
    std::uint32_t scripts = 0;
    for (std::uint32_t row = 0; row < rows; ++row)
        scripts += m_catalogue.records[row].hasScript;
    scriptRows.resize(scripts);
    plainRows.resize(rows - scripts);
    std::uint32_t s = 0, p = 0;
    for (std::uint32_t row = 0; row < rows; ++row) {
        if (m_catalogue.records[row].hasScript)
            scriptRows[s++] = row;
        else
            plainRows[p++] = row;
    }
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
    c.records.clear();
    c.lights.clear();
    c.sounds.clear();
    c.definitionValues.clear();
    c.nameHashes.clear();
    c.scriptRows.clear();
    c.plainRows.clear();
    c.SceneSize = sceneSize;
    c.ObjectsSize = c.ObjectsSizeOffset = c.DefsPos = c.ScriptsLengthPos = c.FirstScriptIndex = 0;
}

// The entry named "Tommy" is the player, whatever its definition made of it: shown without a
// kind's panel and marked as a human on the map.
void markThePlayer(SceneCatalogue& c)
{
    for (std::size_t row = 0; row < c.entryCount(); ++row)
        if (c.records[row].nameLength == 5 && c.name(row) == "Tommy")
            c.records[row].typeCode = typecode::Tommy;
}

} // namespace

void loadSceneInto(SharedImage image, SceneLoadResult& result, Progress* progress)
{
    const std::span<const std::uint8_t> bytes = spanOf(image);
    result.status = SceneLoadStatus::Empty;
    result.messages.clear();
    result.catalogue.source = std::move(image);
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
        if (!result.scratch)
            result.scratch = std::make_shared<SceneLoadScratch>();
        SceneWalker(bytes, progress, result).run();
        markThePlayer(result.catalogue);
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

SceneLoadResult loadScene(SharedImage bytes, Progress* progress)
{
    SceneLoadResult result;
    loadSceneInto(std::move(bytes), result, progress);
    return result;
}

SceneLoadResult loadScene(std::span<const std::uint8_t> bytes, Progress* progress)
{
    return loadScene(std::make_shared<const std::vector<std::uint8_t>>(bytes.begin(), bytes.end()), progress);
}

} // namespace mw
