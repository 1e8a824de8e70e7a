#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "support/MissionFileBuilders.h"
#include "support/SceneBuilder.h"
#include "ui/WidgetNames.h"
#include "ui/WindowDriver.h"

using namespace mw;
using namespace mw::build;
namespace fs = std::filesystem;

class WindowSearchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mission = dir.path() / "missions" / "m1";
        SceneBuilder s;
        s.beginObjects();
        for (const char* name : {"Lamp", "Door01", "Crate", "frontdoor", "Radio"})
            s.object({.name = name, .type = 9, .translation = Floats3{0, 0, 0}});
        s.endObjects();
        WindowDriver::write(mission / "scene2.bin", s.finish());

        CacheBuilder c;
        c.base("block");
        c.object("a.i3d", {12.24f, 1, 2}, {1, 0, 0, 0}, {1, 1, 1});
        c.object("b.i3d", {12.26f, 5, 2}, {1, 0, 0, 0}, {1, 1, 1});
        c.object("c.i3d", {12.26f, 1, 2}, {1, 0, 0, 0}, {1, 1, 1});
        WindowDriver::write(mission / "cache.bin", c.finish());
    }

    void click(const char* button) { ui.find<QPushButton>(button)->click(); }
    void setField(const char* field, const QString& text) { ui.find<QLineEdit>(field)->setText(text); }
    QString text(const char* box) { return ui.find<QLineEdit>(box)->text(); }

    TempFolder dir;
    fs::path mission;
    WindowDriver ui;
};

TEST_F(WindowSearchTest, NameSearchFindsSubstringsIgnoringCase)
{
    ui.load("Load &scene2.bin", mission / "scene2.bin");
    setField("Text19", "door");
    click("search_0");
    EXPECT_EQ(ui.selectedRow(ids::AllList), 1); // Door01
    EXPECT_EQ(ui.find<QLineEdit>(ids::EntryName)->text(), "Door01");
    click("search_0");
    EXPECT_EQ(ui.selectedRow(ids::AllList), 3); // frontdoor
    EXPECT_TRUE(ui.prompter.said.empty());

    // At the end: Yes goes on from the top.
    ui.prompter.answers.push_back(true);
    click("search_0");
    EXPECT_EQ(ui.prompter.said, (std::vector<Said>{{"question", "Search again?", "End of list!"}}));
    EXPECT_EQ(ui.selectedRow(ids::AllList), 1);

    // No leaves the selection as it was.
    ui.select(ids::AllList, 4);
    ui.prompter.said.clear();
    ui.prompter.answers.push_back(false);
    click("search_0");
    EXPECT_EQ(ui.prompter.said.size(), 1u);
    EXPECT_EQ(ui.selectedRow(ids::AllList), 4);

    // An empty field does nothing at all.
    ui.prompter.said.clear();
    setField("Text19", "");
    click("search_0");
    EXPECT_TRUE(ui.prompter.said.empty());
    EXPECT_EQ(ui.selectedRow(ids::AllList), 4);
}

TEST_F(WindowSearchTest, NameSearchOnTheOtherTabs)
{
    ui.load("Load &scene2.bin", mission / "scene2.bin");
    ui.load("Load &cache.bin", mission / "cache.bin");
    setField("Text21", "DOOR"); // "Things"
    click("search_2");
    EXPECT_EQ(ui.selectedRow(ids::ThingList), 1);
    EXPECT_EQ(ui.selectedRow(ids::AllList), 1);
    setField("Text13", "c.i3d");
    click("search_3");
    EXPECT_EQ(ui.selectedRow(ids::CacheList), 3);
}

TEST_F(WindowSearchTest, TranslationSearchRoundsToOneDecimal)
{
    ui.load("Load &cache.bin", mission / "cache.bin");
    setField("Text16", "12.34");
    click("searchTrans_1"); // X
    EXPECT_EQ(text("Text16"), "12.3");
    EXPECT_EQ(ui.selectedRow(ids::CacheList), 2); // 12.26 matches, 12.24 does not
    EXPECT_EQ(text("Text24"), "12.3");
    EXPECT_EQ(text("Name_1"), "b.i3d");

    // All three axes must match.
    setField("Text14", "1");
    setField("Text18", "2.04");
    click("SearchTransAll_0");
    EXPECT_EQ(ui.selectedRow(ids::CacheList), 3);
    EXPECT_EQ(text("Text14"), "1.0");
    EXPECT_EQ(text("Text18"), "2.0");
    EXPECT_TRUE(ui.prompter.said.empty());
}

TEST_F(WindowSearchTest, SearchAllWithAnEmptyFieldMovesOnThenSaysPutNumeric)
{
    ui.load("Load &cache.bin", mission / "cache.bin");
    ui.select(ids::CacheList, 1);
    setField("Text16", "1");
    setField("Text14", "");
    setField("Text18", "2");
    click("SearchTransAll_0");
    EXPECT_EQ(ui.prompter.said, (std::vector<Said>{{"message", "Put numeric", ""}}));
    EXPECT_EQ(ui.selectedRow(ids::CacheList), 2);
    EXPECT_EQ(text("Text24"), "12.26"); // shown, not compared
}

TEST_F(WindowSearchTest, NoAtTheEndLeavesTheLastRowComparedAndShown)
{
    ui.load("Load &cache.bin", mission / "cache.bin");
    ui.select(ids::CacheList, 1);
    setField("Text16", "99");
    ui.prompter.answers.push_back(false);
    click("searchTrans_1");
    EXPECT_EQ(ui.prompter.said, (std::vector<Said>{{"question", "Search again?", "End of list!"}}));
    EXPECT_EQ(ui.selectedRow(ids::CacheList), 3);
    EXPECT_EQ(text("Name_1"), "c.i3d");
    EXPECT_EQ(text("Text24"), "12.3");

    ui.load("Load &scene2.bin", mission / "scene2.bin");
    setField("Text19", "nothing");
    ui.prompter.answers.push_back(false);
    click("search_0");
    EXPECT_EQ(ui.selectedRow(ids::AllList), 4);
    EXPECT_EQ(ui.find<QLineEdit>(ids::EntryName)->text(), "Radio");
}

TEST_F(WindowSearchTest, StopButtonsSetTheirFlags)
{
    ui.load("Load &cache.bin", mission / "cache.bin");
    click("stopsearch_3");
    EXPECT_TRUE(ui.window->edits().NameSearchStop);
    for (const char* stop : {"StopSearchTrans", "Command3", "StopTRSearch"}) {
        ui.window->edits().TranslationSearchStop = false;
        click(stop);
        EXPECT_TRUE(ui.window->edits().TranslationSearchStop) << stop;
    }
    // A search clears its flag when it starts.
    setField("Text13", "b.i3d");
    click("search_3");
    EXPECT_FALSE(ui.window->edits().NameSearchStop);
    EXPECT_EQ(ui.selectedRow(ids::CacheList), 2);
}
