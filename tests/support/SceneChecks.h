#pragma once
// Checks for scene images that a writer produced: the root size is the file's length, and every
// section, object and definition is tiled exactly by its children.

#include <gtest/gtest.h>

#include "support/WriteFailure.h"

#include <cstdint>
#include <span>

#include <vector>

#include "formats/scene/SceneCatalogue.h"
#include "formats/scene/SceneChunks.h"
#include "foundation/bytes/ByteReader.h"

namespace mw::build {

// Every row of a catalogue with all its values, for comparing whole loads.
inline std::vector<SceneEntry> allEntries(const SceneCatalogue& c)
{
    std::vector<SceneEntry> out;
    for (std::size_t row = 0; row < c.entryCount(); ++row)
        out.push_back(c.entry(row));
    return out;
}

inline void expectChildrenTile(const ByteReader& r, std::size_t start, std::size_t end, int depth)
{
    std::size_t at = start;
    while (at < end) {
        ASSERT_TRUE(r.has(at, 6)) << "chunk header past the end at " << at;
        const std::uint16_t id = r.u16(at);
        const std::uint32_t size = r.u32(at + 2);
        ASSERT_GE(size, 6u) << "at " << at;
        ASSERT_LE(at + size, end) << "chunk " << std::hex << id << " runs past its parent at " << std::dec << at;
        const bool container = id == chunk::ObjectsSection || id == chunk::Object || id == chunk::DefinitionsSection ||
                               id == chunk::Definition || id == chunk::ScriptsSection;
        if (container && depth < 3)
            expectChildrenTile(r, at + 6, at + size, depth + 1);
        at += size;
    }
    EXPECT_EQ(at, end);
}

inline void expectConsistentScene(std::span<const std::uint8_t> bytes)
{
    const ByteReader r(bytes);
    ASSERT_TRUE(r.has(0, 6));
    EXPECT_EQ(r.u32(2), bytes.size()) << "root size";
    expectChildrenTile(r, 6, bytes.size(), 0);
}

} // namespace mw::build
