#include <gtest/gtest.h>

#include <cmath>

#include "formats/collision/CollisionFile.h"
#include "formats/scene/SceneLoader.h"
#include "support/MissionFileBuilders.h"
#include "support/SceneBuilder.h"

using namespace mw;
using namespace mw::build;

namespace {

SceneLoadResult sceneWith(std::initializer_list<std::pair<const char*, float>> objects)
{
    SceneBuilder b;
    b.beginObjects();
    for (const auto& [name, y] : objects)
        b.object({.name = name, .translation = Floats3{0, y, 0}});
    b.endObjects();
    return loadScene(b.finish());
}

std::vector<std::string> listTexts(const CollisionLoadResult& r)
{
    std::vector<std::string> out;
    for (std::size_t row = 0; row < r.bodyCount(); ++row)
        out.push_back(r.listText(row));
    return out;
}

} // namespace

TEST(CollisionFile, ReadsEveryKindWithItsDerivedValues)
{
    TreeBuilder t;
    const int wall = t.link("wall.i3d");
    const int pole = t.link("pole.i3d");
    t.leadingRecords(3);
    const auto box = t.box(7, wall, {0, 0, 0}, {2, 4, 6});
    t.box(2, pole, {-1, -1, -1}, {1, 1, 1});
    const auto sphere = t.sphere(35, wall, {3, 4, 5}, 0.5f);
    const auto cylinder = t.cylinder(20, pole, 9, 10, 0.25f);
    t.cylinder(20, wall, 1, 2, 3);
    TreeBuilder::Matrix upright{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0.5f, 1, 0}};
    const auto vertical = t.verticalBox(3, wall, {1, -2, 3}, {4, 5, -6}, upright, {8, 9, 10}, 0.75f, 0.25f);
    TreeBuilder::Matrix quarter{{0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0}};
    const auto rotated = t.rotatedBox(1, wall, {-1, -2, -3}, {1, 2, 3}, quarter, {5, 6, 7});
    t.endMarker();
    const auto bytes = t.finish();
    const auto scene = sceneWith({{"other", 2}, {"pole", 12.5f}, {"pole", 99}});
    const auto r = readCollisionFile(bytes, scene.catalogue);

    EXPECT_EQ(r.status, FileReadStatus::Loaded);
    EXPECT_EQ(r.linkNames, (std::vector<std::string>{"wall.i3d", "pole.i3d"}));
    EXPECT_EQ(listTexts(r), (std::vector<std::string>{"SCube-0", "SCube-1", "spCube-2", "cyCube-3", "cyCube-4",
                                                      "biCube-5", "SRCube-6"}));
    std::vector<CollisionBody> b;
    for (std::size_t row = 0; row < r.bodyCount(); ++row)
        b.push_back(r.body(row));
    EXPECT_EQ(b[0].CollisionKindTag, "SC");
    EXPECT_EQ(b[0].CollisionItemOffset, box + t.bodiesStart());
    EXPECT_EQ(b[0].material, 7);
    EXPECT_EQ(r.linkName(0), "wall.i3d");
    EXPECT_EQ(b[0].position, (Vec3{1, 2, 3}));
    EXPECT_EQ(b[0].size, (Vec3{2, 4, 6}));
    EXPECT_EQ(b[0].rotation, (std::array<float, 4>{1, 0, 0, 0}));

    EXPECT_EQ(b[2].CollisionKindTag, "SP");
    EXPECT_EQ(b[2].CollisionItemOffset, sphere + t.bodiesStart());
    EXPECT_EQ(b[2].position, (Vec3{3, 4, 5}));
    EXPECT_EQ(b[2].size, (Vec3{0.5f, 20, 0.5f}));

    EXPECT_EQ(b[3].CollisionKindTag, "CY");
    EXPECT_EQ(b[3].CollisionItemOffset, cylinder + t.bodiesStart());
    EXPECT_EQ(b[3].position, (Vec3{9, 12.5f, 10})); // the first scene object named "pole"
    EXPECT_EQ(b[3].size, (Vec3{0.25f, 20, 0.25f}));
    EXPECT_EQ(b[4].position.y, 1.0f); // no scene object named "wall"

    EXPECT_EQ(b[5].CollisionKindTag, "BI");
    EXPECT_EQ(b[5].CollisionItemOffset, vertical + t.bodiesStart());
    EXPECT_EQ(b[5].position, (Vec3{8, 9, 10}));
    EXPECT_EQ(b[5].rotation, (std::array<float, 4>{0.75f, 0, 0.25f, 0}));
    // |r| > 0.5 and m21 > 0: X from the extents' X, Y from their Z, Z from their Y.
    EXPECT_EQ(b[5].size, (Vec3{5, 9, 7}));

    EXPECT_EQ(b[6].CollisionKindTag, "SR");
    EXPECT_EQ(b[6].CollisionItemOffset, rotated + t.bodiesStart());
    EXPECT_EQ(b[6].position, (Vec3{5, 6, 7}));
    EXPECT_EQ(b[6].size, (Vec3{2, 4, 6}));
}

