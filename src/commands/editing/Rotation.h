#pragma once
// The rotation model: two sliders tied to particular components of an object's four rotation
// floats, the vertical-rotation angle shown for q2, and the line figures of the two orientation
// views. Angles are in degrees; pi is 4 * atan(1) in double precision.

#include <array>
#include <optional>

namespace mw {

double pi();

// Slider1 at angle V (0 ... 180): the two components it sets (Text3, Text4), each computed in
// double precision and rounded to a 32-bit float.
std::array<float, 2> firstSliderComponents(int angle);

// The two components the first slider would write for any angle V in degrees, as it writes them
// for its own whole angles: V taken into 0 ... 180 (a turn of the object by 2V), then (sin V, cos V),
// or (-sin V, -cos V) above 90.
std::array<float, 2> firstSliderComponentsAt(double angle);

// The first slider's angle of a stored pair of components (q1 and q3 of a scene object, q1 and q2
// of a cached one): half the object's turn about the vertical axis, in degrees.
double firstSliderAngleOf(float q1, float other);

// Slider2 at angle S (-90 ... 90): the component it sets (Text12), cos(S + 90).
float secondSliderComponent(int angle);

// The Slider1 position for a stored q1; nothing when q1 is not strictly inside -1 ... 1 (the
// slider then stays where it is).
std::optional<int> firstSliderFromQ1(float q1);

// The Slider2 position for a stored q4: minus the arcsine of q4 in degrees (0 outside -1 ... 1).
int secondSliderFromQ4(float q4);

// The vertical-rotation angle shown for q2: its arcsine in degrees (0 outside -1 ... 1).
double verticalAngleFromQ2(float q2);

// q2 written for a vertical-rotation angle: sin(angle * pi / 180).
float q2FromVerticalAngle(double angle);

struct Point {
    int x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

// The moving ends of the three lines of each view (bar first half, bar second half, pointer); each
// line turns about the anchor by twice the slider angle.
std::array<Point, 3> firstViewLineEnds(int angle, Point anchor);
std::array<Point, 3> secondViewLineEnds(int angle, Point anchor);

} // namespace mw
