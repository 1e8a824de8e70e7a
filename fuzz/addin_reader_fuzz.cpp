// Arbitrary bytes to the add-in package reader: no crash, no out-of-bounds read, and what it accepts
// is consistent with its checks (patterns of 1 to 17 bytes, plain file names, whole chunks).
#include <cstdint>
#include <cstdlib>
#include <span>

#include "formats/addin/Package.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto result = mw::readPackage(std::span<const std::uint8_t>(data, size));
    if (!result.package)
        return 0;
    std::size_t held = result.package->objects.size() + result.package->definitions.size();
    for (const auto& records : result.package->patches)
        for (const auto& r : records)
            if (r.pattern.empty() || r.pattern.size() > 17 || r.replacement.size() > 257)
                std::abort();
    for (const auto& group : result.package->groups)
        for (const auto& file : group) {
            if (!mw::isPlainFileName(file.name))
                std::abort();
            held += file.content.size();
        }
    if (held > size)
        std::abort();
    return 0;
}
