#include <gtest/gtest.h>

#include <cmath>

#include "commands/editing/Rotation.h"
#include "render/map/MissionMap.h"
#include "formats/scene/SceneLoader.h"
#include "support/SceneBuilder.h"

using namespace mw;

namespace {

void expectNear(MapPoint a, MapPoint b)
{
    EXPECT_NEAR(a.x, b.x, 1e-5);
    EXPECT_NEAR(a.z, b.z, 1e-5);
}

SceneEntry entry(std::uint32_t type, const char* model = "")
{
    SceneEntry e;
    e.typeCode = type;
    e.model = model;
    return e;
}

} // namespace

TEST(MissionMap, HeadingsCornersAndCircles)
{
    EXPECT_NEAR(yawOfSceneRotation({1, 0, 0, 0}), pi(), 1e-6);
    const auto box = rectangle({0, 0}, 2, 4, static_cast<float>(pi() / 2));
    expectNear(box[0], {-2, 1});
    expectNear(box[2], {2, -1});

    build::SceneBuilder b;
    b.beginObjects();
    // The horizontal slider at 45 degrees: q1 = sin 45, q3 = cos 45, a quarter turn.
    const auto c = firstSliderComponents(45);
    b.object({.type = 9u, .translation = build::Floats3{1, 2, 3}, .rotation = std::array<float, 4>{c[0], 0, c[1], 0},
              .model = "box.i3d"});
    b.object({.type = 2u, .translation = build::Floats3{1, 2, 3}});
    b.endObjects();
    b.beginScripts();
    b.script("intro", "");
    b.endScripts();
    const SceneLoadResult scene = loadScene(b.finish());
    CacheLoadResult cache;
    cache.records.resize(2);
    cache.records[1].TranslationOffset = 100;
    cache.records[1].position = {10, 0, 20};
    cache.records[1].size = {2, 1, 4};
    cache.records[1].rotation = {0, 1, 0, 0}; // no turn: the slider's components are q1 and q2 here
    CollisionLoadResult tree;
    tree.addPlacedBody({.CollisionKindTag = "CY", .position = {5, 0, 5}, .size = {3, 20, 3}});
    tree.addPlacedBody({.CollisionKindTag = "BI", .rotation = scene.catalogue.rotation(0), .size = {2, 1, 4}});

    const MissionMap map = buildMissionMap(scene.catalogue, cache, tree);
    ASSERT_EQ(map.shapes.size(), 5u); // no script, no base record
    const MapShape& model = map.shapes[0];
    EXPECT_EQ(model.layer, ViewLayer::Scene);
    EXPECT_EQ(model.kind, MarkerKind::Model);
    expectNear(model.centre, {1, 3});
    expectNear(model.heading, {1, 0});
    EXPECT_EQ(map.shapes[1].kind, MarkerKind::Light);
    expectNear(map.shapes[1].heading, {0, 0}); // no rotation chunk
    const MapShape& cached = map.shapes[2];
    EXPECT_EQ(cached.layer, ViewLayer::Cache);
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
