#include <gtest/gtest.h>

#include <set>

#include "commands/tracks/Tracks.h"
#include "formats/route/LaneTable.h"
#include "foundation/bytes/ByteReader.h"
#include "foundation/files/FileAccess.h"
#include "mission/Mission.h"
#include "support/CircuitBuilder.h"
#include "support/MissionFileBuilders.h"
#include "support/RecordingProgress.h"
#include "support/ScriptedPrompter.h"
#include "support/TempFolder.h"

using namespace mw;
using namespace mw::build;
namespace fs = std::filesystem;

TEST(LaneTable, NamesEveryNodeOnce)
{
    std::multiset<int> nodes;
    int lanes = 0, codes = 0;
    for (const LaneRow& row : laneTable()) {
        for (int n : row.lanes)
            if (n != NoNode)
                nodes.insert(n), ++lanes;
        if (row.code != NoCode)
            nodes.insert(std::stoi(std::string(row.code.substr(0, 3)))), ++codes;
    }
    EXPECT_EQ(lanes, 533);
    EXPECT_EQ(codes, 19);
    for (int n = 0; n < 552; ++n)
        EXPECT_EQ(nodes.count(n), 1u) << n;
}

class TracksTest : public ::testing::Test {
protected:
    void write(const std::string& skip = "")
    {
        SceneBuilder b;
        b.beginObjects();
        addCircuit(b, skip);
        b.endObjects();
        original = b.finish();
        writeBytes(scene, original);
    }
    Floats3 at(const std::vector<std::uint8_t>& file, const std::string& name) const
    {
        const auto p = translationOf(file, name, true);
        EXPECT_TRUE(p) << name;
        const ByteReader r(file);
        return {r.f32(*p), r.f32(*p + 4), r.f32(*p + 8)};
    }

    TempFolder dir;
    fs::path scene = dir.path() / "scene2.bin";
    std::vector<std::uint8_t> original;
    Mission mission;
    ScriptedPrompter prompter;
};

TEST_F(TracksTest, TheTransformPutsTheNodesOnTheCrossSections)
{
    write();
    RecordingProgress progress;
    ASSERT_TRUE(transformTrack(mission, scene, prompter, progress).done());
    EXPECT_EQ(prompter.messages(), (std::vector<std::string>{"done"}));
    // The counter shows each row as it is done.
    ASSERT_EQ(progress.values.size(), 110u);
    for (int r = 0; r < 110; ++r)
        ASSERT_EQ(progress.values[r], r + 1);
    EXPECT_EQ(progress.texts.back(), "110");
    const auto bytes = readWholeFile(scene);
    ASSERT_EQ(bytes.size(), original.size());
    // Row 0, from the start points A (560, 0.5, 400) and B (540, 1.5, 400): dX 10 > dZ 0, so along Z.
    EXPECT_EQ(at(bytes, "TR417"), (Floats3{560, 0.5f, 400}));    // lane 1: A
    EXPECT_EQ(at(bytes, "TR438"), (Floats3{540, 1.5f, 400}));    // lane 5: B
    EXPECT_EQ(at(bytes, "TR423"), (Floats3{550, 1.5f, 400}));    // lane 2: the middle
    EXPECT_EQ(at(bytes, "TR433"), (Floats3{550, 1.5f, 401}));    // lane 4: the middle moved along Z
    EXPECT_EQ(at(bytes, "TR401"), (Floats3{560, 0.5f, 398}));    // lane 0: A towards zero along Z
    EXPECT_EQ(at(bytes, "TR449"), (Floats3{540, 1.5f, 402}));    // lane 6: B away from zero along Z
    // Row 1's code "402L9": the left edge (TrackPoint1B) raised by 9, and race_cam1 with it.
    const Floats3 b1 = circuitEdge(1, 'B');
    EXPECT_EQ(at(bytes, "TR402"), (Floats3{b1[0], b1[1] + 9, b1[2]}));
    EXPECT_EQ(at(bytes, "race_cam1"), (Floats3{b1[0], b1[1] + 9, b1[2]}));
    // Lanes of 999 write nothing: only node and camera translations changed.
    std::size_t changed = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        changed += bytes[i] != original[i];
    EXPECT_LE(changed, (552u + 19u) * 12u);
    EXPECT_EQ(mission.history().nextUndo()->name, "Transform track");
}

