#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

#include "foundation/files/FileAccess.h"
#include "support/PackageBuilder.h"
#include "support/SceneBuilder.h"
#include "ui/InsertDialog.h"
#include "ui/WidgetNames.h"
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
        for (QAction* a : ui.window->findChildren<QAction*>())
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

    ui.select(ids::AllList, 1);
    ui.find<QPushButton>(ids::DeleteButton)->click();
    const auto deleted = readWholeFile(path);
    EXPECT_EQ(ui.rows(ids::AllList), (QStringList{"Crate", "Door"}));
    EXPECT_EQ(action("&Undo")->text(), "&Undo Delete Guard");
    EXPECT_TRUE(action("&Undo")->isEnabled());

    action("&Undo")->trigger();
    EXPECT_EQ(readWholeFile(path), original);
    EXPECT_EQ(ui.rows(ids::AllList), (QStringList{"Crate", "Guard", "Door"}));
    EXPECT_EQ(ui.selectedRow(ids::AllList), 1); // the object is back, and selected
    EXPECT_EQ(action("&Redo")->text(), "&Redo Delete Guard");
    EXPECT_FALSE(action("&Undo")->isEnabled());

    action("&Redo")->trigger();
    EXPECT_EQ(readWholeFile(path), deleted);
    EXPECT_EQ(ui.rows(ids::AllList), (QStringList{"Crate", "Door"}));

    // Nothing is undone while a file is read or written.
    const Mission::BusyScope busy(ui.window->mission());
    action("&Undo")->trigger();
    EXPECT_EQ(readWholeFile(path), deleted);
}

TEST_F(UndoWindowTest, AFileChangedByAnotherProgramShowsTheNotice)
{
    auto* bar = ui.find<QWidget>(ids::ChangedOnDiskBar);
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

// "&Undo" offers each command the moment it ends, without the menu being opened first.
TEST(UndoReadyTest, UndoIsReadyStraightAfterEachCommand)
{
    build::TempFolder dir;
    const auto folder = dir.path() / "game" / "missions" / "m1";
    SceneBuilder b;
    b.beginObjects();
    b.object({.name = "Crate", .type = 9, .translation = Floats3{1, 2, 3}});
    b.endObjects();
    b.beginScripts();
    b.script("intro", "wait 2");
    b.endScripts();
    WindowDriver::write(folder / "scene2.bin", b.finish());
    PackageParts parts;
    parts.title = "Box";
    parts.groups[0] = {{"box.4ds", {1, 2, 3}}};
    WindowDriver::write(dir.path() / "box.qra", buildPackage(parts));

    WindowDriver ui;
    ui.load("Load &scene2.bin", folder / "scene2.bin");
    QAction* undo = nullptr;
    for (QAction* a : ui.window->findChildren<QAction*>())
        if (a->shortcut() == QKeySequence(QKeySequence::Undo))
            undo = a;
    ASSERT_NE(undo, nullptr);
    const std::pair<std::function<void()>, const char*> commands[] = {
        {[&] {
             ui.select(ids::AllList, 0);
             QLineEdit* x = ui.find<QLineEdit>("Text5_0");
             x->selectAll();
             QTest::keyClicks(x, "7");
             ui.find<QPushButton>("SaveValue_0")->click();
         },
         "&Undo Save values of Crate"},
        {[&] {
             ui.select(ids::AllList, 1);
             ui.find<QPlainTextEdit>(ids::ScriptBox)->setPlainText("wait 3");
             ui.find<QPushButton>(ids::SaveScriptButton)->click();
         },
         "&Undo Save script of intro"},
        {[&] {
             ui.menu("&Building");
             ui.window->insertDialog()->findChild<QLineEdit*>("Text1")->setText("b1");
             ui.window->insertDialog()->findChild<QPushButton*>("InsertButton")->click();
         },
         "&Undo Insert b1"},
        {[&] { ui.load("&ADDin", dir.path() / "box.qra"); }, "&Undo Import Box"},
    };
    for (const auto& [command, caption] : commands) {
        SCOPED_TRACE(caption);
        command();
        EXPECT_EQ(undo->text(), caption);
        EXPECT_TRUE(undo->isEnabled());
    }
    EXPECT_TRUE(ui.prompter.said.empty());
}
