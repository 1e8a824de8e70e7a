// Arbitrary bytes to the cache reader: no crash, no out-of-bounds read, offsets inside the data.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "formats/cache/CacheFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto result = mw::readCacheFile(std::span<const std::uint8_t>(data, size));
    for (const auto& record : result.records)
        if (record.TranslationOffset && record.TranslationOffset + 56ull > size)
            std::abort();
    return 0;
}
