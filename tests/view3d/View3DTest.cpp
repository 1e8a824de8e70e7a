// The 3D view used as a modder uses it: clicks, the handles and their drags, the keys, a renderer
// that gives up.
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QKeyEvent>
#include <QLabel>
#include <cmath>

#include "commands/placing/Placing.h"
#include "render/view3d/Handles.h"
#include "support/MissionFileBuilders.h"
#include "support/SceneBuilder.h"
#include "view3d/View3DWindow.h"

using namespace mw;
using namespace mw::build;

namespace {

// Three standing objects far apart and a light: rows 0 West (a building), 1 Crate, 2 East, 3 Lamp;
// and 4 Turned, a thing whose rotation has all four components set. Ground under the crate, its top
// 1 m below it.
std::vector<std::pair<std::string, std::vector<std::uint8_t>>> spread()
{
    SceneBuilder b;
    b.beginObjects();
    b.object({.name = "West", .type = 9, .translation = Floats3{-40, 0, 0}, .model = "build01.i3d"});
    b.object({.name = "Crate", .type = 9, .translation = Floats3{0, 0, 0}, .size = Floats3{2, 2, 2}, .model = "box.i3d"});
    b.object({.name = "East", .type = 9, .translation = Floats3{40, 0, 30}, .model = "build02.i3d"});
    b.object({.name = "Lamp", .type = 2, .translation = Floats3{0, 6, -30}});
    b.object({.name = "Turned", .type = 9, .translation = Floats3{-10, 0, 10}, .rotation = std::array<float, 4>{0.2f, 0.1f, 0.96f, 0.15f},
              .size = Floats3{1, 1, 3}, .model = "box.i3d"});
    b.endObjects();
    TreeBuilder t;
    t.box(1, t.link("ground"), {-10, -3, -10}, {10, -1, 10});
    t.endMarker();
    return {{"scene2.bin", b.finish()}, {"tree.klz", t.finish()}};
}

class View3DUse : public View3DWindow {
protected:
    void SetUp() override
    {
        open(spread());
    }
    QPoint pixelOfRow(std::uint32_t row) { return pixelOf(centreOf({ViewLayer::Scene, row})); }
    Vec3 crateInFile() const { return floatsIn("scene2.bin", ui.window->mission().sceneCatalogue().records[1].TranslationOffset); }
    // Where the x arrow of the handles is taken hold of.
    QPoint xArrow() { return pixelOf(view->handles()->centre + Vec3{0.7f * view->handles()->size, 0, 0}); }
};

} // namespace

TEST_F(View3DUse, AClickSelectsTheObjectsRowAndAListSelectionFramesNothing)
{
    EXPECT_EQ(ui.find<QDockWidget>(ids::View3DDock)->isVisible(), true);
    click(pixelOfRow(2));
    EXPECT_EQ(ui.selectedRow(ids::AllList), 2);
    click(pixelOfRow(0));
    EXPECT_EQ(ui.selectedRow(ids::AllList), 0);
    const Vec3 before = view->camera().position;
    ui.select(ids::AllList, 3);
    EXPECT_EQ(view->camera().position, before);
}

TEST_F(View3DUse, HandlesMoveTheCrateEscapePutsItBackEndDropsItAndUndoRestoresTheFile)
{
    const auto before = readWholeFile(folder / "scene2.bin");
    ui.select(ids::AllList, 1); // the crate, at the origin
    view->setFocus();
    QTest::keyClick(view, Qt::Key_F);
    const auto handles = view->handles();
    ASSERT_TRUE(handles);
    const Vec3 centre = handles->centre;
    EXPECT_EQ(centre, (Vec3{0, 0, 0}));

    // Along the x arrow: the distance the core works out for the same two pixels.
    const QPoint grip = xArrow(), to = grip + QPoint(40, 6);
    const auto d = axisDrag(view->camera(), centre, {1, 0, 0}, {static_cast<float>(grip.x()), static_cast<float>(grip.y())},
                            {static_cast<float>(to.x()), static_cast<float>(to.y())});
    ASSERT_TRUE(d && std::fabs(*d) > 0.2f);
    dragTo(grip, to);
    EXPECT_EQ(readWholeFile(folder / "scene2.bin"), before); // nothing written while dragging
    EXPECT_TRUE(status().startsWith("Move "));
    release(to);
    EXPECT_EQ(crateInFile(), (Vec3{*d, 0, 0}));

    // Escape, or the right button pressed, in the middle of a drag: the file and the picture as they
    // were, the status line cleared.
    const auto moved = readWholeFile(folder / "scene2.bin");
    const Instance3D drawn = *view->scene()->instance({ViewLayer::Scene, 1});
    for (const bool escape : {true, false}) {
        const QPoint grip2 = xArrow();
        dragTo(grip2, grip2 + QPoint(50, 0));
        EXPECT_TRUE(view->dragging());
        if (escape)
            QTest::keyClick(view, Qt::Key_Escape);
        else
            mouse(QEvent::MouseButtonPress, grip2 + QPoint(50, 0), Qt::RightButton, Qt::LeftButton | Qt::RightButton);
        EXPECT_FALSE(view->dragging());
        release(grip2 + QPoint(50, 0));
        EXPECT_EQ(readWholeFile(folder / "scene2.bin"), moved);
        EXPECT_TRUE(view->overrides().empty());
        EXPECT_EQ(view->scene()->instance({ViewLayer::Scene, 1})->columns, drawn.columns);
        EXPECT_EQ(status(), "");
    }

    // With Ctrl the move snaps to the grid step (1 m).
    const QPoint grip3 = xArrow();
    dragTo(grip3, grip3 + QPoint(70, 0), Qt::ControlModifier);
    release(grip3 + QPoint(70, 0), Qt::ControlModifier);
    const float snappedBy = crateInFile().x - *d;
    EXPECT_NE(snappedBy, 0);
    EXPECT_NEAR(snappedBy, std::round(snappedBy), 1e-4f); // a whole number of metres, as floats add

    // End drops it onto the ground's top.
    EXPECT_EQ(ui.action(ids::DropToGround)->shortcut(), QKeySequence(Qt::Key_End));
    ui.action(ids::DropToGround)->trigger();
    EXPECT_EQ(crateInFile().y, -1);
    EXPECT_EQ(status(), "1 object moved, 0 found nothing below");

    // Each undo puts one step back; three bring the file back to where it began. The first is
    // Ctrl+Z straight after the drop, with the view still holding the keyboard.
    ui.window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(ui.window.get()));
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(crateInFile().y, 0);
    for (int k = 0; k < 2; ++k)
        ui.action(ids::Undo)->trigger();
    EXPECT_EQ(readWholeFile(folder / "scene2.bin"), before);
}

