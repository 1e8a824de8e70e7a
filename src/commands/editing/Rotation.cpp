#include "commands/editing/Rotation.h"

#include <cmath>

namespace mw {

namespace {

double radians(double degrees) { return degrees * pi() / 180.0; }

// Rounds to the nearest integer, halves to the even neighbour.
int roundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

// The arcsine in degrees, through the arctangent as the slider formulas are written. The exact
// ends -1 and 1 give -90 and 90.
double arcsineDegrees(double a)
{
    const double root = std::sqrt(1.0 - a * a);
    if (root == 0.0)
        return a > 0 ? 90.0 : -90.0;
    return std::atan(a / root) * 180.0 / pi();
}

Point lineEnd(Point anchor, double directionDegrees, double length)
{
    const double theta = radians(directionDegrees);
    return {anchor.x + roundHalfEven(std::sin(theta) * length), anchor.y - roundHalfEven(std::cos(theta) * length)};
}

} // namespace

double pi() { return 4.0 * std::atan(1.0); }

std::array<float, 2> firstSliderComponents(int angle) { return firstSliderComponentsAt(angle); }

std::array<float, 2> firstSliderComponentsAt(double angle)
{
    if (!std::isfinite(angle))
        angle = 0;
    angle = std::fmod(angle, 180.0);
    if (angle < 0)
        angle += 180.0;
    const double v = radians(angle);
    if (angle > 90)
        return {static_cast<float>(-std::sin(v)), static_cast<float>(-std::cos(v))};
    return {static_cast<float>(std::sin(v)), static_cast<float>(std::cos(v))};
}

double firstSliderAngleOf(float q1, float other)
{
    const double angle = std::atan2(static_cast<double>(q1), static_cast<double>(other)) * 180.0 / pi();
    return std::isfinite(angle) ? angle : 0.0;
}

float secondSliderComponent(int angle) { return static_cast<float>(std::cos(radians(angle + 90))); }

std::optional<int> firstSliderFromQ1(float q1)
{
    if (!(q1 > -1.0f && q1 < 1.0f))
        return std::nullopt;
    double a = q1;
    if (1.0 - a * a == 0.0)
        a = std::fabs(a) - 0.000000001;
    const double v = std::atan(a / std::sqrt(1.0 - a * a)) * 180.0 / pi();
    return roundHalfEven(v < 0 ? v + 180.0 : v);
}

int secondSliderFromQ4(float q4)
{
    double x = q4;
    if (!(x >= -1.0 && x <= 1.0))
        x = 0;
    return roundHalfEven(-arcsineDegrees(x));
}

double verticalAngleFromQ2(float q2)
{
    double x = q2;
    if (!(x >= -1.0 && x <= 1.0))
        x = 0;
    return arcsineDegrees(x);
}

float q2FromVerticalAngle(double angle) { return static_cast<float>(std::sin(radians(angle))); }

std::array<Point, 3> firstViewLineEnds(int angle, Point anchor)
{
    return {lineEnd(anchor, 2.0 * (angle + 90), 500), lineEnd(anchor, 2.0 * angle, 500),
            lineEnd(anchor, 2.0 * (angle + 45), 150)};
}

std::array<Point, 3> secondViewLineEnds(int angle, Point anchor)
{
    return {lineEnd(anchor, 2.0 * (angle + 45), 240), lineEnd(anchor, 2.0 * (angle - 45), 240),
            lineEnd(anchor, 2.0 * angle, 150)};
}

} // namespace mw
