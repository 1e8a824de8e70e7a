#include <QApplication>
#include <QDockWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

#include "formats/scene/SceneLoader.h"
#include "foundation/bytes/ByteReader.h"
#include "foundation/files/FileAccess.h"
#include "render/map/MissionMap.h"
#include "render/view3d/GlRenderer.h"
#include "support/MissionFileBuilders.h"
#include "support/OffscreenGl.h"
#include "support/SceneBuilder.h"
#include "render/view3d/Handles.h"
#include "ui/view3d/View3D.h"
#include "ui/view3d/View3DPanel.h"
#include "ui/WidgetNames.h"
#include "ui/WindowDriver.h"

using namespace mw;
using namespace mw::build;

namespace {

constexpr LayerSwitches AllShown{true, true, true, true, true};

// Three standing objects far apart and a light: rows 0 West (a building), 1 Crate, 2 East, 3 Lamp.
std::vector<std::uint8_t> spreadScene()
{
    SceneBuilder b;
    b.beginObjects();
    b.object({.name = "West", .type = 9, .translation = Floats3{-40, 0, 0}, .model = "build01.i3d"});
    b.object({.name = "Crate", .type = 9, .translation = Floats3{0, 0, 0}, .size = Floats3{2, 2, 2}, .model = "box.i3d"});
    b.object({.name = "East", .type = 9, .translation = Floats3{40, 0, 30}, .model = "build02.i3d"});
    b.object({.name = "Lamp", .type = 2, .translation = Floats3{0, 6, -30}});
    b.endObjects();
    return b.finish();
}

Vec3 centreOf(const Scene3D& scene, ItemRef item)
{
    const auto place = scene.find(item);
    return place ? scene.batch(place->batch).instances[place->index].column(3) : Vec3{};
}

struct Colour {
    int r, g, b;
};

Colour pixelAt(const QImage& image, PixelPoint p)
{
    const QColor c = image.pixelColor(static_cast<int>(p.x), static_cast<int>(p.y));
    return {c.red(), c.green(), c.blue()};
}

// The lit colour of a face: the kind's colour darkened by at most a half.
bool isShadeOf(Colour seen, Rgb kind)
{
    const float k = static_cast<float>(std::max({seen.r, seen.g, seen.b})) / std::max({kind.r, kind.g, kind.b});
    return k >= 0.45f && k <= 1.02f && std::abs(seen.r - k * kind.r) <= 6 && std::abs(seen.g - k * kind.g) <= 6 &&
           std::abs(seen.b - k * kind.b) <= 6;
}

int distance(Colour a, Colour b) { return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b); }

} // namespace

TEST(View3DDrawing, ObjectsInTheirKindsColourWhereTheyProjectAndTheSelectionHighlighted)
{
    const SceneLoadResult scene = loadScene(spreadScene());
    const auto shared = std::make_shared<const Scene3D>(buildScene3D({.scene = &scene.catalogue}));
    const Scene3D& s = *shared;
    OffscreenGl fb(400, 300);
    ASSERT_EQ(fb.failure(), "");
    fb.renderer.setScene(shared);
    Camera camera;
    camera.setViewport(400, 300);
    camera.frame(s.min, s.max);
    fb.draw(camera);
    const QImage plain = fb.picture();
    const int calls = fb.renderer.drawCalls();
    // What is seen through (the grid) blends into the colours; the picture itself stays opaque.
    int seeThrough = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            seeThrough += plain.pixelColor(x, y).alpha() != 255;
    EXPECT_EQ(seeThrough, 0);
    struct Case {
        std::uint32_t row;
        MarkerKind kind;
    };
    for (const Case c : {Case{0, MarkerKind::Building}, Case{1, MarkerKind::Model}, Case{2, MarkerKind::Building}}) {
        SCOPED_TRACE(c.row);
        const auto at = camera.pixelOf(centreOf(s, {ViewLayer::Scene, c.row}));
        ASSERT_TRUE(at);
        const Colour seen = pixelAt(plain, *at);
        EXPECT_TRUE(isShadeOf(seen, markerColour(c.kind))) << seen.r << " " << seen.g << " " << seen.b;
    }

    // Selected, the crate is drawn nearer the highlight colour.
    Highlight3D highlight;
    const auto crate = s.find({ViewLayer::Scene, 1});
    highlight.items[static_cast<std::size_t>(Mesh3D::Box)].push_back(s.batch(crate->batch).instances[crate->index]);
    fb.renderer.setHighlight(highlight);
    const auto at = *camera.pixelOf(centreOf(s, {ViewLayer::Scene, 1}));
    const Colour yellow{255, 217, 0};
    fb.draw(camera);
    EXPECT_LT(distance(pixelAt(fb.picture(), at), yellow), distance(pixelAt(plain, at), yellow) - 60);

    // Hidden, the scene objects leave the background; more objects, no more draw calls.
    fb.draw(camera, {false, true, true, true, true});
    EXPECT_FALSE(isShadeOf(pixelAt(fb.picture(), *camera.pixelOf(centreOf(s, {ViewLayer::Scene, 0}))),
                           markerColour(MarkerKind::Building)));
    auto many = std::make_shared<Scene3D>(s);
    Batch3D& boxes = many->batch(BatchKind::SceneBoxes);
    for (int k = 0; k < 1000; ++k) {
        boxes.instances.push_back(boxes.instances[0]);
        boxes.rows.push_back(boxes.rows[0]);
    }
    fb.renderer.setScene(many);
    fb.renderer.setHighlight({});
    fb.draw(camera);
    EXPECT_EQ(fb.renderer.drawCalls(), calls);
}

