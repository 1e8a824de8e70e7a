#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "commands/editing/SceneValueSave.h"
#include "formats/templates/BuiltinResources.h"
#include "foundation/files/FileAccess.h"
#include "mission/Mission.h"
#include "support/Outcomes.h"
#include "support/MissionFileBuilders.h"
#include "support/SceneBuilder.h"
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
        for (const fs::path& at : {mission / "tree.klz", dir.path() / "tree.klz"})
            std::ofstream(at, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        ws.ScenePath = (mission / "scene2.bin").string();
        ws.SceneTitle = "scene2.bin";
        ws.TreePath = (mission / "tree.klz").string();
        ws.TreeTitle = "tree.klz";
        // Scenes of this mission and another, for the mission checks.
        SceneBuilder scene;
        scene.beginObjects();
        scene.endObjects();
        const auto sceneBytes = scene.finish();
        for (const char* m : {"m1", "m2"}) {
            fs::create_directories(dir.path() / "game" / "missions" / m);
            writeBytes(dir.path() / "game" / "missions" / m / "scene2.bin", sceneBytes);
        }
    }
    fs::path placeholder() const { return dir.path() / "game" / "models" / "!!Testklz.4DS"; }

    // A mission with the workspace's scene (when it names one) and tree loaded into it.
    bool load(const Workspace& w)
    {
        loaded = std::make_unique<Mission>();
        if (!w.ScenePath.empty())
            loaded->open(MissionFile::Scene, w.ScenePath, prompter);
        return loaded->open(MissionFile::Tree, w.TreePath, prompter);
    }

    TempFolder dir;
    fs::path mission;
    Workspace ws;
    ScriptedPrompter prompter;
    std::unique_ptr<Mission> loaded;
};

TEST_F(TreeLoadTest, WritesThePlaceholderModelOnceAndLoads)
{
    ASSERT_TRUE(load(ws));
    EXPECT_EQ(loaded->tree().bodyCount(), 1u);
    EXPECT_TRUE(prompter.said.empty());
    EXPECT_EQ(readWholeFile(placeholder()), loadBuiltinResource("Cube1"));

    // An existing file of that name is left alone.
    std::ofstream(placeholder(), std::ios::binary | std::ios::trunc) << "mine";
    EXPECT_TRUE(load(ws));
    EXPECT_EQ(readWholeFile(placeholder()).size(), 4u);
}

TEST_F(TreeLoadTest, MissionChecks)
{
    Workspace noScene = ws;
    noScene.ScenePath.clear();
    EXPECT_FALSE(load(noScene));
    EXPECT_EQ(prompter.said, (std::vector<Said>{{"message", "First load scene2.bin", ""}}));
    EXPECT_FALSE(fs::exists(placeholder()));

    prompter.said.clear();
    Workspace elsewhere = ws;
    elsewhere.ScenePath = (dir.path() / "game" / "missions" / "m2" / "scene2.bin").string();
    EXPECT_FALSE(load(elsewhere));
    EXPECT_EQ(prompter.said,
              (std::vector<Said>{{"message", "Different Missions! Use same Mission for tree and scene2!", ""}}));

    prompter.said.clear();
    Workspace outside = ws;
    outside.TreePath = (dir.path() / "tree.klz").string();
    EXPECT_FALSE(load(outside));
    EXPECT_EQ(prompter.said, (std::vector<Said>{{"message",
                                                 "**Sorry, can't extract tree.klz!! Directory - missions - missing! **",
                                                 ""}}));
}

