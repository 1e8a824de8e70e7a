#include "ui/MissionMapView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace mw {

namespace {

constexpr double MarkerRadius = 4; // pixels
constexpr std::array<std::pair<MarkerKind, const char*>, 7> KindNames{{{MarkerKind::Light, "light"},
                                                                       {MarkerKind::Sound, "sound"},
                                                                       {MarkerKind::Human, "human"},
                                                                       {MarkerKind::Car, "car"},
                                                                       {MarkerKind::Building, "building"},
                                                                       {MarkerKind::Model, "model"},
                                                                       {MarkerKind::Other, "other"}}};

QColor colourOf(MarkerKind kind)
{
    switch (kind) {
    case MarkerKind::Light:
        return QColor(230, 180, 0);
    case MarkerKind::Sound:
        return QColor(0, 160, 200);
    case MarkerKind::Human:
        return QColor(220, 40, 40);
    case MarkerKind::Car:
        return QColor(40, 60, 220);
    case MarkerKind::Building:
        return QColor(120, 80, 40);
    case MarkerKind::Model:
        return QColor(40, 150, 40);
    case MarkerKind::Other:
        break;
    }
    return QColor(120, 120, 120);
}

const QColor CacheColour(150, 110, 200);
const QColor CollisionColour(255, 120, 0);

bool inside(const std::array<MapPoint, 4>& poly, MapPoint p)
{
    bool in = false;
    for (std::size_t i = 0, j = 3; i < 4; j = i++)
        if ((poly[i].z > p.z) != (poly[j].z > p.z) &&
            p.x < (poly[j].x - poly[i].x) * (p.z - poly[i].z) / (poly[j].z - poly[i].z) + poly[i].x)
            in = !in;
    return in;
}

} // namespace

MissionMapView::MissionMapView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("MissionMap"));
    setMouseTracking(true);
    setMinimumSize(200, 200);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(250, 250, 245));
    setPalette(p);
}

void MissionMapView::setMap(MissionMap map)
{
    m_map = std::move(map);
    m_highlight.reset();
    m_lastHits.clear();
    if (!m_fitted && !m_map.shapes.empty())
        fit();
    update();
}

void MissionMapView::changeMap(const std::function<void(MissionMap&)>& change)
{
    std::optional<std::pair<MapLayer, std::uint32_t>> marked;
    if (m_highlight && *m_highlight < m_map.shapes.size())
        marked = std::pair(m_map.shapes[*m_highlight].layer, m_map.shapes[*m_highlight].row);
    change(m_map);
    m_highlight.reset();
    m_lastHits.clear();
    if (marked) {
        const auto it = std::find_if(m_map.shapes.begin(), m_map.shapes.end(), [&](const MapShape& s) {
            return s.layer == marked->first && s.row == marked->second;
        });
        if (it != m_map.shapes.end())
            m_highlight = static_cast<std::size_t>(it - m_map.shapes.begin());
    }
    update();
}

void MissionMapView::setLayerVisible(MapLayer layer, bool visible)
{
    m_visible[static_cast<int>(layer)] = visible;
    update();
}

void MissionMapView::setHighlight(MapLayer layer, std::uint32_t row)
{
    const auto it = std::find_if(m_map.shapes.begin(), m_map.shapes.end(),
                                 [&](const MapShape& s) { return s.layer == layer && s.row == row; });
    if (it == m_map.shapes.end()) {
        m_highlight.reset();
    } else {
        m_highlight = static_cast<std::size_t>(it - m_map.shapes.begin());
        const QPointF at = toScreen(it->centre);
        if (!rect().adjusted(20, 20, -20, -20).contains(at.toPoint()))
            m_centre = it->centre;
    }
    update();
}

void MissionMapView::setSelection(std::vector<std::uint32_t> sceneRows)
{
    std::sort(sceneRows.begin(), sceneRows.end());
    m_selected = std::move(sceneRows);
    update();
}

bool MissionMapView::isSelected(const MapShape& s) const
{
    return s.layer == MapLayer::Scene && std::binary_search(m_selected.begin(), m_selected.end(), s.row);
}

void MissionMapView::fit()
{
    const double w = std::max(1.0f, m_map.max.x - m_map.min.x), d = std::max(1.0f, m_map.max.z - m_map.min.z);
    m_centre = {(m_map.min.x + m_map.max.x) / 2, (m_map.min.z + m_map.max.z) / 2};
    m_scale = std::min((width() - 40) / w, (height() - 40) / d);
    if (!(m_scale > 0))
        m_scale = 1;
    m_fitted = !m_map.shapes.empty();
    update();
}

