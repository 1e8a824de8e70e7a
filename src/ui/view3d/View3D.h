#pragma once
// The 3D view (objectName View3D): an OpenGL widget that draws the mission's instance data with the
// render layer, and hands the mouse and keys to its chain of tools (see tools/Tool.h): the camera
// (orbit, pan, fly, zoom), placing (the handles, a selected item's body) and selecting (click,
// rubber band). F frames the selection, Home everything; Escape cancels a drag, or, when none runs,
// selects nothing.

#include <QOpenGLWidget>
#include <QPoint>
#include <memory>
#include <optional>
#include <vector>

#include "render/view3d/GlRenderer.h"
#include "render/view3d/Handles.h"
#include "render/view3d/Picking.h"
#include "ui/view3d/tools/ToolChain.h"

namespace mw {

class View3D final : public QOpenGLWidget {
    Q_OBJECT
public:
    // A press that moves less than this many pixels (Manhattan) before it is let go is a click.
    static constexpr int ClickPixels = 3;

    explicit View3D(QWidget* parent = nullptr);
    ~View3D() override;
    // Docked beside the map, the view asks for room to work in, not its minimum.
    QSize sizeHint() const override { return {480, 360}; }

    // What is drawn (kept alive by the view while it shows it).
    void setScene(std::shared_ptr<const Scene3D> scene);
    // Instances of the scene set were changed in place.
    void sceneUpdated();
    // What is drawn otherwise than the scene holds it (a drag's preview); picking stays on the scene.
    void setOverrides(DrawOverrides overrides)
    {
        m_overrides = std::move(overrides);
        m_overridesChanged = true;
        update();
    }
    const DrawOverrides& overrides() const { return m_overrides; }
    const Scene3D* scene() const { return m_scene.get(); }
    void setHighlight(Highlight3D highlight)
    {
        m_highlight = std::move(highlight);
        m_highlightChanged = true;
        update();
    }
    void setLayers(const LayerSwitches& shown)
    {
        m_shown = shown;
        update();
    }
    // What a click, a drag or a band can reach (the layers shown and not locked, items passed over).
    void setPickFilter(PickFilter filter) { m_filter = std::move(filter); }
    // The items hidden: Home and "Frame all" frame the others.
    void setHidden(std::function<bool(ItemRef)> hidden) { m_hidden = std::move(hidden); }
    Camera& camera() { return m_camera; }
    // The box around these items in view; nothing happens when none is drawn.
    void frameItems(const std::vector<ItemRef>& items);
    void frameAll();
    // The item a click at a pixel of the widget picks.
    std::optional<PickHit> itemAt(QPointF pixel) const;
    // The items whose centres lie inside a rectangle of the widget.
    std::vector<ItemRef> itemsInside(const QRectF& rectangle) const;
    // A click at a pixel: the item there picked (toggled with Ctrl), or nothing. A second click at
    // the same spot picks the next item under the cursor, nearest first, bodies after the rest.
    void clickAt(QPointF pixel, bool toggle);
    // The item under the cursor outlined, or none.
    void showHover(std::optional<ItemRef> item);
    std::optional<ItemRef> hoveredItem() const { return m_hover; }
    // The draw calls of the last frame.
    int drawCalls() const { return m_renderer.drawCalls(); }
    float flySpeed() const { return m_flySpeed; }
    void setFlySpeed(float metresPerSecond) { m_flySpeed = metresPerSecond; }

    // Where the handles stand (the centre of what they move), or nothing to hide them; the items a
    // drag of their own body moves.
    void setHandles(std::optional<Vec3> centre, std::vector<ItemRef> draggable);
    bool isDraggable(ItemRef item) const { return m_handles.isDraggable(item); }
    // What a move snaps to with Ctrl, in metres.
    void setGridStep(float metres) { m_gridStep = metres; }
    float gridStep() const { return m_gridStep; }
    // A drag of the handles or of a body is running.
    bool dragging() const { return m_tools.placing(); }
    // The handles as they stand now, when they are shown (moved with a drag in progress).
    std::optional<Handles> handles() const { return m_handles.at(m_camera); }
    // What the placing gestures show of themselves: the handles moved along, the part held lit.
    void showHandlesMoved(Vec3 offset, HandlePart held)
    {
        m_handles.moved = offset;
        m_handles.held = held;
        update();
    }
    // The part under the pointer, lit while nothing is held.
    void lightHandlePart(HandlePart part);

signals:
    // OpenGL could not be used: the reason, in one line.
    void unavailable(QString reason);
    // A click picked an item, the `nth` (from 1) of `among` under the cursor; `toggle` with Ctrl.
    void picked(ItemRef item, bool toggle, std::size_t nth, std::size_t among);
    // A click that met nothing, or Escape with nothing to cancel.
    void pickedNothing();
    // A rectangle drawn with Shift: the items inside it.
    void boxed(std::vector<ItemRef> items);
    // The item under the cursor, or nothing.
    void hovered(std::optional<ItemRef> item);
    void frameSelectionRequested();
    // Everything drawn was framed (Home, "Frame all", another mission): how many items were left
    // out for a place or size not finite or beyond the world.
    void framedAll(std::size_t leftOut);
    // A drag of the handles or of a selected body: the move or turn so far; `finished` on release.
    void moveDragged(Vec3 offset, bool finished);
    void turnDragged(double degrees, bool finished);
    // A drag was cancelled: nothing moves.
    void dragCancelled();
    // A right click (no drag): the menu of what is selected, at a point of the screen.
    void contextMenuAt(QPoint global);

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void upload();
    void cancelGesture();

    Camera m_camera;
    GlRenderer m_renderer;
    std::shared_ptr<const Scene3D> m_scene;
    std::unique_ptr<Picker> m_picker;
    PickFilter m_filter;
    std::function<bool(ItemRef)> m_hidden;
    std::optional<ItemRef> m_hover;
    PickCycle m_cycle; // a second click at the same spot takes the next item there
    Highlight3D m_highlight; // the selection, with the hover added when it is drawn
    LayerSwitches m_shown{true, true, true, true, true};
    bool m_ready = false;
    bool m_sceneChanged = false, m_highlightChanged = false, m_overridesChanged = false;
    DrawOverrides m_overrides;

    ToolChain m_tools;
    float m_flySpeed = 20; // metres per second
    float m_gridStep = 1;

    HandlesShown m_handles;
};

} // namespace mw