TEST(CollisionFile, VerticalBoxSizeOtherwise)
{
    TreeBuilder t;
    t.link("x");
    t.verticalBox(0, 0, {1, -2, 3}, {4, 5, -6}, TreeBuilder::Matrix{}, {0, 0, 0}, 0.25f, 0.9f);
    const auto r = readCollisionFile(t.finish(), SceneCatalogue{});
    ASSERT_EQ(r.bodyCount(), 1u);
    EXPECT_EQ(r.body(0).size, (Vec3{7, 9, 5}));
}

TEST(CollisionFile, RotatedBoxConversion)
{
    // A quarter turn about the vertical axis: x = z = 0, |y| = w = sqrt(1/2).
    const auto quarter = rotatedBoxRotation({0, 0, 1, 0, 1, 0, -1, 0, 0});
    EXPECT_NEAR(quarter[0], std::sqrt(0.5f), 1e-6); // |y|
    EXPECT_NEAR(quarter[1], 0, 1e-6);               // |z|
    EXPECT_NEAR(std::fabs(quarter[2]), std::sqrt(0.5f), 1e-6);
    EXPECT_NEAR(quarter[3], 0, 1e-6); // |x|

    // Half a turn about x takes the main path: a = 1, w = m21 / 2 = 0.
    const auto half = rotatedBoxRotation({1, 0, 0, 0, -1, 0, 0, 0, -1});
    EXPECT_NEAR(half[3], 1, 1e-6);
    EXPECT_NEAR(half[2], 0, 1e-6);

    // No rotation: the formula cannot give w; the standard conversion gives w = 1.
    EXPECT_EQ(rotatedBoxRotation({1, 0, 0, 0, 1, 0, 0, 0, 1}), (std::array<float, 4>{0, 0, 1, 0}));
    // Garbage never turns into NaN.
    for (const auto& m : {std::array<float, 9>{5, 5, 5, 5, 5, 5, 5, 5, 5}, std::array<float, 9>{},
                          std::array<float, 9>{NAN, 0, 0, 0, 1, 0, 0, 0, 1}, std::array<float, 9>{-3, 0, 0, 0, -3, 0, 0, 0, -3}})
        for (float v : rotatedBoxRotation(m))
            EXPECT_TRUE(std::isfinite(v));
}

TEST(CollisionFile, GroupsInAnyOrderAndTheEndOfTheScan)
{
    TreeBuilder t;
    t.link("a");
    t.sphere(0, 0, {1, 1, 1}, 1);
    t.box(0, 0, {0, 0, 0}, {1, 1, 1});
    t.box(0, 0, {0, 0, 0}, {2, 2, 2});
    t.endMarker(0x85); // none of the five kinds
    const auto r = readCollisionFile(t.finish(), SceneCatalogue{});
    EXPECT_EQ(listTexts(r), (std::vector<std::string>{"spCube-0", "SCube-1", "SCube-2"}));
    EXPECT_TRUE(r.messages.empty());

    // A kind whose count is used up ends the scan instead of looping.
    TreeBuilder u;
    u.link("a");
    u.sphere(0, 0, {1, 1, 1}, 1);
    u.endMarker(0x82);
    EXPECT_EQ(readCollisionFile(u.finish(), SceneCatalogue{}).bodyCount(), 1u);
}

TEST(CollisionFile, SignatureAndDamage)
{
    EXPECT_EQ(readCollisionFile(std::span<const std::uint8_t>(), SceneCatalogue{}).status, FileReadStatus::Empty);
    const std::vector<std::uint8_t> wrong{'G', 'i', 'f', 'D', 0, 0};
    EXPECT_EQ(readCollisionFile(wrong, SceneCatalogue{}).messages,
              (std::vector<std::string>{"****** No tree.klz file! ******"}));

    TreeBuilder t;
    t.link("wall");
    t.box(0, 0, {0, 0, 0}, {1, 1, 1});
    t.rotatedBox(0, 0, {0, 0, 0}, {1, 1, 1}, TreeBuilder::Matrix{}, {0, 0, 0});
    t.cylinder(0, 5, 0, 0, 1); // a link index past the table
    const auto bytes = t.finish();
    const auto whole = readCollisionFile(bytes, SceneCatalogue{});
    ASSERT_EQ(whole.bodyCount(), 3u);
    EXPECT_EQ(whole.linkName(2), "");
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        const std::vector<std::uint8_t> part(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        const auto r = readCollisionFile(part, SceneCatalogue{});
        EXPECT_LE(r.bodyCount(), 2u);
        for (std::size_t row = 0; row < r.bodyCount(); ++row)
            EXPECT_LE(r.body(row).CollisionItemOffset + 12ull, cut); // placed from bytes inside the part
    }
}