QPointF MissionMapView::toScreen(MapPoint p) const
{
    return {width() / 2.0 + (p.x - m_centre.x) * m_scale, height() / 2.0 - (p.z - m_centre.z) * m_scale};
}

MapPoint MissionMapView::toWorld(QPointF p) const
{
    return {static_cast<float>(m_centre.x + (p.x() - width() / 2.0) / m_scale),
            static_cast<float>(m_centre.z - (p.y() - height() / 2.0) / m_scale)};
}

void MissionMapView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRectF view = QRectF(rect()).adjusted(-10, -10, 10, 10);
    // A large mission seen whole puts many entries on the same pixels: each small thing is drawn
    // once per 2 x 2 pixel cell and layer, so a frame costs at most the view's size.
    const int cellsX = width() / 2 + 2, cellsY = height() / 2 + 2;
    std::vector<std::uint16_t> taken(static_cast<std::size_t>(cellsX) * cellsY);
    auto firstInCell = [&](QPointF c, std::uint16_t bit) {
        const int cx = static_cast<int>(c.x() / 2) + 1, cy = static_cast<int>(c.y() / 2) + 1;
        if (cx < 0 || cy < 0 || cx >= cellsX || cy >= cellsY)
            return true;
        std::uint16_t& cell = taken[static_cast<std::size_t>(cy) * cellsX + cx];
        if (cell & bit)
            return false;
        cell |= bit;
        return true;
    };
    // Outlines first (cache, collision), markers on top; each colour in one call.
    QVector<QLineF> cacheLines, bodyLines;
    QVector<QPointF> bodyPoints;
    std::array<QVector<QPointF>, 7> markers;
    QVector<QLineF> headings;
    for (const MapShape& s : m_map.shapes) {
        if (!m_visible[static_cast<int>(s.layer)])
            continue;
        const QPointF c = toScreen(s.centre);
        if (s.corners) {
            std::array<QPointF, 4> q;
            for (int i = 0; i < 4; ++i)
                q[i] = toScreen(s.outline[i]);
            const QRectF box = QRectF(q[0], q[2]).normalized().united(QRectF(q[1], q[3]).normalized());
            if (!view.intersects(box.adjusted(-1, -1, 1, 1)))
                continue;
            auto& lines = s.layer == MapLayer::Cache ? cacheLines : bodyLines;
            if (box.width() < 2 && box.height() < 2) {
                if (firstInCell(c, s.layer == MapLayer::Cache ? 1 : 2))
                    lines.append(QLineF(c, c + QPointF(1, 0)));
                continue;
            }
            for (int i = 0; i < 4; ++i)
                lines.append(QLineF(q[i], q[(i + 1) % 4]));
        } else if (s.layer == MapLayer::Collision) {
            const double r = s.radius * m_scale;
            if (!view.intersects(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r)))
                continue;
            if (r < 2) {
                if (firstInCell(c, 4))
                    bodyPoints.append(c);
                continue;
            }
            p.setPen(CollisionColour);
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(c, r, r);
        } else if (view.contains(c) && firstInCell(c, static_cast<std::uint16_t>(8 << static_cast<int>(s.kind)))) {
            markers[static_cast<int>(s.kind)].append(c);
            if (s.heading.x != 0 || s.heading.z != 0)
                headings.append(QLineF(c, c + QPointF(s.heading.x, -s.heading.z) * (MarkerRadius * 2.5)));
        }
    }
    p.setPen(QPen(CacheColour, 1));
    p.drawLines(cacheLines);
    p.setPen(QPen(CollisionColour, 1));
    p.drawLines(bodyLines);
    p.setPen(QPen(CollisionColour, 2));
    p.drawPoints(bodyPoints);
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.drawLines(headings);
    for (int k = 0; k < 7; ++k) {
        p.setPen(QPen(colourOf(static_cast<MarkerKind>(k)), MarkerRadius * 2, Qt::SolidLine, Qt::SquareCap));
        p.drawPoints(markers[k]);
    }
    p.setRenderHint(QPainter::Antialiasing);
    if (!m_selected.empty()) {
        p.setPen(QPen(QColor(0, 90, 255), 2));
        p.setBrush(Qt::NoBrush);
        for (const MapShape& s : m_map.shapes)
            if (isSelected(s) && m_visible[static_cast<int>(MapLayer::Scene)]) {
                const QPointF c = toScreen(s.centre);
                if (view.contains(c))
                    p.drawEllipse(c, MarkerRadius * 2, MarkerRadius * 2);
            }
    }
    if (m_band) {
        p.setPen(QPen(QColor(0, 90, 255), 1, Qt::DashLine));
        p.setBrush(QColor(0, 90, 255, 40));
        p.drawRect(*m_band);
    }
    if (m_highlight && *m_highlight < m_map.shapes.size()) {
        const MapShape& s = m_map.shapes[*m_highlight];
        const QPointF c = toScreen(s.centre);
        const double r = std::max(MarkerRadius * 2.5, s.corners ? 0.0 : s.radius * m_scale + 3);
        p.setPen(QPen(QColor(0, 0, 0), 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, r, r);
        p.setPen(QPen(QColor(255, 255, 0), 1));
        p.drawEllipse(c, r + 2, r + 2);
    }
    drawLegend(p);
    drawScaleBar(p);
}

