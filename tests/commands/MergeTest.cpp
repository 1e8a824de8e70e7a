#include <gtest/gtest.h>

#include "commands/merges/PutCache.h"
#include "commands/merges/PutTree.h"
#include "foundation/bytes/ByteReader.h"
#include "foundation/files/FileAccess.h"
#include "mission/Mission.h"
#include "support/MissionFileBuilders.h"
#include "support/SceneBuilder.h"
#include "support/SceneChecks.h"
#include "support/ScriptedPrompter.h"
#include "support/TempFolder.h"

using namespace mw;
using namespace mw::build;
namespace fs = std::filesystem;

namespace {

std::uint32_t u32At(const std::vector<std::uint8_t>& b, std::size_t at) { return ByteReader(b).u32(at); }

std::vector<std::string> namesFrom(const Mission& m, std::size_t first)
{
    std::vector<std::string> names;
    for (std::size_t r = first; r < m.sceneCatalogue().FirstScriptIndex; ++r)
        names.push_back(m.sceneCatalogue().entry(r).name);
    return names;
}

} // namespace

class MergeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = dir.path() / "game" / "missions" / "m1";
        fs::create_directories(folder);
        const CrateScene crate = crateScene();
        objectsStart = crate.objectsStart;
        original = crate.bytes;
        writeBytes(scene(), original);
        mission.open(MissionFile::Scene, scene(), prompter);
    }
    fs::path scene() const { return folder / "scene2.bin"; }
    fs::path backup() const { return folder / "scene2.bin-save.qra"; }
    void loadCache()
    {
        CacheBuilder c;
        c.base("block");
        c.object("lamp01.i3d", {1, 2, 3}, {0.5f, 0.5f, 0.5f, 0.5f}, {2, 2, 2});
        c.object("bench.i3d", {4, 5, 6}, {1, 0, 0, 0}, {1, 1, 1});
        writeBytes(folder / "cache.bin", c.finish());
        mission.open(MissionFile::Cache, folder / "cache.bin", prompter);
    }
    void loadTree()
    {
        TreeBuilder t;
        t.link("wall");
        t.box(1, 0, {0, 0, 0}, {2, 4, 6});
        t.box(1, 0, {1, 1, 1}, {2, 2, 2});
        t.sphere(1, 0, {5, 5, 5}, 1);
        writeBytes(folder / "tree.klz", t.finish());
        mission.open(MissionFile::Tree, folder / "tree.klz", prompter);
    }

    TempFolder dir;
    fs::path folder;
    std::vector<std::uint8_t> original;
    std::size_t objectsStart = 0;
    Mission mission;
    ScriptedPrompter prompter;
};

TEST_F(MergeTest, PutCacheAddsEachCachedObjectWithItsExactBytes)
{
    loadCache();
    prompter.said.clear();
    prompter.answers = {true};
    ASSERT_TRUE(putCache(mission, prompter).done());
    EXPECT_EQ(prompter.said, (std::vector<Said>{{"question", "Do you want to put cache.bin into scene2.bin ?", "Put cache!"}}));
    const auto bytes = readWholeFile(scene());
    expectConsistentScene(bytes);
    // CA1-lamp01 with lamp01.i3d: 133 + 10 + 10; CA2-bench with bench.i3d: 133 + 9 + 9.
    const std::size_t first = 153, second = 151;
    EXPECT_EQ(bytes.size(), original.size() + first + second);
    EXPECT_EQ(u32At(bytes, 2), u32At(original, 2) + first + second);
    EXPECT_EQ(u32At(bytes, objectsStart + 2), u32At(original, objectsStart + 2) + first + second);
    EXPECT_EQ(namesFrom(mission, 1), (std::vector<std::string>{"CA1-lamp01", "CA2-bench"}));
    EXPECT_EQ(mission.sceneSelection().all, 1u);

    // The first added chunk, field by field.
    const std::size_t p = objectsStart + u32At(original, objectsStart + 2);
    const ByteReader r(bytes);
    EXPECT_EQ(r.u16(p), 0x4010);
    EXPECT_EQ(r.u32(p + 2), first);
    EXPECT_EQ(r.u32(p + 12), 9u);
    EXPECT_EQ(r.u32(p + 18), 17u);
    EXPECT_EQ(r.text(p + 22, 11), std::string("CA1-lamp01\0", 11));
    EXPECT_EQ(r.f32(p + 29 + 10), 1.0f);
    EXPECT_EQ(r.f32(p + 47 + 10 + 12), 0.5f);
    EXPECT_EQ(r.f32(p + 69 + 10), 2.0f);
    EXPECT_EQ(r.text(p + 87 + 10, 12), std::string("\x82\xca\xdd\xc4\x5b\x3f\xb3\xc0\xbd\x59\x8a\x40", 12));
    EXPECT_EQ(r.text(p + 111 + 10, 15), std::string("Primary sector\0", 15));
    EXPECT_EQ(r.u32(p + 128 + 10), 17u);
    EXPECT_EQ(r.text(p + 132 + 10, 11), std::string("lamp01.i3d\0", 11));
    // Everything behind the objects section moved back unchanged.
    EXPECT_TRUE(std::equal(original.begin() + static_cast<std::ptrdiff_t>(p), original.end(),
                           bytes.begin() + static_cast<std::ptrdiff_t>(p + first + second)));
    EXPECT_EQ(readWholeFile(backup()), original);

    // A second run adds them again; the backup then holds the state after the first.
    prompter.answers = {true};
    ASSERT_TRUE(putCache(mission, prompter).done());
    EXPECT_EQ(namesFrom(mission, 1),
              (std::vector<std::string>{"CA1-lamp01", "CA2-bench", "CA1-lamp01", "CA2-bench"}));
    EXPECT_EQ(readWholeFile(backup()), bytes);

    // Each run is one step: undone, the scene and the backup are as before it.
    ASSERT_TRUE(mission.undo(prompter));
    ASSERT_TRUE(mission.undo(prompter));
    EXPECT_EQ(readWholeFile(scene()), original);
    EXPECT_FALSE(fs::exists(backup()));
}

