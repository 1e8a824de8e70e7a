#pragma once
// The selecting tool: a click picks the item under the cursor (Ctrl + click toggles it), Shift +
// drag draws a rectangle that selects the scene objects whose centres lie inside it; resting over
// an item names it.

#include "ui/view3d/tools/Tool.h"

namespace mw {

class SelectTool final : public Tool {
public:
    std::unique_ptr<Gesture> press(View3D& view, const Pointer& pointer) override;
    void hover(View3D& view, const Pointer& pointer) override;
};

} // namespace mw
