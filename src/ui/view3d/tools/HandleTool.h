#pragma once
// The placing tool: a press on a handle drags the selection along an axis (arrows), in a plane
// (squares) or about the vertical (the ring); a press on a selected item's own body drags the
// selection over the horizontal plane once the mouse moves (without moving, it is a click). Ctrl
// snaps a move to the grid step and a turn to 15 degrees. The view shows what the drag would do
// and the panel writes it on release.

#include "ui/view3d/tools/Tool.h"

namespace mw {

class HandleTool final : public Tool {
public:
    std::unique_ptr<Gesture> press(View3D& view, const Pointer& pointer) override;
    // Lights the part of the handles under the pointer.
    void hover(View3D& view, const Pointer& pointer) override;
};

} // namespace mw
