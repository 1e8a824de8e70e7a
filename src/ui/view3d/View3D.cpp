#include "ui/view3d/View3D.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

#include "render/view3d/Compass.h"
#include "render/view3d/gl/GlFormat.h"

namespace mw {

namespace {

Pointer pointerOf(const QMouseEvent& e) { return {e.position(), e.button(), e.modifiers()}; }
PixelPoint pixelOf(QPointF p) { return {static_cast<float>(p.x()), static_cast<float>(p.y())}; }

} // namespace

View3D::View3D(QWidget* parent) : QOpenGLWidget(parent)
{
    setObjectName(QStringLiteral("View3D"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setMinimumSize(200, 150);
    setFormat(view3dSurfaceFormat());
    m_camera.setViewport(static_cast<float>(width()), static_cast<float>(height()));
}

View3D::~View3D()
{
    m_tools.cancel();
    if (m_ready && context()) {
        makeCurrent();
        m_renderer.release();
        doneCurrent();
    }
}

void View3D::setScene(std::shared_ptr<const Scene3D> scene)
{
    m_scene = std::move(scene);
    m_hover.reset();
    m_cycle.forget();
    m_picker = m_scene ? std::make_unique<Picker>(*m_scene) : nullptr;
    m_sceneChanged = true;
    update();
}

void View3D::setHandles(std::optional<Vec3> centre, std::vector<ItemRef> draggable)
{
    m_handles.centre = centre;
    m_handles.draggable = std::move(draggable);
    if (!centre && dragging())
        cancelGesture();
    update();
}

void View3D::lightHandlePart(HandlePart part)
{
    if (part != std::exchange(m_handles.lit, part))
        update();
}

void View3D::sceneUpdated()
{
    if (m_picker)
        m_picker->invalidate();
    update();
}

void View3D::frameItems(const std::vector<ItemRef>& items)
{
    if (const auto box = m_scene ? boundsOf(*m_scene, items) : std::nullopt) {
        m_camera.frame(box->min, box->max);
        update();
    }
}

void View3D::frameAll()
{
    if (!m_scene)
        return;
    std::optional<Box3> box = m_scene->empty ? std::nullopt : std::optional(Box3{m_scene->min, m_scene->max});
    if (m_hidden) // what is drawn, the hidden items left out
        box = boundsOf(*m_scene, [this](ItemRef item) { return !m_hidden(item); });
    if (box) {
        m_camera.frame(box->min, box->max);
        update();
    }
    emit framedAll(m_scene->leftOut);
}

std::optional<PickHit> View3D::itemAt(QPointF pixel) const
{
    if (!m_picker)
        return std::nullopt;
    return m_picker->pick(m_camera.rayThrough(pixelOf(pixel)), m_filter);
}

std::vector<ItemRef> View3D::itemsInside(const QRectF& r) const
{
    if (!m_picker)
        return {};
    return m_picker->itemsInside(m_camera, pixelOf(r.topLeft()), pixelOf(r.bottomRight()), m_filter);
}

void View3D::clickAt(QPointF pixel, bool toggle)
{
    std::vector<ItemRef> hits;
    if (m_picker)
        for (const PickHit& hit : m_picker->hitsAlong(m_camera.rayThrough(pixelOf(pixel)), m_filter))
            hits.push_back(hit.item);
    if (hits.empty()) {
        m_cycle.forget();
        emit pickedNothing();
        return;
    }
    const std::size_t among = hits.size();
    const auto [item, place] = m_cycle.next(pixelOf(pixel), std::move(hits), toggle);
    emit picked(item, toggle, place + 1, among);
}

void View3D::showHover(std::optional<ItemRef> item)
{
    if (item == m_hover)
        return;
    m_hover = item;
    m_highlightChanged = true;
    update();
}

void View3D::initializeGL()
{
    m_ready = m_renderer.initialize();
    if (!m_ready) {
        emit unavailable(m_renderer.failure());
        return;
    }
    m_sceneChanged = m_highlightChanged = m_overridesChanged = true;
}

void View3D::resizeGL(int width, int height) { m_camera.setViewport(static_cast<float>(width), static_cast<float>(height)); }

void View3D::upload()
{
    if (m_sceneChanged) {
        m_renderer.setScene(m_scene);
        m_sceneChanged = false;
    }
    if (m_overridesChanged) {
        m_renderer.setOverrides(m_overrides);
        m_overridesChanged = false;
    }
    if (m_highlightChanged) {
        Highlight3D drawn = m_highlight;
        if (m_hover && m_scene)
            addHover(drawn, *m_scene, *m_hover, [this](ItemRef item) { return m_scene->instance(item); });
        m_renderer.setHighlight(drawn);
        m_highlightChanged = false;
    }
}

void View3D::paintGL()
{
    if (!m_ready)
        return;
    upload();
    std::vector<FramePoint> lines, triangles;
    m_handles.addShapes(m_camera, lines, triangles);
    m_renderer.setOverlay(lines, triangles);
    const qreal ratio = devicePixelRatioF();
    m_renderer.render(m_camera, static_cast<int>(width() * ratio), static_cast<int>(height() * ratio), m_shown);
    QPainter painter(this);
    const qreal side = std::min({qreal(CompassSide) / devicePixelRatioF(), qreal(width()), qreal(height())});
    paintCompassLabels(painter, m_camera, QRectF(0, height() - side, side, side));
    m_tools.paint(painter);
}

void View3D::cancelGesture()
{
    if (m_tools.cancel())
        update();
}

void View3D::mousePressEvent(QMouseEvent* event)
{
    setFocus();
    m_tools.press(*this, pointerOf(*event));
}

void View3D::mouseMoveEvent(QMouseEvent* event) { m_tools.move(*this, pointerOf(*event)); }

void View3D::mouseReleaseEvent(QMouseEvent* event)
{
    m_tools.release(pointerOf(*event));
    update();
}

void View3D::wheelEvent(QWheelEvent* event)
{
    Pointer pointer{event->position(), Qt::NoButton, event->modifiers()};
    pointer.wheelSteps = static_cast<float>(event->angleDelta().y()) / 120.0f;
    m_tools.wheel(*this, pointer);
}

void View3D::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        if (m_tools.cancel())
            update();
        else
            emit pickedNothing();
        return;
    }
    if (m_tools.key(event, true))
        return;
    if (event->key() == Qt::Key_F)
        emit frameSelectionRequested();
    else if (event->key() == Qt::Key_Home)
        frameAll();
    else
        QOpenGLWidget::keyPressEvent(event);
}

void View3D::keyReleaseEvent(QKeyEvent* event)
{
    if (!m_tools.key(event, false))
        QOpenGLWidget::keyReleaseEvent(event);
}

void View3D::leaveEvent(QEvent* event)
{
    if (m_hover) {
        showHover(std::nullopt);
        emit hovered(std::nullopt);
    }
    QOpenGLWidget::leaveEvent(event);
}

void View3D::focusOutEvent(QFocusEvent* event)
{
    cancelGesture(); // a drag without the keyboard can no longer be cancelled or snapped
    QOpenGLWidget::focusOutEvent(event);
}

} // namespace mw
