#include <gtest/gtest.h>

#include <cmath>

#include "commands/editing/Rotation.h"
#include "commands/placing/DropToGround.h"
#include "commands/placing/Placing.h"
#include "foundation/bytes/ByteReader.h"
#include "foundation/files/FileAccess.h"
#include "foundation/files/FileFaults.h"
#include "mission/Mission.h"
#include "support/MissionFileBuilders.h"
#include "support/SceneBuilder.h"
#include "support/ScriptedPrompter.h"
#include "support/TempFolder.h"

using namespace mw;
using namespace mw::build;
namespace fs = std::filesystem;

namespace {

// A mission with objects standing where `at` says (each with a rotation chunk), the cached objects
// and frames `cached` and `frames`, and collision bodies from `bodies`.
class Placing : public ::testing::Test {
protected:
    void write(const std::vector<Floats3>& at, const std::vector<F3>& cached, const std::vector<F3>& frames,
               const std::function<void(TreeBuilder&, int)>& bodies)
    {
        folder = dir.path() / "game" / "missions" / "m";
        fs::create_directories(folder);
        SceneBuilder s;
        s.beginObjects();
        for (std::size_t k = 0; k < at.size(); ++k)
            translations.push_back(s.object({.name = "Thing" + std::to_string(k), .type = 9, .translation = at[k],
                                             .rotation = std::array<float, 4>{0, 0, 1, 0}, .size = Floats3{1, 1, 1}})
                                       .translation);
        s.endObjects();
        writeBytes(folder / "scene2.bin", s.finish());
        CacheBuilder c;
        for (const F3& p : cached)
            cacheAt.push_back(c.object("house.i3d", p, {0, 1, 0, 0}, {1, 1, 1}));
        writeBytes(folder / "cache.bin", c.finish());
        ModelFileBuilder m;
        m.endMaterials();
        for (const F3& p : frames)
            frameAt.push_back(m.frame("Frame", p, {1, 0, 0, 0}));
        writeBytes(folder / "scene.4ds", m.finish());
        TreeBuilder t;
        bodies(t, t.link("ground"));
        t.endMarker();
        writeBytes(folder / "tree.klz", t.finish());
        for (const MissionFile file : MissionFiles)
            ASSERT_TRUE(mission.open(file, folder / missionFileName(file), prompter));
    }
    Vec3 sceneAt(std::size_t k) const { return mission.sceneCatalogue().translation(k); }
    Vec3 read(MissionFile file, std::size_t at) const
    {
        const auto bytes = readWholeFile(folder / missionFileName(file));
        const ByteReader r(bytes);
        return {r.f32(at), r.f32(at + 4), r.f32(at + 8)};
    }

    TempFolder dir;
    fs::path folder;
    Mission mission;
    ScriptedPrompter prompter;
    std::vector<std::size_t> translations, cacheAt, frameAt;
};

} // namespace

