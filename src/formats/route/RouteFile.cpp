#include "formats/route/RouteFile.h"

#include <algorithm>
#include <string_view>

#include "foundation/bytes/ByteReader.h"

namespace mw {

bool holdsRoutePoints(std::span<const std::uint8_t> file)
{
    const ByteReader r(file);
    return r.has(0, 8) && r.u32(4) == RoutePoints && r.has(8, RouteRecordSize * RoutePoints);
}

std::optional<std::size_t> translationOf(std::span<const std::uint8_t> file, const std::string& name,
                                         bool caseSensitive)
{
    if (name.empty())
        return std::nullopt;
    const std::string_view text(reinterpret_cast<const char*>(file.data()), file.size());
    std::size_t p = std::string_view::npos;
    if (caseSensitive) {
        p = text.find(name);
    } else {
        const auto lower = [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); };
        const auto it = std::search(text.begin(), text.end(), name.begin(), name.end(),
                                    [&](char a, char b) { return lower(a) == lower(b); });
        if (it != text.end())
            p = static_cast<std::size_t>(it - text.begin());
    }
    if (p == std::string_view::npos)
        return std::nullopt;
    const ByteReader r(file);
    std::uint64_t at = p + name.size() + 7;
    if (caseSensitive) {
        if (p < 4)
            return std::nullopt;
        at = p + std::uint64_t{r.u32(p - 4)};
    }
    if (at > file.size() || file.size() - at < 12)
        return std::nullopt;
    return static_cast<std::size_t>(at);
}

} // namespace mw
