// Arbitrary bytes to the add-in package reader: no crash, no out-of-bounds read, and what it accepts
// is consistent with its checks (patterns of 1 to 17 bytes, plain file names, whole chunks); the
// writer writes every package the reader accepts, and that reads back the same.
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
    const auto written = mw::writePackage(*result.package);
    if (!written.problem.empty())
        std::abort();
    const auto again = mw::readPackage(written.bytes);
    if (!again.package || !(*again.package == *result.package))
        std::abort();
    return 0;
}
