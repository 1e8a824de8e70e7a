#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "foundation/bytes/ByteReader.h"
#include "foundation/files/FileAccess.h"
#include "support/SceneBuilder.h"
#include "support/SceneChecks.h"
#include "ui/WidgetNames.h"
#include "ui/WindowDriver.h"

using namespace mw;
using namespace mw::build;

namespace {

enum Row { CrateRow, GuardRow, DoorRow, LastRow, IntroRow, Name36Row, Name37Row };
const std::string Name36(36, 'n');
const std::string Name37(37, 'm');

} // namespace

class ScriptsDeletionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SceneBuilder b;
        b.beginObjects();
        crate = b.object({.name = "Crate", .type = 9, .translation = Floats3{1, 2, 3}, .model = "box.i3d"});
        guard = b.object({.name = "Guard", .type = 9, .translation = Floats3{4, 5, 6}});
        b.object({.name = "Door", .type = 9, .translation = Floats3{0, 0, 0}});
        last = b.object({.name = "LastOne", .type = 9, .translation = Floats3{0, 0, 0}});
        b.endObjects();
        b.beginDefinitions();
        guardDef = b.definition({"Guard", 0x1B, humanData(8, 10, 0.5f, 80, "say hi\r\nwait 1\r\n")});
        b.definition({"Door", 5, scriptedObjectData("open")});
        b.endDefinitions();
        b.beginScripts();
        intro = b.script("intro", "wait 2");
        b.script(Name36, "a");
        b.script(Name37, "b");
        b.endScripts();
        objectsStart = b.objectsStart;
        definitionsStart = b.definitionsStart;
        scriptsStart = b.scriptsStart;
        path = dir.path() / "missions" / "m" / "scene2.bin";
        original = b.finish();
        WindowDriver::write(path, original);
        ui.load("Load &scene2.bin", path);
    }

    template <class T>
    T* w(const char* name) { return ui.find<T>(name); }
    std::vector<std::uint8_t> onDisk() const { return readWholeFile(path); }
    std::uint32_t u32At(const std::vector<std::uint8_t>& bytes, std::size_t at) const { return ByteReader(bytes).u32(at); }
    std::uint32_t scriptOffset(int row) { return ui.window->mission().sceneCatalogue().entry(row).ScriptOffset; }
    void setScript(const QString& text) { w<QPlainTextEdit>(ids::ScriptBox)->setPlainText(text); }
    QString status() { return w<QLabel>(ids::Status)->text(); }
    QColor statusColour() { return w<QLabel>(ids::Status)->palette().color(QPalette::WindowText); }

    build::TempFolder dir;
    std::filesystem::path path;
    std::vector<std::uint8_t> original;
    ObjectOffsets crate, guard, last;
    DefinitionOffsets guardDef;
    ScriptOffsets intro;
    std::size_t objectsStart = 0, definitionsStart = 0, scriptsStart = 0;
    WindowDriver ui;
};

TEST_F(ScriptsDeletionTest, AScriptOfEqualLengthIsWrittenInPlaceWithoutAReload)
{
    ui.select(ids::AllList, GuardRow);
    EXPECT_EQ(w<QLineEdit>(ids::ScriptLength)->text(), "16");
    // Shown with plain line breaks; overwriting keeps the length, so nothing is marked.
    EXPECT_EQ(w<QPlainTextEdit>(ids::ScriptBox)->toPlainText(), "say hi\nwait 1\n");
    setScript("say yo\nwait 9\n");
    EXPECT_EQ(status(), "");
    QSignalSpy resets(w<QListView>(ids::AllList)->model(), &QAbstractItemModel::modelReset);
    w<QPushButton>(ids::SaveScriptButton)->click();
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(status(), " **** Saved ****");
    EXPECT_EQ(statusColour(), QColor(0, 192, 0));
    auto expected = original;
    const std::string stored = "say yo\r\nwait 9\r\n"; // the script's own line ends
    std::copy(stored.begin(), stored.end(), expected.begin() + scriptOffset(GuardRow) + 4);
    EXPECT_EQ(onDisk(), expected);
}

TEST_F(ScriptsDeletionTest, AnUneditedScriptIsSavedByteForByte)
{
    ui.select(ids::AllList, GuardRow);
    w<QPushButton>(ids::SaveScriptButton)->click();
    EXPECT_EQ(onDisk(), original);
}

