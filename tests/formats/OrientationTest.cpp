#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "commands/editing/Rotation.h"
#include "formats/collision/BodyShape.h"
#include "formats/common/Orientation.h"
#include "formats/scene/SceneCatalogue.h"
#include "support/MissionFileBuilders.h"

using namespace mw;
using build::TreeBuilder;

namespace {

void expectNear(Vec3 a, Vec3 b, float tolerance = 1e-4f)
{
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

// A turn about the vertical axis written out: +z goes to (sin a, 0, cos a), +x to (cos a, 0, -sin a).
Vec3 turnedAboutY(Vec3 v, float a) { return {v.x * std::cos(a) + v.z * std::sin(a), v.y, -v.x * std::sin(a) + v.z * std::cos(a)}; }

Quaternion randomQuaternion(std::mt19937& random)
{
    std::normal_distribution<float> normal;
    const float w = normal(random), x = normal(random), y = normal(random), z = normal(random);
    const float n = std::sqrt(w * w + x * x + y * y + z * z);
    return {w / n, x / n, y / n, z / n};
}

} // namespace

TEST(Orientation, TheFirstSliderTurnsAboutTheVerticalAxisAsTheMapAndTheViewShowIt)
{
    for (int v = 0; v <= 180; v += 5) {
        SCOPED_TRACE(v);
        const auto c = firstSliderComponents(v);
        const float turn = static_cast<float>(2 * v * pi() / 180);
        // Scene: the slider writes q1 and q3; cache: q1 and q2.
        for (const auto& [layout, floats] : {std::pair{RotationLayout::Scene, std::array<float, 4>{c[0], 0, c[1], 0}},
                                             std::pair{RotationLayout::Cache, std::array<float, 4>{c[0], c[1], 0, 0}}}) {
            const Mat3 m = orientationOf(floats, layout);
            expectNear(m * Vec3{0, 0, 1}, turnedAboutY({0, 0, 1}, turn));
            expectNear(m * Vec3{1, 0, 0}, turnedAboutY({1, 0, 0}, turn));
            const float yaw = yawOf(floats, layout);
            EXPECT_NEAR(std::sin(yaw), std::sin(turn), 1e-5);
            EXPECT_NEAR(std::cos(yaw), std::cos(turn), 1e-5);
            // Twice as long, the components face the same way.
            const auto [sin, cos] = yawSinCos({2 * floats[0], 2 * floats[1], 2 * floats[2], 2 * floats[3]}, layout);
            EXPECT_NEAR(sin, std::sin(turn), 1e-5);
            EXPECT_NEAR(cos, std::cos(turn), 1e-5);
        }
    }
    EXPECT_EQ(yawSinCos({0, 0, 0, 0}, RotationLayout::Scene), (std::array<float, 2>{0, 1}));
    // The second slider alone tilts about the x axis, which stays where it is.
    for (int s = -90; s <= 90; s += 15) {
        const Mat3 m = orientationOf({0, 0, 1, secondSliderComponent(s)}, RotationLayout::Scene);
        expectNear(m.x, {1, 0, 0});
    }
}

TEST(Orientation, FloatsAndQuaternionsRoundTripAndEveryOrientationIsARotation)
{
    std::mt19937 random(3);
    for (int n = 0; n < 200; ++n) {
        const Quaternion q = randomQuaternion(random);
        for (const RotationLayout layout : {RotationLayout::Scene, RotationLayout::Cache}) {
            const Quaternion back = quaternionOf(floatsOf(q, layout), layout);
            EXPECT_EQ(back.w, q.w);
            EXPECT_EQ(back.x, q.x);
            EXPECT_EQ(back.z, q.z);
            const Mat3 m = orientationOf(floatsOf(q, layout), layout);
            EXPECT_NEAR(dot(m.x, m.y), 0, 1e-5);
            EXPECT_NEAR(length(m.z), 1, 1e-5);
            expectNear(cross(m.x, m.y), m.z); // right-handed: no mirror
        }
    }
    // Nothing to normalise gives no turn rather than a matrix of NaNs.
    for (const auto& bad : {std::array<float, 4>{0, 0, 0, 0}, std::array<float, 4>{NAN, 0, 1, 0}}) {
        const Mat3 m = orientationOf(bad, RotationLayout::Scene);
        EXPECT_EQ(m.x, (Vec3{1, 0, 0}));
        EXPECT_EQ(m.z, (Vec3{0, 0, 1}));
    }
}

TEST(BodyShape, CornersOfTurnedBoxesAreWhereTheRecordsPutThem)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<float> unit(-1, 1), extent(0.2f, 8);
    TreeBuilder t;
    const int link = t.link("wall.i3d");
    struct Expected {
        Vec3 position;
        Mat3 axes; // as written out from the record, not through the reader
        Vec3 half;
    };
    std::vector<Expected> expected;
    // Rotated boxes: a rotation matrix as rows, the size the maximum less the minimum.
    for (int n = 0; n < 40; ++n) {
        const Quaternion q = randomQuaternion(random);
        const Mat3 m = orientationOf(floatsOf(q, RotationLayout::Scene), RotationLayout::Scene);
        const Vec3 r0{m.x.x, m.y.x, m.z.x}, r1{m.x.y, m.y.y, m.z.y}, r2{m.x.z, m.y.z, m.z.z};
        const Vec3 min{unit(random), unit(random), unit(random)};
        const Vec3 max = min + Vec3{extent(random), extent(random), extent(random)};
        const Vec3 position{unit(random) * 50, unit(random) * 5, unit(random) * 50};
        t.rotatedBox(n % 40, link, {min.x, min.y, min.z}, {max.x, max.y, max.z},
                     {{r0.x, r0.y, r0.z, 0, r1.x, r1.y, r1.z, 0, r2.x, r2.y, r2.z, 0}}, {position.x, position.y, position.z});
        expected.push_back({position, Mat3::fromRows(r0, r1, r2), (max - min) / 2});
    }
    // Vertically rotated boxes: turned by 2 atan2(r, w); the extents give the size, swapped as
    // the list shows them when |r| > 0.5 and m21 > 0.
    for (int n = 0; n < 40; ++n) {
        const float angle = unit(random) * 3.1415927f, r = std::sin(angle / 2), w = std::cos(angle / 2);
        const float m21 = n % 2 ? 0.5f : -0.5f;
        const Vec3 e1{unit(random) * 4, unit(random) * 4, unit(random) * 4}, e2{unit(random) * 4, unit(random) * 4, unit(random) * 4};
        const Vec3 position{unit(random) * 50, unit(random) * 5, unit(random) * 50};
        TreeBuilder::Matrix matrix;
        matrix.m[9] = m21;
        t.verticalBox(0, link, {e1.x, e1.y, e1.z}, {e2.x, e2.y, e2.z}, matrix, {position.x, position.y, position.z}, r, w);
        const auto sum = [](float a, float b) { return std::fabs(a) + std::fabs(b); };
        const Vec3 size = std::fabs(r) > 0.5f && m21 > 0 ? Vec3{sum(e1.x, e2.x), sum(e1.z, e2.z), sum(e1.y, e2.y)}
                                                         : Vec3{sum(e1.y, e2.y), sum(e1.z, e2.z), sum(e1.x, e2.x)};
        expected.push_back({position, {turnedAboutY({1, 0, 0}, angle), {0, 1, 0}, turnedAboutY({0, 0, 1}, angle)}, size / 2});
    }
    t.endMarker();
    const auto tree = readCollisionFile(t.finish(), SceneCatalogue{});
    ASSERT_EQ(tree.bodyCount(), expected.size());
    for (std::size_t row = 0; row < expected.size(); ++row) {
        SCOPED_TRACE(row);
        const auto shape = bodyShapeOf(tree, row);
        ASSERT_TRUE(shape);
        ASSERT_EQ(shape->kind, BodyShape::Kind::Box);
        const auto corners = shape->corners();
        const Expected& e = expected[row];
        for (int k = 0; k < 8; ++k) {
            const Vec3 sign{k & 1 ? 1.0f : -1.0f, k & 2 ? 1.0f : -1.0f, k & 4 ? 1.0f : -1.0f};
            expectNear(corners[static_cast<std::size_t>(k)],
                       e.position + e.axes * Vec3{sign.x * e.half.x, sign.y * e.half.y, sign.z * e.half.z}, 2e-3f);
        }
    }
}

