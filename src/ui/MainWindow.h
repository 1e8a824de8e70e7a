#pragma once

#include <QMainWindow>

namespace mw {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow();
};

} // namespace mw

using mw::MainWindow;