TEST_F(Placing, DropLandsOnTheFirstTopBelowOfEachKindAndCylindersCatchNothing)
{
    // Columns 10 m apart, one per case; the objects start at y = 50.
    struct Case {
        const char* what;
        float x;
        std::optional<float> lands;
    };
    const Case cases[] = {
        {"box", 0, 4.0f},
        {"stack of two: the upper", 10, 9.0f},
        {"rotated box, a quarter turn about y", 20, 3.0f},
        {"vertically rotated box (1 m high as listed)", 30, 5.5f},
        {"sphere", 40, 12.0f},
        {"cylinder", 50, std::nullopt},
        {"nothing", 60, std::nullopt},
        {"inside a box: falls to the one below", 70, 1.0f},
        {"already on a top", 80, 4.0f},
    };
    std::vector<Floats3> at;
    for (const Case& c : cases)
        at.push_back({c.x, c.x == 70 ? 5.0f : c.x == 80 ? 4.0f : 50.0f, 0});
    write(at, {}, {}, [](TreeBuilder& t, int link) {
        t.box(1, link, {-1, 0, -1}, {1, 4, 1});
        t.box(1, link, {9, 0, -1}, {11, 2, 1});
        t.box(1, link, {9, 7, -1}, {11, 9, 1});
        t.box(1, link, {69, 0, -1}, {71, 1, 1});
        t.box(1, link, {69, 3, -1}, {71, 8, 1});
        t.box(1, link, {79, 0, -1}, {81, 4, 1});
        t.rotatedBox(2, link, {-1, -2, -3}, {1, 2, 3}, {{0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0}}, {20, 1, 0});
        t.verticalBox(3, link, {1, 0, 0}, {0, 2, 1}, {}, {30, 5, 0}, 0.38268343f, 0.9238795f);
        t.sphere(4, link, {40, 10, 0}, 2);
        t.cylinder(5, link, 50, 0, 3);
    });
    PlacedItems items;
    for (std::uint32_t k = 0; k < at.size(); ++k)
        items.scene.push_back(k);
    const Result<Dropped> dropped = dropToGround(mission, items, prompter);
    ASSERT_TRUE(dropped.done());
    EXPECT_EQ(dropped.value.moved, 7u);
    EXPECT_EQ(dropped.value.nothingBelow, 2u);
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        SCOPED_TRACE(cases[k].what);
        EXPECT_NEAR(read(MissionFile::Scene, translations[k]).y, cases[k].lands.value_or(at[k][1]), 1e-4);
        EXPECT_EQ(read(MissionFile::Scene, translations[k]).x, at[k][0]);
    }
    // One step: one undo puts every object back.
    EXPECT_EQ(mission.history().nextUndo()->name, "Drop 7 objects to the ground");
    ASSERT_TRUE(mission.undo(prompter));
    for (std::size_t k = 0; k < std::size(cases); ++k)
        EXPECT_EQ(sceneAt(k).y, at[k][1]);
}

TEST_F(Placing, ATurnWritesWhatTheFirstSliderWritesAndSeveralTurnAboutTheirCentre)
{
    write({{0, 0, 0}, {2, 0, 0}}, {{10, 0, 10}}, {{4, 0, 4}}, [](TreeBuilder&, int) {});
    // One object: a turn by twice the slider's angle writes the slider's two components, from no
    // turn (q1 = 0, q3 = 1) and from there on.
    const auto heading = [&](std::uint32_t row) {
        const auto q = mission.sceneCatalogue().rotation(row);
        return std::array<float, 2>{q[0], q[2]};
    };
    int angle = 0;
    for (const int to : {30, 45, 90, 91, 135, 179, 180, 10}) {
        SCOPED_TRACE(to);
        ASSERT_TRUE(turnItems(mission, {.scene = {0}}, 2.0 * (to - angle), prompter).done());
        EXPECT_EQ(heading(0), firstSliderComponents(to % 180));
        EXPECT_EQ(sceneAt(0), (Vec3{0, 0, 0})); // one object turns about itself
        angle = to;
    }
    // A cached object: q1 and q2.
    ASSERT_TRUE(turnItems(mission, {.cache = {0}}, 90, prompter).done());
    const auto& q = mission.cache().records[0].rotation;
    EXPECT_EQ((std::array<float, 2>{q[0], q[1]}), firstSliderComponents(45));

    // Two objects and a frame half a turn about their centre (2, 0, 4/3): places swap about it,
    // headings turn, one step.
    const std::size_t steps = mission.history().undoCount();
    ASSERT_TRUE(turnItems(mission, {.scene = {0, 1}, .frames = {0}}, 180, prompter).done());
    EXPECT_EQ(mission.history().undoCount(), steps + 1);
    const Vec3 a = sceneAt(0), b = sceneAt(1), f = read(MissionFile::Model, frameAt[0]);
    EXPECT_NEAR(a.x, 4, 1e-4);
    EXPECT_NEAR(a.z, 8.0f / 3, 1e-4);
    EXPECT_NEAR(b.x, 2, 1e-4);
    EXPECT_NEAR(f.x, 0, 1e-4);
    EXPECT_NEAR(f.z, -4.0f / 3, 1e-4);
    EXPECT_EQ(heading(1), firstSliderComponents(90));
}

