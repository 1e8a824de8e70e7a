#include <QCheckBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include "foundation/files/FileAccess.h"
#include "support/CircuitBuilder.h"
#include "support/FaultSweep.h"
#include "support/MissionFileBuilders.h"
#include "support/PackageBuilder.h"
#include "ui/TrackDialog.h"
#include <QLineEdit>
#include "support/SceneBuilder.h"
#include "formats/addin/Package.h"
#include "ui/ExportDialog.h"
#include "commands/merges/PutTree.h"
#include "ui/PutTreeDialog.h"
#include "ui/QtPrompter.h"
#include "ui/ValueColours.h"
#include "ui/WidgetNames.h"
#include "ui/WindowDriver.h"

using namespace mw;
using namespace mw::build;

TEST(PutWindowTest, PutTreeThroughItsDialog)
{
    WindowDriver ui;
    ui.menu("Put&Tree");
    EXPECT_EQ(ui.prompter.messages(), (std::vector<std::string>{"Load scene2.bin and tree.klz"}));

    build::TempFolder dir;
    const auto folder = dir.path() / "missions" / "m";
    SceneBuilder b;
    b.beginObjects();
    b.object({.name = "Crate", .type = 9, .translation = Floats3{1, 2, 3}});
    b.endObjects();
    WindowDriver::write(folder / "scene2.bin", b.finish());
    TreeBuilder t;
    t.link("wall");
    t.box(1, 0, {0, 0, 0}, {2, 4, 6});
    t.sphere(1, 0, {5, 5, 5}, 1);
    WindowDriver::write(folder / "tree.klz", t.finish());
    ui.load("Load &scene2.bin", folder / "scene2.bin");
    ui.prompter.said.clear();
    ui.menu("Put&Tree");
    EXPECT_EQ(ui.prompter.messages(), (std::vector<std::string>{"Load tree.klz and scne2.bin"}));
    ui.load("Load &tree.klz", folder / "tree.klz");

    ui.menu("Put&Tree");
    PutTreeDialog* dialog = ui.window->putTreeDialog();
    ASSERT_TRUE(dialog && dialog->isVisible());
    EXPECT_EQ(dialog->objectName(), "frmAddIn");
    EXPECT_EQ(dialog->windowTitle(), "Put tree.klz");
    dialog->findChild<QRadioButton*>("PutTreeOption_4")->setChecked(true);
    dialog->findChild<QCheckBox*>("PutTreeUseSaved")->setChecked(true);
    dialog->findChild<QPushButton*>("PutTreeOK")->click();
    EXPECT_FALSE(dialog->isVisible());
    // The dialog keeps the choice for the next put.
    EXPECT_STREQ(PutTreeKinds[dialog->chosenKind()], "sphere");
    EXPECT_TRUE(dialog->useSavedScene());
    EXPECT_EQ(ui.rows(ids::AllList), (QStringList{"Crate", "spCube-1"}));
    EXPECT_EQ(ui.selectedRow(ids::AllList), 1);
    EXPECT_EQ(ui.find<QLabel>(ids::Status)->text(), " **** Inserted ****");
    EXPECT_EQ(ui.find<QLabel>(ids::Status)->palette().color(QPalette::WindowText), SavedColour);
}

TEST(AddinWindowTest, ImportThroughTheMenu)
{
    build::TempFolder dir;
    const auto folder = dir.path() / "game" / "missions" / "m1";
    SceneBuilder b;
    b.beginObjects();
    b.object({.name = "Crate", .type = 9, .translation = Floats3{1, 2, 3}});
    b.endObjects();
    WindowDriver::write(folder / "scene2.bin", b.finish());
    PackageParts parts;
    parts.groups[0] = {{"box.4ds", {1, 2, 3}}};
    WindowDriver::write(dir.path() / "box.qra", buildPackage(parts));

    WindowDriver ui;
    ui.load("Load &scene2.bin", folder / "scene2.bin");
    ui.files.answers = {std::nullopt};
    ui.menu("&ADDin"); // cancelled: nothing happens
    ui.load("&ADDin", dir.path() / "box.qra");
    EXPECT_EQ(ui.files.filters.back(), "*(*.qra)|*.qra");
    EXPECT_TRUE(ui.prompter.said.empty());
    EXPECT_EQ(ui.find<QLabel>(ids::Status)->text(), " **** complete ****");
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "game" / "models" / "box.4ds"));
    EXPECT_EQ(ui.rows(ids::AllList), (QStringList{"Crate"}));
}

