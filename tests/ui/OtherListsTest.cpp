#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

#include "commands/placing/Placing.h"
#include "formats/templates/BuiltinResources.h"
#include "foundation/bytes/ByteReader.h"
#include "foundation/bytes/ByteWriter.h"
#include "foundation/files/FileAccess.h"
#include "support/MissionFileBuilders.h"
#include "support/SceneBuilder.h"
#include "ui/Selection.h"
#include "ui/ValueColours.h"
#include "ui/WidgetNames.h"
#include "ui/WindowDriver.h"

using namespace mw;
using namespace mw::build;
namespace fs = std::filesystem;

class OtherListsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        game = dir.path() / "game";
        mission = game / "missions" / "m1";
        SceneBuilder s;
        s.beginObjects();
        s.object({.name = "pole", .type = 9, .translation = Floats3{0, 7.5f, 0}});
        s.endObjects();
        WindowDriver::write(mission / "scene2.bin", s.finish());

        CacheBuilder c;
        c.base("block");
        lamp = c.object("lamp01.i3d", {1, 2, 3}, {0.5f, 0, 0, 0.5f}, {1, 1, 1});
        c.object("bench.i3d", {4, 5, 6}, {1, 0, 0, 0}, {2, 2, 2});
        cache = c.finish();
        WindowDriver::write(mission / "cache.bin", cache);

        ModelFileBuilder m;
        m.material("a.bmp");
        m.endMaterials();
        m.frame("Sign", {1, 1, 1}, {1, 0, 0, 0});
        awning = m.frame("Awning", {2, 2, 2}, {1, 0, 0, 0});
        models = m.finish();
        WindowDriver::write(mission / "scene.4ds", models);

        TreeBuilder t;
        t.link("wall.i3d");
        t.link("pole.i3d");
        t.box(3, 0, {0, 0, 0}, {2, 4, 6});
        t.cylinder(20, 1, 5, 6, 0.5f);
        tree = t.finish();
        boxAt = readCollisionFile(tree, SceneCatalogue{}).body(0).CollisionItemOffset;
        WindowDriver::write(mission / "tree.klz", tree);
    }

    template <class T>
    T* w(const char* name) { return ui.find<T>(name); }
    QString text(const char* box) { return w<QLineEdit>(box)->text(); }
    void type(const char* box, const QString& value)
    {
        QLineEdit* b = w<QLineEdit>(box);
        b->selectAll();
        QTest::keyClicks(b, value);
    }
    int inspectorPage() { return w<QTabWidget>(ids::InspectorTabs)->currentIndex(); }

    TempFolder dir;
    fs::path game, mission;
    std::vector<std::uint8_t> cache, models, tree;
    std::size_t lamp = 0, awning = 0, boxAt = 0;
    WindowDriver ui;
};

TEST_F(OtherListsTest, CacheListShowsRecordsAndSavesValues)
{
    ui.load("Load &cache.bin", mission / "cache.bin");
    EXPECT_EQ(ui.rows(ids::CacheList), (QStringList{"block", "      lamp01.i3d", "      bench.i3d"}));
    EXPECT_EQ(inspectorPage(), MainWindow::CacheValuesPage);
    // The base entry: nothing to edit.
    EXPECT_FALSE(w<QLineEdit>("Text5_1")->isEnabled());
    EXPECT_FALSE(w<QPushButton>("SaveValue_1")->isEnabled());
    EXPECT_FALSE(w<QLabel>("Label3_1")->isEnabled());
    EXPECT_FALSE(w<QLabel>("Label30_1")->isEnabled());

    ui.select(ids::CacheList, 1);
    EXPECT_EQ(text("Name_1"), "lamp01.i3d");
    EXPECT_EQ(text("Text5_1"), "1");
    EXPECT_EQ(text("Text10_1"), "1");
    EXPECT_EQ(w<QSlider>("Slider1_1")->value(), 30);
    EXPECT_TRUE(w<QPushButton>("SaveValue_1")->isEnabled());
    EXPECT_TRUE(w<QLabel>("Label3_1")->isEnabled());
    type("Text6_1", "12.5");
    EXPECT_TRUE(isPaintedEdited(w<QLineEdit>("Text6_1")));
    EXPECT_TRUE(ui.window->edits().ChangedFlags[MissionFile::Cache]);
    type("Text8_1", "3");
    w<QPushButton>("SaveValue_1")->click();
    EXPECT_TRUE(ui.prompter.said.empty());
    const auto bytes = readWholeFile(mission / "cache.bin");
    ASSERT_EQ(bytes.size(), cache.size());
    EXPECT_EQ(ByteReader(bytes).f32(lamp + 4), 12.5f);
    EXPECT_EQ(ByteReader(bytes).f32(lamp + 44), 3.0f);
    EXPECT_FALSE(isPaintedEdited(w<QLineEdit>("Text6_1")));
    EXPECT_FALSE(ui.window->edits().ChangedFlags[MissionFile::Cache]);
}

