#include <gtest/gtest.h>

#include <fstream>

#include "insertion/BuiltinResources.h"
#include "io/FileAccess.h"
#include "missionfiles/TreeLoad.h"
#include "support/MissionFileBuilders.h"
#include "support/ScriptedPrompter.h"
#include "support/TempFolder.h"

using namespace mw;
using namespace mw::build;
namespace fs = std::filesystem;

class TreeLoadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mission = dir.path() / "game" / "missions" / "m1";
        fs::create_directories(mission);
        TreeBuilder t;
        t.link("a");
        t.box(0, 0, {0, 0, 0}, {1, 1, 1});
        const auto bytes = t.finish();
        std::ofstream(mission / "tree.klz", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        ws.ScenePath = (mission / "scene2.bin").string();
        ws.SceneTitle = "scene2.bin";
        ws.TreePath = (mission / "tree.klz").string();
        ws.TreeTitle = "tree.klz";
    }
    fs::path placeholder() const { return dir.path() / "game" / "models" / "!!Testklz.4DS"; }

    TempFolder dir;
    fs::path mission;
    Workspace ws;
    ScriptedPrompter prompter;
};

TEST_F(TreeLoadTest, WritesThePlaceholderModelOnceAndLoads)
{
    const auto r = loadTreeOfMission(ws, SceneCatalogue{}, prompter, nullptr);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->bodies.size(), 1u);
    EXPECT_TRUE(prompter.said.empty());
    EXPECT_EQ(readWholeFile(placeholder()), loadBuiltinResource("Cube1"));

    // An existing file of that name is left alone.
    std::ofstream(placeholder(), std::ios::binary | std::ios::trunc) << "mine";
    EXPECT_TRUE(loadTreeOfMission(ws, SceneCatalogue{}, prompter, nullptr));
    EXPECT_EQ(readWholeFile(placeholder()).size(), 4u);
}

TEST_F(TreeLoadTest, MissionChecks)
{
    Workspace noScene = ws;
    noScene.ScenePath.clear();
    EXPECT_FALSE(loadTreeOfMission(noScene, SceneCatalogue{}, prompter, nullptr));
    EXPECT_EQ(prompter.said, (std::vector<Said>{{"message", "First load scene2.bin", ""}}));
    EXPECT_FALSE(fs::exists(placeholder()));

    prompter.said.clear();
    Workspace elsewhere = ws;
    elsewhere.ScenePath = (dir.path() / "game" / "missions" / "m2" / "scene2.bin").string();
    EXPECT_FALSE(loadTreeOfMission(elsewhere, SceneCatalogue{}, prompter, nullptr));
    EXPECT_EQ(prompter.said,
              (std::vector<Said>{{"message", "Different Missions! Use same Mission for tree and scene2!", ""}}));

    prompter.said.clear();
    Workspace outside = ws;
    outside.TreePath = (dir.path() / "tree.klz").string();
    EXPECT_FALSE(loadTreeOfMission(outside, SceneCatalogue{}, prompter, nullptr));
    EXPECT_EQ(prompter.said, (std::vector<Said>{{"message",
                                                 "**Sorry, can't extract tree.klz!! Directory - missions - missing! **",
                                                 ""}}));
}
