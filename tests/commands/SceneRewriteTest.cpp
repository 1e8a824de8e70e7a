#include <gtest/gtest.h>

#include <fstream>

#include "commands/editing/SceneRewrite.h"
#include "foundation/bytes/ByteReader.h"
#include "support/ChunkBuilder.h"
#include "support/SceneBuilder.h"
#include "support/SceneChecks.h"
#include "support/ScriptedPrompter.h"
#include "support/TempFolder.h"

using namespace mw;
using namespace mw::build;
namespace fs = std::filesystem;

namespace {

// Three objects, a definition and a free-standing script.
struct Scene {
    std::vector<std::uint8_t> bytes;
    std::vector<ObjectOffsets> objects;
    std::size_t objectsStart = 0, definitionsStart = 0;
};

Scene threeObjects()
{
    SceneBuilder b;
    Scene s;
    b.beginObjects();
    for (const char* name : {"First", "Middle", "Last"})
        s.objects.push_back(b.object({.name = name, .type = 9, .translation = Floats3{1, 2, 3}}));
    b.endObjects();
    b.beginDefinitions();
    b.definition({"Middle", 0x1B, humanData(8, 10, 0.5f, 80, "say hello")});
    b.endDefinitions();
    b.beginScripts();
    b.script("intro", "wait 1");
    b.endScripts();
    s.objectsStart = b.objectsStart;
    s.definitionsStart = b.definitionsStart;
    s.bytes = b.finish();
    return s;
}

std::vector<std::uint8_t> newObject(const char* name)
{
    ChunkBuilder c;
    const auto start = c.open(chunk::Object);
    c.text(chunk::ObjectName, name);
    c.floats(chunk::Translation, {0, 0, 0});
    c.close(start);
    return c.take();
}

} // namespace

TEST(SceneSplice, InsertsAndRemovesAtTheStartMiddleAndEndOfASection)
{
    const Scene s = threeObjects();
    const auto sectionSize = static_cast<std::uint32_t>(s.objectsStart + 2);
    const auto inserted = newObject("New");
    const auto length = [&](std::size_t i) { return ByteReader(s.bytes).u32(s.objects[i].object + 2); };
    struct Case {
        const char* what;
        std::uint32_t at, remove;
        bool insert;
        std::vector<std::string> names;
    };
    const auto at = [&](std::size_t i) { return static_cast<std::uint32_t>(s.objects[i].object); };
    const auto end = static_cast<std::uint32_t>(s.objects[2].end);
    const Case cases[] = {
        {"insert at the start", at(0), 0, true, {"New", "First", "Middle", "Last", "intro"}},
        {"insert in the middle", at(1), 0, true, {"First", "New", "Middle", "Last", "intro"}},
        {"insert at the end", end, 0, true, {"First", "Middle", "Last", "New", "intro"}},
        {"remove the first", at(0), length(0), false, {"Middle", "Last", "intro"}},
        {"remove the middle", at(1), length(1), false, {"First", "Last", "intro"}},
        {"remove the last", at(2), length(2), false, {"First", "Middle", "intro"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const SceneSplice splice{c.at, c.remove, c.insert ? inserted : std::vector<std::uint8_t>{}, {sectionSize}};
        const auto image = spliceScene(s.bytes, std::span(&splice, 1));
        ASSERT_TRUE(image);
        expectConsistentScene(*image);
        EXPECT_EQ(image->size(), s.bytes.size() + (c.insert ? inserted.size() : 0) - c.remove);
        const SceneLoadResult loaded = loadScene(*image);
        ASSERT_EQ(loaded.status, SceneLoadStatus::Loaded);
        std::vector<std::string> names;
        for (std::size_t row = 0; row < loaded.catalogue.entryCount(); ++row)
            names.emplace_back(loaded.catalogue.name(row));
        EXPECT_EQ(names, c.names);
        // The human keeps its definition wherever the objects moved.
        for (std::size_t row = 0; row < loaded.catalogue.entryCount(); ++row) {
            const SceneEntry e = loaded.catalogue.entry(row);
            if (e.name == "Middle") {
                EXPECT_EQ(e.typeCode, typecode::Human);
            }
        }
    }
}

TEST(SceneSplice, RefusesSplicesThatDoNotFit)
{
    const Scene s = threeObjects();
    const auto object = static_cast<std::uint32_t>(s.objects[1].object);
    const auto size = static_cast<std::uint32_t>(s.bytes.size());
    const std::vector<std::vector<SceneSplice>> bad = {
        {{size - 2, 4, {}, {}}},                    // past the end
        {{4, 4, {}, {}}},                           // into the file header
        {{object, 10, {}, {object + 2}}},           // a size field inside the removed range
        {{object, 0, {1}, {size}}},                 // a size field past the end
        {{object + 8, 0, {1}, {}}, {object, 0, {1}, {}}}, // out of order
    };
    for (const auto& splices : bad)
        EXPECT_FALSE(spliceScene(s.bytes, splices));
}

class SceneRewriteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        scene = threeObjects();
        path = dir.path() / "scene2.bin";
        writeBytes(path, scene.bytes);
        mission.open(MissionFile::Scene, path, prompter);
    }
    TempFolder dir;
    fs::path path;
    Scene scene;
    Mission mission;
    ScriptedPrompter prompter;
};

TEST_F(SceneRewriteTest, AResultThatWouldNotLoadIsNeverWritten)
{
    // Three stray bytes inside the objects section: a chunk too short to walk.
    const SceneSplice junk{static_cast<std::uint32_t>(scene.objects[2].end), 0, {1, 0, 2},
                           {static_cast<std::uint32_t>(scene.objectsStart + 2)}};
    EXPECT_EQ(rewriteScene(mission, std::span(&junk, 1), prompter), WriteOutcome::Failed);
    EXPECT_EQ(readWholeFile(path), scene.bytes);
    EXPECT_EQ(prompter.said,
              (std::vector<Said>{{"message", "****** The change would damage scene2.bin - nothing written! ******", ""}}));
}

TEST_F(SceneRewriteTest, AFailedWriteLeavesTheOriginalAndSaysWhy)
{
    const SceneSplice grow{static_cast<std::uint32_t>(scene.objects[2].end), 0, newObject("New"),
                           {static_cast<std::uint32_t>(scene.objectsStart + 2)}};
    {
        const WriteFailure full(path);
        EXPECT_EQ(rewriteScene(mission, std::span(&grow, 1), prompter, "****** Close File ******"),
                  WriteOutcome::Failed);
    }
    EXPECT_EQ(readWholeFile(path), scene.bytes);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator{}), 1);
    ASSERT_EQ(prompter.said.size(), 1u);
    EXPECT_EQ(prompter.said[0].text, "****** Close File ******");
    EXPECT_EQ(prompter.said[0].title.rfind("cannot ", 0), 0u); // the error: cannot write, cannot replace

    // Once there is room, the same rewrite goes through.
    EXPECT_EQ(rewriteScene(mission, std::span(&grow, 1), prompter), WriteOutcome::Done);
    expectConsistentScene(readWholeFile(path));
}
