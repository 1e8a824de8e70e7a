#include "ui/view3d/tools/HandleTool.h"

#include "render/view3d/Handles.h"
#include "ui/view3d/View3D.h"

namespace mw {

namespace {

constexpr float TurnSnap = 15; // degrees

PixelPoint pixelOf(QPointF p) { return {static_cast<float>(p.x()), static_cast<float>(p.y())}; }

// Ends a drag of the handles or of a body: the view forgets what it showed moved.
class PlacingDrag : public Gesture {
public:
    explicit PlacingDrag(View3D& view) : m_view(view) {}
    void cancel() override
    {
        m_view.showHandlesMoved({}, HandlePart::None);
        emit m_view.dragCancelled();
    }
    bool places() const override { return true; }

protected:
    void tellMove(bool finished)
    {
        m_view.showHandlesMoved(finished ? Vec3{} : m_offset, finished ? HandlePart::None : m_part);
        emit m_view.moveDragged(m_offset, finished);
    }

    View3D& m_view;
    HandlePart m_part = HandlePart::None;
    Vec3 m_offset; // the move so far
};

// A drag of one part of the handles.
class HandleDrag final : public PlacingDrag {
public:
    HandleDrag(View3D& view, HandlePart part, QPointF at, Vec3 centre) : PlacingDrag(view), m_from(pixelOf(at)), m_last(m_from), m_centre(centre)
    {
        m_part = part;
        m_view.showHandlesMoved({}, part);
    }
    void move(const Pointer& p) override
    {
        const Camera& camera = m_view.camera();
        const PixelPoint to = pixelOf(p.at);
        const float step = m_view.gridStep();
        if (m_part == HandlePart::Ring) {
            if (const auto turn = ringDrag(camera, m_centre, m_last, to))
                m_turnRaw += *turn;
            m_turn = p.control() ? snapped(static_cast<float>(m_turnRaw), TurnSnap) : m_turnRaw;
            m_view.showHandlesMoved({}, m_part);
            emit m_view.turnDragged(m_turn, false);
        } else if (isAxis(m_part)) {
            const Vec3 axis = axisOf(m_part);
            if (const auto d = axisDrag(camera, m_centre, axis, m_from, to))
                m_offset = axis * (p.control() ? snapped(*d, step) : *d);
            tellMove(false);
        } else if (const auto moved = planeDrag(camera, m_centre, axisOf(m_part), m_from, to)) {
            m_offset = p.control() ? snapped(*moved, step) : *moved;
            tellMove(false);
        }
        m_last = to;
        m_view.update();
    }
    void release(const Pointer&) override
    {
        if (m_part == HandlePart::Ring) {
            m_view.showHandlesMoved({}, HandlePart::None);
            emit m_view.turnDragged(m_turn, true);
        } else {
            tellMove(true);
        }
    }

private:
    PixelPoint m_from, m_last;
    Vec3 m_centre;
    double m_turnRaw = 0, m_turn = 0; // the turn so far, before and after snapping
};

// A press on a selected item: a drag over the horizontal plane through the point taken hold of,
// once the mouse has moved; a click when it has not.
class BodyDrag final : public PlacingDrag {
public:
    BodyDrag(View3D& view, QPointF at, Vec3 grabbed) : PlacingDrag(view), m_pressAt(at), m_grabbed(grabbed) {}
    void move(const Pointer& p) override
    {
        if (!m_moving && (p.at - m_pressAt).manhattanLength() <= View3D::ClickPixels)
            return;
        m_moving = true;
        if (const auto moved = planeDrag(m_view.camera(), m_grabbed, {0, 1, 0}, pixelOf(m_pressAt), pixelOf(p.at)))
            m_offset = p.control() ? snapped(*moved, m_view.gridStep()) : *moved;
        m_offset.y = 0;
        tellMove(false);
        m_view.update();
    }
    void release(const Pointer& p) override
    {
        if (m_moving)
            tellMove(true);
        else
            m_view.clickAt(p.at, p.control());
    }
    bool places() const override { return m_moving; }

private:
    QPointF m_pressAt;
    Vec3 m_grabbed;
    bool m_moving = false;
};

} // namespace

std::unique_ptr<Gesture> HandleTool::press(View3D& view, const Pointer& p)
{
    if (p.button != Qt::LeftButton || p.shift() || p.alt())
        return nullptr;
    if (const auto h = view.handles()) {
        const HandlePart part = h->partAt(view.camera(), pixelOf(p.at));
        if (part != HandlePart::None)
            return std::make_unique<HandleDrag>(view, part, p.at, h->centre);
    }
    const auto hit = view.itemAt(p.at);
    if (hit && view.isDraggable(hit->item))
        return std::make_unique<BodyDrag>(view, p.at, hit->point);
    return nullptr;
}

void HandleTool::hover(View3D& view, const Pointer& p)
{
    const auto h = view.handles();
    view.lightHandlePart(h ? h->partAt(view.camera(), pixelOf(p.at)) : HandlePart::None);
}

} // namespace mw
