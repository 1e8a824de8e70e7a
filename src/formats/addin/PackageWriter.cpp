// The package writer: everything the reader reads, laid out as the reader expects it. What the
// layout cannot hold is refused with the reason, so what is written always reads back the same.
#include "formats/addin/Package.h"

#include "formats/scene/SceneChunks.h"
#include "foundation/bytes/ByteReader.h"
#include "foundation/bytes/ByteWriter.h"

namespace mw {

namespace {

constexpr std::size_t TextField = 20;
constexpr std::size_t MaxReplacement = 255; // the field is wider than its one-byte length can say
constexpr std::size_t MaxRecords = 255; // the count is one byte

struct Refused {
    std::string problem;
};

// A text padded with blanks to its field; the reader trims trailing blanks, so a text must not end
// in one.
void field(ByteWriter& out, const std::string& text, const char* what)
{
    if (text.size() > TextField)
        throw Refused{std::string(what) + " \"" + text + "\" is longer than 20 characters"};
    if (!text.empty() && text.back() == ' ')
        throw Refused{std::string(what) + " \"" + text + "\" ends in a blank"};
    out.text(text);
    out.fill(TextField - text.size(), ' ');
}

bool wholeChunks(std::span<const std::uint8_t> bytes, std::uint16_t id)
{
    const ByteReader r(bytes);
    for (std::size_t at = 0; at < bytes.size();) {
        if (!r.has(at, 6) || r.u16(at) != id || r.u32(at + 2) < 6 || !r.has(at, r.u32(at + 2)))
            return false;
        at += r.u32(at + 2);
    }
    return true;
}

} // namespace

PackageWriteResult writePackage(const Package& p)
{
    ByteWriter out;
    try {
        field(out, p.title, "the title");
        field(out, p.missionName, "the mission name");
        for (int target = 0; target < 4; ++target) {
            if (p.patches[target].size() > MaxRecords)
                throw Refused{"a file has more than 255 patch records"};
            out.u8(p.apply[target] ? 1 : 0);
            out.u8(static_cast<std::uint8_t>(p.patches[target].size()));
        }
        out.fill(PackageHeaderSize - out.size(), 0);
        for (const auto& records : p.patches)
            for (const PatchRecord& r : records) {
                if (r.pattern.empty() || r.pattern.size() > PatternField)
                    throw Refused{"a search pattern is not 1 to 17 bytes long"};
                if (r.replacement.size() > MaxReplacement)
                    throw Refused{"a replacement is longer than 255 bytes"};
                out.u8(static_cast<std::uint8_t>(r.pattern.size()));
                out.u8(static_cast<std::uint8_t>(r.replacement.size()));
                out.append(r.pattern);
                out.fill(PatternField - r.pattern.size(), 0);
                out.append(r.replacement);
                out.fill(ReplacementField - r.replacement.size(), 0);
            }
        field(out, p.blockName, "the block name");
        if (!wholeChunks(p.objects, chunk::Object) || !wholeChunks(p.definitions, chunk::Definition))
            throw Refused{"the scene block is not made of whole object and definition chunks"};
        out.u32(static_cast<std::uint32_t>(p.objects.size()));
        out.u32(static_cast<std::uint32_t>(p.definitions.size()));
        out.append(p.objects);
        out.append(p.definitions);
        for (const auto& group : p.groups) {
            out.u32(static_cast<std::uint32_t>(group.size()));
            for (const PackageFile& file : group) {
                if (!isPlainFileName(file.name))
                    throw Refused{"the file name \"" + file.name + "\" does not name a file inside its folder"};
                field(out, file.name, "the file name");
                out.u32(static_cast<std::uint32_t>(file.content.size()));
                out.append(file.content);
            }
        }
    } catch (const Refused& refused) {
        return {{}, refused.problem};
    }
    return {out.take(), {}};
}

} // namespace mw