TEST_F(OtherListsTest, SaveValuesQuestionOnTheCacheList)
{
    ui.load("Load &cache.bin", mission / "cache.bin");
    ui.select(ids::CacheList, 1);
    type("Text7_1", "99");
    ui.prompter.answers.push_back(true);
    ui.select(ids::CacheList, 2);
    EXPECT_EQ(ui.prompter.said, (std::vector<Said>{{"question", "Save values?", "Values not saved!"}}));
    EXPECT_EQ(ByteReader(readWholeFile(mission / "cache.bin")).f32(lamp + 8), 99.0f);
    EXPECT_EQ(text("Name_1"), "bench.i3d"); // saved, and the new entry is shown

    type("Text7_1", "x");
    ui.prompter.said.clear();
    ui.prompter.answers.push_back(false);
    ui.select(ids::CacheList, 1);
    EXPECT_EQ(text("Name_1"), "lamp01.i3d");
    EXPECT_FALSE(ui.window->edits().ChangedFlags[MissionFile::Cache]);

    // A Yes when another program changed the file: nothing is written, the message says the file
    // is read again, and it is.
    auto changed = readWholeFile(mission / "cache.bin");
    putF32(changed, lamp + 4, 55.0f);
    WindowDriver::write(mission / "cache.bin", changed);
    type("Text7_1", "11");
    ui.prompter.said.clear();
    ui.prompter.answers.push_back(true);
    ui.select(ids::CacheList, 2);
    ASSERT_EQ(ui.prompter.said.size(), 2u);
    EXPECT_NE(ui.prompter.said[1].text.find("cache.bin"), std::string::npos) << ui.prompter.said[1].text;
    EXPECT_EQ(readWholeFile(mission / "cache.bin"), changed);
    EXPECT_EQ(ui.window->mission().cache().records[1].position.y, 55.0f);
}

TEST_F(OtherListsTest, ModelFileListShowsFramesAndSavesTheTranslation)
{
    ui.load("Load sc&ene.4ds", mission / "scene.4ds");
    EXPECT_EQ(ui.rows(ids::ModelList), (QStringList{"Sign", "Awning"}));
    EXPECT_EQ(inspectorPage(), MainWindow::ModelValuesPage);
    ui.select(ids::ModelList, 1);
    EXPECT_EQ(text("Text5_2"), "2");
    type("Text5_2", "-4");
    w<QPushButton>("SaveValue_2")->click();
    const auto bytes = readWholeFile(mission / "scene.4ds");
    ASSERT_EQ(bytes.size(), models.size());
    EXPECT_EQ(ByteReader(bytes).f32(awning), -4.0f);
    EXPECT_EQ(ui.window->findChild<QLineEdit*>("Text8_2"), nullptr); // no size on this page
}

TEST_F(OtherListsTest, TreeListNeedsTheSceneOfTheSameMission)
{
    ui.load("Load &tree.klz", mission / "tree.klz");
    EXPECT_EQ(ui.prompter.said, (std::vector<Said>{{"message", "First load scene2.bin", ""}}));
    EXPECT_TRUE(ui.rows(ids::TreeList).isEmpty());

    WindowDriver::write(game / "missions" / "m2" / "scene2.bin", readWholeFile(mission / "scene2.bin"));
    ui.load("Load &scene2.bin", game / "missions" / "m2" / "scene2.bin");
    ui.prompter.said.clear();
    ui.load("Load &tree.klz", mission / "tree.klz");
    EXPECT_EQ(ui.prompter.said,
              (std::vector<Said>{{"message", "Different Missions! Use same Mission for tree and scene2!", ""}}));
    EXPECT_TRUE(ui.rows(ids::TreeList).isEmpty());
}

