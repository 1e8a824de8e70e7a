#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "formats/scene/SceneLoader.h"
#include "formats/scene/SceneStructure.h"
#include "foundation/text/NumericText.h"
#include "foundation/bytes/ByteWriter.h"
#include "support/SceneBuilder.h"
#include "support/SceneChecks.h"

using namespace mw;
using namespace mw::build;

namespace {

const std::vector<std::string> Unreadable{"****** Cann't read file!! ****** "};

std::vector<std::uint8_t> sampleScene()
{
    SceneBuilder b;
    b.headerRecord(0x0001, {1, 2, 3});
    b.beginObjects();
    b.object({.name = "Lamp", .type = 2, .translation = Floats3{1, 2, 3},
              .light = LightParts{.kind = 2, .colour = Floats3{1, 1, 1}, .power = 1, .nested = true}});
    b.object({.name = "Radio", .type = 4, .sound = SoundParts{.fileName = "a.wav", .kind = 1, .volume = 1}});
    b.object({.name = "Man", .type = 9, .translation = Floats3{0, 0, 0}, .rotation = std::array<float, 4>{1, 0, 0, 0},
              .size = Floats3{1, 1, 1}, .link = "sector"});
    b.object({.name = "Box", .type = 9});
    b.endObjects();
    b.beginDefinitions();
    b.definition({"Man", 0x1B, humanData(8, 10, 0.5f, 80, "script")});
    b.definition({"Box", 0x23, thingData(5, 1)});
    b.endDefinitions();
    b.beginScripts();
    b.script("free", "text");
    b.endScripts();
    return b.finish();
}

void expectNothingLoaded(const SceneLoadResult& r)
{
    EXPECT_EQ(r.status, SceneLoadStatus::Unreadable);
    EXPECT_EQ(r.messages, Unreadable);
    EXPECT_TRUE(r.catalogue.empty());
    EXPECT_TRUE(r.catalogue.scriptRows.empty());
    EXPECT_EQ(r.catalogue.ObjectsSizeOffset, 0u);
}

// A scene whose objects section holds one object followed by a chunk header with `sizeField`.
std::vector<std::uint8_t> sceneWithBadChunk(std::uint32_t sizeField)
{
    SceneBuilder b;
    b.beginObjects();
    b.object({.name = "ok"});
    const std::uint8_t payload[] = {0, 0, 0, 0};
    b.chunks().rawChunk(0x4010, sizeField, payload);
    b.endObjects();
    return b.finish();
}

} // namespace

TEST(DamagedScene, ChunkSizesBelowTheHeaderOrPastTheParentLoadNothing)
{
    for (std::uint32_t size : {0u, 5u, 10u, 11u, 0xFFFFFFFFu})
        expectNothingLoaded(loadScene(sceneWithBadChunk(size)));
}

TEST(DamagedScene, SectionsRunningPastTheFileLoadNothing)
{
    auto bytes = sampleScene();
    auto objects = bytes;
    putU32(objects, 15 + 2, static_cast<std::uint32_t>(bytes.size())); // objects section at 15
    expectNothingLoaded(loadScene(objects));

    // A property chunk reaching past its object.
    SceneBuilder b;
    b.beginObjects();
    const auto obj = b.object({.name = "x", .translation = Floats3{1, 2, 3}});
    b.endObjects();
    auto tall = b.finish();
    putU32(tall, obj.translation - 6 + 2, 19);
    expectNothingLoaded(loadScene(tall));
}

