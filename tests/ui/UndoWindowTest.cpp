#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "io/FileAccess.h"
#include "support/SceneBuilder.h"
#include "ui/WindowDriver.h"

using namespace mw;
using namespace mw::build;

class UndoWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SceneBuilder b;
        b.beginObjects();
        for (const char* name : {"Crate", "Guard", "Door"})
            b.object({.name = name, .type = 9, .translation = Floats3{1, 2, 3}});
        b.endObjects();
        path = dir.path() / "missions" / "m" / "scene2.bin";
        original = b.finish();
        WindowDriver::write(path, original);
        ui.load("Load &scene2.bin", path);
    }
    QAction* action(const char* prefix)
    {
        for (QAction* a : ui.window->menuBar()->findChildren<QAction*>())
            if (a->text().startsWith(QString::fromLatin1(prefix)))
                return a;
        ADD_FAILURE() << prefix;
        return nullptr;
    }

    build::TempFolder dir;
    std::filesystem::path path;
    std::vector<std::uint8_t> original;
    WindowDriver ui;
};

TEST_F(UndoWindowTest, DeleteUndoRedoWithTheMenuCaptions)
{
    EXPECT_EQ(action("&Undo")->text(), "&Undo");
    EXPECT_FALSE(action("&Undo")->isEnabled());
    EXPECT_FALSE(action("&Redo")->isEnabled());

    ui.select("List2", 1);
    ui.find<QPushButton>("Delete")->click();
    const auto deleted = readWholeFile(path);
    EXPECT_EQ(ui.rows("List2"), (QStringList{"Crate", "Door"}));
    EXPECT_EQ(action("&Undo")->text(), "&Undo Delete Guard");
    EXPECT_TRUE(action("&Undo")->isEnabled());

    action("&Undo")->trigger();
    EXPECT_EQ(readWholeFile(path), original);
    EXPECT_EQ(ui.rows("List2"), (QStringList{"Crate", "Guard", "Door"}));
    EXPECT_EQ(ui.selectedRow("List2"), 1); // the object is back, and selected
    EXPECT_EQ(action("&Redo")->text(), "&Redo Delete Guard");
    EXPECT_FALSE(action("&Undo")->isEnabled());

    action("&Redo")->trigger();
    EXPECT_EQ(readWholeFile(path), deleted);
    EXPECT_EQ(ui.rows("List2"), (QStringList{"Crate", "Door"}));

    // Nothing is undone while a file is read or written.
    ui.window->mission().workspace().Busy = true;
    action("&Undo")->trigger();
    EXPECT_EQ(readWholeFile(path), deleted);
    ui.window->mission().workspace().Busy = false;
}

TEST_F(UndoWindowTest, AFileChangedByAnotherProgramShowsTheNotice)
{
    auto* bar = ui.find<QWidget>("ChangedOnDiskBar");
    EXPECT_FALSE(bar->isVisibleTo(ui.window.get()));
    auto changed = original;
    changed.push_back(0);
    QTest::qWait(20); // a later modification time than the load's
    WindowDriver::write(path, changed);
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar->isVisibleTo(ui.window.get()); }, 5000));
    EXPECT_EQ(ui.find<QLabel>("ChangedOnDiskText")->text(),
              "scene2.bin was changed by another program. Unsaved edits there are lost on reload.");
    ui.find<QPushButton>("ReloadChangedFiles")->click();
    EXPECT_FALSE(bar->isVisibleTo(ui.window.get()));
    EXPECT_FALSE(ui.window->mission().changedOnDisk(MissionFile::Scene));
}
