#include "ui/View3D.h"

#include "render/view3d/gl/GlFormat.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <vector>
#include <cmath>

namespace mw {

namespace {

constexpr float TurnPerPixel = 0.006f; // radians
constexpr float TurnSnap = 15;          // degrees
constexpr int DragPixels = 3;           // a press that moves less is a click

} // namespace

View3D::View3D(QWidget* parent) : QOpenGLWidget(parent)
{
    setObjectName(QStringLiteral("View3D"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setMinimumSize(200, 150);
    setFormat(view3dSurfaceFormat());
    m_camera.setViewport(static_cast<float>(width()), static_cast<float>(height()));
    m_flyTimer.setInterval(16);
    connect(&m_flyTimer, &QTimer::timeout, this, &View3D::flyStep);
}

View3D::~View3D()
{
    if (m_ready && context()) {
        makeCurrent();
        m_renderer.release();
        doneCurrent();
    }
}

void View3D::setScene(std::shared_ptr<const Scene3D> scene)
{
    m_scene = std::move(scene);
    m_picker = m_scene ? std::make_unique<Picker>(*m_scene) : nullptr;
    m_sceneChanged = true;
    update();
}

void View3D::setHandles(std::optional<Vec3> centre, std::vector<ItemRef> draggable)
{
    m_handleCentre = centre;
    m_draggable = std::move(draggable);
    if (!centre && dragging())
        cancelDrag();
    update();
}

std::optional<Handles> View3D::handles() const
{
    if (!m_handleCentre)
        return std::nullopt;
    const Vec3 centre = *m_handleCentre + (m_drag == Drag::Handle || m_drag == Drag::Body ? m_offset : Vec3{});
    return Handles::at(m_camera, centre);
}

void View3D::showPreview(std::shared_ptr<const Scene3D> preview)
{
    m_preview = std::move(preview);
    m_sceneChanged = true;
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
    if (!m_scene || m_scene->empty)
        return;
    m_camera.frame(m_scene->min, m_scene->max);
    update();
}

Ray View3D::rayAt(QPointF pixel) const
{
    return m_camera.rayThrough({static_cast<float>(pixel.x()), static_cast<float>(pixel.y())});
}

std::optional<PickHit> View3D::itemAt(QPoint pixel) const
{
    if (!m_picker)
        return std::nullopt;
    return m_picker->pick(rayAt(pixel), m_shown);
}

void View3D::initializeGL()
{
    m_ready = m_renderer.initialize();
    if (!m_ready) {
        emit unavailable(m_renderer.failure());
        return;
    }
    m_sceneChanged = m_highlightChanged = true;
}

void View3D::upload()
{
    if (m_sceneChanged) {
        m_renderer.setScene(m_preview ? m_preview : m_scene);
        m_sceneChanged = false;
    }
    if (m_highlightChanged) {
        m_renderer.setHighlight(m_highlight);
        m_highlightChanged = false;
    }
}

void View3D::resizeGL(int width, int height) { m_camera.setViewport(static_cast<float>(width), static_cast<float>(height)); }

void View3D::paintGL()
{
    if (!m_ready)
        return;
    upload();
    std::vector<FramePoint> lines, triangles;
    if (const auto h = handles())
        addHandleShapes(*h, m_dragPart != HandlePart::None ? m_dragPart : m_hoverPart, lines, triangles);
    m_renderer.setOverlay(lines, triangles);
    const qreal ratio = devicePixelRatioF();
    m_renderer.render(m_camera, static_cast<int>(width() * ratio), static_cast<int>(height() * ratio), m_shown);
    if (m_band) {
        QPainter painter(this);
        painter.setPen(QPen(QColor(0, 90, 255), 1, Qt::DashLine));
        painter.setBrush(QColor(0, 90, 255, 40));
        painter.drawRect(*m_band);
    }
}

void View3D::mousePressEvent(QMouseEvent* event)
{
    m_pressAt = m_last = event->position();
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (event->button() == Qt::RightButton) {
        m_drag = Drag::Look;
        m_flyClock.start();
        m_flyTimer.start();
    } else if (event->button() == Qt::MiddleButton) {
        m_drag = mods & Qt::ShiftModifier ? Drag::Pan : Drag::Orbit;
    } else if (event->button() == Qt::LeftButton) {
        m_drag = mods & Qt::AltModifier ? Drag::Orbit : mods & Qt::ShiftModifier ? Drag::Band : Drag::Click;
        if (m_drag == Drag::Click)
            startPlacing(event->position());
    }
    setFocus();
}

void View3D::startPlacing(QPointF at)
{
    // A handle under the cursor takes the drag; a selected item's body takes it once the mouse moves.
    const auto h = handles();
    const HandlePart part = h ? h->partAt(m_camera, pixelAt(at))
                              : HandlePart::None;
    m_offset = {};
    m_turnRaw = m_turn = 0;
    if (part != HandlePart::None) {
        m_drag = Drag::Handle;
        m_dragPart = part;
        return;
    }
    const auto hit = itemAt(at.toPoint());
    if (hit && std::find(m_draggable.begin(), m_draggable.end(), hit->item) != m_draggable.end()) {
        m_drag = Drag::BodyOrClick;
        m_grabbed = hit->point;
    }
}

void View3D::dragTo(QPointF at, bool snap)
{
    const PixelPoint from = pixelAt(m_pressAt), to = pixelAt(at);
    if (m_drag == Drag::Body) {
        // Over the horizontal plane through the point taken hold of.
        if (const auto moved = planeDrag(m_camera, m_grabbed, {0, 1, 0}, from, to))
            m_offset = snap ? snapped(*moved, m_gridStep) : *moved;
        m_offset.y = 0;
        emit moveDragged(m_offset, false);
    } else if (m_dragPart == HandlePart::Ring) {
        if (const auto turn = ringDrag(m_camera, *m_handleCentre, pixelAt(m_last), to))
            m_turnRaw += *turn;
        m_turn = snap ? snapped(static_cast<float>(m_turnRaw), TurnSnap) : m_turnRaw;
        emit turnDragged(m_turn, false);
    } else if (isAxis(m_dragPart)) {
        const Vec3 axis = axisOf(m_dragPart);
        if (const auto d = axisDrag(m_camera, *m_handleCentre, axis, from, to))
            m_offset = axis * (snap ? snapped(*d, m_gridStep) : *d);
        emit moveDragged(m_offset, false);
    } else if (isPlane(m_dragPart)) {
        if (const auto moved = planeDrag(m_camera, *m_handleCentre, axisOf(m_dragPart), from, to))
            m_offset = snap ? snapped(*moved, m_gridStep) : *moved;
        emit moveDragged(m_offset, false);
    }
    update();
}

void View3D::cancelDrag()
{
    m_drag = Drag::None;
    m_dragPart = HandlePart::None;
    m_offset = {};
    m_turnRaw = m_turn = 0;
    emit dragCancelled();
    update();
}

void View3D::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    const QPointF delta = at - m_last;
    const bool snap = event->modifiers() & Qt::ControlModifier;
    switch (m_drag) {
    case Drag::None:
        m_last = at;
        if (const auto h = handles()) {
            const HandlePart part = h->partAt(m_camera, pixelAt(at));
            if (part != m_hoverPart) {
                m_hoverPart = part;
                update();
            }
        }
        if (m_picker) {
            const auto hit = m_picker->pick(rayAt(at), m_shown);
            emit hovered(hit ? std::optional<ItemRef>(hit->item) : std::nullopt);
        }
        return;
    case Drag::BodyOrClick:
        if ((at - m_pressAt).manhattanLength() <= DragPixels)
            return;
        m_drag = Drag::Body;
        [[fallthrough]];
    case Drag::Body:
    case Drag::Handle:
        if (m_handleCentre)
            dragTo(at, snap);
        m_last = at;
        return;
    default:
        break;
    }
    m_last = at;
    switch (m_drag) {
    case Drag::Orbit:
        m_camera.orbit(static_cast<float>(delta.x()) * TurnPerPixel, static_cast<float>(-delta.y()) * TurnPerPixel);
        break;
    case Drag::Pan:
        m_camera.pan(static_cast<float>(delta.x()), static_cast<float>(delta.y()));
        break;
    case Drag::Look:
        m_camera.look(static_cast<float>(delta.x()) * TurnPerPixel, static_cast<float>(-delta.y()) * TurnPerPixel);
        break;
    case Drag::Band:
        m_band = QRectF(m_pressAt, at).normalized();
        break;
    default:
        return;
    }
    update();
}

void View3D::mouseReleaseEvent(QMouseEvent* event)
{
    const Drag drag = m_drag;
    if (drag == Drag::Handle || drag == Drag::Body) {
        if (event->button() != Qt::LeftButton)
            return;
        m_drag = Drag::None;
        const HandlePart part = m_dragPart;
        m_dragPart = HandlePart::None;
        if (drag == Drag::Handle && part == HandlePart::Ring)
            emit turnDragged(m_turn, true);
        else
            emit moveDragged(m_offset, true);
        m_offset = {};
        m_turnRaw = m_turn = 0;
        update();
        return;
    }
    m_drag = Drag::None;
    if (event->button() == Qt::RightButton) {
        m_flyTimer.stop();
        m_keys.clear();
    }
    if (drag == Drag::Band && m_band && m_picker) {
        const QRectF band = *m_band;
        m_band.reset();
        update();
        emit boxed(m_picker->sceneRowsInside(m_camera,
                                             {static_cast<float>(band.left()), static_cast<float>(band.top())},
                                             {static_cast<float>(band.right()), static_cast<float>(band.bottom())}));
        return;
    }
    m_band.reset();
    const bool click = drag == Drag::Click || drag == Drag::BodyOrClick ||
                       (drag == Drag::Band && (event->position() - m_pressAt).manhattanLength() <= DragPixels);
    if (!click || (event->position() - m_pressAt).manhattanLength() > DragPixels)
        return;
    const auto hit = itemAt(event->position().toPoint());
    if (hit)
        emit picked(hit->item, event->modifiers() & Qt::ControlModifier);
    else
        emit pickedNothing();
}

void View3D::wheelEvent(QWheelEvent* event)
{
    const float steps = static_cast<float>(event->angleDelta().y()) / 120.0f;
    if (m_drag == Drag::Look) {
        // While flying the wheel sets the speed.
        m_flySpeed = std::clamp(m_flySpeed * std::pow(1.25f, steps), 0.5f, 2000.0f);
        return;
    }
    const Ray ray = rayAt(event->position());
    const auto hit = m_picker ? m_picker->pick(ray, m_shown) : std::nullopt;
    m_camera.zoomToward(hit ? hit->point : ray.at(m_camera.pivotDistance), steps);
    update();
}

void View3D::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && dragging()) {
        cancelDrag();
        return;
    }
    switch (event->key()) {
    case Qt::Key_F:
        emit frameSelectionRequested();
        return;
    case Qt::Key_Home:
        frameAll();
        return;
    case Qt::Key_W:
    case Qt::Key_A:
    case Qt::Key_S:
    case Qt::Key_D:
    case Qt::Key_Q:
    case Qt::Key_E:
        if (!event->isAutoRepeat())
            m_keys.insert(event->key());
        return;
    default:
        QOpenGLWidget::keyPressEvent(event);
    }
}

