#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <gtest/gtest.h>

#include "foundation/files/FileAccess.h"
#include "support/SceneBuilder.h"
#include "ui/InsertDialog.h"
#include "ui/ValueColours.h"
#include "ui/WidgetNames.h"
#include "ui/WindowDriver.h"

using namespace mw;
using namespace mw::build;

class InsertWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SceneBuilder b;
        b.beginObjects();
        b.object({.name = "Warehouse", .type = 9, .translation = Floats3{1, 2, 3}, .size = Floats3{2, 2, 2},
                  .model = "4build10.i3d"});
        b.object({.name = "Lamp", .type = 2, .translation = Floats3{0, 0, 0},
                  .light = LightParts{.kind = 2, .colour = Floats3{1.0f, 0.2f, 0.0f}, .power = 2.5f}});
        b.object({.name = "Bare", .type = 9, .translation = Floats3{4, 5, 6}});
        b.endObjects();
        b.beginDefinitions();
        b.endDefinitions();
        path = dir.path() / "missions" / "m" / "scene2.bin";
        original = b.finish();
        WindowDriver::write(path, original);
        ui.load("Load &scene2.bin", path);
    }
    InsertDialog* dialog() { return ui.window->insertDialog(); }
    template <class T>
    T* d(const char* name)
    {
        T* w = dialog()->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void set(const char* box, const char* text) { d<QLineEdit>(box)->setText(QString::fromLatin1(text)); }
    void insert() { d<QPushButton>("InsertButton")->click(); }

    build::TempFolder dir;
    std::filesystem::path path;
    std::vector<std::uint8_t> original;
    WindowDriver ui;
};

TEST(InsertWindowEmpty, NoDialogWithoutObjects)
{
    WindowDriver ui;
    ui.menu("&Human");
    EXPECT_EQ(ui.window->insertDialog(), nullptr);
}

TEST_F(InsertWindowTest, TheMenuPreparesTheDialogFromTheSelection)
{
    ui.select(ids::AllList, 0); // a building with its own model
    ui.menu("&Car");
    ASSERT_TRUE(dialog() && dialog()->isVisible());
    EXPECT_EQ(dialog()->objectName(), "insertform");
    EXPECT_EQ(dialog()->windowTitle(), "QRA Insert");
    EXPECT_EQ(d<QLabel>("Label5")->text(), "---------------------- Car -----------------------");
    EXPECT_EQ(d<QLabel>("Label30")->text(), "Horz"); // beside Slider1 here, "Vert" on the Scene page
    EXPECT_EQ(d<QLabel>("Label3")->text(), "Vert");
    EXPECT_EQ(ui.find<QLabel>("Label30_0")->text(), "Vert");
    EXPECT_EQ(d<QLineEdit>("Text8")->text(), "4build10.i3d");
    EXPECT_EQ(d<QLineEdit>("Text1")->text(), "Warehouse");
    EXPECT_EQ(d<QLineEdit>("Text2")->text(), "1");
    EXPECT_EQ(d<QLineEdit>("Text5")->text(), "2");

    ui.select(ids::AllList, 2); // no model: the kind's own
    ui.menu("&Car");
    EXPECT_EQ(d<QLineEdit>("Text8")->text(), "blackha00.i3d");
    ui.menu("&Human");
    EXPECT_TRUE(d<QWidget>("Frame9")->isVisibleTo(dialog()));
    EXPECT_FALSE(d<QWidget>("Frame8")->isVisibleTo(dialog()));
    EXPECT_EQ(d<QLineEdit>("Text23")->text(), "17");
    EXPECT_EQ(d<QComboBox>("Combo3")->currentText(), "Reaction on Player");

    ui.select(ids::AllList, 1); // a light of kind 2
    ui.menu("&Light");
    EXPECT_FALSE(d<QLineEdit>("Text8")->isEnabled());
    EXPECT_TRUE(d<QRadioButton>("Option4")->isChecked());
    EXPECT_EQ(d<QLineEdit>("Text13")->text(), "2.5");
    EXPECT_EQ(d<QSlider>("Slider3")->value(), 255);

    ui.menu("&Sound");
    d<QComboBox>("Combo2")->setCurrentIndex(0);
    emit d<QComboBox>("Combo2")->activated(0);
    set("Text29", "");
    emit d<QComboBox>("Combo2")->activated(0);
    EXPECT_EQ(d<QLineEdit>("Text29")->text(), "1");

    ui.files.answers = {"/somewhere/crate.4DS", "/somewhere/crate.max"};
    ui.menu("&Building");
    d<QPushButton>("BrowseModel")->click();
    EXPECT_EQ(d<QLineEdit>("Text8")->text(), "crate.i3d");
    d<QPushButton>("BrowseModel")->click();
    EXPECT_EQ(d<QLineEdit>("Text8")->text(), "crate.i3d");
    EXPECT_EQ(ui.prompter.said, (std::vector<Said>{{"message", "****** Select *.4ds file ******", ""}}));
}

TEST_F(InsertWindowTest, InsertsInARowAndUndoGivesBackTheFile)
{
    ui.select(ids::AllList, 2);
    ui.menu("&Human");
    insert(); // "Bare" exists already
    EXPECT_EQ(ui.prompter.said, (std::vector<Said>{{"message", "Put another!", "Name already known"}}));
    set("Text1", "bare");
    insert();
    EXPECT_EQ(ui.prompter.said.size(), 2u);
    EXPECT_EQ(readWholeFile(path), original);

    set("Text1", "Guard1");
    insert();
    EXPECT_EQ(ui.rows(ids::AllList), (QStringList{"Warehouse", "Lamp", "Bare", "Guard1"}));
    EXPECT_EQ(ui.selectedRow(ids::AllList), 3);
    EXPECT_EQ(ui.find<QLineEdit>(ids::EntryName)->text(), "Guard1");
    EXPECT_EQ(ui.find<QLabel>(ids::Status)->text(), " **** Saved ****");
    EXPECT_EQ(ui.find<QLabel>(ids::Status)->palette().color(QPalette::WindowText), SavedColour);

    ASSERT_TRUE(dialog()->isVisible()); // the dialog stays for the next one
    set("Text1", "Guard2");
    insert();
    EXPECT_EQ(ui.rows(ids::AllList).size(), 5);
    EXPECT_EQ(ui.selectedRow(ids::AllList), 4);

    ui.menu("&Undo Insert Guard2");
    ui.menu("&Undo Insert Guard1");
    EXPECT_EQ(readWholeFile(path), original);
    EXPECT_EQ(ui.rows(ids::AllList).size(), 3);
}

TEST_F(InsertWindowTest, ALightInsertedOverALightKeepsItsExactColour)
{
    SceneBuilder b;
    b.beginObjects();
    b.object({.name = "Lamp", .type = 2, .translation = Floats3{0, 0, 0},
              .light = LightParts{.kind = 1, .colour = Floats3{0.3f, 0.5f, 0.7f}, .power = 2.5f}});
    b.endObjects();
    WindowDriver::write(path, b.finish());
    ui.load("Load &scene2.bin", path);
    ui.menu("&Light");
    set("Text1", "Lamp2");
    insert();
    ASSERT_EQ(ui.window->mission().sceneCatalogue().entryCount(), 2u);
    EXPECT_EQ(ui.window->mission().sceneCatalogue().entry(1).lightColour, (std::array<float, 3>{0.3f, 0.5f, 0.7f}));
}
