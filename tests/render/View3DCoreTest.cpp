#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "formats/collision/BodyShape.h"
#include "formats/route/RouteFile.h"
#include "formats/scene/SceneLoader.h"
#include "render/map/MissionMap.h"
#include "render/view3d/Camera.h"
#include "render/view3d/FrameCulling.h"
#include "render/view3d/Handles.h"
#include "render/view3d/Picking.h"
#include "render/view3d/Scene3D.h"
#include "support/MissionFileBuilders.h"
#include "support/SceneBuilder.h"

using namespace mw;
using build::Floats3;

namespace {

constexpr LayerSwitches AllShown{true, true, true, true, true};

Camera randomCamera(std::mt19937& random)
{
    std::uniform_real_distribution<float> unit(-1, 1);
    Camera c;
    c.position = {unit(random) * 100, unit(random) * 50, unit(random) * 100};
    c.yaw = unit(random) * 3.1f;
    c.pitch = unit(random) * 1.4f;
    return c;
}

// A scene of one object of each drawn kind; rows: 0 car, 1 human, 2 light, 3 building, 4 thing,
// 5 marker, 6 an object without a translation.
SceneLoadResult sceneOfEveryKind()
{
    build::SceneBuilder b;
    b.beginObjects();
    b.object({.name = "Car", .type = 9, .translation = Floats3{10, 1, 0}, .rotation = std::array<float, 4>{0, 0, 1, 0},
              .size = Floats3{1, 1, 2}, .model = "car.i3d"});
    b.object({.name = "Man", .type = 9, .translation = Floats3{0, 0, 10}, .model = "man.i3d"});
    b.object({.name = "Lamp", .type = 2, .translation = Floats3{0, 4, 0}});
    b.object({.name = "Hall", .type = 9, .translation = Floats3{-20, 0, 0}, .model = "build01.i3d"});
    b.object({.name = "Crate", .type = 9, .translation = Floats3{5, 0, 5}, .model = "box.i3d"});
    b.object({.name = "Sector", .type = 0x99, .translation = Floats3{0, 0, -10}});
    b.object({.name = "Nowhere", .type = 9});
    b.endObjects();
    b.beginDefinitions();
    b.definition({"Car", 4, std::vector<std::uint8_t>(48, 0)});
    b.definition({"Man", 0x1B, build::humanData(16, 3, 0.5f, 80, "")});
    b.endDefinitions();
    return loadScene(b.finish());
}

} // namespace

TEST(Camera, PixelsAndRaysAgreeAndOrbitKeepsThePivot)
{
    std::mt19937 random(5);
    std::uniform_real_distribution<float> x(0, 800), y(0, 500), depth(1, 300);
    for (int n = 0; n < 300; ++n) {
        Camera camera = randomCamera(random);
        const PixelPoint pixel{x(random), y(random)};
        const Vec3 point = camera.rayThrough(pixel).at(depth(random));
        const auto back = camera.pixelOf(point);
        ASSERT_TRUE(back);
        EXPECT_NEAR(back->x, pixel.x, 0.05f);
        EXPECT_NEAR(back->y, pixel.y, 0.05f);
        EXPECT_FALSE(camera.pixelOf(camera.position - camera.forward() * 5)); // behind
        const Vec3 pivot = camera.pivot();
        camera.orbit(0.4f, -0.2f);
        EXPECT_LT(length(camera.pivot() - pivot), 1e-3f * (1 + length(pivot)));
    }
}

TEST(Camera, FramingPutsEveryCornerOfTheBoxInView)
{
    std::mt19937 random(9);
    std::uniform_real_distribution<float> unit(-1, 1), extent(0, 400);
    for (int n = 0; n < 300; ++n) {
        Camera camera = randomCamera(random);
        const Vec3 min{unit(random) * 1000, unit(random) * 100, unit(random) * 1000};
        const Vec3 max = min + Vec3{extent(random), extent(random) / 10, extent(random)};
        const float width = n % 2 ? 1280.0f : 300.0f, height = 800;
        camera.setViewport(width, height);
        camera.frame(min, max);
        for (int k = 0; k < 8; ++k) {
            const Vec3 corner{k & 1 ? max.x : min.x, k & 2 ? max.y : min.y, k & 4 ? max.z : min.z};
            const auto pixel = camera.pixelOf(corner);
            ASSERT_TRUE(pixel);
            EXPECT_GE(pixel->x, -0.5f);
            EXPECT_LE(pixel->x, width + 0.5f);
            EXPECT_GE(pixel->y, -0.5f);
            EXPECT_LE(pixel->y, height + 0.5f);
        }
        EXPECT_LT(length(camera.pivot() - (min + max) / 2), 1e-2f * (1 + length(max - min)));
    }
}

