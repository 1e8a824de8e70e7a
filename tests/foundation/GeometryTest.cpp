#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "foundation/geometry/Ray.h"

using namespace mw;

namespace {

Ray rayFrom(Vec3 origin, Vec3 towards) { return {origin, normalized(towards - origin)}; }

} // namespace

TEST(Geometry, WhereRaysMeetEachShape)
{
    const OrientedBox turned{{10, 0, 0}, Mat3::aboutY(0.7853982f), {1, 1, 1}};
    struct Case {
        const char* what;
        std::optional<float> got, expected;
    };
    const Case cases[] = {
        {"box from the front", hitAlignedBox(rayFrom({0, 0, -5}, {0, 0, 0}), {-1, -1, -1}, {1, 1, 1}), 4.0f},
        {"box behind the ray", hitAlignedBox(rayFrom({0, 0, 5}, {0, 0, 10}), {-1, -1, -1}, {1, 1, 1}), std::nullopt},
        {"box beside the ray", hitAlignedBox(rayFrom({3, 0, -5}, {3, 0, 0}), {-1, -1, -1}, {1, 1, 1}), std::nullopt},
        {"box from inside", hitAlignedBox(rayFrom({0, 0, 0}, {0, 0, 1}), {-1, -1, -1}, {1, 1, 1}), 0.0f},
        {"parallel to a face, inside its slab", hitAlignedBox(rayFrom({0, 1, -5}, {0, 1, 0}), {-1, -1, -1}, {1, 1, 1}), 4.0f},
        // Turned by 45 degrees, the box's corner faces the ray: sqrt 2 from its centre.
        {"turned box", hitBox(rayFrom({10, 0, -5}, {10, 0, 0}), turned), 5 - std::sqrt(2.0f)},
        {"sphere", hitSphere(rayFrom({0, 0, -5}, {0, 0, 0}), {0, 0, 0}, 2), 3.0f},
        {"sphere missed", hitSphere(rayFrom({0, 3, -5}, {0, 3, 0}), {0, 0, 0}, 2), std::nullopt},
        {"cylinder side", hitCylinder(rayFrom({-5, 1, 0}, {0, 1, 0}), 0, 0, 1, 0, 2), 4.0f},
        {"cylinder above its top", hitCylinder(rayFrom({-5, 3, 0}, {0, 3, 0}), 0, 0, 1, 0, 2), std::nullopt},
        {"cylinder through its cap", hitCylinder(rayFrom({0.5f, 10, 0}, {0.5f, 0, 0}), 0, 0, 1, 0, 2), 8.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(c.got.has_value(), c.expected.has_value());
        if (c.expected) {
            EXPECT_NEAR(*c.got, *c.expected, 1e-4);
        }
    }
}

TEST(Geometry, ARayAimedAtAShapesCentreMeetsItBeforeTheCentre)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> unit(-1, 1), size(0.1f, 5);
    for (int n = 0; n < 500; ++n) {
        const Vec3 centre{unit(random) * 100, unit(random) * 100, unit(random) * 100};
        const Vec3 from = centre + normalized(Vec3{unit(random), unit(random), unit(random)} + Vec3{0, 0.01f, 0}) * 50;
        const Ray ray = rayFrom(from, centre);
        const float toCentre = length(centre - from);
        const OrientedBox box{centre, Mat3::aboutY(unit(random) * 3), {size(random), size(random), size(random)}};
        const float radius = size(random);
        for (const auto hit : {hitBox(ray, box), hitSphere(ray, centre, radius),
                               hitCylinder(ray, centre.x, centre.z, radius, centre.y - radius, centre.y + radius)}) {
            ASSERT_TRUE(hit);
            EXPECT_GT(*hit, 0);
            EXPECT_LE(*hit, toCentre + 1e-3f);
        }
    }
}