void MissionMapView::drawLegend(QPainter& p) const
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 210));
    const int lineHeight = fontMetrics().height();
    p.drawRect(QRect(6, 6, 120, lineHeight * 9 + 8));
    int y = 10 + lineHeight;
    for (const auto& [kind, name] : KindNames) {
        p.setPen(QPen(colourOf(kind), MarkerRadius * 2, Qt::SolidLine, Qt::SquareCap));
        p.drawPoint(QPointF(16, y - lineHeight / 3.0));
        p.setPen(Qt::black);
        p.drawText(28, y, QString::fromLatin1(name));
        y += lineHeight;
    }
    p.setPen(CacheColour);
    p.drawRect(QRect(11, y - lineHeight / 2 - 4, 10, 8));
    p.setPen(Qt::black);
    p.drawText(28, y, QStringLiteral("cached object"));
    y += lineHeight;
    p.setPen(CollisionColour);
    p.drawEllipse(QPointF(16, y - lineHeight / 3.0), 5, 5);
    p.setPen(Qt::black);
    p.drawText(28, y, QStringLiteral("collision body"));
}

void MissionMapView::drawScaleBar(QPainter& p) const
{
    // The largest round length (1, 2 or 5 times a power of ten) up to 120 pixels.
    const double units = 120 / m_scale;
    const double power = std::pow(10.0, std::floor(std::log10(units)));
    double length = power;
    for (double f : {2.0, 5.0, 10.0})
        if (power * f <= units)
            length = power * f;
    const double pixels = length * m_scale;
    const QPointF start(12, height() - 14);
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(start, start + QPointF(pixels, 0));
    p.drawLine(start, start + QPointF(0, -5));
    p.drawLine(start + QPointF(pixels, 0), start + QPointF(pixels, -5));
    p.drawText(start + QPointF(pixels + 6, 4), QString::number(length) + QStringLiteral(" m"));
}

void MissionMapView::wheelEvent(QWheelEvent* event)
{
    const QPointF at = event->position();
    const MapPoint before = toWorld(at);
    m_scale *= std::pow(1.0015, event->angleDelta().y());
    m_scale = std::clamp(m_scale, 1e-4, 1e4);
    // The point under the pointer stays there.
    const MapPoint after = toWorld(at);
    m_centre = {m_centre.x + before.x - after.x, m_centre.z + before.z - after.z};
    update();
}

std::vector<std::size_t> MissionMapView::shapesAt(QPointF pixel) const
{
    std::vector<std::size_t> hits;
    const MapPoint w = toWorld(pixel);
    for (std::size_t i = 0; i < m_map.shapes.size(); ++i) {
        const MapShape& s = m_map.shapes[i];
        if (!m_visible[static_cast<int>(s.layer)])
            continue;
        const QPointF c = toScreen(s.centre);
        const double dx = c.x() - pixel.x(), dy = c.y() - pixel.y();
        const double distance = std::sqrt(dx * dx + dy * dy);
        if (s.corners ? inside(s.outline, w) || distance <= MarkerRadius
                      : distance <= std::max(MarkerRadius + 1, s.radius * m_scale))
            hits.push_back(i);
    }
    // Markers before outlines: the small thing on top is what the user aims at.
    std::stable_sort(hits.begin(), hits.end(), [&](std::size_t a, std::size_t b) {
        return m_map.shapes[a].layer < m_map.shapes[b].layer;
    });
    return hits;
}

