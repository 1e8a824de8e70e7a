#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "foundation/files/FileAccess.h"
#include "support/SceneBuilder.h"
#include "support/TempFolder.h"
#include "ui/Selection.h"
#include "ui/MissionMapView.h"
#include "ui/MoveSelectionDialog.h"
#include "ui/SelectionCommands.h"
#include "ui/WidgetNames.h"
#include "ui/WindowDriver.h"

using namespace mw;
using namespace mw::build;
namespace fs = std::filesystem;

class ManyObjectsWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SceneBuilder a;
        a.beginObjects();
        a.object({.name = "West", .type = 9, .translation = Floats3{-50, 0, 0}});
        a.object({.name = "Lamp", .type = 9, .translation = Floats3{0, 0, 0}});
        a.object({.name = "Guard", .type = 9, .translation = Floats3{10, 0, 10}});
        a.object({.name = "East", .type = 9, .translation = Floats3{50, 0, 40}});
        a.endObjects();
        a.beginDefinitions();
        a.definition({"Guard", 0x1B, humanData(8, 10, 0.5f, 80, "say hi")});
        a.endDefinitions();
        a.beginScripts();
        a.script("intro", "wait 2");
        a.endScripts();
        first = dir.path() / "missions" / "m1" / "scene2.bin";
        WindowDriver::write(first, a.finish());
        SceneBuilder b;
        b.beginObjects();
        b.object({.name = "Lamp", .type = 9, .translation = Floats3{5, 5, 5}});
        b.endObjects();
        second = dir.path() / "missions" / "m2" / "scene2.bin";
        WindowDriver::write(second, b.finish());
        ui.load("Load &scene2.bin", first);
    }
    // Ctrl+click on each row of "All": a selection of several.
    void selectRows(std::initializer_list<int> rows)
    {
        auto* view = ui.find<QListView>(ids::AllList);
        view->setCurrentIndex(view->model()->index(*rows.begin(), 0));
        for (int row : rows)
            view->selectionModel()->select(view->model()->index(row, 0), QItemSelectionModel::Select);
    }
    QString status() { return ui.find<QLabel>(ids::Status)->text(); }
    Vec3 translation(std::uint32_t row) { return ui.window->mission().sceneCatalogue().translation(row); }

    build::TempFolder dir;
    fs::path first, second;
    WindowDriver ui;
};

TEST_F(ManyObjectsWindowTest, CopyIntoAnotherMissionPasteAndUndo)
{
    selectRows({1, 2, 4}); // the script is left out
    EXPECT_EQ(status(), "3 objects selected");
    ui.menu("&Copy");
    EXPECT_EQ(status(), "1 script entry left out: only objects are copied, moved and deleted");
    const QMimeData* data = QApplication::clipboard()->mimeData();
    EXPECT_TRUE(data->hasFormat(ObjectsMimeType));
    EXPECT_EQ(data->text(), "Lamp\nGuard");

    ui.load("Load &scene2.bin", second);
    ASSERT_TRUE(ui.action(ids::Paste)->isEnabled());
    ui.menu("&Paste");
    EXPECT_EQ(ui.rows(ids::AllList), (QStringList{"Lamp", "Lamp-2", "Guard"}));
    EXPECT_EQ(ui.selectedRow(ids::AllList), 1);
    EXPECT_TRUE(ui.window->selectionCommands().clipboardHoldsObjects());
    EXPECT_EQ(status(), " **** Pasted 2 ****");
    EXPECT_EQ(ui.action(ids::Undo)->text(), "&Undo Paste 2 objects");
    ui.menu("&Undo Paste 2 objects");
    EXPECT_EQ(ui.rows(ids::AllList), (QStringList{"Lamp"}));
    EXPECT_TRUE(ui.prompter.said.empty());
}