TEST_F(MergeTest, PutCacheChecksAndQuestions)
{
    ASSERT_EQ(putCache(mission, prompter).ended, Ended::Refused);
    EXPECT_EQ(prompter.messages(), (std::vector<std::string>{"Load cache.bin and scne2.bin"}));
    loadCache();
    prompter.said.clear();
    EXPECT_EQ(putCache(mission, prompter).ended, Ended::Refused); // No to the question
    mission.open(MissionFile::Cache, dir.path() / "elsewhere" / "cache.bin", prompter); // cannot be read: the records stay
    prompter.said.clear();
    prompter.answers = {true, false};
    EXPECT_EQ(putCache(mission, prompter).ended, Ended::Refused);
    EXPECT_EQ(prompter.said.back(), (Said{"question", "Want to put cache anyway?", "Different Missions!"}));
    EXPECT_EQ(readWholeFile(scene()), original);
    EXPECT_FALSE(fs::exists(backup()));
}

TEST_F(MergeTest, PutTreeChosenKindsAndTheSavedScene)
{
    loadTree();
    ASSERT_EQ(mission.tree().bodyCount(), 3u);
    ASSERT_TRUE(putTree(mission, {"simple", false}, prompter).done());
    EXPECT_EQ(namesFrom(mission, 1), (std::vector<std::string>{"SCube-0", "SCube-1"}));
    const SceneEntry& box = mission.sceneCatalogue().entry(1);
    EXPECT_EQ(box.model, "!!Testklz.i3d");
    EXPECT_EQ(box.size, (Vec3{2, 4, 6}));
    EXPECT_EQ(box.translation, (Vec3{1, 2, 3}));
    EXPECT_EQ(box.rotation, (std::array<float, 4>{1, 0, 0, 0}));
    expectConsistentScene(readWholeFile(scene()));

    // Two "sphere" runs from the saved scene leave one set of placeholders.
    const PutTreeChoice choiceTwice{"sphere", true};
    ASSERT_TRUE(putTree(mission, choiceTwice, prompter).done());
    ASSERT_TRUE(putTree(mission, choiceTwice, prompter).done());
    EXPECT_EQ(namesFrom(mission, 1), (std::vector<std::string>{"spCube-2"}));
    EXPECT_EQ(readWholeFile(backup()), original);
    // A kind without bodies puts nothing, but still starts from the saved scene.
    ASSERT_TRUE(putTree(mission, {"rotation", true}, prompter).done());
    EXPECT_EQ(readWholeFile(scene()), original);
    ASSERT_TRUE(putTree(mission, {"sphere", true}, prompter).done());

    ASSERT_TRUE(putTree(mission, {"all", false}, prompter).done());
    EXPECT_EQ(namesFrom(mission, 1), (std::vector<std::string>{"spCube-2", "SCube-0", "SCube-1", "spCube-2"}));
    EXPECT_EQ(mission.sceneSelection().all, 2u); // the first added object
}
