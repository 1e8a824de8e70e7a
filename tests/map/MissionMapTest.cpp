#include <gtest/gtest.h>

#include <cmath>

#include "editing/Rotation.h"
#include "map/MissionMap.h"

using namespace mw;

namespace {

void expectNear(MapPoint a, MapPoint b)
{
    EXPECT_NEAR(a.x, b.x, 1e-5);
    EXPECT_NEAR(a.z, b.z, 1e-5);
}

SceneEntry entry(std::uint32_t type, const char* model = "", bool rotated = false)
{
    SceneEntry e;
    e.typeCode = type;
    e.model = model;
    e.noTranslation = false;
    e.translation = {1, 2, 3};
    if (rotated) {
        // The horizontal slider at 45 degrees: q1 = sin 45, q3 = cos 45, a quarter turn.
        const auto c = firstSliderComponents(45);
        e.rotation = {c[0], 0, c[1], 0};
        e.noRotation = false;
    }
    return e;
}

} // namespace

TEST(MissionMap, HeadingsCornersAndCircles)
{
    EXPECT_NEAR(yawOfSceneRotation({1, 0, 0, 0}), pi(), 1e-6);
    const auto box = rectangle({0, 0}, 2, 4, static_cast<float>(pi() / 2));
    expectNear(box[0], {-2, 1});
    expectNear(box[2], {2, -1});

    SceneCatalogue scene;
    scene.entries = {entry(9, "box.i3d", true), entry(2)};
    scene.entries.push_back(SceneEntry{.name = "intro", .isScript = true});
    std::vector<CacheRecord> cache(2);
    cache[1].TranslationOffset = 100;
    cache[1].position = {10, 0, 20};
    cache[1].size = {2, 1, 4};
    cache[1].rotation = {0, 1, 0, 0}; // no turn: the slider's components are q1 and q2 here
    std::vector<CollisionBody> bodies(2);
    bodies[0].CollisionKindTag = "CY";
    bodies[0].position = {5, 0, 5};
    bodies[0].size = {3, 20, 3};
    bodies[1].CollisionKindTag = "BI";
    bodies[1].size = {2, 1, 4};
    bodies[1].rotation = scene.entries[0].rotation;

    const MissionMap map = buildMissionMap(scene, cache, bodies);
    ASSERT_EQ(map.shapes.size(), 5u); // no script, no base record
    const MapShape& model = map.shapes[0];
    EXPECT_EQ(model.layer, MapLayer::Scene);
    EXPECT_EQ(model.kind, MarkerKind::Model);
    expectNear(model.centre, {1, 3});
    expectNear(model.heading, {1, 0});
    EXPECT_EQ(map.shapes[1].kind, MarkerKind::Light);
    expectNear(map.shapes[1].heading, {0, 0}); // no rotation chunk
    const MapShape& cached = map.shapes[2];
    EXPECT_EQ(cached.layer, MapLayer::Cache);
    EXPECT_EQ(cached.row, 1u);
    expectNear(cached.outline[0], {9, 18});
    const MapShape& cylinder = map.shapes[3];
    EXPECT_EQ(cylinder.corners, 0);
    EXPECT_EQ(cylinder.radius, 3.0f);
    expectNear(map.shapes[4].outline[0], {-2, 1}); // the vertical box turned a quarter
    expectNear(map.min, {-2, -1});
    expectNear(map.max, {11, 22});
}

TEST(MissionMap, KindsOfSceneEntries)
{
    SceneEntry sound = entry(4);
    sound.soundFileName = "a.wav";
    EXPECT_EQ(markerKindOf(sound), MarkerKind::Sound);
    EXPECT_EQ(markerKindOf(entry(4, "blackha00.i3d")), MarkerKind::Car);
    EXPECT_EQ(markerKindOf(entry(0x1B, "Enemy12K.i3d")), MarkerKind::Human);
    EXPECT_EQ(markerKindOf(entry(9, "4build10.i3d")), MarkerKind::Building);
    EXPECT_EQ(markerKindOf(entry(9, "xbarel 2.i3d")), MarkerKind::Model);
    EXPECT_EQ(markerKindOf(entry(0xFF)), MarkerKind::Other);
}
