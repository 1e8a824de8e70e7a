#pragma once
// The 3D view (objectName View3D): an OpenGL widget that draws the mission's instance data with the
// render layer and turns the mouse and keys into the camera's moves and into picks. Orbit: Alt + left
// drag or middle drag; pan: Shift + middle drag; zoom towards the point under the cursor: the wheel.
// Fly while the right button is held: W A S D, Q and E down and up, Shift faster, the wheel the
// speed. F frames the selection, Home everything. A click picks the nearest item under the cursor
// (Ctrl + click toggles it), Shift + drag a rectangle of scene objects.

#include <QElapsedTimer>
#include <QOpenGLWidget>
#include <QPoint>
#include <QTimer>
#include <memory>
#include <optional>
#include <set>

#include "render/view3d/GlRenderer.h"
#include "render/view3d/Picking.h"

namespace mw {

class View3D final : public QOpenGLWidget {
    Q_OBJECT
public:
    explicit View3D(QWidget* parent = nullptr);
    ~View3D() override;

    // What is drawn (kept alive by the view while it shows it).
    void setScene(std::shared_ptr<const Scene3D> scene);
    const Scene3D* scene() const { return m_scene.get(); }
    void setHighlight(Highlight3D highlight);
    void setLayers(const LayerSwitches& shown);
    Camera& camera() { return m_camera; }
    // The box around these items in view; nothing happens when none is drawn.
    void frameItems(const std::vector<ItemRef>& items);
    void frameAll();
    // The item under a pixel of the widget.
    std::optional<PickHit> itemAt(QPoint pixel) const;
    // The draw calls of the last frame.
    int drawCalls() const { return m_renderer.drawCalls(); }
    float flySpeed() const { return m_flySpeed; }

signals:
    // OpenGL could not be used: the reason, in one line.
    void unavailable(QString reason);
    // A click picked an item; `toggle` with Ctrl.
    void picked(ItemRef item, bool toggle);
    // A click that met nothing.
    void pickedNothing();
    // A rectangle drawn with Shift: the scene objects inside it.
    void boxed(std::vector<std::uint32_t> sceneRows);
    // The item under the cursor, or nothing.
    void hovered(std::optional<ItemRef> item);
    void frameSelectionRequested();

protected:
    void initializeGL() override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    enum class Drag { None, Orbit, Pan, Look, Band, Click };
    Ray rayAt(QPointF pixel) const;
    void flyStep();
    void upload();

    Camera m_camera;
    GlRenderer m_renderer;
    std::shared_ptr<const Scene3D> m_scene;
    std::unique_ptr<Picker> m_picker;
    Highlight3D m_highlight;
    LayerSwitches m_shown{true, true, true, true, true};
    bool m_ready = false;
    bool m_sceneChanged = false, m_highlightChanged = false;

    Drag m_drag = Drag::None;
    QPointF m_pressAt, m_last;
    std::optional<QRectF> m_band;
    std::set<int> m_keys;     // held fly keys
    QTimer m_flyTimer;
    QElapsedTimer m_flyClock;
    float m_flySpeed = 20;    // metres per second
};

} // namespace mw
