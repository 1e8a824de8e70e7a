#pragma once
// The selecting tool: a click picks the item under the cursor (Ctrl + click toggles it; a second
// click at the same spot the next item there), Shift + drag draws a rectangle that adds the items
// whose centres lie inside it; resting over an item outlines and names it.

#include "ui/view3d/tools/Tool.h"

namespace mw {

class SelectTool final : public Tool {
public:
    std::unique_ptr<Gesture> press(View3D& view, const Pointer& pointer) override;
    void hover(View3D& view, const Pointer& pointer) override;
};

} // namespace mw