TEST(TrackWindowTest, TheDialogRunsItsThreeCommands)
{
    build::TempFolder dir;
    SceneBuilder b;
    b.beginObjects();
    addCircuit(b);
    b.endObjects();
    WindowDriver::write(dir.path() / "scene2.bin", b.finish());
    WindowDriver::write(dir.path() / "check.bin", routeFile(552));

    WindowDriver ui;
    ui.menu("&Racing"); // no scene needed
    TrackDialog* dialog = ui.window->trackDialog();
    ASSERT_TRUE(dialog && dialog->isVisible());
    EXPECT_EQ(dialog->objectName(), "trackform");
    EXPECT_EQ(dialog->windowTitle(), "QRA Create Circuit");
    ui.files.answers = {(dir.path() / "scene2.bin").string(), (dir.path() / "check.bin").string()};
    dialog->findChild<QPushButton*>("BrowseSource")->click();
    dialog->findChild<QPushButton*>("BrowseDestination")->click();
    EXPECT_EQ(ui.files.filters, (std::vector<std::string>{" (scene2.bin)|*.bin|(*.*)|*.*", "check(*.bin)|*.bin"}));
    EXPECT_EQ(dialog->findChild<QLineEdit*>("Text2")->text().toStdString(), (dir.path() / "check.bin").string());
    const auto route = readWholeFile(dir.path() / "check.bin");
    auto* putLabel = dialog->findChild<QLabel*>("PutProgressLabel");
    EXPECT_FALSE(putLabel->isVisibleTo(dialog));
    EXPECT_FALSE(dialog->findChild<QLabel*>("TransformProgressLabel")->isVisibleTo(dialog));
    dialog->findChild<QPushButton*>("TransformButton")->click();
    std::vector<bool> putProgressShown;
    ui.prompter.onSay = [&](const Said&) {
        putProgressShown.push_back(putLabel->isVisibleTo(dialog) &&
                                   dialog->findChild<QWidget*>(ids::ProgressBar)->isVisibleTo(dialog));
    };
    dialog->findChild<QPushButton*>("PutTrackButton")->click();
    dialog->findChild<QPushButton*>("CreateButton")->click();
    EXPECT_EQ(ui.prompter.messages(), (std::vector<std::string>{"done", "done", "done"}));
    EXPECT_EQ(putProgressShown, (std::vector<bool>{true, false})); // shown while Put Track runs
    EXPECT_EQ(dialog->findChild<QLineEdit*>("Text3")->text(), "110");
    EXPECT_NE(readWholeFile(dir.path() / "check.bin"), route);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "scene2.rev"));
}

// A bad sector under check.bin, or a full disk under an installed file: one message, every file as
// it was, and the editor goes on.
TEST(AddinWindowTest, AFaultPartWayChangesNothingAndTheEditorGoesOn)
{
    build::TempFolder dir;
    const auto game = dir.path() / "game";
    const auto folder = game / "missions" / "m1";
    SceneBuilder b;
    b.beginObjects();
    b.object({.name = "Crate", .type = 9, .translation = Floats3{1, 2, 3}});
    b.endObjects();
    WindowDriver::write(folder / "scene2.bin", b.finish());
    WindowDriver::write(folder / "check.bin", routeFile(552));
    PackageParts parts;
    parts.groups[0] = {{"huge.4ds", {1, 2, 3}}};
    parts.groups[5] = {{"check.bin", {4, 5, 6}}};
    WindowDriver::write(dir.path() / "box.qra", buildPackage(parts));
    WindowDriver ui;
    ui.load("Load &scene2.bin", folder / "scene2.bin");
    const auto before = folderSnapshot(game);

    const std::pair<std::filesystem::path, std::string> faults[] = {
        {folder / "check.bin", "****** Can't find - " + (folder / "check.bin").string() + "- ******"},
        {game / "models" / "huge.4ds",
         "****** Can't find - " + (game / "models" / "huge.4ds").string() + "- ******\n\n" + stepmsg::NothingChanged},
    };
    for (const auto& [path, message] : faults) {
        SCOPED_TRACE(path.string());
        ui.prompter.said.clear();
        FileFaults::failOperationOn(path);
        ui.load("&ADDin", dir.path() / "box.qra");
        FileFaults::failOperationOn({});
        ASSERT_EQ(ui.prompter.messages().size(), 1u);
        EXPECT_EQ(ui.prompter.messages()[0], message);
        EXPECT_EQ(folderSnapshot(game), before);
        EXPECT_FALSE(ui.window->mission().workspace().Busy);
        EXPECT_EQ(ui.window->mission().history().undoCount(), 0u);
        EXPECT_NE(ui.find<QLabel>(ids::Status)->text(), " **** complete ****");
    }
    ui.load("&ADDin", dir.path() / "box.qra");
    EXPECT_EQ(ui.find<QLabel>(ids::Status)->text(), " **** complete ****");
    EXPECT_TRUE(std::filesystem::exists(game / "models" / "huge.4ds"));
}

