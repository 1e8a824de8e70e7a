#include <QApplication>
#include <QDockWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

#include "formats/scene/SceneLoader.h"
#include "render/map/MissionMap.h"
#include "render/view3d/GlRenderer.h"
#include "support/MissionFileBuilders.h"
#include "support/OffscreenGl.h"
#include "support/SceneBuilder.h"
#include "ui/View3D.h"
#include "ui/View3DPanel.h"
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
    camera.frame(s.min, s.max, 400.0f / 300);
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
        const auto at = camera.pixelOf(centreOf(s, {ViewLayer::Scene, c.row}), 400, 300);
        ASSERT_TRUE(at);
        const Colour seen = pixelAt(plain, *at);
        EXPECT_TRUE(isShadeOf(seen, markerColour(c.kind))) << seen.r << " " << seen.g << " " << seen.b;
    }

    // Selected, the crate is drawn nearer the highlight colour.
    Highlight3D highlight;
    const auto crate = s.find({ViewLayer::Scene, 1});
    highlight.items[static_cast<std::size_t>(Mesh3D::Box)].push_back(s.batch(crate->batch).instances[crate->index]);
    fb.renderer.setHighlight(highlight);
    const auto at = *camera.pixelOf(centreOf(s, {ViewLayer::Scene, 1}), 400, 300);
    const Colour yellow{255, 217, 0};
    fb.draw(camera);
    EXPECT_LT(distance(pixelAt(fb.picture(), at), yellow), distance(pixelAt(plain, at), yellow) - 60);

    // Hidden, the scene objects leave the background; more objects, no more draw calls.
    fb.draw(camera, {false, true, true, true, true});
    EXPECT_FALSE(isShadeOf(pixelAt(fb.picture(), *camera.pixelOf(centreOf(s, {ViewLayer::Scene, 0}), 400, 300)),
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
        ui.load("Load &scene2.bin", scenePath);
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
        const auto p = view->camera().pixelOf(centreOf(*view->scene(), {ViewLayer::Scene, row}), static_cast<float>(view->width()),
                                              static_cast<float>(view->height()));
        EXPECT_TRUE(p);
        return p ? QPoint(static_cast<int>(p->x), static_cast<int>(p->y)) : QPoint();
    }
    void click(QPoint at) { QTest::mouseClick(view, Qt::LeftButton, {}, at); }

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
