#pragma once
// Writes ".QRA" add-in packages for tests: header, patch records, scene block and file groups.

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "foundation/bytes/ByteWriter.h"

namespace mw::build {

struct PackagePatch {
    std::string pattern, replacement;
};

struct PackageParts {
    std::string title = "Test add-in", mission = "m1";
    std::array<bool, 4> apply{};                           // tree, cache, 4ds, scene
    std::array<std::vector<PackagePatch>, 4> patches;      // records per file, written whatever the flag
    std::string blockName = "AddedBox";
    std::vector<std::uint8_t> objects, definitions;        // whole chunks
    std::array<std::vector<std::pair<std::string, std::vector<std::uint8_t>>>, 6> groups;
};

inline std::vector<std::uint8_t> buildPackage(const PackageParts& p)
{
    ByteWriter out;
    auto field = [&](const std::string& text, std::size_t width) {
        out.text(text.substr(0, width));
        out.fill(width - std::min(text.size(), width), ' ');
    };
    field(p.title, 20);
    field(p.mission, 20);
    for (int t = 0; t < 4; ++t) {
        out.u8(p.apply[t] ? 1 : 0);
        out.u8(static_cast<std::uint8_t>(p.patches[t].size()));
    }
    out.fill(226, 0);
    for (const auto& records : p.patches)
        for (const PackagePatch& r : records) {
            out.u8(static_cast<std::uint8_t>(r.pattern.size()));
            out.u8(static_cast<std::uint8_t>(r.replacement.size()));
            field(r.pattern, 17);
            field(r.replacement, 257);
        }
    field(p.blockName, 20);
    out.u32(static_cast<std::uint32_t>(p.objects.size()));
    out.u32(static_cast<std::uint32_t>(p.definitions.size()));
    out.append(p.objects);
    out.append(p.definitions);
    for (const auto& group : p.groups) {
        out.u32(static_cast<std::uint32_t>(group.size()));
        for (const auto& [name, content] : group) {
            field(name, 20);
            out.u32(static_cast<std::uint32_t>(content.size()));
            out.append(content);
        }
    }
    return out.take();
}

} // namespace mw::build