TEST_F(ManyObjectsWindowTest, DuplicateMoveAndDeleteTheSelection)
{
    selectRows({1, 2});
    ui.action(ids::Duplicate)->trigger();
    EXPECT_EQ(ui.rows(ids::AllList), (QStringList{"West", "Lamp", "Guard", "East", "Lamp-2", "Guard-2", "intro"}));
    EXPECT_EQ(translation(4), (Vec3{2, 0, 0}));
    EXPECT_EQ(ui.find<QListView>(ids::AllList)->selectionModel()->selectedRows().size(), 2);

    ui.menu(QString::fromUtf8("&Move Selection\u2026"));
    MoveSelectionDialog* move = ui.window->selectionCommands().moveDialog();
    ASSERT_TRUE(move && move->isVisible());
    move->findChild<QLineEdit*>("MoveX")->setText("1");
    move->findChild<QLineEdit*>("MoveZ")->setText("-2.5");
    move->findChild<QPushButton*>("MoveOK")->click();
    EXPECT_FALSE(move->isVisible());
    EXPECT_EQ(translation(4), (Vec3{3, 0, -2.5f}));
    EXPECT_EQ(translation(5), (Vec3{13, 0, 7.5f}));
    EXPECT_EQ(ui.find<QLineEdit>("Text5_0")->text(), "3"); // the shown object's new place
    EXPECT_EQ(ui.action(ids::Undo)->text(), "&Undo Move 2 objects");

    ui.prompter.answers = {true};
    ui.find<QPushButton>(ids::DeleteButton)->click();
    EXPECT_EQ(ui.prompter.said, (std::vector<Said>{{"question", "Delete 2 objects?", "Delete Model"}}));
    EXPECT_EQ(ui.rows(ids::AllList), (QStringList{"West", "Lamp", "Guard", "East", "intro"}));
    EXPECT_EQ(ui.action(ids::Undo)->text(), "&Undo Delete 2 objects");
}

TEST_F(ManyObjectsWindowTest, RubberBandAndGroupDragOnTheMap)
{
    ui.window->resize(1280, 800);
    ui.window->show();
    ui.menu("&Map");
    auto* map = ui.find<MissionMapView>(ids::MapView);
    map->fit();
    const auto mouse = [&](QEvent::Type type, MapPoint at, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = {}) {
        const QPointF p = map->toScreen(at);
        QMouseEvent e(type, p, map->mapToGlobal(p), Qt::LeftButton, buttons, mods);
        QApplication::sendEvent(map, &e);
    };
    // A band from empty ground round the lamp and the guard.
    mouse(QEvent::MouseButtonPress, {-5, 20}, Qt::LeftButton);
    mouse(QEvent::MouseMove, {5, 10}, Qt::LeftButton);
    mouse(QEvent::MouseMove, {15, -5}, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, {15, -5}, Qt::NoButton);
    EXPECT_EQ(ui.find<QListView>(ids::AllList)->selectionModel()->selectedRows().size(), 2);
    EXPECT_EQ(status(), "2 objects selected");
    // Shift+click on the east object adds it.
    mouse(QEvent::MouseButtonPress, {50, 40}, Qt::LeftButton, Qt::ShiftModifier);
    mouse(QEvent::MouseButtonRelease, {50, 40}, Qt::NoButton, Qt::ShiftModifier);
    EXPECT_EQ(status(), "3 objects selected");

    // Ctrl+drag of one of them moves all three by the same offset, as one step.
    const auto before = readWholeFile(first);
    mouse(QEvent::MouseButtonPress, {0, 0}, Qt::LeftButton, Qt::ControlModifier);
    mouse(QEvent::MouseMove, {4, 0}, Qt::LeftButton, Qt::ControlModifier);
    mouse(QEvent::MouseMove, {8, -4}, Qt::LeftButton, Qt::ControlModifier);
    mouse(QEvent::MouseButtonRelease, {8, -4}, Qt::NoButton, Qt::ControlModifier);
    const Vec3 lamp = translation(1), guard = translation(2), east = translation(3);
    EXPECT_NEAR(lamp.x, 8, 0.5);
    EXPECT_NEAR(lamp.z, -4, 0.5);
    EXPECT_FLOAT_EQ(guard.x - 10, lamp.x);
    EXPECT_FLOAT_EQ(east.z - 40, lamp.z);
    EXPECT_EQ(translation(0), (Vec3{-50, 0, 0}));
    EXPECT_EQ(ui.action(ids::Undo)->text(), "&Undo Move 3 objects");
    ui.action(ids::Undo)->trigger();
    EXPECT_EQ(readWholeFile(first), before);
}

