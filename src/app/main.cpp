#include <QApplication>
#include <QStringList>

#include "ui/MainWindow.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    mw::MainWindow window;
    window.show();
    // Files or mission folders named on the command line open as their load commands would.
    window.openPaths(QApplication::arguments().mid(1));
    return app.exec();
}