TEST_F(TracksTest, AMissingNameChangesNothing)
{
    const std::pair<const char*, const char*> cases[] = {
        {"StartPointA", "**Sorry, StartPointA not found! Wrong Source File **"},
        {"StartPointB", "**Sorry, StartPointB not found **"},
        {"TrackPoint57B", "**Sorry, TrackPoint57B not found! Nothing was changed. **"},
        {"TR551", "**Sorry, TR551 not found! Nothing was changed. **"},
    };
    for (const auto& [skip, message] : cases) {
        SCOPED_TRACE(skip);
        write(skip);
        prompter.said.clear();
        EXPECT_FALSE(transformTrack(mission, scene, prompter).done());
        EXPECT_EQ(prompter.messages(), (std::vector<std::string>{message}));
        EXPECT_EQ(readWholeFile(scene), original);
    }
    EXPECT_FALSE(transformTrack(mission, "", prompter).done());
    EXPECT_EQ(prompter.messages().back(), "**Select Source file: scene2.bin **");
}

TEST_F(TracksTest, PutTrackCopiesTheNodesIntoTheRouteFile)
{
    write();
    const fs::path route = dir.path() / "check.bin";
    writeBytes(route, routeFile(551));
    EXPECT_FALSE(putTrack(mission, scene, route, prompter).done());
    EXPECT_EQ(prompter.messages(), (std::vector<std::string>{"**Sorry, wrong check.bin! **"}));
    EXPECT_EQ(readWholeFile(route), routeFile(551));

    ASSERT_TRUE(transformTrack(mission, scene, prompter).done());
    const auto routeBefore = routeFile(552);
    writeBytes(route, routeBefore);
    ASSERT_TRUE(putTrack(mission, scene, route, prompter).done());
    const auto after = readWholeFile(route);
    ASSERT_EQ(after.size(), routeBefore.size());
    EXPECT_TRUE(std::equal(after.begin(), after.begin() + 8, routeBefore.begin()));
    const auto nodes = readWholeFile(scene);
    const ByteReader r(after);
    for (std::size_t i = 0; i < 552; ++i) {
        const std::size_t record = 8 + 30 * i;
        EXPECT_TRUE(std::equal(after.begin() + record + 12, after.begin() + record + 30, routeBefore.begin() + record + 12));
        EXPECT_EQ((Floats3{r.f32(record), r.f32(record + 4), r.f32(record + 8)}), at(nodes, "TR" + std::to_string(i)));
    }
}

TEST_F(TracksTest, TheReversedCopyOverwritesScene2Rev)
{
    write();
    writeBytes(dir.path() / "scene2.rev", {1, 2, 3});
    ASSERT_TRUE(createReversedCopy(mission, scene, prompter).done());
    const auto copy = readWholeFile(dir.path() / "scene2.rev");
    ASSERT_EQ(copy.size(), original.size());
    EXPECT_EQ(at(copy, "TrackPoint1A"), circuitEdge(109, 'A'));
    EXPECT_EQ(at(copy, "TrackPoint109B"), circuitEdge(1, 'B'));
    EXPECT_EQ(readWholeFile(scene), original);

    EXPECT_FALSE(createReversedCopy(mission, dir.path() / "other.bin", prompter).done());
    EXPECT_EQ(prompter.messages().back(), "**Sorry, no scene2.bin! **");
    ASSERT_TRUE(mission.undo(prompter));
    EXPECT_EQ(readWholeFile(dir.path() / "scene2.rev"), (std::vector<std::uint8_t>{1, 2, 3}));
}
