#include "ui/view3d/tools/CameraTool.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <set>

#include "ui/view3d/View3D.h"

namespace mw {

namespace {

constexpr float TurnPerPixel = 0.006f; // radians

// Orbit about the pivot, or pan across the view, as the mouse moves.
class OrbitOrPan final : public Gesture {
public:
    OrbitOrPan(View3D& view, QPointF at, bool pan) : m_view(view), m_last(at), m_pan(pan) {}
    void move(const Pointer& p) override
    {
        const QPointF delta = p.at - m_last;
        m_last = p.at;
        if (m_pan)
            m_view.camera().pan(static_cast<float>(delta.x()), static_cast<float>(delta.y()));
        else
            m_view.camera().orbit(static_cast<float>(delta.x()) * TurnPerPixel, static_cast<float>(-delta.y()) * TurnPerPixel);
        m_view.update();
    }
    void release(const Pointer&) override {}

private:
    View3D& m_view;
    QPointF m_last;
    bool m_pan;
};

// Flying: the mouse turns the camera on the spot, the keys move it, the wheel sets the speed.
class Fly final : public Gesture {
public:
    Fly(View3D& view, QPointF at) : m_view(view), m_pressAt(at), m_last(at)
    {
        m_timer.setInterval(16);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { step(); });
        m_clock.start();
        m_timer.start();
    }
    void move(const Pointer& p) override
    {
        const QPointF delta = p.at - m_last;
        m_last = p.at;
        m_moved = m_moved || (p.at - m_pressAt).manhattanLength() > View3D::ClickPixels;
        m_view.camera().look(static_cast<float>(delta.x()) * TurnPerPixel, static_cast<float>(-delta.y()) * TurnPerPixel);
        m_view.update();
    }
    void release(const Pointer& p) override
    {
        m_timer.stop();
        // A right click that neither looked nor flew: the menu of the selection.
        if (!m_moved && !m_flew)
            emit m_view.contextMenuAt(m_view.mapToGlobal(p.at.toPoint()));
    }
    void cancel() override { m_timer.stop(); }
    bool key(QKeyEvent* event, bool pressed) override
    {
        static const std::set<int> flyKeys{Qt::Key_W, Qt::Key_A, Qt::Key_S, Qt::Key_D, Qt::Key_Q, Qt::Key_E};
        if (!flyKeys.count(event->key()))
            return false;
        m_flew = true;
        if (!event->isAutoRepeat()) {
            if (pressed)
                m_keys.insert(event->key());
            else
                m_keys.erase(event->key());
        }
        return true;
    }
    bool wheel(const Pointer& p) override
    {
        m_view.setFlySpeed(std::clamp(m_view.flySpeed() * std::pow(1.25f, p.wheelSteps), 0.5f, 2000.0f));
        return true;
    }

private:
    void step()
    {
        const float seconds = std::min(0.1f, static_cast<float>(m_clock.restart()) / 1000.0f);
        if (m_keys.empty())
            return;
        const auto held = [&](int key) { return m_keys.count(key) ? 1.f : 0.f; };
        const Vec3 move{held(Qt::Key_D) - held(Qt::Key_A), held(Qt::Key_E) - held(Qt::Key_Q), held(Qt::Key_W) - held(Qt::Key_S)};
        const bool fast = QGuiApplication::keyboardModifiers() & Qt::ShiftModifier;
        m_view.camera().fly(normalized(move) * (m_view.flySpeed() * (fast ? 4.0f : 1.0f) * seconds));
        m_view.update();
    }

    View3D& m_view;
    QPointF m_pressAt, m_last;
    bool m_moved = false, m_flew = false;
    std::set<int> m_keys; // the fly keys held
    QTimer m_timer;
    QElapsedTimer m_clock;
};

} // namespace

std::unique_ptr<Gesture> CameraTool::press(View3D& view, const Pointer& p)
{
    if (p.button == Qt::RightButton)
        return std::make_unique<Fly>(view, p.at);
    if (p.button == Qt::MiddleButton)
        return std::make_unique<OrbitOrPan>(view, p.at, p.shift());
    if (p.button == Qt::LeftButton && p.alt())
        return std::make_unique<OrbitOrPan>(view, p.at, false);
    return nullptr;
}

bool CameraTool::wheel(View3D& view, const Pointer& p)
{
    // Towards the nearest surface under the cursor, else where the ray meets the ground, else the
    // point the camera turns about.
    Camera& camera = view.camera();
    const Ray ray = camera.rayThrough({static_cast<float>(p.at.x()), static_cast<float>(p.at.y())});
    Vec3 target = camera.pivot();
    if (const auto hit = view.itemAt(p.at)) {
        target = hit->point;
    } else if (ray.direction.y != 0) {
        const float t = -ray.origin.y / ray.direction.y;
        if (t > 0 && t < camera.farPlane)
            target = ray.at(t);
    }
    camera.zoomToward(target, p.wheelSteps);
    view.update();
    return true;
}

} // namespace mw
