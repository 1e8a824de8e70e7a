#include "formats/templates/BuiltinResources.h"

#include <algorithm>
#include <cctype>

namespace mw {

std::vector<std::uint8_t> loadBuiltinResource(std::string_view name)
{
    const auto sameName = [name](const BuiltinResource& r) {
        return std::equal(r.name.begin(), r.name.end(), name.begin(), name.end(), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        });
    };
    const auto& all = builtinResources();
    const auto it = std::find_if(all.begin(), all.end(), sameName);
    if (it == all.end())
        return {};
    return {it->bytes.begin(), it->bytes.end()};
}

} // namespace mw