TEST(Scene3D, EachKindInItsBatchSizeAndColourStandingOnItsTranslation)
{
    const SceneLoadResult scene = sceneOfEveryKind();
    CacheLoadResult cache;
    cache.records.resize(2);
    cache.records[0].baseRecord = true; // no place
    cache.records[1].TranslationOffset = 100;
    cache.records[1].position = {0, 0, 50};
    cache.records[1].rotation = {0, 1, 0, 0};
    cache.records[1].size = {2, 3, 4};
    ModelLoadResult model;
    model.frames.push_back({.name = "Awning", .position = {1, 2, 3}});
    build::TreeBuilder t;
    const int link = t.link("x");
    t.box(4, link, {0, 30, 0}, {1, 31, 1});
    t.cylinder(4, link, 7, 7, 2);
    t.endMarker();
    const CollisionLoadResult tree = readCollisionFile(t.finish(), SceneCatalogue{});
    const auto route = build::routeFile(RoutePoints);
    const Scene3D s = buildScene3D({.scene = &scene.catalogue, .cache = &cache, .tree = &tree, .model = &model, .route = route});

    struct Expect {
        ItemRef item;
        BatchKind batch;
        Vec3 size;
        Vec3 centre;
    };
    const Expect expected[] = {
        {{ViewLayer::Scene, 0}, BatchKind::SceneBoxes, {CarSize.x, CarSize.y, CarSize.z * 2}, {10, 1 + CarSize.y / 2, 0}},
        {{ViewLayer::Scene, 1}, BatchKind::SceneBoxes, HumanSize, {0, HumanSize.y / 2, 10}},
        {{ViewLayer::Scene, 2}, BatchKind::SceneSpheres, Vec3{1, 1, 1} * LightDiameter, {0, 4, 0}},
        {{ViewLayer::Scene, 3}, BatchKind::SceneBoxes, BuildingSize, {-20, BuildingSize.y / 2, 0}},
        {{ViewLayer::Scene, 4}, BatchKind::SceneBoxes, ThingSize, {5, ThingSize.y / 2, 5}},
        {{ViewLayer::Scene, 5}, BatchKind::SceneMarkers, Vec3{1, 1, 1} * MarkerSize, {0, 0, -10}},
        {{ViewLayer::Cache, 1}, BatchKind::CacheBoxes, {2, 3, 4}, {0, 1.5f, 50}}, // its size in metres, as on the map
        {{ViewLayer::Frames, 0}, BatchKind::FrameMarkers, Vec3{1, 1, 1} * FrameMarkerSize, {1, 2, 3}},
        {{ViewLayer::Collision, 0}, BatchKind::BodyBoxes, {1, 1, 1}, {0.5f, 30.5f, 0.5f}},
    };
    for (const Expect& e : expected) {
        SCOPED_TRACE(static_cast<int>(e.batch));
        const auto place = s.find(e.item);
        ASSERT_TRUE(place);
        EXPECT_EQ(place->batch, e.batch);
        const Instance3D& i = s.batch(place->batch).instances[place->index];
        EXPECT_EQ(s.batch(place->batch).item(place->index), e.item);
        EXPECT_NEAR(length(i.column(0)), e.size.x, 1e-4);
        EXPECT_NEAR(length(i.column(1)), e.size.y, 1e-4);
        EXPECT_NEAR(length(i.column(2)), e.size.z, 1e-4);
        EXPECT_NEAR(length(i.column(3) - e.centre), 0, 1e-4);
    }
    const auto colourOf = [&](ItemRef item) {
        const auto place = s.find(item);
        return s.batch(place->batch).instances[place->index].rgba;
    };
    // The alpha says whether the object has a facing to show: the car and the cached object have.
    const auto rgba = [](Rgb c, std::uint8_t alpha) { return packRgba(c.r, c.g, c.b, alpha); };
    EXPECT_EQ(colourOf({ViewLayer::Scene, 0}), rgba(markerColour(MarkerKind::Car), FacingAlpha));
    EXPECT_EQ(colourOf({ViewLayer::Scene, 1}), rgba(markerColour(MarkerKind::Human), NoFacingAlpha));
    EXPECT_EQ(colourOf({ViewLayer::Cache, 1}), rgba(CacheColour, FacingAlpha));
    EXPECT_EQ(colourOf({ViewLayer::Collision, 0}), materialColour(4));
    EXPECT_FALSE(s.find({ViewLayer::Scene, 6}));  // no translation
    EXPECT_FALSE(s.find({ViewLayer::Cache, 0}));  // a base record
    EXPECT_FALSE(s.find({ViewLayer::Scene, 99})); // no such row
    EXPECT_TRUE(s.batch(BatchKind::SceneBoxes).standing);
    EXPECT_FALSE(s.batch(BatchKind::SceneSpheres).standing);
    // The cylinder spans everything loaded, from the lowest point to the highest.
    const auto cylinder = s.find({ViewLayer::Collision, 1});
    ASSERT_TRUE(cylinder);
    EXPECT_EQ(cylinder->batch, BatchKind::BodyCylinders);
    const Instance3D& c = s.batch(cylinder->batch).instances[cylinder->index];
    EXPECT_NEAR(c.column(3).y - length(c.column(1)) / 2, s.min.y, 1e-4);
    EXPECT_NEAR(c.column(3).y + length(c.column(1)) / 2, s.max.y, 1e-4);
    EXPECT_EQ(s.route.size(), RoutePoints);
    EXPECT_GT(s.memoryBytes(), s.itemCount() * sizeof(Instance3D));
}