class View3DWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        scenePath = dir.path() / "missions" / "m" / "scene2.bin";
        WindowDriver::write(scenePath, spreadScene());
        // Ground under the crate, its top 1 m below it.
        TreeBuilder t;
        t.box(1, t.link("ground"), {-10, -3, -10}, {10, -1, 10});
        t.endMarker();
        WindowDriver::write(scenePath.parent_path() / "tree.klz", t.finish());
        ui.load("Load &scene2.bin", scenePath);
        ui.load("Load &tree.klz", scenePath.parent_path() / "tree.klz");
        ui.select(ids::AllList, 0);
        ui.window->resize(1400, 900);
        ui.window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(ui.window.get()));
        ui.action(ids::Show3D)->trigger();
        view = ui.find<View3D>(ids::View3D);
        ASSERT_NE(view, nullptr);
        QTest::qWait(200); // the view made its context and drew
        ASSERT_NE(view->scene(), nullptr);
    }
    QPoint pixelOf(std::uint32_t row)
    {
        const auto p = view->camera().pixelOf(centreOf(*view->scene(), {ViewLayer::Scene, row}));
        EXPECT_TRUE(p);
        return p ? QPoint(static_cast<int>(p->x), static_cast<int>(p->y)) : QPoint();
    }
    void click(QPoint at) { QTest::mouseClick(view, Qt::LeftButton, {}, at); }
    QPoint pixelOf(Vec3 p)
    {
        const auto at = view->camera().pixelOf(p);
        EXPECT_TRUE(at);
        return at ? QPoint(static_cast<int>(at->x), static_cast<int>(at->y)) : QPoint();
    }
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButtons held, Qt::KeyboardModifiers modifiers = {})
    {
        QMouseEvent e(type, QPointF(at), view->mapToGlobal(QPointF(at)), Qt::LeftButton, held, modifiers);
        QApplication::sendEvent(view, &e);
    }
    // Takes hold at `from` and moves to `to` in steps, the button held.
    void dragTo(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = {})
    {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, modifiers);
        for (int k = 1; k <= 5; ++k)
            mouse(QEvent::MouseMove, from + (to - from) * k / 5, Qt::LeftButton, modifiers);
    }
    Vec3 crateInFile() const
    {
        const auto bytes = readWholeFile(scenePath);
        const ByteReader r(bytes);
        const std::uint32_t at = ui.window->mission().sceneCatalogue().records[1].TranslationOffset;
        return {r.f32(at), r.f32(at + 4), r.f32(at + 8)};
    }

    TempFolder dir;
    std::filesystem::path scenePath;
    WindowDriver ui;
    View3D* view = nullptr;
};

TEST_F(View3DWindowTest, AClickSelectsTheObjectsRowAndAListSelectionFramesNothing)
{
    EXPECT_EQ(ui.find<QDockWidget>(ids::View3DDock)->isVisible(), true);
    click(pixelOf(2));
    EXPECT_EQ(ui.selectedRow(ids::AllList), 2);
    click(pixelOf(0));
    EXPECT_EQ(ui.selectedRow(ids::AllList), 0);
    const Vec3 before = view->camera().position;
    ui.select(ids::AllList, 3);
    EXPECT_EQ(view->camera().position, before);
}