// Counts the notices of the mission, and what the cache's list held when each was told.
struct Notices : MissionListener {
    explicit Notices(const Mission& m) : mission(m) {}
    void missionChanged(const MissionChange& change) override
    {
        if (change.kind == MissionChange::Kind::AboutToLoad)
            return; // a load that starts, told at once
        told.push_back(change);
        cachedAt.push_back(mission.cache().records.empty() ? Vec3{} : mission.cache().records[0].position);
    }
    const Mission& mission;
    std::vector<MissionChange> told;
    std::vector<Vec3> cachedAt;
};

TEST_F(Placing, AMoveWritesEveryFileInOneStepTellsItOnceAndTheListsShowIt)
{
    write({{1, 2, 3}, {5, 5, 5}}, {{10, 0, 10}}, {{4, 0, 4}}, [](TreeBuilder&, int) {});
    const auto before = std::array{readWholeFile(folder / "scene2.bin"), readWholeFile(folder / "cache.bin"),
                                   readWholeFile(folder / "scene.4ds")};
    Notices notices(mission);
    mission.addListener(&notices);
    ASSERT_TRUE(moveItems(mission, {.scene = {1}, .cache = {0}, .frames = {0}}, {1, -1, 0.5f}, prompter).done());
    // One notice, naming each file with its row, told when the lists held the new places.
    ASSERT_EQ(notices.told.size(), 1u);
    const MissionChange& told = notices.told[0];
    ASSERT_EQ(told.files.size(), 3u);
    for (const auto& [file, row] : {std::pair{MissionFile::Scene, 1u}, {MissionFile::Cache, 0u}, {MissionFile::Model, 0u}}) {
        ASSERT_TRUE(told.of(file));
        EXPECT_EQ(told.of(file)->how, FileChanged::How::Written);
        EXPECT_EQ(told.of(file)->rows, (std::vector<std::uint32_t>{row}));
    }
    EXPECT_EQ(notices.cachedAt[0], (Vec3{11, -1, 10.5f}));
    ASSERT_TRUE(mission.undo(prompter));
    ASSERT_TRUE(mission.redo(prompter));
    EXPECT_EQ(notices.told.size(), 3u); // an undo and a redo: one notice each
    ASSERT_TRUE(mission.undo(prompter));
    // A step taken back tells nothing: its second write fails.
    FileFaults::failOperationOn(folder / "cache.bin");
    EXPECT_EQ(moveItems(mission, {.scene = {1}, .cache = {0}}, {1, 0, 0}, prompter).ended, Ended::Failed);
    FileFaults::failOperationOn({});
    EXPECT_EQ(notices.told.size(), 4u);
    mission.removeListener(&notices);
    prompter.said.clear();
    ASSERT_TRUE(moveItems(mission, {.scene = {0}, .cache = {0}, .frames = {0}}, {1, -1, 0.5f}, prompter).done());
    EXPECT_EQ(read(MissionFile::Scene, translations[0]), (Vec3{2, 1, 3.5f}));
    EXPECT_EQ(read(MissionFile::Cache, cacheAt[0]), (Vec3{11, -1, 10.5f}));
    EXPECT_EQ(read(MissionFile::Model, frameAt[0]), (Vec3{5, -1, 4.5f}));
    EXPECT_EQ(mission.cache().records[0].position, (Vec3{11, -1, 10.5f}));
    EXPECT_EQ(mission.model().frames[0].position, (Vec3{5, -1, 4.5f}));
    EXPECT_EQ(mission.history().nextUndo()->name, "Move 3 objects");
    ASSERT_TRUE(mission.undo(prompter));
    EXPECT_EQ(readWholeFile(folder / "scene2.bin"), before[0]);
    EXPECT_EQ(readWholeFile(folder / "cache.bin"), before[1]);
    EXPECT_EQ(readWholeFile(folder / "scene.4ds"), before[2]);
    EXPECT_EQ(mission.cache().records[0].position, (Vec3{10, 0, 10}));
    // Nothing to place: refused, nothing written.
    EXPECT_EQ(moveItems(mission, {.scene = {7}}, {1, 0, 0}, prompter).ended, Ended::Refused);
}
