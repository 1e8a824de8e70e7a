#pragma once
// cache.bin: a 10-byte header (id 0x01F4), then base records (0x03E8: a name and 76 bytes) and
// cached object records (0x07D0: a model name, position, rotation, 16 bytes, size). The reader is a
// pure function over the file's bytes.

#include <array>
#include <optional>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "foundation/geometry/Vec3.h"
#include "formats/common/ReadStatus.h"
#include "formats/scene/SceneCatalogue.h"
#include "foundation/bytes/SharedBytes.h"

namespace mw {

class Progress;

namespace cachemsg {
inline constexpr const char* NotACache = "****** No cache.bin file! ******";
inline constexpr const char* UnknownRecord = "****** Unknown record in cache.bin - reading stopped! ******";
inline constexpr const char* CutRecord = "****** cache.bin ends inside a record - reading stopped! ******";
} // namespace cachemsg

inline constexpr std::uint16_t CacheFileId = 0x01F4;
inline constexpr std::uint16_t CacheBaseId = 0x03E8;
inline constexpr std::uint16_t CacheObjectId = 0x07D0;

struct CacheRecord {
    TextRef text;             // a base's own name, or the object's model name, in the file's bytes
    bool baseRecord = false;  // a base record (0x03E8)
    bool isBase = false;      // a base record, or an object literally named "base" (treated the same)
    std::uint32_t TranslationOffset = 0; // 0 for base records
    Vec3 position;
    std::array<float, 4> rotation{};
    Vec3 size;
};

struct CacheLoadResult {
    FileReadStatus status = FileReadStatus::Empty;
    std::vector<std::string> messages;
    std::vector<CacheRecord> records;
    SharedImage source; // the bytes the records point into
    // The last record runs past the end of the file: the records before are listed.
    std::optional<ReadShortfall> cut;

    // The object's model name, or "base" for a base record.
    std::string_view name(std::size_t row) const
    {
        const CacheRecord& r = records[row];
        return r.baseRecord ? std::string_view("base") : textIn(spanOf(source), r.text);
    }
    // A base's own name flush left; objects indented by six spaces.
    std::string listText(std::size_t row) const
    {
        const CacheRecord& r = records[row];
        return (r.baseRecord ? std::string() : std::string(6, ' ')).append(textIn(spanOf(source), r.text));
    }
};

CacheLoadResult readCacheFile(SharedImage bytes, Progress* progress = nullptr);
// The same over a copy of `bytes`.
CacheLoadResult readCacheFile(std::span<const std::uint8_t> bytes, Progress* progress = nullptr);

} // namespace mw