TEST(DamagedScene, FieldsRunningPastTheirChunkLoadNothing)
{
    {   // A translation chunk too small for three floats.
        SceneBuilder b;
        b.beginObjects();
        const auto at = b.chunks().open(0x4010);
        b.chunks().floats(0x0020, {1, 2});
        b.chunks().close(at);
        b.endObjects();
        expectNothingLoaded(loadScene(b.finish()));
    }
    {   // A human definition whose data ends before its fields.
        SceneBuilder b;
        b.beginObjects();
        b.object({.name = "man"});
        b.endObjects();
        b.beginDefinitions();
        b.definition({"man", 0x1B, std::vector<std::uint8_t>(60, 0)});
        b.endDefinitions();
        expectNothingLoaded(loadScene(b.finish()));
    }
    {   // A script whose length reaches past its chunk.
        SceneBuilder b;
        b.beginObjects();
        b.endObjects();
        b.beginScripts();
        const auto s = b.script("s", "abc");
        b.endScripts();
        auto bytes = b.finish();
        putU32(bytes, s.lengthField, 4);
        expectNothingLoaded(loadScene(bytes));
    }
    {   // A script name length reaching past its chunk.
        SceneBuilder b;
        b.beginObjects();
        b.endObjects();
        b.beginScripts();
        const auto s = b.script("s", "abc");
        b.endScripts();
        auto bytes = b.finish();
        putU32(bytes, s.chunk + 7, 0xFFFFFFF0u);
        expectNothingLoaded(loadScene(bytes));
    }
}

TEST(DamagedScene, EveryTruncationLoadsCleanly)
{
    const auto whole = sampleScene();
    for (std::size_t length = 0; length < whole.size(); ++length) {
        const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        const auto r = loadScene(cut);
        if (r.status == SceneLoadStatus::Loaded) {
            // Only cuts at a chunk boundary behind the objects section can still load.
            EXPECT_GT(length, 15u) << length;
        } else if (r.status == SceneLoadStatus::Unreadable) {
            EXPECT_TRUE(r.catalogue.empty()) << length;
        }
    }
}

TEST(DamagedScene, RandomByteDamageNeverReadsOutOfBounds)
{
    const auto whole = sampleScene();
    std::mt19937 random(20261206);
    std::uniform_int_distribution<std::size_t> position(0, whole.size() - 1);
    std::uniform_int_distribution<int> value(0, 255);
    for (int round = 0; round < 3000; ++round) {
        auto damaged = whole;
        for (int hits = 1 + round % 4; hits > 0; --hits)
            damaged[position(random)] = static_cast<std::uint8_t>(value(random));
        const auto r = loadScene(damaged);
        for (const auto& e : allEntries(r.catalogue)) {
            // Whatever was loaded points inside the file.
            EXPECT_LT(e.ObjectChunkOffset, damaged.size());
            EXPECT_LE(e.TranslationOffset + 12ull, damaged.size() + (e.TranslationOffset ? 0 : 12));
            EXPECT_LE(e.ScriptOffset + 4ull, damaged.size() + (e.ScriptOffset ? 0 : 4));
        }
    }
}

// A crafted nesting as deep as the file is long must end in the damaged-file message, never in a
// stack overflow: the loader and the structure walk refuse chunks below level 64 alike.
TEST(DamagedScene, NestingDeeperThanTheLimitIsDamageNotACrash)
{
    for (const std::size_t lights : {62u, 63u, 200000u}) {
        SCOPED_TRACE(lights);
        const NestedScene deep = nestedLightScene(lights);
        const bool tooDeep = lights > 62; // the 63rd light stands at level 65
        const SceneLoadResult loaded = loadScene(deep.bytes);
        if (tooDeep)
            expectNothingLoaded(loaded);
        else
            EXPECT_EQ(loaded.status, SceneLoadStatus::Loaded);
        const SceneStructure structure = walkSceneStructure(deep.bytes);
        if (!tooDeep) {
            EXPECT_TRUE(structure.findings.empty());
            continue;
        }
        ASSERT_EQ(structure.findings.size(), 1u);
        EXPECT_TRUE(structure.findings[0].error);
        EXPECT_EQ(structure.findings[0].offset, deep.lightStarts[62]);
        EXPECT_EQ(structure.findings[0].message, "chunks nest deeper than 64 levels here, in chunk 0x4040 at " +
                                                     hexNumber(deep.lightStarts[61]) + ": the walk goes no deeper");
    }
}
