#include <gtest/gtest.h>

#include "mission/Workspace.h"

using namespace mw;

TEST(SameMission, ComparesTheFoldersByThePlatformsRule)
{
    EXPECT_EQ(missionFolder("/game/missions/m1/scene2.bin", "scene2.bin"), "/game/missions/m1/");
    EXPECT_TRUE(sameMission("/game/missions/m1/scene2.bin", "scene2.bin", "/game/missions/m1/tree.klz", "tree.klz"));
    EXPECT_FALSE(sameMission("/game/missions/m1/scene2.bin", "scene2.bin", "/game/missions/m2/tree.klz", "tree.klz"));
#ifdef _WIN32
    // The file system ignores letter case and takes both separators.
    EXPECT_TRUE(sameMission("C:/Game/Missions/M1/scene2.bin", "scene2.bin", "c:\\game\\missions\\m1\\tree.klz", "tree.klz"));
    EXPECT_FALSE(sameMission("C:/Game/Missions/M1/scene2.bin", "scene2.bin", "c:\\game\\missions\\m2\\tree.klz", "tree.klz"));
#else
    EXPECT_FALSE(sameMission("/game/missions/M1/scene2.bin", "scene2.bin", "/game/missions/m1/tree.klz", "tree.klz"));
#endif
    // A title that does not end the path: the folder is everything up to the last separator.
    EXPECT_EQ(missionFolder("C:\\game\\missions\\m1\\scene2.bin", ""), "C:\\game\\missions\\m1\\");
    EXPECT_EQ(missionFolder("scene2.bin", "other"), "");
}
