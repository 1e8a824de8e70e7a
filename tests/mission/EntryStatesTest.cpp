#include <gtest/gtest.h>

#include "foundation/files/FileAccess.h"
#include "mission/EntryStates.h"
#include "mission/Mission.h"
#include "support/SceneBuilder.h"
#include "support/ScriptedPrompter.h"
#include "support/TempFolder.h"

using namespace mw;
using namespace mw::build;

namespace {

// A scene of objects named as given, in that order.
std::vector<std::uint8_t> sceneOf(const std::vector<std::string>& names)
{
    SceneBuilder b;
    b.beginObjects();
    for (const std::string& name : names)
        b.object({.name = name, .type = 9, .translation = Floats3{0, 0, 0}});
    b.endObjects();
    return b.finish();
}

} // namespace

// Hidden: the second "Lamp" and the "Guard"; what the file then becomes, and which rows are hidden.
TEST(EntryStates, AKeyFollowsItsEntryWhateverHappensAroundIt)
{
    const std::vector<std::string> first{"Lamp", "Guard", "Lamp", "Car"};
    struct Case {
        const char* what;
        std::vector<std::string> after;
        std::vector<bool> hidden;
    } cases[] = {
        {"read again", first, {false, true, true, false}},
        {"an object inserted before them", {"Crate", "Lamp", "Guard", "Lamp", "Car"}, {false, false, true, true, false}},
        {"another object deleted", {"Lamp", "Guard", "Lamp"}, {false, true, true}},
        {"another object renamed", {"Lamp", "Guard", "Lamp", "Truck"}, {false, true, true, false}},
        {"the first lamp deleted: the second is now the first of its name", {"Guard", "Lamp", "Car"}, {true, false, false}},
        {"the guard renamed: it drops out", {"Lamp", "Sentry", "Lamp", "Car"}, {false, false, true, false}},
    };
    TempFolder dir;
    const auto path = dir.path() / "scene2.bin";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeBytes(path, sceneOf(first));
        Mission mission;
        ScriptedPrompter prompter;
        ASSERT_TRUE(mission.open(MissionFile::Scene, path, prompter));
        EntryStates states;
        EXPECT_TRUE(states.set(EntryState::Hidden, EntryKeys(mission, MissionFile::Scene), {1, 2}, true));
        EXPECT_FALSE(states.set(EntryState::Hidden, EntryKeys(mission, MissionFile::Scene), {2}, true)); // already
        // Kept through the user's settings, and read back.
        states = EntryStates::decode(states.encode());
        writeBytes(path, sceneOf(c.after));
        mission.reloadScene(std::nullopt, prompter);
        EXPECT_EQ(states.rowsOf(EntryState::Hidden, EntryKeys(mission, MissionFile::Scene)), c.hidden);
        EXPECT_TRUE(states.rowsOf(EntryState::Locked, EntryKeys(mission, MissionFile::Scene)) == std::vector<bool>(c.after.size(), false));
    }
}

TEST(EntryStates, SettingsThatAreNotKeysArePassedOver)
{
    const EntryStates kept = EntryStates::decode("H 0 1 4c616d70\n"   // the second "Lamp"
                                                 "L 3 0 \n"           // a body without a name
                                                 "X 0 0 4c616d70\n"   // no such state
                                                 "H 9 0 4c616d70\n"   // no such file
                                                 "H 0 x 4c616d70\n"   // no number
                                                 "H 0 0 4c616d7\n"    // half a byte
                                                 "H 0 0 zz\n"         // no hex
                                                 "\x01\xff\n"
                                                 "H 0");
    EXPECT_EQ(kept.keys(EntryState::Hidden), (std::set<EntryKey>{{MissionFile::Scene, "Lamp", 1}}));
    EXPECT_EQ(kept.keys(EntryState::Locked), (std::set<EntryKey>{{MissionFile::Tree, "", 0}}));
    EXPECT_EQ(EntryStates::decode(kept.encode()).encode(), kept.encode());
}
