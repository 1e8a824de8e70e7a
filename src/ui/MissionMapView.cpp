#include "ui/MissionMapView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace mw {

MissionMapView::MissionMapView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("MissionMap"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 200);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, MapBackground);
    setPalette(p);
}

void MissionMapView::setMap(MissionMap map)
{
    m_map = std::move(map);
    m_overlay.highlight.reset();
    m_lastHits.clear();
    if (!m_fitted && !m_map.shapes.empty())
        fit();
    update();
}

void MissionMapView::changeMap(const std::function<void(MissionMap&)>& change)
{
    std::optional<std::pair<ViewLayer, std::uint32_t>> marked;
    if (m_overlay.highlight && *m_overlay.highlight < m_map.shapes.size())
        marked = std::pair(m_map.shapes[*m_overlay.highlight].layer, m_map.shapes[*m_overlay.highlight].row);
    change(m_map);
    m_overlay.highlight.reset();
    m_lastHits.clear();
    if (marked) {
        const auto it = std::find_if(m_map.shapes.begin(), m_map.shapes.end(), [&](const MapShape& s) {
            return s.layer == marked->first && s.row == marked->second;
        });
        if (it != m_map.shapes.end())
            m_overlay.highlight = static_cast<std::size_t>(it - m_map.shapes.begin());
    }
    update();
}

void MissionMapView::setLayers(const LayerSwitches& shown, const LayerSwitches& locked)
{
    m_overlay.visible = shown;
    m_locked = locked;
    update();
}

void MissionMapView::setHighlight(ViewLayer layer, std::uint32_t row)
{
    const auto it = std::find_if(m_map.shapes.begin(), m_map.shapes.end(),
                                 [&](const MapShape& s) { return s.layer == layer && s.row == row; });
    if (it == m_map.shapes.end()) {
        m_overlay.highlight.reset();
    } else {
        m_overlay.highlight = static_cast<std::size_t>(it - m_map.shapes.begin());
        const QPointF at = toScreen(it->centre);
        if (!rect().adjusted(20, 20, -20, -20).contains(at.toPoint()))
            m_centre = it->centre;
    }
    update();
}

void MissionMapView::setEntryStates(std::array<std::vector<bool>, 3> hidden, std::array<std::vector<bool>, 3> locked)
{
    m_overlay.hidden = std::move(hidden);
    m_lockedRows = std::move(locked);
    m_lastHits.clear();
    update();
}

void MissionMapView::setSelection(std::array<std::vector<std::uint32_t>, 3> rows)
{
    m_overlay.selected = std::move(rows);
    update();
}

MapCamera MissionMapView::camera() const
{
    MapCamera camera{m_centre, m_scale, QSizeF(size())};
    return camera;
}

bool MissionMapView::isSelected(const MapShape& s) const
{
    const auto& rows = m_overlay.selected[indexOf(s.layer)];
    return std::binary_search(rows.begin(), rows.end(), s.row);
}

void MissionMapView::fit()
{
    // What is drawn: the hidden entries do not count.
    const MapCamera fitted =
        MapCamera::fitting(areaOf(m_map, [this](const MapShape& s) { return !in(m_overlay.hidden, s); }), QSizeF(size()));
    m_centre = fitted.centre;
    m_scale = fitted.scale;
    m_fitted = !m_map.shapes.empty();
    update();
}

QPointF MissionMapView::toScreen(MapPoint p) const { return camera().toScreen(p); }

MapPoint MissionMapView::toWorld(QPointF p) const { return camera().toWorld(p); }

void MissionMapView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintMissionMap(painter, m_map, camera(), m_overlay);
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
        if (!pickable(s))
            continue;
        const QPointF c = toScreen(s.centre);
        const double dx = c.x() - pixel.x(), dy = c.y() - pixel.y();
        const double distance = std::sqrt(dx * dx + dy * dy);
        if (s.corners ? insideOutline(s.outline, w) || distance <= MapMarkerRadius
                      : distance <= std::max(MapMarkerRadius + 1, s.radius * m_scale))
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
    m_overlay.band.reset();
    const auto hits = shapesAt(m_pressAt);
    m_panning = event->button() != Qt::LeftButton || (!hits.empty() && !(event->modifiers() & Qt::ControlModifier));
    if (!(event->modifiers() & Qt::ControlModifier) || event->button() != Qt::LeftButton)
        return;
    for (std::size_t i : hits) {
        const MapShape& s = m_map.shapes[i];
        if (s.layer != ViewLayer::Scene)
            continue;
        if (m_overlay.selected[0].size() > 1 && isSelected(s)) {
            // The whole selection goes along.
            for (std::size_t k = 0; k < m_map.shapes.size(); ++k)
                if (m_map.shapes[k].layer == ViewLayer::Scene && isSelected(m_map.shapes[k]))
                    m_group.push_back(k);
            m_groupFrom = toWorld(m_pressAt);
        } else {
            m_moving = i;
            emit picked(ViewLayer::Scene, s.row);
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
        m_overlay.band = QRectF(m_pressAt, at).normalized();
    }
    m_lastMouse = at;
    update();
}

void MissionMapView::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    if (event->button() == Qt::RightButton && !m_dragging) {
        emit contextMenuAt(event->globalPosition().toPoint());
        return;
    }
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
    if (m_overlay.band) {
        const MapPoint a = toWorld(m_overlay.band->topLeft()), b = toWorld(m_overlay.band->bottomRight());
        m_overlay.band.reset();
        std::vector<ItemRef> items;
        for (const MapShape& s : m_map.shapes)
            if (pickable(s) && s.centre.x >= std::min(a.x, b.x) && s.centre.x <= std::max(a.x, b.x) &&
                s.centre.z >= std::min(a.z, b.z) && s.centre.z <= std::max(a.z, b.z))
                items.push_back({s.layer, s.row});
        update();
        emit boxed(std::move(items), event->modifiers() & Qt::ShiftModifier);
        return;
    }
    if (m_dragging)
        return;
    // A click: the entry under the pointer; clicking the same place again takes the next one.
    const auto hits = shapesAt(at);
    if (hits.empty()) {
        if (!(event->modifiers() & Qt::ShiftModifier))
            emit pickedNothing();
        return;
    }
    if (event->modifiers() & Qt::ShiftModifier) {
        emit toggled({m_map.shapes[hits.front()].layer, m_map.shapes[hits.front()].row});
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

void MissionMapView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Home)
        fit();
    else
        QWidget::keyPressEvent(event);
}

void MissionMapView::resizeEvent(QResizeEvent*)
{
    if (!m_fitted && !m_map.shapes.empty())
        fit();
}

} // namespace mw