// Turned alike, every kind's arrow faces one way, the way the map draws its heading.
TEST(Scene3D, EveryKindFacesWhereTheMapSaysItDoes)
{
    const std::array<float, 4> turned{0.8660254f, 0, 0.5f, 0};
    build::SceneBuilder b;
    b.beginObjects();
    const std::pair<int, const char*> kinds[] = {{9, "car.i3d"}, {9, "man.i3d"}, {2, ""}, {4, ""}, {0x99, ""}};
    for (const auto& [type, model] : kinds)
        b.object({.name = "K" + std::to_string(type) + model, .type = static_cast<std::uint32_t>(type), .translation = Floats3{1, 0, 1},
                  .rotation = turned, .model = std::string(model)});
    b.endObjects();
    const SceneLoadResult scene = loadScene(b.finish());
    const Scene3D s = buildScene3D({.scene = &scene.catalogue});
    const auto facing = [&](std::uint32_t row) {
        const auto place = s.find({ViewLayer::Scene, row});
        const Vec3 z = s.batch(place->batch).instances[place->index].column(2);
        return Vec3{z.x, 0, z.z} / length(Vec3{z.x, 0, z.z});
    };
    const auto heading = sceneShape(scene.catalogue, 0)->heading;
    const float towardsMap = dot(facing(0), Vec3{heading.x, 0, heading.z});
    EXPECT_NEAR(std::fabs(towardsMap), 1, 1e-4);
    for (std::uint32_t row = 1; row < std::size(kinds); ++row) {
        SCOPED_TRACE(row);
        EXPECT_NEAR(length(facing(row) - facing(0)), 0, 1e-4);
        const auto h = sceneShape(scene.catalogue, row)->heading;
        EXPECT_NEAR(dot(facing(row), Vec3{h.x, 0, h.z}), towardsMap, 1e-4);
    }
}

