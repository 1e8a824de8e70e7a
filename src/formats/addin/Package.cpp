#include "formats/addin/Package.h"

#include "formats/scene/SceneChunks.h"
#include "foundation/bytes/ByteReader.h"
#include "foundation/text/Latin1Text.h"

namespace mw {

namespace {

std::string trimmed(std::string text)
{
    const auto end = text.find_last_not_of(' ');
    text.erase(end == std::string::npos ? 0 : end + 1);
    return text;
}

// True when `bytes` is a sequence of whole chunks of `id`, each at least a header long.
bool wholeChunks(std::span<const std::uint8_t> bytes, std::uint16_t id)
{
    const ByteReader r(bytes);
    std::size_t at = 0;
    while (at < bytes.size()) {
        if (!r.has(at, 6) || r.u16(at) != id)
            return false;
        const std::uint32_t size = r.u32(at + 2);
        if (size < 6 || !r.has(at, size))
            return false;
        at += size;
    }
    return true;
}

struct Refused {
    std::string problem;
};

// Why a file name read from a package cannot be written: said as what the name is.
std::string unplainName(const std::string& name)
{
    const auto nul = name.find('\0');
    if (nul != std::string::npos && name.find_first_not_of(std::string("\0 ", 2), nul) == std::string::npos)
        return "a file name is padded with NUL bytes, not blanks: \"" + shownText(name.substr(0, nul)) + "\"";
    for (const unsigned char c : name)
        if (c < 0x20 || c == 0x7F)
            return "a file name holds control bytes: \"" + shownText(name) + "\"";
    if (name.empty())
        return "a file has no name";
    return "it would write \"" + shownText(name) + "\" outside its folder";
}

} // namespace

bool isPlainFileName(const std::string& name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' ||
            c == '<' || c == '>' || c == '|')
            return false;
    // A name the Windows file system would change: trailing dot or blank.
    return name.back() != '.' && name.back() != ' ';
}

PackageReadResult readPackage(std::span<const std::uint8_t> bytes)
{
    const ByteReader r(bytes);
    Package p;
    try {
        if (!r.has(0, PackageHeaderSize))
            throw Refused{"it is shorter than its header"};
        p.title = trimmed(r.text(0, 20));
        p.missionName = trimmed(r.text(20, 20));
        std::size_t at = PackageHeaderSize;
        for (int target = 0; target < 4; ++target) {
            p.apply[target] = r.u8(40 + 2 * target) == 1;
            const int count = r.u8(41 + 2 * target);
            for (int i = 0; i < count; ++i, at += PatchRecordSize) {
                if (!r.has(at, PatchRecordSize))
                    throw Refused{"its patch records run past its end"};
                const std::uint8_t n = r.u8(at), m = r.u8(at + 1);
                if (n < 1 || n > PatternField)
                    throw Refused{"a patch record has a pattern of an impossible length"};
                const auto pattern = r.bytes(at + PatternAt, n), replacement = r.bytes(at + ReplacementAt, m);
                p.patches[target].push_back({{pattern.begin(), pattern.end()}, {replacement.begin(), replacement.end()}});
            }
        }

        if (!r.has(at, 28))
            throw Refused{"its scene block is missing"};
        p.blockName = trimmed(r.text(at, 20));
        const std::uint32_t a = r.u32(at + 20), b = r.u32(at + 24);
        at += 28;
        if (!r.has(at, a) || !r.has(at + a, b))
            throw Refused{"its scene block runs past its end"};
        const auto objects = r.bytes(at, a), definitions = r.bytes(at + a, b);
        if (!wholeChunks(objects, chunk::Object) || !wholeChunks(definitions, chunk::Definition))
            throw Refused{"its scene block is not made of whole object and definition chunks"};
        p.objects.assign(objects.begin(), objects.end());
        p.definitions.assign(definitions.begin(), definitions.end());
        at += std::size_t{a} + b;

        for (auto& group : p.groups) {
            if (!r.has(at, 4))
                throw Refused{"its file groups run past its end"};
            const std::uint32_t count = r.u32(at);
            at += 4;
            for (std::uint32_t i = 0; i < count; ++i) {
                if (!r.has(at, 24))
                    throw Refused{"its file groups run past its end"};
                PackageFile file{trimmed(r.text(at, 20)), {}};
                const std::uint32_t length = r.u32(at + 20);
                if (!r.has(at + 24, length))
                    throw Refused{"a file it holds runs past its end"};
                if (!isPlainFileName(file.name))
                    throw Refused{unplainName(file.name)};
                const auto content = r.bytes(at + 24, length);
                file.content.assign(content.begin(), content.end());
                group.push_back(std::move(file));
                at += 24ull + length;
            }
        }
    } catch (const Refused& refused) {
        return {std::nullopt, refused.problem};
    } catch (const TruncatedData&) {
        return {std::nullopt, "it ends before its data"};
    }
    return {std::move(p), {}};
}

} // namespace mw
