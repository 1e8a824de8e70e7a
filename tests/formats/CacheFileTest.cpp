#include <gtest/gtest.h>

#include "formats/cache/CacheFile.h"
#include "foundation/bytes/ByteWriter.h"
#include "support/MissionFileBuilders.h"

using namespace mw;
using namespace mw::build;

TEST(CacheFile, ListsBasesFlushAndObjectsIndented)
{
    CacheBuilder c;
    c.base("block_a");
    const auto lamp = c.object("lamp01.i3d", {1, 2, 3}, {0.5f, 0.25f, 0.125f, 1}, {4, 5, 6});
    const auto bench = c.object("bench.i3d", {7, 8, 9}, {1, 0, 0, 0}, {1, 1, 1});
    c.object("base", {0, 0, 0}, {1, 0, 0, 0}, {1, 1, 1});
    const auto bytes = c.finish();
    const auto r = readCacheFile(bytes);
    EXPECT_EQ(r.status, FileReadStatus::Loaded);
    EXPECT_TRUE(r.messages.empty());
    ASSERT_EQ(r.records.size(), 4u);
    EXPECT_EQ(r.listText(0), "block_a");
    EXPECT_EQ(r.name(0), "base");
    EXPECT_TRUE(r.records[0].isBase);
    EXPECT_EQ(r.listText(1), "      lamp01.i3d");
    EXPECT_EQ(r.name(1), "lamp01.i3d");
    EXPECT_EQ(r.records[1].TranslationOffset, lamp);
    EXPECT_EQ(r.records[1].position, (Vec3{1, 2, 3}));
    EXPECT_EQ(r.records[1].rotation, (std::array<float, 4>{0.5f, 0.25f, 0.125f, 1}));
    EXPECT_EQ(r.records[1].size, (Vec3{4, 5, 6}));
    EXPECT_EQ(r.records[2].TranslationOffset, bench);
    EXPECT_TRUE(r.records[3].isBase); // an object literally named "base"
}

TEST(CacheFile, EmptyWrongAndHeaderOnlyFiles)
{
    EXPECT_EQ(readCacheFile(std::span<const std::uint8_t>()).status, FileReadStatus::Empty);
    const std::vector<std::uint8_t> wrong{0xF5, 0x01, 0, 0};
    const auto refused = readCacheFile(wrong);
    EXPECT_EQ(refused.status, FileReadStatus::WrongSignature);
    EXPECT_EQ(refused.messages, (std::vector<std::string>{"****** No cache.bin file! ******"}));
    const auto header = CacheBuilder().finish();
    const auto none = readCacheFile(header);
    EXPECT_EQ(none.status, FileReadStatus::Loaded);
    EXPECT_TRUE(none.records.empty());
}

TEST(CacheFile, AnUnknownOrCutRecordStopsWithTheRecordsSoFar)
{
    CacheBuilder c;
    c.base("b");
    c.object("x.i3d", {1, 1, 1}, {1, 0, 0, 0}, {1, 1, 1});
    c.raw().u16(0x1234);
    c.raw().fill(20, 0);
    const auto unknown = readCacheFile(c.finish());
    EXPECT_EQ(unknown.status, FileReadStatus::Stopped);
    EXPECT_EQ(unknown.records.size(), 2u);
    EXPECT_EQ(unknown.messages,
              (std::vector<std::string>{"****** Unknown record in cache.bin - reading stopped! ******"}));

    CacheBuilder d;
    d.object("x.i3d", {1, 1, 1}, {1, 0, 0, 0}, {1, 1, 1});
    d.object("y.i3d", {2, 2, 2}, {1, 0, 0, 0}, {1, 1, 1});
    auto bytes = d.finish();
    for (std::size_t cut = 10; cut < bytes.size(); ++cut) {
        const std::vector<std::uint8_t> part(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        const auto r = readCacheFile(part);
        EXPECT_LE(r.records.size(), 1u) << cut;
        for (const auto& rec : r.records)
            EXPECT_LE(rec.TranslationOffset + 56u, cut);
    }
    // A name length reaching past the end.
    putU32(bytes, 16, 0xFFFFFFF0u);
    const auto huge = readCacheFile(bytes);
    EXPECT_EQ(huge.status, FileReadStatus::Stopped);
    EXPECT_TRUE(huge.records.empty());
}