void View3D::keyReleaseEvent(QKeyEvent* event)
{
    if (!event->isAutoRepeat())
        m_keys.erase(event->key());
    QOpenGLWidget::keyReleaseEvent(event);
}

void View3D::focusOutEvent(QFocusEvent* event)
{
    m_keys.clear();
    QOpenGLWidget::focusOutEvent(event);
}

void View3D::flyStep()
{
    const float seconds = std::min(0.1f, static_cast<float>(m_flyClock.restart()) / 1000.0f);
    if (m_keys.empty() || m_drag != Drag::Look)
        return;
    Vec3 move;
    move.z += m_keys.count(Qt::Key_W) ? 1.f : 0.f;
    move.z -= m_keys.count(Qt::Key_S) ? 1.f : 0.f;
    move.x += m_keys.count(Qt::Key_D) ? 1.f : 0.f;
    move.x -= m_keys.count(Qt::Key_A) ? 1.f : 0.f;
    move.y += m_keys.count(Qt::Key_E) ? 1.f : 0.f;
    move.y -= m_keys.count(Qt::Key_Q) ? 1.f : 0.f;
    const bool fast = QGuiApplication::keyboardModifiers() & Qt::ShiftModifier;
    m_camera.fly(normalized(move) * (m_flySpeed * (fast ? 4.0f : 1.0f) * seconds));
    update();
}

} // namespace mw
