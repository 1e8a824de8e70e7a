// Picking and selecting in the 3D view as in a level editor: what modders place before the bodies
// around it, a second click for the next item there, locks, a click that replaces the selection of
// every list or clears it, Ctrl + click, and keys that act where they belong.
#include <QCheckBox>
#include <QListView>
#include <QTabWidget>
#include <QToolButton>

#include "support/MissionFileBuilders.h"
#include "support/SceneBuilder.h"
#include "ui/Selection.h"
#include "view3d/View3DWindow.h"

using namespace mw;
using namespace mw::build;

namespace {

// A crate at the origin inside a collision box; two cached objects north of it; a sphere body far
// east (the tree's first row) and ground everywhere at y = -1. Seen from above; clicks on an item
// land beside the middle of its top, clear of the handles that stand there once it is selected.
class Picking3D : public View3DWindow {
protected:
    void SetUp() override
    {
        SceneBuilder s;
        s.beginObjects();
        s.object({.name = "Crate", .type = 9, .translation = Floats3{0, 0, 0}, .model = "box.i3d"});
        s.object({.name = "Barrel", .type = 9, .translation = Floats3{-6, 0, 0}, .model = "barrel.i3d"});
        s.endObjects();
        CacheBuilder cache;
        cache.object("crate.i3d", {0, 0, 10}, {0, 1, 0, 0}, {2, 2, 2});
        cache.object("bench.i3d", {-6, 0, 10}, {0, 1, 0, 0}, {2, 1, 1});
        TreeBuilder t;
        const int link = t.link("Crate");
        t.sphere(3, link, {20, 1, 0}, 1);
        t.box(1, link, {-2, -0.5f, -2}, {2, 3, 2});
        t.box(1, link, {-50, -2, -50}, {50, -1, 50});
        t.endMarker();
        open({{"scene2.bin", s.finish()}, {"cache.bin", cache.finish()}, {"tree.klz", t.finish()}});
        lookDown({0, 0, 5}, 20);
    }
    const Selection& selected() { return ui.window->selection(); }
    QPoint pixelOfItem(ItemRef item)
    {
        const Instance3D* i = view->scene()->instance(item);
        const Vec3 top = centreOf(item) + Vec3{0, length(i->column(1)) / 2, 0};
        const float aside = std::min(length(i->column(0)), length(i->column(2))) / 3; // left and towards the viewer
        return pixelOf(top + Vec3{-aside, 0, -aside});
    }
    bool listSelects(const char* list) { return !ui.find<QListView>(list)->selectionModel()->selectedRows().isEmpty(); }
    int inspectorPage() { return ui.find<QTabWidget>(ids::InspectorTabs)->currentIndex(); }
};

} // namespace

TEST_F(Picking3D, AnObjectInsideItsBodyIsClickedFirstTheBodySecondAndNeverWhileBodiesAreLocked)
{
    const QPoint crate = pixelOfItem({ViewLayer::Scene, 0});
    click(crate);
    EXPECT_EQ(selected().items(), (std::vector<ItemRef>{{ViewLayer::Scene, 0}}));
    EXPECT_EQ(status(), "Crate (1 of 3 here)");
    click(crate); // again at the same spot: the body around it
    EXPECT_EQ(selected().items(), (std::vector<ItemRef>{{ViewLayer::Collision, 1}}));
    EXPECT_TRUE(status().endsWith("(2 of 3 here)"));
    click(crate + QPoint(1, 0)); // the ground below them, from a pixel beside
    EXPECT_EQ(selected().items(), (std::vector<ItemRef>{{ViewLayer::Collision, 2}}));
    click(crate);
    EXPECT_EQ(selected().items(), (std::vector<ItemRef>{{ViewLayer::Scene, 0}}));
    // The bodies locked: drawn, never picked, whatever the clicks.
    ui.find<QToolButton>("View3DLock_2")->click();
    for (int k = 0; k < 3; ++k) {
        click(crate);
        EXPECT_EQ(selected().items(), (std::vector<ItemRef>{{ViewLayer::Scene, 0}}));
        EXPECT_EQ(status(), "Crate");
    }
    click(pixelOf({20, 2, 0})); // the sphere body: nothing for a locked layer
    EXPECT_TRUE(selected().items().empty());
}

