#include "render/view3d/Compass.h"

namespace mw {

Camera compassCamera(const Camera& camera)
{
    Camera turned = camera;
    turned.position = -camera.forward() * 3.0f;
    turned.nearPlane = 0.1f;
    turned.farPlane = 10;
    turned.setViewport(1, 1);
    return turned;
}

std::array<PixelPoint, 3> compassTips(const Camera& camera)
{
    const Camera turned = compassCamera(camera);
    const Vec3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    std::array<PixelPoint, 3> tips{};
    for (std::size_t k = 0; k < tips.size(); ++k)
        tips[k] = turned.pixelOf(axes[k] * 1.15f).value_or(PixelPoint{0.5f, 0.5f});
    return tips;
}

void paintCompassLabels(QPainter& painter, const Camera& camera, const QRectF& corner)
{
    const auto tips = compassTips(camera);
    const char* names[3] = {"X", "Y", "Z"};
    const QColor colours[3] = {QColor(230, 25, 25), QColor(25, 180, 25), QColor(25, 25, 230)};
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    for (std::size_t k = 0; k < tips.size(); ++k) {
        painter.setPen(colours[k]);
        const QPointF at = corner.topLeft() + QPointF(tips[k].x * corner.width(), tips[k].y * corner.height());
        painter.drawText(QRectF(at - QPointF(8, 8), QSizeF(16, 16)), Qt::AlignCenter, QString::fromLatin1(names[k]));
    }
}

} // namespace mw
