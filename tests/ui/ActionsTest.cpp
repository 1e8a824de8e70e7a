// Every action's state comes from the mission: what is loaded, whether it is busy, the history.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QListView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "foundation/files/FileAccess.h"
#include "support/MissionFileBuilders.h"
#include "support/SceneBuilder.h"
#include "ui/CommandRunner.h"
#include "ui/StatusLine.h"
#include "ui/WidgetNames.h"
#include "ui/WindowDriver.h"

using namespace mw;
using namespace mw::build;

namespace {

// The actions that start a command or a load.
const char* const Commands[] = {ids::LoadScene, ids::LoadCache, ids::LoadModel, ids::LoadTree,  ids::Exit,
                                ids::Addin,     ids::Racing,    ids::PutCache,  ids::PutTree,   ids::DeleteObject,
                                ids::SaveSceneValues, ids::SaveScript, "InsertHuman", "InsertOther"};

class ActionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SceneBuilder b;
        b.beginObjects();
        for (const char* name : {"Crate", "Guard", "Door"})
            b.object({.name = name, .type = 9, .translation = Floats3{1, 2, 3}});
        b.endObjects();
        path = dir.path() / "missions" / "m" / "scene2.bin";
        WindowDriver::write(path, b.finish());
    }
    std::map<std::string, bool> enabled() const
    {
        std::map<std::string, bool> out;
        for (const char* id : Commands)
            out[id] = ui.action(id)->isEnabled();
        return out;
    }
    static std::map<std::string, bool> all(bool on)
    {
        std::map<std::string, bool> out;
        for (const char* id : Commands)
            out[id] = on;
        return out;
    }

    build::TempFolder dir;
    std::filesystem::path path;
    WindowDriver ui;
};

} // namespace

TEST_F(ActionsTest, EachActionFollowsWhatIsLoadedTheHistoryAndBusy)
{
    // Nothing loaded: the commands on objects wait for a scene.
    auto expected = all(true);
    for (const char* id : {ids::Addin, ids::DeleteObject, ids::SaveSceneValues, ids::SaveScript, "InsertHuman", "InsertOther"})
        expected[id] = false;
    EXPECT_EQ(enabled(), expected);
    EXPECT_FALSE(ui.action(ids::Undo)->isEnabled());

    ui.load("Load &scene2.bin", path);
    EXPECT_EQ(enabled(), all(true));
    EXPECT_TRUE(ui.find<QPushButton>(ids::DeleteButton)->isEnabled());
    {
        const Mission::BusyScope busy(ui.window->mission());
        EXPECT_EQ(enabled(), all(false));
        EXPECT_FALSE(ui.find<QPushButton>(ids::DeleteButton)->isEnabled());
    }
    ui.find<QPushButton>(ids::DeleteButton)->click();
    EXPECT_EQ(enabled(), all(true));
    EXPECT_TRUE(ui.action(ids::Undo)->isEnabled());
    EXPECT_EQ(ui.action(ids::Undo)->text(), "&Undo Delete Crate");
    EXPECT_FALSE(ui.action(ids::Redo)->isEnabled());
}

TEST_F(ActionsTest, ASearchThatLetsEventsThroughKeepsEveryCommandWaiting)
{
    ui.load("Load &scene2.bin", path);
    ui.find<QLineEdit>("Text19")->setText("nothing");
    std::vector<std::map<std::string, bool>> seen;
    std::vector<bool> deleteButton;
    ui.prompter.onSay = [&](const Said&) { // "Search again?" comes while the search runs
        seen.push_back(enabled());
        deleteButton.push_back(ui.find<QPushButton>(ids::DeleteButton)->isEnabled());
    };
    ui.find<QPushButton>("search_0")->click();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], all(false));
    EXPECT_EQ(deleteButton, (std::vector<bool>{false}));
    EXPECT_FALSE(ui.window->mission().busy());
    EXPECT_EQ(enabled(), all(true));
}

// The last guard: whatever a command lets escape is told once, its step has put back what it
// wrote, Busy is clear and the editor goes on.
TEST_F(ActionsTest, AnExceptionThatEscapesACommandIsToldAndTakenBack)
{
    ui.load("Load &scene2.bin", path);
    const auto before = readWholeFile(path);
    Mission& mission = ui.window->mission();
    StatusLine status(ui.find<QLabel>(ids::Status));
    CommandRunner runner(mission, ui.prompter, status, ui.window->selection());
    runner.run([&]() -> CommandResult {
        const Mission::BusyScope busy(mission);
        Mission::Step step(mission, "Broken", ui.prompter);
        mission.patch(MissionFile::Scene, std::vector<Patch>{{8, {1, 2, 3}}}, ui.prompter);
        throw std::runtime_error("out of memory");
    });
    EXPECT_EQ(ui.prompter.messages(),
              (std::vector<std::string>{std::string("****** The command stopped: out of memory ******\n\n") +
                                        stepmsg::NothingChanged}));
    EXPECT_EQ(readWholeFile(path), before);
    EXPECT_FALSE(mission.busy());
    EXPECT_EQ(mission.history().undoCount(), 0u);
    ui.find<QPushButton>(ids::DeleteButton)->click();
    EXPECT_EQ(mission.history().undoCount(), 1u);
}

// The commands on many objects and the check follow what is loaded, the selection, the clipboard
// and Busy.
TEST_F(ActionsTest, TheEditAndToolsCommandsFollowTheSelectionAndTheClipboard)
{
    const char* const edits[] = {ids::Cut,           ids::Copy,        ids::Paste,       ids::Duplicate,
                                 ids::SelectAll,     ids::MoveSelection, ids::ExportAddin, ids::CheckMission,
                                 ids::DropToGround};
    const auto state = [&] {
        std::string on;
        for (const char* id : edits)
            on += ui.action(id)->isEnabled() ? '1' : '0';
        return on;
    };
    QApplication::clipboard()->setText("plain text");
    EXPECT_EQ(state(), "000000000"); // nothing loaded

    CacheBuilder cache;
    cache.object("bench.i3d", {0, 0, 0}, {1, 0, 0, 0}, {1, 1, 1});
    WindowDriver::write(path.parent_path() / "cache.bin", cache.finish());
    ui.load("Load &cache.bin", path.parent_path() / "cache.bin");
    EXPECT_EQ(state(), "000000010"); // the check needs no scene; the drop a collision file

    ui.load("Load &scene2.bin", path);
    ui.find<QListView>(ids::AllList)->selectionModel()->clearSelection();
    EXPECT_EQ(state(), "000010010"); // no selection; plain text is nothing to paste
    ui.select(ids::AllList, 1);
    EXPECT_EQ(state(), "110111110");
    ui.menu("&Copy");
    EXPECT_EQ(state(), "111111110");
    TreeBuilder tree;
    tree.box(1, tree.link("ground"), {0, 0, 0}, {1, 1, 1});
    WindowDriver::write(path.parent_path() / "tree.klz", tree.finish());
    ui.load("Load &tree.klz", path.parent_path() / "tree.klz");
    ui.select(ids::AllList, 1);
    EXPECT_EQ(state(), "111111111");
    {
        const Mission::BusyScope busy(ui.window->mission());
        EXPECT_EQ(state(), "000000000");
    }
    EXPECT_EQ(state(), "111111111");
}