TEST_F(View3DWindowTest, HandlesMoveTheCrateEscapePutsItBackEndDropsItAndUndoRestoresTheFile)
{
    const auto before = readWholeFile(scenePath);
    ui.select(ids::AllList, 1); // the crate, at the origin
    view->setFocus();
    QTest::keyClick(view, Qt::Key_F);
    const auto handles = view->handles();
    ASSERT_TRUE(handles);
    const Vec3 centre = handles->centre;
    EXPECT_EQ(centre, (Vec3{0, 0, 0}));

    // Along the x arrow: the distance the core works out for the same two pixels.
    const QPoint grip = pixelOf(centre + Vec3{0.7f * handles->size, 0, 0}), to = grip + QPoint(40, 6);
    const auto d = axisDrag(view->camera(), centre, {1, 0, 0}, {static_cast<float>(grip.x()), static_cast<float>(grip.y())},
                            {static_cast<float>(to.x()), static_cast<float>(to.y())});
    ASSERT_TRUE(d && std::fabs(*d) > 0.2f);
    dragTo(grip, to);
    EXPECT_EQ(readWholeFile(scenePath), before); // nothing written while dragging
    EXPECT_TRUE(ui.find<QLabel>(ids::Status)->text().startsWith("Move "));
    mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
    EXPECT_EQ(crateInFile(), (Vec3{*d, 0, 0}));

    // Escape in the middle of a drag: the file as it was.
    const auto moved = readWholeFile(scenePath);
    const QPoint grip2 = pixelOf(view->handles()->centre + Vec3{0.7f * view->handles()->size, 0, 0});
    dragTo(grip2, grip2 + QPoint(50, 0));
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_FALSE(view->dragging());
    mouse(QEvent::MouseButtonRelease, grip2 + QPoint(50, 0), Qt::NoButton);
    EXPECT_EQ(readWholeFile(scenePath), moved);

    // With Ctrl the move snaps to the grid step (1 m).
    const QPoint grip3 = pixelOf(view->handles()->centre + Vec3{0.7f * view->handles()->size, 0, 0});
    dragTo(grip3, grip3 + QPoint(70, 0), Qt::ControlModifier);
    mouse(QEvent::MouseButtonRelease, grip3 + QPoint(70, 0), Qt::NoButton, Qt::ControlModifier);
    const float snappedBy = crateInFile().x - *d;
    EXPECT_NE(snappedBy, 0);
    EXPECT_EQ(snappedBy, std::round(snappedBy));

    // End drops it onto the ground's top.
    EXPECT_EQ(ui.action(ids::DropToGround)->shortcut(), QKeySequence(Qt::Key_End));
    ui.action(ids::DropToGround)->trigger();
    EXPECT_EQ(crateInFile().y, -1);
    EXPECT_EQ(ui.find<QLabel>(ids::Status)->text(), "1 object moved, 0 found nothing below");

    // Each undo puts one step back; three bring the file back to where it began. The first is
    // Ctrl+Z straight after the drop, with the view still holding the keyboard.
    ui.window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(ui.window.get()));
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(crateInFile().y, 0);
    for (int k = 0; k < 2; ++k)
        ui.action(ids::Undo)->trigger();
    EXPECT_EQ(readWholeFile(scenePath), before);
}

TEST_F(View3DWindowTest, FFramesTheSelectionWhichAClickAtTheCentreThenSelects)
{
    ui.select(ids::AllList, 3); // the lamp, small and far from the middle
    view->setFocus();
    QTest::keyClick(view, Qt::Key_F);
    ui.select(ids::AllList, 1);
    click(view->rect().center());
    EXPECT_EQ(ui.selectedRow(ids::AllList), 3);
    // Home frames everything again; the same mission read again keeps the camera where it is.
    QTest::keyClick(view, Qt::Key_Home);
    const Vec3 framed = view->camera().position;
    ui.load("Load &scene2.bin", scenePath);
    QTest::qWait(50);
    EXPECT_EQ(view->camera().position, framed);
}
