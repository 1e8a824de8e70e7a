#include "formats/scene/SceneSplice.h"

#include <cstring>
#include <algorithm>
#include <map>

#include "formats/scene/ObjectRecord.h"
#include "formats/scene/SceneChunks.h"
#include "foundation/bytes/ByteReader.h"
#include "foundation/bytes/ByteWriter.h"

namespace mw {

std::optional<std::vector<std::uint8_t>> spliceScene(std::span<const std::uint8_t> image,
                                                     std::span<const SceneSplice> splices)
{
    std::vector<std::uint8_t> out;
    if (!spliceSceneInto(image, splices, out))
        return std::nullopt;
    return out;
}

bool spliceSceneInto(std::span<const std::uint8_t> image, std::span<const SceneSplice> splices,
                     std::vector<std::uint8_t>& out)
{
    const ByteReader reader(image);
    if (!reader.has(2, 4))
        return false;

    // Every size field with the sum of the changes it encloses.
    std::map<std::uint32_t, std::int64_t> deltas;
    std::uint64_t previousEnd = 6; // the file header is never spliced
    std::int64_t total = 0;
    for (const SceneSplice& s : splices) {
        if (s.at < previousEnd || !reader.has(s.at, s.remove))
            return false;
        previousEnd = std::uint64_t{s.at} + s.remove;
        const std::int64_t delta = static_cast<std::int64_t>(s.insert.size()) - s.remove;
        total += delta;
        deltas[2] += delta;
        for (std::uint32_t field : s.sizeFields)
            deltas[field] += delta;
    }
    for (const SceneSplice& s : splices)
        for (const auto& [field, delta] : deltas)
            if (field + 4ull > s.at && field < std::uint64_t{s.at} + s.remove)
                return false; // the field itself would be removed
    for (const auto& [field, delta] : deltas)
        if (!reader.has(field, 4))
            return false;

    out.clear();
    out.reserve(static_cast<std::size_t>(static_cast<std::int64_t>(image.size()) + total));
    std::size_t from = 0;
    for (const SceneSplice& s : splices) {
        out.insert(out.end(), image.begin() + static_cast<std::ptrdiff_t>(from), image.begin() + s.at);
        out.insert(out.end(), s.insert.begin(), s.insert.end());
        from = std::size_t{s.at} + s.remove;
    }
    out.insert(out.end(), image.begin() + static_cast<std::ptrdiff_t>(from), image.end());

    // Each field's new place: moved by the changes that lie before it.
    for (const auto& [field, delta] : deltas) {
        const std::int64_t value = std::int64_t{reader.u32(field)} + delta;
        if (value < 0 || value > 0xFFFFFFFFll)
            return false;
        std::int64_t moved = field;
        for (const SceneSplice& s : splices)
            if (s.at <= field)
                moved += static_cast<std::int64_t>(s.insert.size()) - s.remove;
        const auto bytes = encodeU32(static_cast<std::uint32_t>(value));
        std::memcpy(out.data() + moved, bytes.data(), bytes.size());
    }
    return true;
}

std::optional<std::uint32_t> objectsEndOf(std::span<const std::uint8_t> scene, std::uint32_t objectsSizeField)
{
    const ByteReader r(scene);
    if (objectsSizeField < 2 || !r.has(objectsSizeField, 4))
        return std::nullopt;
    const std::uint64_t end = objectsSizeField - 2ull + r.u32(objectsSizeField);
    if (end > scene.size())
        return std::nullopt;
    return static_cast<std::uint32_t>(end);
}

std::optional<std::vector<SceneSplice>> appendingSplices(std::span<const std::uint8_t> scene,
                                                         std::uint32_t objectsSizeField,
                                                         std::uint32_t definitionsSizeField,
                                                         std::vector<std::uint8_t> objects,
                                                         std::vector<std::uint8_t> definitions)
{
    const auto objectsEnd = objectsEndOf(scene, objectsSizeField);
    if (!objectsEnd)
        return std::nullopt;
    std::vector<SceneSplice> splices;
    if (!objects.empty())
        splices.push_back({*objectsEnd, 0, std::move(objects), {objectsSizeField}});
    if (!definitions.empty()) {
        if (definitionsSizeField != 0) {
            const auto definitionsEnd = objectsEndOf(scene, definitionsSizeField); // the same kind of field
            if (!definitionsEnd)
                return std::nullopt;
            splices.push_back({*definitionsEnd, 0, std::move(definitions), {definitionsSizeField}});
        } else {
            ChunkWriter section;
            const auto at = section.open(chunk::DefinitionsSection);
            section.out().append(definitions);
            section.close(at);
            splices.push_back({*objectsEnd, 0, section.out().take(), {}});
        }
    }
    std::stable_sort(splices.begin(), splices.end(), [](const SceneSplice& a, const SceneSplice& b) { return a.at < b.at; });
    return splices;
}

} // namespace mw
