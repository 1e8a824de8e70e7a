#include "ui/view3d/tools/ToolChain.h"

#include "ui/view3d/tools/CameraTool.h"
#include "ui/view3d/tools/HandleTool.h"
#include "ui/view3d/tools/SelectTool.h"

namespace mw {

ToolChain::ToolChain()
{
    m_tools.push_back(std::make_unique<CameraTool>());
    m_tools.push_back(std::make_unique<HandleTool>());
    m_tools.push_back(std::make_unique<SelectTool>());
}

ToolChain::~ToolChain() = default;

void ToolChain::press(View3D& view, const Pointer& pointer)
{
    if (cancel())
        return;
    for (const auto& tool : m_tools)
        if (auto gesture = tool->press(view, pointer)) {
            m_gesture = std::move(gesture);
            m_button = pointer.button;
            return;
        }
}

void ToolChain::move(View3D& view, const Pointer& pointer)
{
    if (m_gesture) {
        m_gesture->move(pointer);
        return;
    }
    for (const auto& tool : m_tools)
        tool->hover(view, pointer);
}

void ToolChain::release(const Pointer& pointer)
{
    if (!m_gesture || pointer.button != m_button)
        return;
    const auto gesture = std::move(m_gesture);
    m_button = Qt::NoButton;
    gesture->release(pointer);
}

void ToolChain::wheel(View3D& view, const Pointer& pointer)
{
    if (m_gesture && m_gesture->wheel(pointer))
        return;
    for (const auto& tool : m_tools)
        if (tool->wheel(view, pointer))
            return;
}

bool ToolChain::key(QKeyEvent* event, bool pressed) { return m_gesture && m_gesture->key(event, pressed); }

bool ToolChain::cancel()
{
    if (!m_gesture)
        return false;
    const auto gesture = std::move(m_gesture);
    m_button = Qt::NoButton;
    gesture->cancel();
    return true;
}

void ToolChain::paint(QPainter& painter) const
{
    if (m_gesture)
        m_gesture->paint(painter);
}

} // namespace mw
