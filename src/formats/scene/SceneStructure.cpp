#include "formats/scene/SceneStructure.h"

#include <algorithm>
#include <optional>

#include "formats/scene/SceneChunks.h"
#include "foundation/bytes/ByteReader.h"
#include "foundation/text/Latin1Text.h"
#include "foundation/text/NumericText.h"

namespace mw {

namespace {

constexpr std::uint16_t TopLevel = 0; // the file itself as the container of the sections

// The bytes a reader takes from a field chunk in the container `parent`, and the field's name; no
// name for a chunk it does not read.
struct FieldSize {
    std::uint32_t bytes = 0;
    const char* name = nullptr;
};
FieldSize fieldSize(std::uint16_t parent, std::uint16_t id)
{
    switch (parent) {
    case chunk::Object:
        switch (id) {
        case chunk::ObjectType: return {4, "type"};
        case chunk::Translation: return {12, "translation"};
        case chunk::Rotation: return {16, "rotation"};
        case chunk::Size: return {12, "size"};
        default: return {};
        }
    case chunk::Light:
        switch (id) {
        case chunk::LightKind: return {4, "light kind"};
        case chunk::LightColour: return {12, "light colour"};
        case chunk::LightPower: return {4, "light power"};
        case chunk::LightRange: return {8, "light range"};
        case chunk::LightDistance: return {8, "light distance"};
        default: return {};
        }
    case chunk::Sound:
        switch (id) {
        case chunk::SoundKind: return {4, "sound kind"};
        case chunk::SoundVolume: return {4, "sound volume"};
        case chunk::SoundPair34: return {8, "sound fields 3 and 4"};
        case chunk::SoundPair56: return {8, "sound fields 5 and 6"};
        default: return {};
        }
    case chunk::Definition:
        return id == chunk::DefinitionType ? FieldSize{4, "definition type"} : FieldSize{};
    default:
        return {};
    }
}

// The chunks whose payload is child chunks, by the container they stand in.
bool isContainer(std::uint16_t parent, std::uint16_t id)
{
    switch (parent) {
    case TopLevel:
        return id == chunk::ObjectsSection || id == chunk::DefinitionsSection || id == chunk::ScriptsSection;
    case chunk::ObjectsSection:
        return id == chunk::Object;
    case chunk::Object:
        return id == chunk::Link || id == chunk::Light || id == chunk::Sound;
    case chunk::Light:
        return id == chunk::Light; // a nested light header
    case chunk::DefinitionsSection:
        return id == chunk::Definition;
    default:
        return false;
    }
}

// How many bytes a definition's data chunk needs for what the loader reads of its kind.
constexpr std::uint32_t HumanDataBytes = 79;  // values up to offset 69, the script marker at 78
constexpr std::uint32_t ThingDataBytes = 26;  // weight at 10, sound kind at 22
constexpr std::uint32_t ScriptedDataBytes = 14; // script length at 10

std::string bytesText(std::uint64_t n) { return std::to_string(n) + (n == 1 ? " byte" : " bytes"); }

class StructureWalk {
public:
    StructureWalk(std::span<const std::uint8_t> bytes, SceneStructure& out) : m_file(bytes), m_out(out) {}

    void run();

private:
    using Chunk = chunk::Span;
    struct Definition {
        DefinitionSeen seen;
        std::optional<Chunk> data;
    };

    void error(std::uint64_t offset, std::string message) { m_out.findings.push_back({true, offset, std::move(message)}); }
    void warning(std::uint64_t offset, std::string message)
    {
        m_out.findings.push_back({false, offset, std::move(message)});
    }

    static std::string chunkName(std::uint16_t id) { return "chunk " + hexNumber(id, 4); }
    std::string containerEnd(std::uint16_t parent, std::uint32_t start) const
    {
        if (parent != TopLevel)
            return "the end of " + chunkName(parent) + " at " + hexNumber(start);
        return m_headerShortened ? "the length the file header gives" : "the end of the file";
    }
    // A text chunk's characters, shortened as the loader shortens them.
    std::string textOf(const Chunk& c) const
    {
        const std::uint32_t length = c.size > 50 ? 8 : (c.size > 7 ? c.size - 7 : 0);
        return m_file.text(c.payload(), length);
    }

