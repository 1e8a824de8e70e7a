#pragma once
// The camera's tool: orbit about the pivot (middle drag, or Alt + left drag), pan (Shift + middle
// drag), fly while the right button is held (the mouse looks, W A S D Q E move, Shift faster, the
// wheel sets the speed), and the wheel's zoom towards the point under the cursor.

#include "ui/view3d/tools/Tool.h"

namespace mw {

class CameraTool final : public Tool {
public:
    std::unique_ptr<Gesture> press(View3D& view, const Pointer& pointer) override;
    bool wheel(View3D& view, const Pointer& pointer) override;
};

} // namespace mw
