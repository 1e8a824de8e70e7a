#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "commands/editing/Deletion.h"
#include "commands/editing/SceneValueSave.h"
#include "commands/editing/Scripts.h"
#include "foundation/files/FileAccess.h"
#include "foundation/files/FileFaults.h"
#include "mission/Mission.h"
#include "support/Outcomes.h"
#include "support/MissionFileBuilders.h"
#include "support/SceneBuilder.h"
#include "support/ScriptedPrompter.h"
#include "support/TempFolder.h"

using namespace mw;
using namespace mw::build;
namespace fs = std::filesystem;

namespace {

enum Row { CrateRow, GuardRow, IntroRow };

} // namespace

class HistoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SceneBuilder b;
        b.beginObjects();
        b.object({.name = "Crate", .type = 9, .translation = Floats3{1, 2, 3}});
        b.object({.name = "Guard", .type = 9, .translation = Floats3{4, 5, 6}});
        b.endObjects();
        b.beginDefinitions();
        b.definition({"Guard", 0x1B, humanData(8, 10, 0.5f, 80, "say hi")});
        b.endDefinitions();
        b.beginScripts();
        b.script("intro", "wait 2");
        b.endScripts();
        original = b.finish();
        scene = dir.path() / "scene2.bin";
        writeBytes(scene, original);
        mission.open(MissionFile::Scene, scene, prompter);
    }

    // The crate's values saved in place, at (7, 8, 9).
    void moveCrate()
    {
        SceneValueForm f;
        f.translationX = "7", f.translationY = "8", f.translationZ = "9";
        f.sizeX = f.sizeY = f.sizeZ = "1";
        f.verticalAngle = "0";
        f.rotation = {1, 0, 0, 0};
        SceneEntry shown = mission.sceneCatalogue().entry(CrateRow);
        ASSERT_EQ(valueSaveOf(saveSceneValues(f, shown, mission, prompter)), ValueSaveResult::Saved);
    }

    std::string undoName() const { return mission.history().nextUndo() ? mission.history().nextUndo()->name : ""; }

    TempFolder dir;
    fs::path scene;
    std::vector<std::uint8_t> original;
    Mission mission;
    ScriptedPrompter prompter;
};