    // Walks the children filling [from, end) of the container `parent` that starts at `parentStart`;
    // they stand at `level` (the file's top-level chunks at level 1).
    void walkChildren(std::uint32_t from, std::uint32_t end, std::uint16_t parent, std::uint32_t parentStart,
                      int level);
    void visit(const Chunk& c, std::uint16_t parent, int level);
    void checkField(const Chunk& c, std::uint16_t parent);
    void finishDefinition(const Definition& d);
    // A script's u32 length at `lengthAt` and its text, inside `holder`.
    void checkScriptText(const Chunk& holder, std::uint32_t lengthAt, const std::string& owner, const char* holderName);
    void checkScript(const Chunk& c);

    ByteReader m_file;
    SceneStructure& m_out;
    bool m_objectsSeen = false;
    bool m_headerShortened = false; // the header gives a length below the file's: the top level ends there
    std::optional<Definition> m_definition; // the definition being walked
};

void StructureWalk::run()
{
    const std::uint64_t size = m_file.size();
    if (size < 2 || m_file.u16(0) != chunk::SceneHeader)
        return;
    if (size < chunk::HeaderSize) {
        error(0, "the file ends inside its header (" + bytesText(size) + ")");
        return;
    }
    const std::uint32_t declared = m_file.u32(2);
    auto limit = static_cast<std::uint32_t>(std::min<std::uint64_t>(size, 0xFFFFFFFFu));
    if (declared < chunk::HeaderSize) {
        error(2, "the file header gives the file a length of " + bytesText(declared) + ", less than the header");
    } else if (declared > size) {
        error(2, "the file header gives the file a length of " + bytesText(declared) + ", but it has " +
                     bytesText(size) + " (" + std::to_string(declared - size) + " missing)");
    } else if (declared < size) {
        // The game reads no further than the header says: what lies beyond is no damage of the tree.
        warning(declared, bytesText(size - declared) + " beyond the length the file header gives (" +
                              bytesText(declared) + ")");
        limit = declared;
        m_headerShortened = true;
    }
    walkChildren(chunk::HeaderSize, limit, TopLevel, 0, 1);
}

void StructureWalk::walkChildren(std::uint32_t from, std::uint32_t end, std::uint16_t parent, std::uint32_t parentStart,
                                 int level)
{
    if (from < end && level > chunk::MaxDepth) {
        error(from, "chunks nest deeper than " + std::to_string(chunk::MaxDepth) + " levels here, in " +
                        chunkName(parent) + " at " + hexNumber(parentStart) + ": the walk goes no deeper");
        return;
    }
    std::uint32_t pos = from;
    while (pos < end) {
        if (end - pos < chunk::HeaderSize) {
            error(pos, bytesText(end - pos) + " before " + containerEnd(parent, parentStart) + " hold no whole chunk");
            return;
        }
        Chunk c;
        c.start = pos;
        c.id = m_file.u16(pos);
        c.size = m_file.u32(pos + 2);
        if (c.size < chunk::HeaderSize) {
            error(pos, chunkName(c.id) + " gives itself a size of " + bytesText(c.size) +
                           ", less than its header: the chunks after it cannot be found");
            return;
        }
        if (c.size > end - pos) {
            error(pos, chunkName(c.id) + " of " + bytesText(c.size) + " runs " + bytesText(c.size - (end - pos)) +
                           " past " + containerEnd(parent, parentStart));
            return;
        }
        visit(c, parent, level);
        pos = c.end();
    }
}

void StructureWalk::visit(const Chunk& c, std::uint16_t parent, int level)
{
    if (parent == TopLevel) {
        const bool known = c.id == chunk::ObjectsSection ||
                           std::find(std::begin(chunk::HeaderRecords), std::end(chunk::HeaderRecords), c.id) !=
                               std::end(chunk::HeaderRecords);
        if (!m_objectsSeen && !known)
            warning(c.start, "unknown " + chunkName(c.id) + " before the objects section is skipped");
        m_objectsSeen = m_objectsSeen || c.id == chunk::ObjectsSection;
    }
    if (parent == chunk::ScriptsSection && c.id == chunk::Script) {
        checkScript(c);
        return;
    }
    if (parent == chunk::Definition) {
        Definition& d = *m_definition;
        if (c.id == chunk::DefinitionName)
            d.seen.name = textOf(c);
        else if (c.id == chunk::DefinitionType && c.payloadSize() >= 4)
            d.seen.type = m_file.u32(c.payload());
        else if (c.id == chunk::DefinitionData && !d.data)
            d.data = c;
    }
    checkField(c, parent);
    if (!isContainer(parent, c.id))
        return;
    if (c.id == chunk::Definition) {
        m_definition = Definition{};
        m_definition->seen.offset = c.start;
        walkChildren(c.payload(), c.end(), c.id, c.start, level + 1);
        finishDefinition(*m_definition);
        m_definition.reset();
        return;
    }
    walkChildren(c.payload(), c.end(), c.id, c.start, level + 1);
}

void StructureWalk::checkField(const Chunk& c, std::uint16_t parent)
{
    if (const FieldSize f = fieldSize(parent, c.id); f.name && c.payloadSize() < f.bytes)
        error(c.start, "the " + std::string(f.name) + " " + chunkName(c.id) + " holds " + bytesText(c.payloadSize()) +
                           ", less than the " + std::to_string(f.bytes) + " it needs");
}

void StructureWalk::finishDefinition(const Definition& d)
{
    m_out.definitions.push_back(d.seen);
    if (!d.data)
        return;
    const Chunk& data = *d.data;
    const std::string owner = "definition \"" + shownText(d.seen.name) + "\"";
    const auto tooSmall = [&](std::uint32_t needs, const char* kind) {
        if (data.payloadSize() >= needs)
            return false;
        error(data.start, owner + ": its data holds " + bytesText(data.payloadSize()) + ", less than the " +
                              std::to_string(needs) + " of a " + kind);
        return true;
    };
    switch (d.seen.type) {
    case typecode::ScriptedObject:
        if (!tooSmall(ScriptedDataBytes, "scripted object"))
            checkScriptText(data, data.payload() + 10, owner, "data");
        break;
    case typecode::Human:
        if (!tooSmall(HumanDataBytes, "human")) {
            // The script starts at data offset 78, or at 79 behind a control character other than
            // line feed and carriage return.
            const std::uint8_t marker = m_file.u8(data.payload() + 78);
            const bool shifted = marker <= 0x1F && marker != 0x0A && marker != 0x0D;
            checkScriptText(data, data.payload() + (shifted ? 79 : 78), owner, "data");
        }
        break;
    case typecode::PhysicalThing:
        tooSmall(ThingDataBytes, "physical thing");
        break;
    default:
        break;
    }
}

void StructureWalk::checkScriptText(const Chunk& holder, std::uint32_t lengthAt, const std::string& owner,
                                    const char* holderName)
{
    if (std::uint64_t{lengthAt} + 4 > holder.end()) {
        error(holder.start, owner + ": its " + holderName + " ends before the script's length");
        return;
    }
    const std::uint32_t length = m_file.u32(lengthAt);
    const std::uint64_t textEnd = std::uint64_t{lengthAt} + 4 + length;
    if (textEnd > holder.end())
        error(lengthAt, owner + ": its script of " + bytesText(length) + " runs " + bytesText(textEnd - holder.end()) +
                            " past the end of its " + holderName);
}

void StructureWalk::checkScript(const Chunk& c)
{
    const std::uint32_t p = c.payload();
    if (c.payloadSize() < 5) {
        error(c.start, "script " + chunkName(c.id) + " holds " + bytesText(c.payloadSize()) +
                           ", too few for its name's length");
        return;
    }
    const std::uint32_t nameLength = m_file.u32(p + 1);
    if (std::uint64_t{p} + 5 + nameLength + 4 > c.end()) {
        error(p + 1, "script " + chunkName(c.id) + ": its name of " + bytesText(nameLength) +
                         " and the text's length run past the end of its chunk");
        return;
    }
    const std::string name = m_file.text(p + 5, nameLength > 50 ? 15 : nameLength);
    const std::string owner = "script \"" + shownText(name) + "\"";
    const std::uint32_t lengthAt = p + 5 + nameLength;
    checkScriptText(c, lengthAt, owner, "chunk");
    const std::uint64_t textEnd = std::uint64_t{lengthAt} + 4 + m_file.u32(lengthAt);
    if (textEnd < c.end())
        warning(textEnd, owner + ": " + bytesText(c.end() - textEnd) + " after its text are left in its chunk");
}

} // namespace

SceneStructure walkSceneStructure(std::span<const std::uint8_t> bytes)
{
    SceneStructure out;
    StructureWalk(bytes, out).run();
    return out;
}

} // namespace mw