TEST(BodyShape, AlignedBoxesSpheresAndCylindersAndWhatHasNoShape)
{
    TreeBuilder t;
    const int link = t.link("pole.i3d");
    t.box(1, link, {0, 0, 0}, {2, 4, 6});
    t.sphere(2, link, {3, 4, 5}, 0.5f);
    t.sphere(2, link, {NAN, 0, 0}, 1);
    t.cylinder(3, link, 9, 10, 0.25f);
    t.endMarker();
    const auto tree = readCollisionFile(t.finish(), SceneCatalogue{});
    ASSERT_EQ(tree.bodyCount(), 4u);
    const auto box = bodyShapeOf(tree, 0);
    ASSERT_TRUE(box);
    expectNear(box->box.centre, {1, 2, 3});
    expectNear(box->box.half, {1, 2, 3});
    const auto sphere = bodyShapeOf(tree, 1);
    ASSERT_TRUE(sphere);
    EXPECT_EQ(sphere->kind, BodyShape::Kind::Sphere);
    expectNear(sphere->centre, {3, 4, 5});
    EXPECT_EQ(sphere->radius, 0.5f);
    const auto cylinder = bodyShapeOf(tree, 3);
    ASSERT_TRUE(cylinder);
    EXPECT_EQ(cylinder->kind, BodyShape::Kind::Cylinder);
    EXPECT_EQ(cylinder->centre.x, 9);
    EXPECT_EQ(cylinder->centre.z, 10);
    EXPECT_FALSE(bodyShapeOf(tree, 2)); // not finite
    EXPECT_FALSE(bodyShapeOf(tree, 4)); // no such row
}
