#pragma once
// The 3D view's tools in the order a press asks them, and the gesture the one that took it began:
// the view hands each mouse, wheel and key event here and draws.

#include <memory>
#include <vector>

#include "ui/view3d/tools/Tool.h"

class QKeyEvent;
class QPainter;

namespace mw {

class ToolChain {
public:
    // The chain: the camera's buttons first, then the handles and what is selected, then selecting.
    ToolChain();
    ~ToolChain();

    // A press begins the gesture of the first tool that takes it; a press while one runs (a second
    // button) cancels that one instead, as Escape does.
    void press(View3D& view, const Pointer& pointer);
    void move(View3D& view, const Pointer& pointer);
    void release(const Pointer& pointer);
    void wheel(View3D& view, const Pointer& pointer);
    // A key for the running gesture; true when it used it.
    bool key(QKeyEvent* event, bool pressed);
    // The running gesture ends without doing what it was for; false when none ran.
    bool cancel();
    void paint(QPainter& painter) const;
    bool running() const { return m_gesture != nullptr; }
    // The running gesture moves or turns the selection.
    bool placing() const { return m_gesture && m_gesture->places(); }

private:
    std::vector<std::unique_ptr<Tool>> m_tools;
    std::unique_ptr<Gesture> m_gesture; // the one running, begun by m_button
    Qt::MouseButton m_button = Qt::NoButton;
};

} // namespace mw