TEST(ExportWindowTest, TheDialogsDefaultsTheSaveAndAMissingModel)
{
    build::TempFolder dir;
    const auto game = dir.path() / "game";
    SceneBuilder b;
    b.beginObjects();
    b.object({.name = "Lamp", .type = 9, .translation = Floats3{1, 2, 3}, .model = "lamp.i3d"});
    b.object({.name = "Ghost", .type = 9, .translation = Floats3{4, 5, 6}, .model = "ghost.i3d"});
    b.endObjects();
    WindowDriver::write(game / "missions" / "m1" / "scene2.bin", b.finish());
    WindowDriver::write(game / "models" / "lamp.4ds", {1, 2, 3});
    WindowDriver ui;
    ui.load("Load &scene2.bin", game / "missions" / "m1" / "scene2.bin");
    auto* list = ui.find<QListView>(ids::AllList);
    list->selectAll();

    ui.menu(QString::fromUtf8("Export Selection as &ADDin\u2026"));
    ExportDialog* dialog = ui.window->exportDialog();
    ASSERT_TRUE(dialog && dialog->isVisible());
    EXPECT_EQ(dialog->findChild<QLineEdit*>("AddinTitle")->text(), "Lamp");
    EXPECT_EQ(dialog->findChild<QLineEdit*>("AddinMission")->text(), "m1");
    EXPECT_EQ(dialog->findChild<QLineEdit*>("AddinBlock")->text(), "Lamp");
    EXPECT_TRUE(dialog->findChild<QCheckBox*>("AddinIncludeModels")->isChecked());
    // A title the package cannot hold is refused before a file is asked for.
    const std::size_t asked = ui.files.filters.size();
    dialog->findChild<QLineEdit*>("AddinTitle")->setText("Lamps ");
    dialog->findChild<QPushButton*>("AddinSave")->click();
    EXPECT_EQ(ui.prompter.messages(),
              std::vector<std::string>{"** The add-in cannot be made: the title \"Lamps \" ends in a blank **"});
    EXPECT_EQ(ui.files.filters.size(), asked);
    ui.prompter.said.clear();

    // A name typed without its extension gets ".qra"; the dialog opens in the mission's folder.
    dialog->findChild<QLineEdit*>("AddinTitle")->setText("Lamps");
    ui.files.answers = {(dir.path() / "lamps").string()};
    dialog->findChild<QPushButton*>("AddinSave")->click();
    EXPECT_EQ(qtFilterFrom(ui.files.filters.back()), " (add-in package) (*.qra);;(*.*) (*.*)");
    EXPECT_EQ(ui.files.folders.back(), game / "missions" / "m1");
    EXPECT_EQ(ui.prompter.said, (std::vector<Said>{{"message",
                                                    "The add-in was written without these model files:\n"
                                                    "ghost.4ds (not in the models folder)",
                                                    "Export"}}));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(ui.find<QLabel>(ids::Status)->text(), " **** exported ****");
    const auto package = readPackage(readWholeFile(dir.path() / "lamps.qra"));
    ASSERT_TRUE(package.package);
    EXPECT_EQ(package.package->title, "Lamps");
    EXPECT_EQ(package.package->groups[0].size(), 1u);
    // The user's file is no step: "&Undo" does not offer it.
    EXPECT_FALSE(ui.action(ids::Undo)->isEnabled());
    // Said of the selection that was exported: gone when the selection moves.
    ui.select(ids::AllList, 1);
    EXPECT_EQ(ui.find<QLabel>(ids::Status)->text(), "");

    // The next export opens where the last one went.
    ui.menu(QString::fromUtf8("Export Selection as &ADDin\u2026"));
    ui.files.answers = {std::nullopt};
    ui.window->exportDialog()->findChild<QPushButton*>("AddinSave")->click();
    EXPECT_EQ(ui.files.folders.back(), dir.path());
}