TEST_F(ScriptsDeletionTest, ANewLengthMovesTheRestAndCorrectsEveryLength)
{
    struct Case {
        int row;
        QString text;
        int delta;
    };
    // The Guard's script is 16 bytes as stored (two CR LF line ends), the intro's 6.
    const Case cases[] = {{GuardRow, "say hi\nwait 1\nrun\n", 5}, {GuardRow, "say\nwait 1\n", -3},
                          {IntroRow, "wait 2000", 3}, {IntroRow, "wait", -2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        WindowDriver::write(path, original);
        ui.window->reloadScene();
        ui.select(ids::AllList, c.row);
        const std::uint32_t lengthField = scriptOffset(c.row);
        setScript(c.text);
        EXPECT_EQ(status(), "--- Not Saved! ---");
        EXPECT_EQ(statusColour(), QColor(255, 0, 0));
        w<QPushButton>(ids::SaveScriptButton)->click();

        const auto bytes = onDisk();
        expectConsistentScene(bytes);
        ASSERT_EQ(bytes.size(), original.size() + c.delta);
        const auto grown = [&](std::size_t field) { return u32At(bytes, field) - u32At(original, field); };
        EXPECT_EQ(int(grown(2)), c.delta);
        EXPECT_EQ(int(grown(lengthField)), c.delta);
        if (c.row == GuardRow) {
            EXPECT_EQ(int(grown(definitionsStart + 2)), c.delta);
            EXPECT_EQ(int(grown(guardDef.definition + 2)), c.delta);
            EXPECT_EQ(int(grown(guardDef.data + 2)), c.delta);
        } else {
            EXPECT_EQ(int(grown(definitionsStart + 2)), 0);
            EXPECT_EQ(int(grown(intro.chunk + 2)), c.delta);
            // The scripts section moved by nothing; its size changed.
            EXPECT_EQ(int(u32At(bytes, scriptsStart + 2) - u32At(original, scriptsStart + 2)), c.delta);
        }
        // Reloaded with the same entry selected and its new script shown.
        EXPECT_EQ(ui.selectedRow(ids::AllList), c.row);
        EXPECT_EQ(w<QPlainTextEdit>(ids::ScriptBox)->toPlainText(), c.text);
        EXPECT_EQ(status(), " **** Saved ****");
    }
}

TEST_F(ScriptsDeletionTest, TheSaveScriptQuestionSavesBeforeMoving)
{
    ui.select(ids::AllList, IntroRow);
    setScript("wait 2 and more");
    ui.prompter.answers = {true};
    ui.select(ids::AllList, CrateRow);
    EXPECT_EQ(ui.prompter.said, (std::vector<Said>{{"question", "Save script?", "Script not saved!"}}));
    EXPECT_EQ(onDisk().size(), original.size() + 9);
    EXPECT_EQ(ui.selectedRow(ids::AllList), IntroRow);
    // Shown again from the file as it now is: the saved text and its new length.
    EXPECT_EQ(w<QPlainTextEdit>(ids::ScriptBox)->toPlainText(), "wait 2 and more");
    EXPECT_EQ(w<QLineEdit>(ids::ScriptLength)->text(), "15");
    // An edit back to the old length is compared with the new one, so it is asked about too.
    setScript("wait 3");
    ui.prompter.said.clear();
    ui.prompter.answers = {false};
    ui.select(ids::AllList, CrateRow);
    EXPECT_EQ(ui.prompter.said, (std::vector<Said>{{"question", "Save script?", "Script not saved!"}}));

    // A value typed and unsaved, then a script of a new length saved from the question: the save
    // clears the values' edits and the entry is shown again as the file holds it, nothing red.
    ui.select(ids::AllList, GuardRow);
    w<QLineEdit>("Text5_0")->setText("40");
    setScript("say hi");
    ui.prompter.said.clear();
    ui.prompter.answers = {true};
    ui.select(ids::AllList, CrateRow);
    EXPECT_EQ(ui.prompter.said, (std::vector<Said>{{"question", "Save script?", "Script not saved!"}}));
    EXPECT_EQ(ui.selectedRow(ids::AllList), GuardRow);
    EXPECT_EQ(w<QLineEdit>("Text5_0")->text(), "4");
    EXPECT_NE(w<QLineEdit>("Text5_0")->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_FALSE(ui.window->edits().ChangedFlags[MissionFile::Scene]);
    EXPECT_EQ(w<QLineEdit>(ids::ScriptLength)->text(), "6");
}

TEST_F(ScriptsDeletionTest, TheListingAndItsSearch)
{
    w<QCheckBox>("Check1")->setChecked(true);
    const QString listing = w<QPlainTextEdit>(ids::ScriptPane)->toPlainText();
    // int((46 - (length + 4)) / 2) - 2 stars on each side: 16 for five letters, 17 for four.
    const QString stars16(16, '*'), stars17(17, '*');
    const QString expected = "\n\n" + stars16 + " -- Guard -- " + stars16 + "\nsay hi\nwait 1\n" + "\n\n" + stars17 +
                             " -- Door -- " + stars17 + "\nopen" + "\n\n" + stars16 + " -- intro -- " + stars16 +
                             "\nwait 2" + "\n\n* -- " +
                             QString::fromStdString(Name36) + " -- *\na" + "\n\n -- " + QString::fromStdString(Name37) +
                             " -- \nb";
    EXPECT_EQ(listing, expected);

    w<QLineEdit>("Text2_3")->setText("WAIT");
    w<QPushButton>(ids::ScriptSearch)->click();
    EXPECT_EQ(w<QPlainTextEdit>(ids::ScriptPane)->textCursor().selectionStart(), listing.indexOf("wait 1"));
    w<QPushButton>(ids::ScriptSearch)->click();
    EXPECT_EQ(w<QPlainTextEdit>(ids::ScriptPane)->textCursor().selectionStart(), listing.indexOf("wait 2"));
    ui.prompter.answers = {true};
    w<QPushButton>(ids::ScriptSearch)->click();
    EXPECT_EQ(ui.prompter.said, (std::vector<Said>{{"question", "Start search again?", "end of Scripts!"}}));
    EXPECT_EQ(w<QPlainTextEdit>(ids::ScriptPane)->textCursor().selectionStart(), listing.indexOf("wait 1"));

    // A rewrite refreshes the listing.
    ui.select(ids::AllList, IntroRow);
    setScript("wait 3 now");
    w<QPushButton>(ids::SaveScriptButton)->click();
    EXPECT_TRUE(w<QPlainTextEdit>(ids::ScriptPane)->toPlainText().contains("wait 3 now"));
}

TEST_F(ScriptsDeletionTest, DeletingRemovesTheObjectAndItsDefinition)
{
    const auto length = [&](std::size_t at) { return u32At(original, at + 2); };
    struct Case {
        int row;
        std::uint32_t objectBytes, definitionBytes;
        QStringList names;
        int selected;
    };
    const Case cases[] = {
        {CrateRow, length(crate.object), 0, {"Guard", "Door", "LastOne"}, CrateRow},
        {GuardRow, length(guard.object), length(guardDef.definition), {"Crate", "Door", "LastOne"}, GuardRow},
        {LastRow, length(last.object), 0, {"Crate", "Guard", "Door"}, LastRow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        WindowDriver::write(path, original);
        ui.window->reloadScene();
        ui.select(ids::AllList, c.row);
        w<QPushButton>(ids::DeleteButton)->click();
        const auto bytes = onDisk();
        expectConsistentScene(bytes);
        EXPECT_EQ(bytes.size(), original.size() - c.objectBytes - c.definitionBytes);
        EXPECT_EQ(u32At(bytes, objectsStart + 2), u32At(original, objectsStart + 2) - c.objectBytes);
        EXPECT_EQ(u32At(bytes, definitionsStart - c.objectBytes + 2),
                  u32At(original, definitionsStart + 2) - c.definitionBytes);
        EXPECT_EQ(ui.rows(ids::AllList).mid(0, 3), c.names);
        // The entry that took the deleted one's row is shown (after the last object: the first script).
        EXPECT_EQ(ui.selectedRow(ids::AllList), c.selected);
    }
}

TEST_F(ScriptsDeletionTest, AScriptEntryIsNotDeleted)
{
    ui.select(ids::AllList, IntroRow);
    w<QPushButton>(ids::DeleteButton)->click();
    EXPECT_EQ(ui.prompter.said, (std::vector<Said>{{"message", "Could not be deleted!", "Delete Model"}}));
    EXPECT_EQ(onDisk(), original);
}
