#pragma once
// The row above the 3D view: the layer switches and locks it shares with the map, the grid step a
// move snaps to with Ctrl, and "Frame all".

#include <QWidget>

class QPushButton;

namespace mw {

class ViewLayers;

class View3DBar final : public QWidget {
    Q_OBJECT
public:
    View3DBar(ViewLayers& layers, QWidget* parent = nullptr);
    // Where there is no view: "Frame all" has nothing to frame.
    void setViewless();

signals:
    void gridStepChosen(float metres);
    void frameAllClicked();

private:
    QPushButton* m_frameAll = nullptr;
};

} // namespace mw
