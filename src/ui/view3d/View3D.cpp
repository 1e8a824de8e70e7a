#include "ui/view3d/View3D.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

#include "render/view3d/Compass.h"
#include "render/view3d/gl/GlFormat.h"
#include "ui/view3d/tools/CameraTool.h"
#include "ui/view3d/tools/HandleTool.h"
#include "ui/view3d/tools/SelectTool.h"

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
    // The chain: the camera's buttons first, then the handles and what is selected, then selecting.
    m_tools.push_back(std::make_unique<CameraTool>());
    m_tools.push_back(std::make_unique<HandleTool>());
    m_tools.push_back(std::make_unique<SelectTool>());
}

View3D::~View3D()
{
    m_gesture.reset();
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
    m_clickHits.clear();
    m_picker = m_scene ? std::make_unique<Picker>(*m_scene) : nullptr;
    m_sceneChanged = true;
    update();
}

void View3D::setHandles(std::optional<Vec3> centre, std::vector<ItemRef> draggable)
{
    m_handleCentre = centre;
    m_draggable = std::move(draggable);
    if (!centre && dragging())
        cancelGesture();
    update();
}

bool View3D::isDraggable(ItemRef item) const
{
    return std::find(m_draggable.begin(), m_draggable.end(), item) != m_draggable.end();
}

std::optional<Handles> View3D::handles() const
{
    if (!m_handleCentre)
        return std::nullopt;
    return Handles::at(m_camera, *m_handleCentre + m_handlesMoved);
}

void View3D::showHandlesMoved(Vec3 offset, HandlePart held)
{
    m_handlesMoved = offset;
    m_heldPart = held;
    update();
}

void View3D::lightHandlePart(HandlePart part)
{
    if (part == m_litPart)
        return;
    m_litPart = part;
    update();
}

void View3D::sceneUpdated()
{
    if (m_picker)
        m_picker->invalidate();
    update();
}

void View3D::setOverrides(DrawOverrides overrides)
{
    m_overrides = std::move(overrides);
    m_overridesChanged = true;
    update();
}

void View3D::setHighlight(Highlight3D highlight)
{
    m_highlight = std::move(highlight);
    m_highlightChanged = true;
    update();
}

void View3D::setLayers(const LayerSwitches& shown)
{
    m_shown = shown;
    update();
}

void View3D::frameItems(const std::vector<ItemRef>& items)
{
    if (!m_scene)
        return;
    bool any = false;
    Vec3 min, max;
    for (const ItemRef& item : items) {
        const auto place = m_scene->find(item);
        if (!place)
            continue;
        const Instance3D& i = m_scene->batch(place->batch).instances[place->index];
        const Vec3 c = i.column(3);
        const float r = (length(i.column(0)) + length(i.column(1)) + length(i.column(2))) / 2;
        const Vec3 half{r, r, r};
        min = any ? minOf(min, c - half) : c - half;
        max = any ? maxOf(max, c + half) : c + half;
        any = true;
    }
    if (!any)
        return;
    m_camera.frame(min, max);
    update();
}

void View3D::frameAll()
{
    if (!m_scene)
        return;
    if (!m_scene->empty) {
        m_camera.frame(m_scene->min, m_scene->max);
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
        m_clickHits.clear();
        emit pickedNothing();
        return;
    }
    // A Ctrl + click toggles the first item there; only plain clicks go round.
    const QPointF moved = pixel - m_clickAt;
    const bool again = !toggle && std::abs(moved.x()) <= ClickPixels && std::abs(moved.y()) <= ClickPixels && hits == m_clickHits;
    m_clickNext = again ? (m_clickNext + 1) % hits.size() : 0;
    m_clickAt = pixel;
    m_clickHits = std::move(hits);
    emit picked(m_clickHits[m_clickNext], toggle, m_clickNext + 1, m_clickHits.size());
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
    if (const auto h = handles())
        addHandleShapes(*h, m_heldPart != HandlePart::None ? m_heldPart : m_litPart, lines, triangles);
    m_renderer.setOverlay(lines, triangles);
    const qreal ratio = devicePixelRatioF();
    m_renderer.render(m_camera, static_cast<int>(width() * ratio), static_cast<int>(height() * ratio), m_shown);
    QPainter painter(this);
    paintCompassLabels(painter);
    if (m_gesture)
        m_gesture->paint(painter);
}

void View3D::paintCompassLabels(QPainter& painter) const
{
    const qreal side = std::min({qreal(CompassSide) / devicePixelRatioF(), qreal(width()), qreal(height())});
    const QPointF corner(0, height() - side);
    const auto tips = compassTips(m_camera);
    const char* names[3] = {"X", "Y", "Z"};
    const QColor colours[3] = {QColor(230, 25, 25), QColor(25, 180, 25), QColor(25, 25, 230)};
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    for (std::size_t k = 0; k < tips.size(); ++k) {
        painter.setPen(colours[k]);
        const QPointF at = corner + QPointF(tips[k].x * side, tips[k].y * side);
        painter.drawText(QRectF(at - QPointF(8, 8), QSizeF(16, 16)), Qt::AlignCenter, QString::fromLatin1(names[k]));
    }
}

void View3D::cancelGesture()
{
    if (!m_gesture)
        return;
    const auto gesture = std::move(m_gesture);
    m_gestureButton = Qt::NoButton;
    gesture->cancel();
    update();
}

void View3D::mousePressEvent(QMouseEvent* event)
{
    setFocus();
    if (m_gesture) {
        // A second button while one is held ends what the first began, as Escape does.
        cancelGesture();
        return;
    }
    const Pointer pointer = pointerOf(*event);
    for (const auto& tool : m_tools)
        if (auto gesture = tool->press(*this, pointer)) {
            m_gesture = std::move(gesture);
            m_gestureButton = pointer.button;
            return;
        }
}

void View3D::mouseMoveEvent(QMouseEvent* event)
{
    const Pointer pointer = pointerOf(*event);
    if (m_gesture) {
        m_gesture->move(pointer);
        return;
    }
    for (const auto& tool : m_tools)
        tool->hover(*this, pointer);
}

void View3D::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_gesture || event->button() != m_gestureButton)
        return;
    const auto gesture = std::move(m_gesture);
    m_gestureButton = Qt::NoButton;
    gesture->release(pointerOf(*event));
    update();
}

void View3D::wheelEvent(QWheelEvent* event)
{
    Pointer pointer{event->position(), Qt::NoButton, event->modifiers()};
    pointer.wheelSteps = static_cast<float>(event->angleDelta().y()) / 120.0f;
    if (m_gesture && m_gesture->wheel(pointer))
        return;
    for (const auto& tool : m_tools)
        if (tool->wheel(*this, pointer))
            return;
}

void View3D::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        if (m_gesture)
            cancelGesture();
        else
            emit pickedNothing();
        return;
    }
    if (m_gesture && m_gesture->key(event, true))
        return;
    switch (event->key()) {
    case Qt::Key_F:
        emit frameSelectionRequested();
        return;
    case Qt::Key_Home:
        frameAll();
        return;
    default:
        QOpenGLWidget::keyPressEvent(event);
    }
}

void View3D::keyReleaseEvent(QKeyEvent* event)
{
    if (!m_gesture || !m_gesture->key(event, false))
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