TEST(Picking, TheFirstItemOnTheRayIsPickedAsIfEveryItemWereTried)
{
    std::mt19937 random(13);
    std::uniform_real_distribution<float> unit(-1, 1), extent(0.2f, 6);
    build::TreeBuilder t;
    const int link = t.link("x");
    for (int n = 0; n < 300; ++n) {
        const Vec3 c{unit(random) * 200, unit(random) * 20, unit(random) * 200}, h{extent(random), extent(random), extent(random)};
        t.box(1, link, {c.x - h.x, c.y - h.y, c.z - h.z}, {c.x + h.x, c.y + h.y, c.z + h.z});
    }
    for (int n = 0; n < 300; ++n) {
        const float a = unit(random) * 3.1f;
        t.verticalBox(2, link, {extent(random), 0, 0}, {0, extent(random), extent(random)}, {}, {unit(random) * 200, 0, unit(random) * 200},
                      std::sin(a / 2), std::cos(a / 2));
    }
    for (int n = 0; n < 300; ++n)
        t.sphere(3, link, {unit(random) * 200, unit(random) * 20, unit(random) * 200}, extent(random));
    t.endMarker();
    const CollisionLoadResult tree = readCollisionFile(t.finish(), SceneCatalogue{});
    const Scene3D scene = buildScene3D({.tree = &tree});
    const Picker picker(scene);
    int aimedFirst = 0;
    for (std::uint32_t row = 0; row < tree.bodyCount(); ++row) {
        const auto place = scene.find({ViewLayer::Collision, row});
        ASSERT_TRUE(place);
        const Vec3 centre = scene.batch(place->batch).instances[place->index].column(3);
        const Vec3 from = centre + normalized(Vec3{unit(random), unit(random) + 1.2f, unit(random)}) * 80;
        const Ray ray{from, normalized(centre - from)};
        // Every item tried in turn.
        std::optional<PickHit> nearest;
        for (const Batch3D& b : scene.batches)
            for (std::size_t k = 0; k < b.instances.size(); ++k)
                if (const auto d = hitInstance(ray, b.mesh, b.instances[k]); d && (!nearest || *d < nearest->distance))
                    nearest = PickHit{b.item(k), *d, ray.at(*d)};
        const auto hit = picker.pick(ray, {});
        ASSERT_TRUE(hit && nearest);
        EXPECT_EQ(picker.hitsAlong(ray, {}).front().item, hit->item);
        EXPECT_EQ(hit->item, nearest->item);
        if (nearest->item.row == row) {
            ++aimedFirst; // nothing in front: the body aimed at is the one picked
            EXPECT_EQ(hit->item.row, row);
        }
        PickFilter noBodies;
        noBodies.layers[indexOf(ViewLayer::Collision)] = false;
        EXPECT_FALSE(picker.pick(ray, noBodies));
    }
    EXPECT_GT(aimedFirst, 600); // the generated bodies mostly stand apart
    // From inside a body, what it hides is picked, not the body.
    const auto first = scene.find({ViewLayer::Collision, 0});
    const Vec3 inside = scene.batch(first->batch).instances[first->index].column(3);
    const auto fromInside = picker.pick({inside, {0, 1, 0}}, {});
    EXPECT_TRUE(!fromInside || fromInside->item.row != 0);
}

TEST(Picking, ThingsBeforeTheBodiesAroundThemEveryHitInOrderAndRectanglesOfEveryLayer)
{
    const SceneLoadResult scene = sceneOfEveryKind();
    build::TreeBuilder t;
    t.box(1, t.link("x"), {-30, -5, -30}, {30, 40, 30}); // around everything
    t.endMarker();
    const CollisionLoadResult tree = readCollisionFile(t.finish(), SceneCatalogue{});
    const Scene3D s = buildScene3D({.scene = &scene.catalogue, .tree = &tree});
    Camera camera;
    camera.setViewport(800, 600);
    camera.frame(s.min, s.max);
    const Picker picker(s);
    const ItemRef lamp{ViewLayer::Scene, 2}, body{ViewLayer::Collision, 0};
    const Vec3 at = s.instance(lamp)->column(3);
    const Ray ray{camera.position, normalized(at - camera.position)};
    EXPECT_EQ(picker.pick(ray, {})->item, lamp); // the body's face lies in front of the lamp
    const auto along = picker.hitsAlong(ray, {});
    ASSERT_EQ(along.size(), 2u);
    EXPECT_EQ(along[1].item, body);
    PickFilter passOverLamp{.passOver = [&](ItemRef item) { return item == lamp; }};
    EXPECT_EQ(picker.pick(ray, passOverLamp)->item, body);
    PickFilter lockedBodies;
    lockedBodies.layers[indexOf(ViewLayer::Collision)] = false;
    EXPECT_EQ(picker.hitsAlong(ray, lockedBodies).size(), 1u);

    const auto pixel = camera.pixelOf(at);
    ASSERT_TRUE(pixel);
    EXPECT_EQ(picker.itemsInside(camera, {pixel->x - 2, pixel->y - 2}, {pixel->x + 2, pixel->y + 2}, {}),
              (std::vector<ItemRef>{lamp}));
    std::vector<ItemRef> everything;
    for (std::uint32_t row = 0; row < 6; ++row)
        everything.push_back({ViewLayer::Scene, row});
    everything.push_back(body);
    EXPECT_EQ(picker.itemsInside(camera, {800, 600}, {0, 0}, {}), everything);
    EXPECT_EQ(picker.itemsInside(camera, {800, 600}, {0, 0}, lockedBodies).size(), 6u);
}

