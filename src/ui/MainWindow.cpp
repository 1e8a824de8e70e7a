#include "ui/MainWindow.h"

namespace mw {

MainWindow::MainWindow()
{
    setWindowTitle(QStringLiteral("Mission Workshop"));
    resize(1280, 800);
}

} // namespace mw
