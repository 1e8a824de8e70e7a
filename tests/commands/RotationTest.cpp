#include <gtest/gtest.h>

#include <cmath>

#include "commands/editing/Rotation.h"
#include "foundation/text/NumericText.h"

using namespace mw;

TEST(Rotation, FirstSliderComponentsFlipSignsPast90)
{
    const auto at90 = firstSliderComponents(90);
    EXPECT_EQ(at90[0], 1.0f);
    EXPECT_EQ(at90[1], static_cast<float>(std::cos(pi() / 2))); // about 6.1E-17, not 0
#ifdef _WIN32
    // MinGW's cos near a right angle is off in the fifth digit (x87 argument reduction).
    EXPECT_NEAR(at90[1], 6.123234e-17f, 1e-20f);
#else
    EXPECT_EQ(formatFloat(at90[1]), "6.123234E-17");
#endif
    const auto at91 = firstSliderComponents(91);
    EXPECT_NEAR(at91[0], -0.99985f, 1e-5);
    EXPECT_NEAR(at91[1], 0.01745f, 1e-5);
    const auto at0 = firstSliderComponents(0);
    EXPECT_EQ(at0[0], 0.0f);
    EXPECT_EQ(at0[1], 1.0f);
    EXPECT_EQ(secondSliderComponent(0), static_cast<float>(std::cos(pi() / 2)));
    EXPECT_EQ(secondSliderComponent(90), -1.0f);
    EXPECT_NEAR(secondSliderComponent(-30), 0.5f, 1e-7);
}

TEST(Rotation, SliderPositionsFromStoredFloats)
{
    EXPECT_FALSE(firstSliderFromQ1(1.0f));
    EXPECT_FALSE(firstSliderFromQ1(-1.0f));
    EXPECT_FALSE(firstSliderFromQ1(1.5f));
    EXPECT_FALSE(firstSliderFromQ1(std::nanf("")));
    EXPECT_EQ(firstSliderFromQ1(-0.5f), 150);
    EXPECT_EQ(firstSliderFromQ1(0.5f), 30);
    EXPECT_EQ(firstSliderFromQ1(0.0f), 0);
    EXPECT_EQ(firstSliderFromQ1(0.7071068f), 45);

    EXPECT_EQ(secondSliderFromQ4(1.5f), 0);
    EXPECT_EQ(secondSliderFromQ4(0.5f), -30);
    EXPECT_EQ(secondSliderFromQ4(1.0f), -90);
    EXPECT_EQ(secondSliderFromQ4(-1.0f), 90);

    EXPECT_EQ(verticalAngleFromQ2(1.0f), 90.0);
    EXPECT_EQ(verticalAngleFromQ2(-1.0f), -90.0);
    EXPECT_EQ(verticalAngleFromQ2(2.0f), 0.0);
    EXPECT_NEAR(verticalAngleFromQ2(0.5f), 30.0, 1e-9);
}

TEST(Rotation, VerticalAngleRoundTripsThroughQ2)
{
    EXPECT_EQ(q2FromVerticalAngle(90), 1.0f);
    EXPECT_NEAR(q2FromVerticalAngle(0), 0.0f, 1e-7);
    EXPECT_NEAR(q2FromVerticalAngle(180), 0.0f, 1e-7);
    EXPECT_NEAR(q2FromVerticalAngle(-180), 0.0f, 1e-7);
    for (float q2 : {0.25f, -0.6f, 0.999f})
        EXPECT_NEAR(q2FromVerticalAngle(verticalAngleFromQ2(q2)), q2, 1e-6);
}

TEST(Rotation, ViewLinesTurnByTwiceTheSliderAngle)
{
    const Point c{100, 100};
    EXPECT_EQ(firstViewLineEnds(0, c), (std::array<Point, 3>{Point{100, 600}, Point{100, -400}, Point{250, 100}}));
    EXPECT_EQ(firstViewLineEnds(45, c), (std::array<Point, 3>{Point{-400, 100}, Point{600, 100}, Point{100, 250}}));
    EXPECT_EQ(secondViewLineEnds(0, c), (std::array<Point, 3>{Point{340, 100}, Point{-140, 100}, Point{100, -50}}));
    // 2 x 15 = 30 degrees clockwise from straight up for the pointer.
    EXPECT_EQ(secondViewLineEnds(15, {0, 0})[2], (Point{75, -130}));
}
