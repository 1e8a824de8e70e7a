#include "ui/view3d/tools/SelectTool.h"

#include <QPainter>
#include <optional>

#include "ui/view3d/View3D.h"

namespace mw {

namespace {

// A press that is a click when the mouse is let go where it was pressed.
class Click final : public Gesture {
public:
    Click(View3D& view, QPointF at) : m_view(view), m_pressAt(at) {}
    void release(const Pointer& p) override
    {
        if ((p.at - m_pressAt).manhattanLength() <= View3D::ClickPixels)
            m_view.clickAt(p.at, p.control());
    }

private:
    View3D& m_view;
    QPointF m_pressAt;
};

// A rubber band: the scene objects whose centres it holds.
class Band final : public Gesture {
public:
    Band(View3D& view, QPointF at) : m_view(view), m_pressAt(at) {}
    void move(const Pointer& p) override
    {
        m_band = QRectF(m_pressAt, p.at).normalized();
        m_view.update();
    }
    void release(const Pointer& p) override
    {
        if (!m_band) {
            if ((p.at - m_pressAt).manhattanLength() <= View3D::ClickPixels)
                m_view.clickAt(p.at, p.control());
            return;
        }
        m_view.update();
        emit m_view.boxed(m_view.itemsInside(*m_band));
    }
    void cancel() override { m_view.update(); }
    void paint(QPainter& painter) const override
    {
        if (!m_band)
            return;
        painter.setPen(QPen(QColor(0, 90, 255), 1, Qt::DashLine));
        painter.setBrush(QColor(0, 90, 255, 40));
        painter.drawRect(*m_band);
    }

private:
    View3D& m_view;
    QPointF m_pressAt;
    std::optional<QRectF> m_band;
};

} // namespace

std::unique_ptr<Gesture> SelectTool::press(View3D& view, const Pointer& p)
{
    if (p.button != Qt::LeftButton)
        return nullptr;
    if (p.shift())
        return std::make_unique<Band>(view, p.at);
    return std::make_unique<Click>(view, p.at);
}

void SelectTool::hover(View3D& view, const Pointer& p)
{
    const auto hit = view.itemAt(p.at);
    const auto item = hit ? std::optional<ItemRef>(hit->item) : std::nullopt;
    if (item == view.hoveredItem())
        return;
    view.showHover(item);
    emit view.hovered(item);
}

} // namespace mw
