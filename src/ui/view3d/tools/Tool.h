#pragma once
// The 3D view's input as tools. A press asks each tool of the view's chain in turn; the first that
// takes it answers with a gesture, which owns everything the drag needs (where it began, what it
// holds, how far it went) and gets the moves, keys and wheel until the button that began it is let
// go or it is cancelled. While no gesture runs, the tools hear where the pointer rests.
//
// A new tool is a new file with a class deriving from Tool, and one line in the chain
// (View3D::View3D).

#include <QPointF>
#include <memory>

class QKeyEvent;
class QPainter;

namespace mw {

class View3D;

// What a mouse event says.
struct Pointer {
    QPointF at;                                // in the widget's pixels
    Qt::MouseButton button = Qt::NoButton;     // the button pressed or let go
    Qt::KeyboardModifiers modifiers;
    float wheelSteps = 0;                      // a wheel's turn, in notches

    bool control() const { return modifiers & Qt::ControlModifier; }
    bool shift() const { return modifiers & Qt::ShiftModifier; }
    bool alt() const { return modifiers & Qt::AltModifier; }
};

class Gesture {
public:
    virtual ~Gesture() = default;
    virtual void move(const Pointer&) {}
    // The button that began it was let go: it ends, doing what it was for.
    virtual void release(const Pointer& pointer) = 0;
    // It ends without doing it: everything back as it was before it began.
    virtual void cancel() {}
    // A key while it runs; true when it used it.
    virtual bool key(QKeyEvent*, bool /*pressed*/) { return false; }
    // The wheel while it runs; true when it used it.
    virtual bool wheel(const Pointer&) { return false; }
    // What it draws over the picture (a rubber band).
    virtual void paint(QPainter&) const {}
    // It moves or turns what is selected (Escape cancels it).
    virtual bool places() const { return false; }
};

class Tool {
public:
    virtual ~Tool() = default;
    // The gesture a press begins, or nothing to let the next tool have it.
    virtual std::unique_ptr<Gesture> press(View3D& view, const Pointer& pointer) = 0;
    // The pointer rests at `pointer.at` with no button held.
    virtual void hover(View3D&, const Pointer&) {}
    // The wheel with no gesture running; true when it used it.
    virtual bool wheel(View3D&, const Pointer&) { return false; }
};

} // namespace mw