TEST_F(HistoryTest, EveryKindOfWriteIsUndoneAndRedoneToTheByte)
{
    struct Case {
        const char* step;
        std::function<void()> command;
    };
    const Case cases[] = {
        {"Save values of Crate", [&] { moveCrate(); }},
        {"Save script of Guard",
         [&] { ASSERT_EQ(scriptSaveOf(saveScript(mission, GuardRow, "say yo", prompter)), ScriptSaveResult::SameLength); }},
        {"Save script of Guard",
         [&] { ASSERT_EQ(scriptSaveOf(saveScript(mission, GuardRow, "say hello", prompter)), ScriptSaveResult::NewLength); }},
        {"Save script of intro",
         [&] { ASSERT_EQ(scriptSaveOf(saveScript(mission, IntroRow, "wait", prompter)), ScriptSaveResult::NewLength); }},
        {"Delete Guard", [&] { ASSERT_TRUE(deleteObject(mission, GuardRow, prompter).done()); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        c.command();
        const auto after = readWholeFile(scene);
        ASSERT_NE(after, original);
        EXPECT_EQ(undoName(), c.step);

        ASSERT_TRUE(mission.undo(prompter));
        EXPECT_EQ(readWholeFile(scene), original);
        EXPECT_EQ(mission.sceneCatalogue().entryCount(), 3u); // reloaded
        EXPECT_EQ(mission.history().nextRedo()->name, c.step);

        ASSERT_TRUE(mission.redo(prompter));
        EXPECT_EQ(readWholeFile(scene), after);
        ASSERT_TRUE(mission.undo(prompter));
        EXPECT_EQ(readWholeFile(scene), original);
        EXPECT_TRUE(std::ranges::equal(mission.bytes(MissionFile::Scene), original));
    }
    EXPECT_TRUE(prompter.said.empty());
}

TEST_F(HistoryTest, OneStepAcrossFilesAndAFileItCreated)
{
    CacheBuilder c;
    c.object("lamp.i3d", {1, 2, 3}, {1, 0, 0, 0}, {1, 1, 1});
    const auto cacheBytes = c.finish();
    const fs::path cache = dir.path() / "cache.bin";
    writeBytes(cache, cacheBytes);
    mission.open(MissionFile::Cache, cache, prompter);
    const fs::path created = dir.path() / "scene2.bin.sav";
    {
        Mission::Step step(mission, "Import", prompter);
        ASSERT_EQ(mission.replace(created, original, prompter), WriteOutcome::Done);
        const std::vector<Patch> p{{10, {9, 9}}};
        ASSERT_EQ(mission.patch(MissionFile::Scene, p, prompter), WriteOutcome::Done);
        ASSERT_EQ(mission.patch(MissionFile::Cache, p, prompter), WriteOutcome::Done);
        ASSERT_EQ(mission.replace(MissionFile::Scene, original, prompter), WriteOutcome::Done);
        step.commit();
    }
    EXPECT_EQ(mission.history().undoCount(), 1u);
    const auto sceneAfter = readWholeFile(scene);
    const auto cacheAfter = readWholeFile(cache);
    ASSERT_TRUE(mission.undo(prompter));
    EXPECT_FALSE(fs::exists(created));
    EXPECT_EQ(readWholeFile(scene), original);
    EXPECT_EQ(readWholeFile(cache), cacheBytes);
    ASSERT_TRUE(mission.redo(prompter));
    EXPECT_EQ(readWholeFile(created), original);
    EXPECT_EQ(readWholeFile(scene), sceneAfter);
    EXPECT_EQ(readWholeFile(cache), cacheAfter);
}

TEST_F(HistoryTest, AFileChangedBehindOurBackIsNotRestored)
{
    ASSERT_TRUE(deleteObject(mission, CrateRow, prompter).done());
    auto foreign = readWholeFile(scene);
    foreign.push_back(0);
    writeBytes(scene, foreign);
    EXPECT_FALSE(mission.undo(prompter));
    EXPECT_EQ(readWholeFile(scene), foreign);
    EXPECT_EQ(prompter.said,
              (std::vector<Said>{
                  {"message", "****** scene2.bin was changed outside the editor! \"Delete Crate\" cannot be undone. ******", ""}}));
    EXPECT_EQ(mission.history().nextUndo(), nullptr); // that file's history is gone
}

TEST_F(HistoryTest, TheBoundDropsTheOldestSteps)
{
    mission.setHistoryLimit(2 * 4); // each step keeps 2 bytes before and 2 after
    for (std::uint8_t i = 0; i < 4; ++i) {
        const std::vector<Patch> p{{20, {i, i}}};
        Mission::Step step(mission, "Step " + std::to_string(i), prompter);
        ASSERT_EQ(mission.patch(MissionFile::Scene, p, prompter), WriteOutcome::Done);
        step.commit();
    }
    EXPECT_EQ(mission.history().undoCount(), 2u);
    EXPECT_EQ(undoName(), "Step 3");
    ASSERT_TRUE(mission.undo(prompter));
    ASSERT_TRUE(mission.undo(prompter));
    EXPECT_FALSE(mission.undo(prompter));
    EXPECT_EQ(readWholeFile(scene)[20], 1); // back to the state after step 1, the oldest kept
}

// A step that is not committed takes back what it wrote: on a failure it tells that failure once
// with the note; when a file cannot be put back it names it and stays for "&Undo" to try again;
// while an exception leaves the command, the note waits for the one who reports the exception.
TEST_F(HistoryTest, AStepNotCommittedTakesBackWhatItWrote)
{
    const fs::path added = dir.path() / "added.bin", folder = dir.path() / "made" / "deeper";
    const auto writeBoth = [&] {
        ASSERT_TRUE(mission.createFolders(folder, prompter));
        ASSERT_EQ(mission.replace(added, std::vector<std::uint8_t>{1}, prompter), WriteOutcome::Done);
        ASSERT_EQ(mission.patch(MissionFile::Scene, std::vector<Patch>{{20, {7}}}, prompter), WriteOutcome::Done);
    };
    {
        Mission::Step step(mission, "Broken", prompter);
        writeBoth();
        mission.fail("it broke", "Broken", prompter);
        EXPECT_TRUE(step.failed());
        step.commit(); // a failed step is taken back all the same
    }
    EXPECT_EQ(prompter.said, (std::vector<Said>{{"message", std::string("it broke\n\n") + stepmsg::NothingChanged, "Broken"}}));
    EXPECT_EQ(readWholeFile(scene), original);
    EXPECT_FALSE(fs::exists(added));
    EXPECT_FALSE(fs::exists(dir.path() / "made"));
    EXPECT_EQ(mission.history().undoCount(), 0u);

    prompter.said.clear();
    {
        Mission::Step step(mission, "Broken", prompter);
        writeBoth();
        FileFaults::failOperationOn(added); // the disk dies under the file to remove
    }
    EXPECT_EQ(prompter.said.size(), 1u);
    EXPECT_EQ(prompter.said[0].text, std::string("****** \"Broken\" stopped before its end. ******\n\n") +
                                         stepmsg::NotPutBack + "added.bin" + stepmsg::UndoCanRetry);
    EXPECT_EQ(readWholeFile(scene), original);
    EXPECT_EQ(undoName(), "Broken");
    ASSERT_TRUE(mission.undo(prompter));
    EXPECT_FALSE(fs::exists(added));

    prompter.said.clear();
    try {
        Mission::Step step(mission, "Thrown", prompter);
        writeBoth();
        throw std::runtime_error("out of memory");
    } catch (const std::runtime_error&) {
    }
    EXPECT_TRUE(prompter.said.empty());
    EXPECT_EQ(mission.takeUnwoundNote(), stepmsg::NothingChanged);
    EXPECT_FALSE(fs::exists(added));
    EXPECT_EQ(readWholeFile(scene), original);
}

// Rows selected beside the shown one stay selected across an undo that moved no row; after one
// that rewrote the file they may name other entries, and only the shown row is kept.
TEST_F(HistoryTest, RowsSelectedBesideTheShownOneStayOnlyWhereNoRowMoved)
{
    const KeptRows keep{.all = GuardRow, .fallback = GuardRow, .more = {CrateRow, GuardRow}};
    moveCrate();
    ASSERT_TRUE(mission.undo(prompter, keep));
    EXPECT_EQ(mission.sceneSelection().all, std::optional<std::uint32_t>(GuardRow));
    EXPECT_EQ(mission.sceneSelection().more, std::vector<std::uint32_t>{CrateRow});

    ASSERT_EQ(scriptSaveOf(saveScript(mission, IntroRow, "wait", prompter)), ScriptSaveResult::NewLength);
    ASSERT_TRUE(mission.undo(prompter, keep));
    EXPECT_TRUE(mission.sceneSelection().more.empty());
}
