#include "formats/scene/ObjectChunks.h"

#include <algorithm>

#include "formats/scene/ObjectRecord.h"
#include "formats/scene/SceneChunks.h"
#include "foundation/bytes/ByteReader.h"

namespace mw {

namespace {

// Calls `each(id, child)` for every child chunk of `chunk`, in order; returns the bytes behind the
// last whole child (normally none), so that nothing of the chunk is lost when it is written again.
template <class Each>
std::span<const std::uint8_t> forEachChild(std::span<const std::uint8_t> chunk, Each each)
{
    const ByteReader r(chunk);
    std::size_t at = chunk::HeaderSize;
    while (at + chunk::HeaderSize <= chunk.size()) {
        const std::uint32_t size = r.u32(at + 2);
        if (size < chunk::HeaderSize || !r.has(at, size))
            break;
        each(r.u16(at), chunk.subspan(at, size));
        at += size;
    }
    return chunk.subspan(std::min(at, chunk.size()));
}

// The characters of a text chunk: up to its terminating zero.
std::string textOf(std::span<const std::uint8_t> textChunk)
{
    std::string text(textChunk.begin() + chunk::HeaderSize, textChunk.end());
    if (const auto zero = text.find('\0'); zero != std::string::npos)
        text.erase(zero);
    return text;
}

} // namespace

std::span<const std::uint8_t> wholeChunkAt(std::span<const std::uint8_t> file, std::uint32_t at)
{
    const ByteReader r(file);
    if (!r.has(at, chunk::HeaderSize) || !r.has(at, r.u32(at + 2)))
        return {};
    return file.subspan(at, r.u32(at + 2));
}

std::optional<std::vector<std::span<const std::uint8_t>>> splitChunks(std::span<const std::uint8_t> run)
{
    const ByteReader r(run);
    std::vector<std::span<const std::uint8_t>> chunks;
    for (std::size_t at = 0; at < run.size();) {
        if (!r.has(at, chunk::HeaderSize))
            return std::nullopt;
        const std::uint32_t size = r.u32(at + 2);
        if (size < chunk::HeaderSize || !r.has(at, size))
            return std::nullopt;
        chunks.push_back(run.subspan(at, size));
        at += size;
    }
    return chunks;
}

ObjectChunkInfo objectChunkInfo(std::span<const std::uint8_t> object)
{
    ObjectChunkInfo info;
    forEachChild(object, [&](std::uint16_t id, std::span<const std::uint8_t> child) {
        if (id == chunk::ObjectName && info.name.empty())
            info.name = textOf(child);
        else if (id == chunk::Translation)
            info.hasTranslation = true;
        else if (id == chunk::Link && !info.link)
            forEachChild(child, [&, first = true](std::uint16_t linkId, std::span<const std::uint8_t> name) mutable {
                if (first && linkId == chunk::ObjectName)
                    info.link = textOf(name);
                first = false;
            });
    });
    return info;
}

std::vector<std::uint8_t> changedObjectChunk(std::span<const std::uint8_t> object, const std::string& name,
                                             const std::optional<std::string>& link, float moveX)
{
    const ByteReader r(object);
    ChunkWriter out;
    const auto at = out.open(r.u16(0));
    bool named = false, linked = false;
    const auto rest = forEachChild(object, [&](std::uint16_t id, std::span<const std::uint8_t> child) {
        if (id == chunk::ObjectName && !named) {
            named = true;
            out.text(id, name);
        } else if (id == chunk::Translation && moveX != 0 && child.size() >= chunk::HeaderSize + 4) {
            std::vector<std::uint8_t> moved(child.begin(), child.end());
            putF32(moved, chunk::HeaderSize, ByteReader(child).f32(chunk::HeaderSize) + moveX);
            out.out().append(moved);
        } else if (id == chunk::Link && link && !linked) {
            linked = true;
            const auto linkAt = out.open(id);
            const auto linkRest =
                forEachChild(child, [&, first = true](std::uint16_t linkId, std::span<const std::uint8_t> part) mutable {
                    if (first && linkId == chunk::ObjectName)
                        out.text(linkId, *link);
                    else
                        out.out().append(part);
                    first = false;
                });
            out.out().append(linkRest);
            out.close(linkAt);
        } else {
            out.out().append(child);
        }
    });
    out.out().append(rest);
    out.close(at);
    return out.out().take();
}

std::string definitionChunkName(std::span<const std::uint8_t> definition)
{
    std::string name;
    forEachChild(definition, [&](std::uint16_t id, std::span<const std::uint8_t> child) {
        if (id == chunk::DefinitionName && name.empty())
            name = textOf(child);
    });
    return name;
}

std::vector<std::uint8_t> renamedDefinitionChunk(std::span<const std::uint8_t> definition, const std::string& name)
{
    ChunkWriter out;
    const auto at = out.open(ByteReader(definition).u16(0));
    bool named = false;
    const auto rest = forEachChild(definition, [&](std::uint16_t id, std::span<const std::uint8_t> child) {
        if (id == chunk::DefinitionName && !named) {
            named = true;
            out.text(id, name);
        } else {
            out.out().append(child);
        }
    });
    out.out().append(rest);
    out.close(at);
    return out.out().take();
}

} // namespace mw