TEST_F(View3DUse, TheLastPreviewOfAMoveATurnAndADropIsWhatTheFileHoldsAfterwards)
{
    // What the view draws of an item after the command equals the scene built anew from the files.
    const auto builtAnew = [&](ItemRef item) {
        const Mission& m = ui.window->mission();
        const Scene3D fresh = buildScene3D({&m.sceneCatalogue(), &m.cache(), &m.tree(), &m.model(), m.bytes(MissionFile::Route)});
        return fresh.instance(item)->columns;
    };
    const ItemRef turned{ViewLayer::Scene, 4};
    ui.window->selection().selectSceneRow(4);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_F);
    struct Case {
        const char* what;
        std::function<QPoint()> grip;
        QPoint by;
    };
    const Case cases[] = {
        {"move", [&] { return xArrow(); }, QPoint(45, 5)},
        {"ring turn", [&] {
             const Vec3 ahead = normalized(Vec3{view->camera().forward().x, 0, view->camera().forward().z});
             return pixelOf(view->handles()->centre - ahead * (Handles::RingRadius * view->handles()->size));
         }, QPoint(60, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QPoint grip = c.grip();
        dragTo(grip, grip + c.by);
        const auto& added = view->overrides().added[static_cast<std::size_t>(view->scene()->find(turned)->batch)];
        ASSERT_EQ(added.size(), 1u);
        const auto previewed = added[0].columns;
        release(grip + c.by);
        EXPECT_EQ(view->scene()->instance(turned)->columns, previewed);
        EXPECT_EQ(builtAnew(turned), previewed);
    }
    ui.action(ids::DropToGround)->trigger();
    EXPECT_EQ(view->scene()->instance(turned)->columns, builtAnew(turned));
}

TEST_F(View3DUse, AFlatPlateIsPickedWhereItLiesAndNeverInFrontOfTheCrateOnIt)
{
    SceneBuilder s;
    s.beginObjects();
    s.object({.name = "Crate", .type = 9, .translation = Floats3{0, 0, 0}, .model = "box.i3d"});
    s.endObjects();
    TreeBuilder t;
    t.box(1, t.link("Crate"), {-5, 0, -5}, {5, 0, 5}); // no thickness
    t.endMarker();
    open({{"scene2.bin", s.finish()}, {"tree.klz", t.finish()}}, "plate");
    const ItemRef crate{ViewLayer::Scene, 0}, plate{ViewLayer::Collision, 0};
    lookDown({0, 0, 0}, 12);
    EXPECT_EQ(view->itemAt(pixelOf({0, 1, 0}))->item, crate);
    EXPECT_EQ(view->itemAt(pixelOf({3, 0, 3}))->item, plate);
    // From the side, level with the crate's middle: the plate is a line below it, not a wall.
    Camera& c = view->camera();
    c.position = {0, 0.5f, -12};
    c.yaw = 0;
    c.pitch = 0;
    EXPECT_EQ(view->itemAt(pixelOf({0, 0.5f, -0.5f}))->item, crate);
    EXPECT_FALSE(view->itemAt(pixelOf({3, 0.5f, -0.5f})));
}

TEST_F(View3DUse, FFramesTheSelectionWhichAClickAtTheCentreThenSelects)
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
    ui.load("Load &scene2.bin", folder / "scene2.bin");
    QTest::qWait(50);
    EXPECT_EQ(view->camera().position, framed);
}

TEST_F(View3DUse, ARendererThatGivesUpLeavesTheOneLineAndEveryControlUsable)
{
    emit view->unavailable(QStringLiteral("The 3D view's shaders do not build on this system's OpenGL: none"));
    QTest::qWait(10);
    EXPECT_EQ(ui.window->view3d().view(), nullptr);
    EXPECT_TRUE(ui.find<QLabel>(ids::View3DNotice)->text().startsWith("The 3D view's shaders"));
    ui.find<QCheckBox>("View3DLayer_0")->click();
    ui.find<QCheckBox>("MapLayer_2")->click();
    ui.find<QComboBox>(ids::View3DGridStep)->setCurrentIndex(0);
    ui.action(ids::Show3D)->trigger();
    ui.action(ids::Show3D)->trigger();
    ui.select(ids::AllList, 2);
    ui.load("Load &scene2.bin", folder / "scene2.bin");
    ui.window->view3d().frameSelection();
    EXPECT_EQ(ui.rows(ids::AllList).size(), 5);
}
