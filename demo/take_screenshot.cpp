// Takes a picture of the editor for the README and the package's metadata: the main window on the
// files or folder named, with the docks asked for shown, after the events have settled.
// Usage: take-screenshot OUT.png WIDTHxHEIGHT [--map] [--3d] [--selection] [--select ROW]... [--hide-others] [--frame]
//        [--orbit DEGREES] [--top] [--only-3d] [--drag x|y|z|ring PIXELS] PATH...
// --selection shows the "Selection" dock; --hide-others hides everything but the selection, as Shift+H does;
// --script LINE types LINE into the script console and runs it (the console shown).
// --frame frames the selected objects in the 3D view, as F does; --top looks straight down on everything; --only-3d takes the 3D view's picture alone;
// --drag holds a drag of a handle, PIXELS to the right of where it took hold, while the picture is taken.
#include <QApplication>
#include <QDockWidget>
#include <QLineEdit>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ui/MainWindow.h"
#include "ui/Selection.h"
#include "ui/view3d/View3D.h"
#include "ui/view3d/View3DPanel.h"
#include "ui/WidgetNames.h"

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: take-screenshot OUT.png WIDTHxHEIGHT [--map] [--3d] [--selection] [--select ROW]... "
                             "[--hide-others] [--script LINE]... [--frame] [--orbit DEGREES] [--top] [--only-3d] [--drag x|y|z|ring PIXELS] PATH...\n");
        return 2;
    }
    QApplication app(argc, argv);
    const QString out = QString::fromLocal8Bit(argv[1]);
    int width = 1280, height = 800;
    std::sscanf(argv[2], "%dx%d", &width, &height);
    bool map = false, view3d = false, frame = false, only3d = false, top = false, selectionDock = false, hideOthers = false;
    QStringList scriptLines;
    std::vector<std::uint32_t> select;
    float orbit = 0;
    std::string dragPart;
    int dragPixels = 0;
    QStringList paths;
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--map") == 0)
            map = true;
        else if (std::strcmp(argv[i], "--3d") == 0)
            view3d = true;
        else if (std::strcmp(argv[i], "--select") == 0 && i + 1 < argc)
            select.push_back(static_cast<std::uint32_t>(std::atoi(argv[++i])));
        else if (std::strcmp(argv[i], "--only-3d") == 0)
            view3d = only3d = true;
        else if (std::strcmp(argv[i], "--drag") == 0 && i + 2 < argc) {
            dragPart = argv[++i];
            dragPixels = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--frame") == 0)
            frame = true;
        else if (std::strcmp(argv[i], "--orbit") == 0 && i + 1 < argc)
            orbit = static_cast<float>(std::atof(argv[++i]));
        else if (std::strcmp(argv[i], "--top") == 0)
            top = true;
        else if (std::strcmp(argv[i], "--selection") == 0)
            selectionDock = true;
        else if (std::strcmp(argv[i], "--hide-others") == 0)
            hideOthers = true;
        else if (std::strcmp(argv[i], "--script") == 0 && i + 1 < argc)
            scriptLines << QString::fromLocal8Bit(argv[++i]);
        else
            paths << QString::fromLocal8Bit(argv[i]);
    }
    mw::MainWindow window;
    window.resize(width, height);
    window.show();
    window.openPaths(paths);
    if (map)
        window.findChild<QDockWidget*>(QString::fromLatin1(mw::ids::MapDock))->show();
    if (view3d)
        window.view3d().dock()->show();
    if (selectionDock)
        window.action(mw::ids::ShowSelectionDock)->trigger();
    if (!select.empty())
        window.selection().selectSceneRows(select, false);
    if (hideOthers)
        window.action(mw::ids::HideOthers)->trigger();
    if (!scriptLines.isEmpty()) {
        window.action(mw::ids::ShowScriptConsole)->trigger();
        auto* input = window.findChild<QLineEdit*>(QStringLiteral("ScriptInput"));
        for (const QString& line : scriptLines) {
            input->setText(line);
            QMetaObject::invokeMethod(input, "returnPressed");
        }
    }
    for (int k = 0; k < 10; ++k) {
        QApplication::processEvents();
        QThread::msleep(50);
    }
    if (top && window.view3d().view()) {
        // Straight down (as near as the camera goes), north up: as the map looks at the mission.
        window.view3d().view()->camera().yaw = 0;
        window.view3d().view()->camera().pitch = -1.55f;
        if (!frame)
            window.view3d().view()->frameAll();
    }
    if (frame)
        window.view3d().frameSelection();
    for (int k = 0; k < 20; ++k) {
        QApplication::processEvents();
        QThread::msleep(50);
    }
    if (orbit != 0 && window.view3d().view()) {
        window.view3d().view()->camera().orbit(orbit * 3.1415927f / 180, 0);
        window.view3d().view()->update();
    }
    for (int k = 0; k < 20; ++k) {
        QApplication::processEvents();
        QThread::msleep(50);
    }
    if (!dragPart.empty() && window.view3d().view()) {
        // Where the part is drawn: along its axis from the centre, or on the ring's near side.
        mw::View3D& view = *window.view3d().view();
        if (const auto h = view.handles()) {
            const mw::Vec3 along = dragPart == "x" ? mw::Vec3{1, 0, 0} : dragPart == "y" ? mw::Vec3{0, 1, 0} : mw::Vec3{0, 0, 1};
            const mw::Vec3 ahead = mw::normalized(mw::Vec3{view.camera().forward().x, 0, view.camera().forward().z});
            const mw::Vec3 at = dragPart == "ring" ? h->centre - ahead * (mw::Handles::RingRadius * h->size)
                                                   : h->centre + along * (0.7f * h->size);
            const auto p = view.camera().pixelOf(at);
            if (p) {
                const QPointF from(p->x, p->y), to(p->x + dragPixels, p->y);
                QMouseEvent press(QEvent::MouseButtonPress, from, view.mapToGlobal(from), Qt::LeftButton, Qt::LeftButton, {});
                QApplication::sendEvent(&view, &press);
                for (int k = 1; k <= 10; ++k) {
                    const QPointF step = from + (to - from) * (k / 10.0);
                    QMouseEvent move(QEvent::MouseMove, step, view.mapToGlobal(step), Qt::NoButton, Qt::LeftButton, {});
                    QApplication::sendEvent(&view, &move);
                }
            }
        }
        for (int k = 0; k < 10; ++k) {
            QApplication::processEvents();
            QThread::msleep(50);
        }
    }
    // The 3D view's own picture, with what it paints over the scene (a dock's grab leaves that out).
    const QImage picture = only3d && window.view3d().view() ? window.view3d().view()->grabFramebuffer() : window.grab().toImage();
    if (!picture.save(out, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