// The document without a window: load, save a value through the patch path, reload.
class MissionDocumentTest : public ::testing::Test, public MissionListener {
protected:
    void SetUp() override
    {
        SceneBuilder b;
        b.beginObjects();
        b.object({.name = "Crate", .type = 9, .translation = Floats3{1, 2, 3}});
        b.object({.name = "Lamp", .type = 9, .translation = Floats3{4, 5, 6}});
        b.endObjects();
        original = b.finish();
        path = dir.path() / "scene2.bin";
        writeBytes(path, original);
        mission.addListener(this);
    }
    // Each notice as a word: the load that starts, or how the scene changed.
    void missionChanged(const MissionChange& change) override
    {
        const FileChanged* scene = change.of(MissionFile::Scene);
        told.push_back(change.kind == MissionChange::Kind::AboutToLoad ? "about to load"
                       : !scene                                         ? "other"
                       : scene->how == FileChanged::How::Loaded         ? "loaded"
                       : scene->how == FileChanged::How::Reloaded       ? "reloaded"
                       : scene->how == FileChanged::How::Written        ? "written"
                                                                        : "replaced");
    }

    TempFolder dir;
    fs::path path;
    std::vector<std::uint8_t> original;
    Mission mission;
    ScriptedPrompter prompter;
    std::vector<std::string> told;
};

TEST_F(MissionDocumentTest, LoadSaveAndReloadWithoutAWindow)
{
    mission.open(MissionFile::Scene, path, prompter);
    ASSERT_EQ(mission.sceneCatalogue().entryCount(), 2u);
    EXPECT_EQ(told, (std::vector<std::string>{"about to load", "loaded"}));
    EXPECT_TRUE(std::ranges::equal(mission.bytes(MissionFile::Scene), original));

    SceneValueForm form;
    form.translationX = "7";
    form.translationY = "8";
    form.translationZ = "9";
    form.sizeX = form.sizeY = form.sizeZ = "1";
    form.verticalAngle = "0";
    form.rotation = {1, 0, 0, 0};
    SceneEntry shown = mission.sceneCatalogue().entry(1);
    EXPECT_EQ(valueSaveOf(saveSceneValues(form, shown, mission, prompter)), ValueSaveResult::Saved);
    EXPECT_EQ(told.back(), "written");
    // The kept bytes follow our own write, and the catalogue reads its values from them.
    EXPECT_TRUE(std::ranges::equal(mission.bytes(MissionFile::Scene), readWholeFile(path)));
    EXPECT_EQ(mission.sceneCatalogue().translation(1), (Vec3{7, 8, 9}));

    // A whole-file replace leaves the catalogue stale but pointing into the bytes it was read
    // from, which it keeps alive until the reload.
    const std::string name(mission.sceneCatalogue().name(1));
    EXPECT_EQ(mission.replace(MissionFile::Scene, std::vector<std::uint8_t>(readWholeFile(path)), prompter),
              WriteOutcome::Done);
    EXPECT_EQ(mission.sceneCatalogue().name(1), name);

    KeptRows keep = mission.rememberedRows();
    keep.all = 1;
    mission.reloadScene(keep, prompter);
    EXPECT_EQ(told.back(), "reloaded");
    EXPECT_EQ(mission.sceneCatalogue().entry(1).translation, (Vec3{7, 8, 9}));
    EXPECT_EQ(mission.sceneCatalogue().name(1), name);
    EXPECT_EQ(mission.sceneSelection().all, 1u);
    EXPECT_TRUE(prompter.said.empty());
}

TEST_F(MissionDocumentTest, BothWritePathsRefuseAFileChangedBehindOurBack)
{
    mission.open(MissionFile::Scene, path, prompter);
    auto changed = original;
    changed.push_back(0);
    writeBytes(path, changed);
    const std::vector<Patch> patches{{6, {1, 2}}};
    EXPECT_EQ(mission.patch(MissionFile::Scene, patches, prompter), WriteOutcome::Stale);
    EXPECT_EQ(mission.replace(MissionFile::Scene, original, prompter), WriteOutcome::Stale);
    EXPECT_EQ(readWholeFile(path), changed);
    const std::string text =
        "****** scene2.bin was changed outside the editor! Nothing saved - the file is read again. ******";
    EXPECT_EQ(prompter.said, (std::vector<Said>{{"message", text, ""}, {"message", text, ""}}));
}
