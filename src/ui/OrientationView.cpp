#include "ui/OrientationView.h"

#include <QPainter>

#include "commands/editing/Rotation.h"

namespace mw {

namespace {
// The line lengths are given in drawing units; this much of them fits across the view.
constexpr int DrawingExtent = 1100;
} // namespace

OrientationView::OrientationView(Figure figure, QWidget* parent) : QWidget(parent), m_figure(figure)
{
    setMinimumSize(80, 80);
}

void OrientationView::setAngle(int angle)
{
    if (angle == m_angle)
        return;
    m_angle = angle;
    update();
}

void OrientationView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));

    // A square viewport in the middle, in drawing units centred on the anchor.
    const int side = std::min(width(), height());
    painter.setViewport((width() - side) / 2, (height() - side) / 2, side, side);
    painter.setWindow(-DrawingExtent / 2, -DrawingExtent / 2, DrawingExtent, DrawingExtent);

    const Point anchor{0, 0};
    const auto ends = m_figure == Figure::First ? firstViewLineEnds(m_angle, anchor) : secondViewLineEnds(m_angle, anchor);
    QPen bar(palette().color(QPalette::Text), 40, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(bar);
    painter.drawLine(QPoint(anchor.x, anchor.y), QPoint(ends[0].x, ends[0].y));
    painter.drawLine(QPoint(anchor.x, anchor.y), QPoint(ends[1].x, ends[1].y));
    QPen pointer(QColor(200, 0, 0), 40, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(pointer);
    painter.drawLine(QPoint(anchor.x, anchor.y), QPoint(ends[2].x, ends[2].y));
}

} // namespace mw