void MissionMapView::mousePressEvent(QMouseEvent* event)
{
    m_pressAt = m_lastMouse = event->position();
    m_dragging = false;
    m_moving.reset();
    m_group.clear();
    m_band.reset();
    const auto hits = shapesAt(m_pressAt);
    m_panning = event->button() != Qt::LeftButton || (!hits.empty() && !(event->modifiers() & Qt::ControlModifier));
    if (!(event->modifiers() & Qt::ControlModifier) || event->button() != Qt::LeftButton)
        return;
    for (std::size_t i : hits) {
        const MapShape& s = m_map.shapes[i];
        if (s.layer != MapLayer::Scene)
            continue;
        if (m_selected.size() > 1 && isSelected(s)) {
            // The whole selection goes along.
            for (std::size_t k = 0; k < m_map.shapes.size(); ++k)
                if (isSelected(m_map.shapes[k]))
                    m_group.push_back(k);
            m_groupFrom = toWorld(m_pressAt);
        } else {
            m_moving = i;
            emit picked(MapLayer::Scene, s.row);
        }
        break;
    }
}

void MissionMapView::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    const MapPoint world = toWorld(at);
    emit pointerAt(world.x, world.z);
    if (!(event->buttons() & (Qt::LeftButton | Qt::RightButton | Qt::MiddleButton)))
        return;
    if ((at - m_pressAt).manhattanLength() > 3)
        m_dragging = true;
    if (m_moving) {
        m_map.shapes[*m_moving].centre = world;
    } else if (!m_group.empty()) {
        const MapPoint last = toWorld(m_lastMouse);
        for (std::size_t k : m_group) {
            m_map.shapes[k].centre.x += world.x - last.x;
            m_map.shapes[k].centre.z += world.z - last.z;
        }
    } else if (m_dragging && m_panning) {
        m_centre.x -= static_cast<float>((at.x() - m_lastMouse.x()) / m_scale);
        m_centre.z += static_cast<float>((at.y() - m_lastMouse.y()) / m_scale);
    } else if (m_dragging) {
        m_band = QRectF(m_pressAt, at).normalized();
    }
    m_lastMouse = at;
    update();
}

void MissionMapView::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    if (m_moving) {
        if (m_dragging) {
            const MapPoint world = toWorld(at);
            emit moved(m_map.shapes[*m_moving].row, world.x, world.z);
        }
        m_moving.reset();
        return;
    }
    if (!m_group.empty()) {
        const MapPoint world = toWorld(at);
        m_group.clear();
        if (m_dragging)
            emit movedSelection(world.x - m_groupFrom.x, world.z - m_groupFrom.z);
        return;
    }
    if (m_band) {
        const MapPoint a = toWorld(m_band->topLeft()), b = toWorld(m_band->bottomRight());
        m_band.reset();
        std::vector<std::uint32_t> rows;
        for (const MapShape& s : m_map.shapes)
            if (s.layer == MapLayer::Scene && s.centre.x >= std::min(a.x, b.x) && s.centre.x <= std::max(a.x, b.x) &&
                s.centre.z >= std::min(a.z, b.z) && s.centre.z <= std::max(a.z, b.z))
                rows.push_back(s.row);
        update();
        emit boxed(std::move(rows), event->modifiers() & Qt::ShiftModifier);
        return;
    }
    if (m_dragging)
        return;
    // A click: the entry under the pointer; clicking the same place again takes the next one.
    const auto hits = shapesAt(at);
    if (hits.empty())
        return;
    if (event->modifiers() & Qt::ShiftModifier) {
        for (std::size_t i : hits)
            if (m_map.shapes[i].layer == MapLayer::Scene) {
                emit toggled(m_map.shapes[i].row);
                return;
            }
        return;
    }
    if (hits != m_lastHits) {
        m_lastHits = hits;
        m_nextHit = 0;
    }
    const MapShape& s = m_map.shapes[m_lastHits[m_nextHit % m_lastHits.size()]];
    ++m_nextHit;
    emit picked(s.layer, s.row);
}

void MissionMapView::resizeEvent(QResizeEvent*)
{
    if (!m_fitted && !m_map.shapes.empty())
        fit();
}

} // namespace mw