TEST_F(OtherListsTest, TreeListShowsBodiesAndSavesMaterialAndGeometry)
{
    ui.load("Load &scene2.bin", mission / "scene2.bin");
    ui.load("Load &tree.klz", mission / "tree.klz");
    EXPECT_TRUE(ui.prompter.said.empty());
    EXPECT_EQ(readWholeFile(game / "models" / "!!Testklz.4DS"), loadBuiltinResource("Cube1"));
    EXPECT_EQ(ui.rows(ids::TreeList), (QStringList{"SCube-0", "cyCube-1"}));
    EXPECT_EQ(ui.find<QTabWidget>(ids::ListTabs)->currentIndex(), MainWindow::TreeTab);
    EXPECT_EQ(inspectorPage(), MainWindow::TreeValuesPage);
    EXPECT_EQ(text("Name_3"), "wall.i3d");
    EXPECT_EQ(text("Text5_3"), "1");
    EXPECT_EQ(text("Text10_3"), "6");
    EXPECT_EQ(text("Text51"), "3");
    auto* combo = w<QComboBox>("Combo4");
    EXPECT_EQ(combo->count(), 47);
    EXPECT_EQ(combo->currentText(), "pavement else");
    EXPECT_EQ(combo->itemText(2), "pavement ");

    combo->setCurrentIndex(46);
    emit combo->activated(46);
    EXPECT_EQ(text("Text51"), "2E");
    EXPECT_TRUE(isPaintedEdited(w<QLineEdit>("Text51")));
    EXPECT_TRUE(ui.window->edits().ChangedFlags[MissionFile::Tree]);
    type("Text5_3", "10");
    w<QPushButton>("SaveValue_3")->click();
    const auto bytes = readWholeFile(mission / "tree.klz");
    ASSERT_EQ(bytes.size(), tree.size());
    EXPECT_EQ(ByteReader(bytes).u8(boxAt - 5), 46);
    EXPECT_EQ(ByteReader(bytes).f32(boxAt), 9.0f);
    EXPECT_EQ(ByteReader(bytes).f32(boxAt + 12), 11.0f);

    ui.select(ids::TreeList, 1); // the cylinder takes its height from the scene object "pole"
    EXPECT_EQ(text("Text6_3"), "7.5");
}

TEST_F(OtherListsTest, WrongFilesSayWhatTheyAreNot)
{
    WindowDriver::write(mission / "bad.bin", {1, 2, 3, 4});
    ui.load("Load &cache.bin", mission / "bad.bin");
    ui.load("Load sc&ene.4ds", mission / "bad.bin");
    ui.load("Load &scene2.bin", mission / "scene2.bin");
    ui.prompter.said.clear();
    ui.load("Load &tree.klz", mission / "bad.bin");
    EXPECT_EQ(ui.prompter.said, (std::vector<Said>{{"message", "****** No tree.klz file! ******", ""}}));
    EXPECT_TRUE(ui.rows(ids::CacheList).isEmpty());
    EXPECT_TRUE(ui.rows(ids::ModelList).isEmpty());
    EXPECT_TRUE(ui.rows(ids::TreeList).isEmpty());
    EXPECT_FALSE(ui.window->mission().workspace().Busy);
}

// A file shorter than its own counts: the bodies it holds are listed, with no message of the
// reader's, and the status line says that the file was read only in part.
TEST_F(OtherListsTest, AFileReadOnlyInPartSaysSoInTheStatusLine)
{
    std::vector<std::uint8_t> cut = tree;
    cut.resize(cut.size() - 10); // into the cylinder
    WindowDriver::write(mission / "tree.klz", cut);
    ui.load("Load &scene2.bin", mission / "scene2.bin");
    ui.prompter.said.clear();
    ui.load("Load &tree.klz", mission / "tree.klz");
    EXPECT_TRUE(ui.prompter.said.empty());
    EXPECT_EQ(ui.rows(ids::TreeList), QStringList{"SCube-0"});
    EXPECT_EQ(w<QLabel>(ids::Status)->text(),
              "tree.klz was read only in part: the data header counts 2 bodies; 1 are found before the end of the "
              "file");
}

// What the 3D view places with the selected scene objects: a cached object or frame the user chose
// last, not the first row a load shows; a move in 3D shows on the list's page.
TEST_F(OtherListsTest, AChosenCachedObjectIsPlacedAndItsPageFollowsTheMove)
{
    ui.load("Load &scene2.bin", mission / "scene2.bin");
    ui.load("Load &cache.bin", mission / "cache.bin");
    Selection& selection = ui.window->selection();
    EXPECT_TRUE(selection.placedItems().cache.empty()); // the load's first row
    ui.select(ids::CacheList, 2);
    EXPECT_EQ(selection.placedItems().cache, (std::vector<std::uint32_t>{2}));
    ASSERT_TRUE(moveItems(ui.window->mission(), selection.placedItems(), {1, 0, 0}, ui.prompter).done());
    QApplication::processEvents();
    EXPECT_EQ(text("Text5_1"), "5");
    ui.load("Load &cache.bin", mission / "cache.bin"); // read again: nothing chosen any more
    EXPECT_TRUE(selection.placedItems().cache.empty());
}