TEST(FrameCulling, ShapesNearPointsFarAndNothingOutOfViewOrHidden)
{
    // Rows: 0 a crate 10 m ahead, 1 a crate 5 km ahead, 2 a crate behind the camera.
    build::SceneBuilder b;
    b.beginObjects();
    for (const float z : {10.0f, 5000.0f, -10.0f})
        b.object({.type = 9, .translation = Floats3{0, 0, z}, .model = "box.i3d"});
    b.endObjects();
    const SceneLoadResult scene = loadScene(b.finish());
    const Scene3D s = buildScene3D({.scene = &scene.catalogue});
    Camera camera;
    camera.position = {0, 0.5f, 0};
    camera.pitch = camera.yaw = 0;
    FrameDraw frame;
    cullForFrame(s, camera, AllShown, frame);
    const auto& boxes = frame.shapes[static_cast<std::size_t>(BatchKind::SceneBoxes)];
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].column(3).z, 10);
    ASSERT_EQ(frame.points.size(), 1u);
    EXPECT_EQ(frame.points[0].position.z, 5000);
    EXPECT_EQ(frame.points[0].rgba, boxes[0].rgba);
    cullForFrame(s, camera, {false, true, true, true, true}, frame);
    EXPECT_TRUE(frame.shapes[static_cast<std::size_t>(BatchKind::SceneBoxes)].empty());
    EXPECT_TRUE(frame.points.empty());
}

TEST(Handles, DragsBetweenTwoPixelsAndThePartUnderTheCursor)
{
    std::mt19937 random(17);
    std::uniform_real_distribution<float> unit(-1, 1);
    int checked = 0;
    for (int n = 0; n < 200; ++n) {
        Camera camera = randomCamera(random);
        const Vec3 origin = camera.position + camera.forward() * 30 + Vec3{unit(random), unit(random), unit(random)} * 5;
        const auto start = camera.pixelOf(origin);
        if (!start)
            continue;
        // Along an axis: the pixels of the origin and of the origin moved d along it.
        const Vec3 axis = n % 3 == 0 ? Vec3{1, 0, 0} : n % 3 == 1 ? Vec3{0, 1, 0} : Vec3{0, 0, 1};
        const float d = unit(random) * 4;
        const auto end = camera.pixelOf(origin + axis * d);
        if (end && std::fabs(dot(axis, camera.forward())) < 0.9f) {
            const auto moved = axisDrag(camera, origin, axis, *start, *end);
            ASSERT_TRUE(moved);
            EXPECT_NEAR(*moved, d, 2e-3f * (1 + std::fabs(d)));
            ++checked;
        }
        // In the horizontal plane, and about the vertical.
        const Vec3 offset{unit(random) * 3, 0, unit(random) * 3};
        const auto there = camera.pixelOf(origin + offset);
        if (there && std::fabs(camera.forward().y) > 0.2f) {
            const auto moved = planeDrag(camera, origin, {0, 1, 0}, *start, *there);
            ASSERT_TRUE(moved);
            EXPECT_LT(length(*moved - offset), 1e-2f);
            const auto a = camera.pixelOf(origin + Vec3{0, 0, 2}), b = camera.pixelOf(origin + Vec3{2, 0, 0});
            if (a && b) {
                const auto turn = ringDrag(camera, origin, *a, *b);
                ASSERT_TRUE(turn);
                EXPECT_NEAR(*turn, 90, 0.05); // +z towards +x
            }
        }
    }
    EXPECT_GT(checked, 80);

    // Looking down the z axis from above and behind: the x arrow, the ring and empty space.
    Camera camera;
    camera.position = {0, 10, -20};
    camera.yaw = 0;
    camera.pitch = -0.46f;
    const Handles h = Handles::at(camera, {0, 0, 0});
    const auto pixel = [&](Vec3 p) { return *camera.pixelOf(p); };
    EXPECT_EQ(h.partAt(camera, pixel(Vec3{0.8f, 0, 0} * h.size)), HandlePart::AxisX);
    EXPECT_EQ(h.partAt(camera, pixel(Vec3{0, 0.8f, 0} * h.size)), HandlePart::AxisY);
    EXPECT_EQ(h.partAt(camera, pixel(Vec3{0.4f, 0, 0.4f} * h.size)), HandlePart::PlaneXZ);
    EXPECT_EQ(h.partAt(camera, pixel(Vec3{0, 0, -Handles::RingRadius} * h.size)), HandlePart::Ring);
    EXPECT_EQ(h.partAt(camera, {5, 5}), HandlePart::None);

    struct Snap {
        float value, step, expected;
    } snaps[] = {{1.26f, 0.5f, 1.5f}, {-0.74f, 0.5f, -0.5f}, {7.4f, 5, 5}, {22.4f, 15, 15}, {-8, 15, -15}, {0.3f, 0, 0.3f}};
    for (const Snap& s : snaps)
        EXPECT_FLOAT_EQ(snapped(s.value, s.step), s.expected);
}
