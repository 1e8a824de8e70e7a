#include "formats/common/Orientation.h"

#include <cmath>

namespace mw {

Quaternion quaternionOf(const std::array<float, 4>& q, RotationLayout layout)
{
    if (layout == RotationLayout::Cache)
        return {q[1], q[3], q[0], q[2]};
    return {q[2], q[3], q[0], q[1]};
}

std::array<float, 4> floatsOf(const Quaternion& q, RotationLayout layout)
{
    if (layout == RotationLayout::Cache)
        return {q.y, q.w, q.z, q.x};
    return {q.y, q.z, q.w, q.x};
}

Mat3 orientationOf(const std::array<float, 4>& floats, RotationLayout layout)
{
    const Quaternion q = quaternionOf(floats, layout);
    const float n2 = q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z;
    if (!(n2 > 0) || !std::isfinite(n2))
        return {};
    // Normalised on the way: each product of two components divided by the squared length.
    const float k = 1 / n2;
    const float xx = q.x * q.x * k, yy = q.y * q.y * k, zz = q.z * q.z * k;
    const float xy = q.x * q.y * k, xz = q.x * q.z * k, yz = q.y * q.z * k, wx = q.w * q.x * k, wy = q.w * q.y * k,
                wz = q.w * q.z * k;
    return Mat3::fromRows({1 - 2 * (yy + zz), 2 * (xy - wz), 2 * (xz + wy)},
                          {2 * (xy + wz), 1 - 2 * (xx + zz), 2 * (yz - wx)},
                          {2 * (xz - wy), 2 * (yz + wx), 1 - 2 * (xx + yy)});
}

float yawOf(const std::array<float, 4>& floats, RotationLayout layout)
{
    const Quaternion q = quaternionOf(floats, layout);
    return 2.0f * std::atan2(q.y, q.w);
}

std::array<float, 2> yawSinCos(const std::array<float, 4>& floats, RotationLayout layout)
{
    // (w, y) = r (cos a, sin a) for a yaw of 2a: sin 2a = 2yw / r², cos 2a = (w² - y²) / r².
    const Quaternion q = quaternionOf(floats, layout);
    const float n = q.w * q.w + q.y * q.y;
    if (n == 0)
        return {0, 1};
    if (!std::isfinite(n)) {
        const float yaw = yawOf(floats, layout);
        return {std::sin(yaw), std::cos(yaw)};
    }
    return {2 * q.y * q.w / n, (q.w * q.w - q.y * q.y) / n};
}

} // namespace mw
