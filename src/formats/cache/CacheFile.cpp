#include "formats/cache/CacheFile.h"

#include <algorithm>

#include "foundation/bytes/ByteReader.h"
#include "foundation/seams/Progress.h"

namespace mw {

namespace {

constexpr std::size_t HeaderSize = 10;
constexpr std::size_t BaseTail = 76;    // bytes behind a base record's name
constexpr std::size_t ObjectValues = 56; // position, rotation, 16 bytes, size

} // namespace

CacheLoadResult readCacheFile(std::span<const std::uint8_t> bytes, Progress* progress)
{
    return readCacheFile(std::make_shared<const std::vector<std::uint8_t>>(bytes.begin(), bytes.end()), progress);
}

CacheLoadResult readCacheFile(SharedImage image, Progress* progress)
{
    CacheLoadResult result;
    result.source = std::move(image);
    const std::span<const std::uint8_t> bytes = spanOf(result.source);
    if (bytes.empty())
        return result;
    const ByteReader file(bytes);
    if (bytes.size() < 2 || file.u16(0) != CacheFileId) {
        result.status = FileReadStatus::WrongSignature;
        result.messages.emplace_back(cachemsg::NotACache);
        return result;
    }

    constexpr int Steps = 51;
    const std::size_t step = std::max<std::size_t>(1, bytes.size() / Steps);
    if (progress)
        progress->start(Steps);
    result.status = FileReadStatus::Loaded;
    result.records.reserve(bytes.size() / 80); // about one record per 80 bytes
    std::size_t p = HeaderSize;
    while (p < bytes.size()) {
        const auto stop = [&](const char* message) {
            result.status = FileReadStatus::Stopped;
            result.messages.emplace_back(message);
        };
        const auto cut = [&](std::size_t needed) {
            stop(cachemsg::CutRecord);
            result.cut = ReadShortfall{p, "a record needs " + std::to_string(needed) + " bytes; the file ends " +
                                              std::to_string(p + needed - bytes.size()) + " bytes short"};
        };
        if (!file.has(p, 10)) {
            cut(10);
            break;
        }
        const std::uint16_t id = file.u16(p);
        if (id != CacheBaseId && id != CacheObjectId) {
            stop(cachemsg::UnknownRecord);
            break;
        }
        const std::uint32_t nameLength = file.u32(p + 6);
        const std::size_t valuesAt = p + 10 + static_cast<std::size_t>(nameLength);
        const std::size_t end = valuesAt + (id == CacheBaseId ? BaseTail : ObjectValues);
        if (!file.has(p + 10, static_cast<std::size_t>(nameLength) + (end - valuesAt))) {
            cut(10 + static_cast<std::size_t>(nameLength) + (end - valuesAt));
            break;
        }
        CacheRecord& record = result.records.emplace_back();
        record.text = {static_cast<std::uint32_t>(p + 10), nameLength};
        const std::string_view name = textIn(bytes, record.text);
        record.baseRecord = id == CacheBaseId;
        record.isBase = record.baseRecord || name == "base";
        if (!record.baseRecord) {
            record.TranslationOffset = static_cast<std::uint32_t>(valuesAt);
            const std::size_t d = valuesAt;
            record.position = {file.f32(d), file.f32(d + 4), file.f32(d + 8)};
            record.rotation = {file.f32(d + 12), file.f32(d + 16), file.f32(d + 20), file.f32(d + 24)};
            record.size = {file.f32(d + 44), file.f32(d + 48), file.f32(d + 52)};
        }
        if (progress)
            progress->step(static_cast<int>(std::min<std::size_t>(Steps, end / step)), name);
        p = end;
    }
    if (progress)
        progress->finish();
    return result;
}

} // namespace mw
