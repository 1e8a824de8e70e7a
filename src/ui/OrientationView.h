#pragma once
// One orientation view: three lines about a centre anchor that turn with a rotation slider.

#include <QWidget>

namespace mw {

class OrientationView final : public QWidget {
    Q_OBJECT
public:
    enum class Figure { First, Second }; // turned by Slider1 / by Slider2

    OrientationView(Figure figure, QWidget* parent = nullptr);
    void setAngle(int angle);
    int angle() const { return m_angle; }
    QSize sizeHint() const override { return {110, 110}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Figure m_figure;
    int m_angle = 0;
};

} // namespace mw