// Cut: the objects reach the clipboard and their rows go, in one step that one undo takes back
// byte for byte; a selection of scripts alone deletes nothing.
TEST_F(ManyObjectsWindowTest, CutCopiesThenDeletesAsOneStep)
{
    const auto before = readWholeFile(first);
    selectRows({1, 2, 4});
    ui.prompter.answers = {true};
    ui.menu("Cu&t");
    EXPECT_EQ(QApplication::clipboard()->mimeData()->text(), "Lamp\nGuard");
    EXPECT_TRUE(ui.window->selectionCommands().clipboardHoldsObjects());
    EXPECT_EQ(ui.rows(ids::AllList), (QStringList{"West", "East", "intro"}));
    EXPECT_EQ(ui.window->mission().history().undoCount(), 1u);
    ui.action(ids::Undo)->trigger();
    EXPECT_EQ(readWholeFile(first), before);
    EXPECT_EQ(ui.rows(ids::AllList), (QStringList{"West", "Lamp", "Guard", "East", "intro"}));

    selectRows({4});
    ui.prompter.said.clear();
    ui.menu("Cu&t");
    EXPECT_EQ(readWholeFile(first), before);
    EXPECT_EQ(ui.window->mission().history().undoCount(), 0u);
}

// Undo crosses missions: a value saved in one, a paste in a second; two undos put the first file
// back byte for byte while the second mission is shown, with its rows as before the paste.
TEST_F(ManyObjectsWindowTest, UndoAcrossTwoMissions)
{
    const auto firstBefore = readWholeFile(first), secondBefore = readWholeFile(second);
    ui.select(ids::AllList, 0);
    ui.find<QLineEdit>("Text5_0")->setText("-40");
    ui.find<QPushButton>("SaveValue_0")->click();
    ASSERT_NE(readWholeFile(first), firstBefore);
    selectRows({1});
    ui.menu("&Copy");
    ui.load("Load &scene2.bin", second);
    ui.menu("&Paste");
    ASSERT_EQ(ui.rows(ids::AllList), (QStringList{"Lamp", "Lamp-2"}));

    ui.action(ids::Undo)->trigger();
    ui.action(ids::Undo)->trigger();
    EXPECT_EQ(readWholeFile(second), secondBefore);
    EXPECT_EQ(readWholeFile(first), firstBefore);
    EXPECT_EQ(ui.rows(ids::AllList), (QStringList{"Lamp"}));
    EXPECT_EQ(ui.window->mission().pathOf(MissionFile::Scene), second);
    EXPECT_TRUE(ui.prompter.said.empty());
}

// A city's worth of objects: Select All, a click on one row and a band over the map each change
// the selection once, and what shows it follows.
TEST(ManySelected, ThirtyThousandRowsAreSelectedInOneChangeEachWay)
{
    TempFolder dir;
    WindowDriver ui;
    SceneBuilder b;
    b.beginObjects();
    for (int k = 0; k < 30001; ++k)
        b.object({.name = "Lamp" + std::to_string(k), .type = 9, .translation = Floats3{float(k % 200), 0, float(k / 200)}});
    b.endObjects();
    const auto path = dir.path() / "missions" / "city" / "scene2.bin";
    WindowDriver::write(path, b.finish());
    ui.load("Load &scene2.bin", path);
    ui.window->show();
    ui.action(ids::ShowMap)->trigger();
    int changes = 0;
    QObject::connect(&ui.window->selection(), &Selection::changed, [&] { ++changes; });
    const auto status = [&] { return ui.find<QLabel>(ids::Status)->text(); };

    ui.action(ids::SelectAll)->trigger();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(ui.window->selection().sceneRows().size(), 30001u);
    EXPECT_EQ(status(), "30 001 objects selected");
    EXPECT_EQ(ui.find<QListView>(ids::AllList)->selectionModel()->selection().size(), 1); // one range

    auto* list = ui.find<QListView>(ids::AllList);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(3, 0)).center());
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(ui.window->selection().sceneRows(), (std::vector<std::uint32_t>{3}));
    EXPECT_EQ(status(), "");

    auto* map = ui.find<MissionMapView>("MissionMap");
    map->fit();
    const QPoint from(2, 2), to(map->width() - 2, map->height() - 2);
    for (const auto& [type, at, held] : {std::tuple{QEvent::MouseButtonPress, from, Qt::LeftButton}, {QEvent::MouseMove, to, Qt::LeftButton},
                                         {QEvent::MouseButtonRelease, to, Qt::NoButton}}) {
        QMouseEvent e(type, QPointF(at), map->mapToGlobal(QPointF(at)), Qt::LeftButton, held, {});
        QApplication::sendEvent(map, &e);
    }
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(ui.window->selection().sceneRows().size(), 30001u);
}
