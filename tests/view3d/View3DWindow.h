#pragma once
// The real main window with its 3D view shown, on a display, for the view's window tests: missions
// written into a game folder of the test's own and opened as a user opens a folder; the view's own
// picture (what it paints over the scene included); pixels and rays of the view's camera; mouse
// gestures sent to the view.

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>
#include <ostream>

#include "foundation/bytes/ByteReader.h"
#include "foundation/files/FileAccess.h"
#include "render/common/ItemKinds.h"
#include "support/TempFolder.h"
#include "ui/WidgetNames.h"
#include "ui/Selection.h"
#include "ui/WindowDriver.h"
#include "ui/view3d/View3D.h"
#include "ui/view3d/View3DPanel.h"

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace mw::build {

struct Colour {
    int r = 0, g = 0, b = 0;
};
inline int distance(Colour a, Colour b) { return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b); }
inline Colour colourAt(const QImage& image, QPointF p)
{
    const QColor c = image.pixelColor(static_cast<int>(p.x()), static_cast<int>(p.y()));
    return {c.red(), c.green(), c.blue()};
}
// The lit colour of a face: the kind's colour darkened by at most a half.
inline bool isShadeOf(Colour seen, Rgb kind)
{
    const float k = static_cast<float>(std::max({seen.r, seen.g, seen.b})) / std::max({kind.r, kind.g, kind.b});
    return k >= 0.45f && k <= 1.02f && std::abs(seen.r - k * kind.r) <= 6 && std::abs(seen.g - k * kind.g) <= 6 &&
           std::abs(seen.b - k * kind.b) <= 6;
}
// The view's background, or a grid line over it.
inline bool isBackground(Colour c) { return distance(c, {204, 214, 224}) < 60; }

class View3DWindow : public ::testing::Test {
protected:
    // Writes the files into missions/`name` of the game folder and opens the folder; the 3D view
    // shows it, the window large enough for its pictures.
    void open(const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& files, const std::string& name = "m")
    {
        folder = dir.path() / "game" / "missions" / name;
        for (const auto& [file, bytes] : files)
            WindowDriver::write(folder / file, bytes);
        if (!view) {
            ui.window->resize(1400, 900);
            ui.window->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(ui.window.get()));
            ui.window->activateWindow(); // shortcuts work in the active window only
            ASSERT_TRUE(QTest::qWaitForWindowActive(ui.window.get()));
            ui.action(ids::Show3D)->trigger();
            view = ui.find<View3D>(ids::View3D);
            ASSERT_NE(view, nullptr);
        }
        ui.window->openPaths({QString::fromStdString(folder.string())});
        // Nothing selected, so that no handle or outline stands over what is looked at.
        ui.window->selection().setScene({});
        QTest::qWait(100); // the view made its context and drew
        ASSERT_NE(view->scene(), nullptr);
    }
    QPoint pixelOf(Vec3 p) const
    {
        const auto at = view->camera().pixelOf(p);
        EXPECT_TRUE(at);
        return at ? QPoint(static_cast<int>(std::lround(at->x)), static_cast<int>(std::lround(at->y))) : QPoint();
    }
    Vec3 centreOf(ItemRef item) const
    {
        const Instance3D* i = view->scene()->instance(item);
        EXPECT_NE(i, nullptr);
        return i ? i->column(3) : Vec3{};
    }
    // The camera straight down on `centre` from `height` metres above it, north up.
    void lookDown(Vec3 centre, float height)
    {
        Camera& c = view->camera();
        c.yaw = 0;
        c.pitch = -std::numbers::pi_v<float> / 2;
        c.pivotDistance = height;
        c.position = centre + Vec3{0, height, 0};
        view->update();
    }
    // The view's own picture, at the widget's pixels.
    QImage picture() const { return view->grabFramebuffer().scaled(view->size()); }
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held, Qt::KeyboardModifiers mods = {})
    {
        QMouseEvent e(type, QPointF(at), view->mapToGlobal(QPointF(at)), button, held, mods);
        QApplication::sendEvent(view, &e);
    }
    void click(QPoint at, Qt::KeyboardModifiers mods = {}) { QTest::mouseClick(view, Qt::LeftButton, mods, at); }
    // Takes hold at `from` and moves to `to` in steps, the left button held.
    void dragTo(QPoint from, QPoint to, Qt::KeyboardModifiers mods = {})
    {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton, mods);
        for (int k = 1; k <= 5; ++k)
            mouse(QEvent::MouseMove, from + (to - from) * k / 5, Qt::NoButton, Qt::LeftButton, mods);
    }
    void release(QPoint at, Qt::KeyboardModifiers mods = {}) { mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton, mods); }
    // Three floats of a file of the mission.
    Vec3 floatsIn(const char* file, std::size_t at) const
    {
        const auto bytes = readWholeFile(folder / file);
        const ByteReader r(bytes);
        return {r.f32(at), r.f32(at + 4), r.f32(at + 8)};
    }
    QString status() const { return ui.find<QLabel>(ids::Status)->text(); }

    TempFolder dir;
    std::filesystem::path folder;
    WindowDriver ui;
    View3D* view = nullptr;
};

} // namespace mw::build
