#include <QDockWidget>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QTreeWidget>
#include <QUrl>
#include <gtest/gtest.h>

#include "support/MissionFileBuilders.h"
#include "support/SceneBuilder.h"
#include "ui/WidgetNames.h"
#include "ui/WindowDriver.h"

using namespace mw;
using namespace mw::build;
namespace fs = std::filesystem;

namespace {

// A scene whose rows 1 and 3 share a name.
std::vector<std::uint8_t> sceneWithTwins()
{
    SceneBuilder b;
    b.beginObjects();
    b.object({.name = "Primary sector", .translation = Floats3{0, 0, 0}});
    b.object({.name = "Lamp", .type = 9, .translation = Floats3{1, 0, 1}});
    b.object({.name = "Guard", .type = 9, .translation = Floats3{5, 0, 5}});
    b.object({.name = "lamp", .type = 9, .translation = Floats3{9, 0, 9}});
    b.endObjects();
    return b.finish();
}

} // namespace

// The check runs on the loaded files and the route file beside the scene, lists what it found in
// the dock and says the summary in the status line; a double-click on a problem selects the object
// it names.
TEST(CheckWindowTest, TheReportListsTheProblemsAndADoubleClickSelectsTheObject)
{
    TempFolder dir;
    WindowDriver ui;
    EXPECT_FALSE(ui.action(ids::CheckMission)->isEnabled()); // nothing loaded yet
    const fs::path scene = dir.path() / "scene2.bin";
    WindowDriver::write(scene, sceneWithTwins());
    WindowDriver::write(dir.path() / "check.bin", routeFile(551));
    ui.load("Load &scene2.bin", scene);
    ui.select(ids::AllList, 0);

    ui.menu("&Check Mission");
    auto* dock = ui.find<QDockWidget>(ids::CheckDock);
    auto* list = ui.find<QTreeWidget>(ids::CheckList);
    EXPECT_FALSE(dock->isHidden());
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(ui.find<QLabel>(ids::CheckSummary)->text(), "2 errors, 1 warning in 2 files");
    // Errors first, though the scene's warning comes first in the files' order.
    EXPECT_EQ(list->topLevelItem(0)->text(0), "error");
    EXPECT_EQ(list->topLevelItem(1)->text(0), "error");
    QTreeWidgetItem* item = list->topLevelItem(2);
    EXPECT_EQ(item->text(0), "warning");
    EXPECT_EQ(item->text(1), "scene2.bin");
    EXPECT_EQ(item->text(3), "3");
    EXPECT_EQ(item->text(4), "two objects named \"lamp\" (rows 1 and 3)");
    EXPECT_EQ(ui.find<QLabel>(ids::Status)->text(), "2 errors, 1 warning in 2 files");

    emit list->itemDoubleClicked(item, 0);
    EXPECT_EQ(ui.selectedRow(ids::AllList), 3);

    // A write makes the report out of date until the next check.
    ui.window->reloadScene();
    EXPECT_TRUE(ui.find<QLabel>(ids::CheckSummary)->text().endsWith("check again to see them as they are"));
}

// A mission folder dropped onto the window opens its files, as naming it on the command line does.
TEST(CheckWindowTest, AMissionFolderDroppedOntoTheWindowOpens)
{
    TempFolder dir;
    const fs::path folder = dir.path() / "missions" / "m1";
    WindowDriver::write(folder / "SCENE2.BIN", sceneWithTwins()); // copied from a case-blind system
    WindowDriver ui;
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(folder.string()))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(ui.window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(ui.window.get(), &drop);
    EXPECT_EQ(ui.rows(ids::AllList), (QStringList{"Primary sector", "Lamp", "Guard", "lamp"}));

    // Anything but local files is refused.
    QMimeData text;
    text.setText("scene2.bin");
    QDragEnterEvent other(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    other.setAccepted(false);
    QApplication::sendEvent(ui.window.get(), &other);
    EXPECT_FALSE(other.isAccepted());
}