TEST_F(Picking3D, AClickReplacesTheSelectionOfEveryListCtrlClickTogglesAndNothingClearsIt)
{
    ui.window->selection().selectSceneRows({0, 1}, false);
    const ItemRef cached{ViewLayer::Cache, 0}, bench{ViewLayer::Cache, 1};
    click(pixelOfItem(cached));
    EXPECT_EQ(selected().items(), std::vector<ItemRef>{cached});
    EXPECT_FALSE(listSelects(ids::AllList));
    EXPECT_EQ(ui.selectedRow(ids::CacheList), 0);
    EXPECT_TRUE(listSelects(ids::CacheList));
    EXPECT_EQ(inspectorPage(), MainWindow::CacheValuesPage);
    ASSERT_TRUE(view->handles());
    EXPECT_EQ(view->handles()->centre, (Vec3{0, 0, 10}));
    // Ctrl + click: the bench in, then out again.
    click(pixelOfItem(bench), Qt::ControlModifier);
    EXPECT_EQ(selected().items(), (std::vector<ItemRef>{cached, bench}));
    EXPECT_EQ(status(), "2 cached objects selected");
    click(pixelOfItem(bench), Qt::ControlModifier);
    EXPECT_EQ(selected().items(), std::vector<ItemRef>{cached});
    // Nothing under the cursor (the ground's layer hidden), then Escape: nothing selected, no
    // handle; the lists keep their current rows.
    ui.find<QCheckBox>("View3DLayer_2")->click();
    const int current = ui.selectedRow(ids::CacheList);
    click(pixelOf({-30, 0, -20}));
    EXPECT_TRUE(selected().items().empty());
    EXPECT_FALSE(view->handles());
    EXPECT_FALSE(listSelects(ids::CacheList));
    EXPECT_EQ(ui.selectedRow(ids::CacheList), current);
    click(pixelOfItem(cached));
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_TRUE(selected().items().empty());
}

TEST_F(Picking3D, TheFirstBodyRightAfterALoadIsSelectedByAClickAndShowsItsPage)
{
    EXPECT_EQ(selected().current(MissionFile::Tree), 0u); // current, not chosen
    EXPECT_TRUE(selected().rows(MissionFile::Tree).empty());
    click(pixelOf({20, 2, 0}));
    EXPECT_EQ(selected().items(), (std::vector<ItemRef>{{ViewLayer::Collision, 0}}));
    EXPECT_TRUE(listSelects(ids::TreeList));
    EXPECT_EQ(inspectorPage(), MainWindow::TreeValuesPage);
}

TEST_F(Picking3D, EndInTheListGoesToTheLastRowAndInTheViewDropsTheSelection)
{
    const auto before = readWholeFile(folder / "scene2.bin");
    auto* list = ui.find<QListView>(ids::AllList);
    ui.find<QTabWidget>(ids::ListTabs)->setCurrentIndex(MainWindow::AllTab);
    list->setFocus();
    ui.select(ids::AllList, 0);
    QTest::keyClick(list, Qt::Key_End);
    EXPECT_EQ(ui.selectedRow(ids::AllList), 1);
    EXPECT_EQ(readWholeFile(folder / "scene2.bin"), before);
    click(pixelOfItem({ViewLayer::Scene, 0}));
    QTest::keyClick(view, Qt::Key_End);
    // Inside its body, the crate falls through to the ground.
    EXPECT_EQ(floatsIn("scene2.bin", ui.window->mission().sceneCatalogue().records[0].TranslationOffset), (Vec3{0, -1, 0}));
}

TEST_F(Picking3D, ALockedObjectIsNeitherPickedNorDraggedAndADropLeavesItWhereItIs)
{
    const auto before = readWholeFile(folder / "scene2.bin");
    ui.window->selection().selectSceneRows({0}, false);
    ui.action(ids::LockSelected)->trigger();
    EXPECT_EQ(readWholeFile(folder / "scene2.bin"), before);
    // Taken hold of where it is drawn, it is not there for the mouse: nothing moves.
    ui.window->selection().selectSceneRows({0, 1}, false);
    const QPoint crate = pixelOfItem({ViewLayer::Scene, 0});
    dragTo(crate, crate + QPoint(60, 0));
    release(crate + QPoint(60, 0));
    EXPECT_EQ(readWholeFile(folder / "scene2.bin"), before);
    EXPECT_NE(view->itemAt(crate)->item, (ItemRef{ViewLayer::Scene, 0}));
    // The handles stand at the barrel alone; a drop moves it and says what it left.
    ASSERT_TRUE(view->handles());
    EXPECT_EQ(view->handles()->centre, (Vec3{-6, 0, 0}));
    ui.action(ids::DropToGround)->trigger();
    EXPECT_EQ(status(), "1 object moved, 0 found nothing below; 1 locked item left where it is");
    const auto& records = ui.window->mission().sceneCatalogue().records;
    EXPECT_EQ(floatsIn("scene2.bin", records[0].TranslationOffset), (Vec3{0, 0, 0}));
    EXPECT_EQ(floatsIn("scene2.bin", records[1].TranslationOffset), (Vec3{-6, -1, 0}));
}
