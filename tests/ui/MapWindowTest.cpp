#include <QApplication>
#include <QCheckBox>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <gtest/gtest.h>

#include "foundation/bytes/ByteReader.h"
#include "foundation/files/FileAccess.h"
#include "support/MissionFileBuilders.h"
#include "support/SceneBuilder.h"
#include "ui/MissionMapView.h"
#include "ui/ValueColours.h"
#include "ui/WidgetNames.h"
#include "ui/WindowDriver.h"

using namespace mw;
using namespace mw::build;

class MapWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto folder = dir.path() / "missions" / "m";
        SceneBuilder b;
        b.beginObjects();
        b.object({.name = "West", .type = 9, .translation = Floats3{-50, 0, 0}});
        crate = b.object({.name = "Crate", .type = 9, .translation = Floats3{0, 0, 0}, .size = Floats3{1, 1, 1}});
        b.object({.name = "East", .type = 9, .translation = Floats3{50, 0, 40}});
        b.endObjects();
        scene = folder / "scene2.bin";
        WindowDriver::write(scene, b.finish());
        CacheBuilder c;
        c.object("house.i3d", {-20, 0, 30}, {0, 1, 0, 0}, {8, 1, 8});
        WindowDriver::write(folder / "cache.bin", c.finish());
        TreeBuilder t;
        t.link("wall");
        t.sphere(1, 0, {20, 0, -30}, 5);
        WindowDriver::write(folder / "tree.klz", t.finish());
        ui.load("Load &scene2.bin", scene);
        ui.load("Load &cache.bin", folder / "cache.bin");
        ui.load("Load &tree.klz", folder / "tree.klz");
        ui.window->resize(1280, 800);
        ui.window->show();
        ui.menu("&Map");
        map = ui.find<MissionMapView>(ids::MapView);
        map->fit();
    }
    void mouse(QEvent::Type type, MapPoint at, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = {})
    {
        const QPointF p = map->toScreen(at);
        QMouseEvent e(type, p, map->mapToGlobal(p), Qt::LeftButton, buttons, modifiers);
        QApplication::sendEvent(map, &e);
    }
    void click(MapPoint at)
    {
        mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, at, Qt::NoButton);
    }

    build::TempFolder dir;
    std::filesystem::path scene;
    ObjectOffsets crate;
    WindowDriver ui;
    MissionMapView* map = nullptr;
};

TEST_F(MapWindowTest, AClickPicksTheEntryInItsList)
{
    ASSERT_EQ(map->map().shapes.size(), 5u);
    click({50, 40});
    EXPECT_EQ(ui.selectedRow(ids::AllList), 2);
    EXPECT_EQ(ui.find<QLineEdit>(ids::EntryName)->text(), "East");
    click({-20, 30});
    EXPECT_EQ(ui.selectedRow(ids::CacheList), 0);
    click({21, -31});
    EXPECT_EQ(ui.selectedRow(ids::TreeList), 0);

    // A list selection is marked on the map.
    ui.select(ids::AllList, 0);
    click({-50, 0}); // (the same place twice picks the same single entry)
    EXPECT_EQ(ui.selectedRow(ids::AllList), 0);
}

TEST_F(MapWindowTest, CtrlDragPutsTheNewPlaceIntoTheBoxesUntilSaved)
{
    const auto before = readWholeFile(scene);
    mouse(QEvent::MouseButtonPress, {0, 0}, Qt::LeftButton, Qt::ControlModifier);
    mouse(QEvent::MouseMove, {10, 0}, Qt::LeftButton, Qt::ControlModifier);
    mouse(QEvent::MouseMove, {12, -8}, Qt::LeftButton, Qt::ControlModifier);
    mouse(QEvent::MouseButtonRelease, {12, -8}, Qt::NoButton, Qt::ControlModifier);
    EXPECT_EQ(ui.selectedRow(ids::AllList), 1);
    const float x = ui.find<QLineEdit>("Text5_0")->text().toFloat();
    const float z = ui.find<QLineEdit>("Text7_0")->text().toFloat();
    EXPECT_NEAR(x, 12, 0.5);
    EXPECT_NEAR(z, -8, 0.5);
    EXPECT_TRUE(isPaintedEdited(ui.find<QLineEdit>("Text5_0")));
    EXPECT_TRUE(ui.window->edits().ChangedFlags[MissionFile::Scene]);
    EXPECT_EQ(readWholeFile(scene), before); // nothing written by the drag

    ui.find<QPushButton>("SaveValue_0")->click();
    const auto saved = readWholeFile(scene);
    const ByteReader r(saved);
    EXPECT_EQ(r.f32(crate.translation), x);
    EXPECT_EQ(r.f32(crate.translation + 8), z);
    EXPECT_EQ(map->map().shapes[1].centre, (MapPoint{x, z})); // the map follows the save
}

TEST_F(MapWindowTest, TheLayerSwitchesAreSharedAndThe3DViewSaysWhyItCannotShowHere)
{
    ui.find<QCheckBox>("MapLayer_1")->click(); // cached objects off
    EXPECT_FALSE(ui.find<QCheckBox>("View3DLayer_1")->isChecked());
    ui.select(ids::AllList, 2);
    click({-20, 30}); // a hidden layer is not picked: the scene page stays
    EXPECT_EQ(ui.find<QTabWidget>(ids::InspectorTabs)->tabText(ui.find<QTabWidget>(ids::InspectorTabs)->currentIndex()), "Scene");
    ui.find<QCheckBox>("View3DLayer_1")->click();
    EXPECT_TRUE(ui.find<QCheckBox>("MapLayer_1")->isChecked());

    // This platform hosts no OpenGL view: the dock holds one line instead.
    ui.action(ids::Show3D)->trigger();
    EXPECT_TRUE(ui.find<QDockWidget>(ids::View3DDock)->isVisible());
    EXPECT_TRUE(ui.find<QLabel>(ids::View3DNotice)->text().startsWith("The 3D view needs OpenGL 3.3"));
    EXPECT_EQ(ui.window->findChild<QWidget*>(ids::View3D), nullptr);
}
