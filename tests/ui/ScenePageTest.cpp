#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

#include "foundation/bytes/ByteReader.h"
#include "foundation/bytes/ByteWriter.h"
#include "foundation/files/FileAccess.h"
#include "support/SceneBuilder.h"
#include "ui/ValueColours.h"
#include "ui/WidgetNames.h"
#include "ui/WindowDriver.h"

using namespace mw;
using namespace mw::build;
namespace fs = std::filesystem;

namespace {

enum Row { LampRow, RadioRow, MuteRow, GuardRow, OddRow, BarrelRow, CarRow, TommyRow, BareRow, LoudRow };

} // namespace

class ScenePageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SceneBuilder b;
        b.beginObjects();
        lamp = b.object({.name = "Lamp", .type = 2, .translation = Floats3{1, 2, 3},
                         .rotation = std::array<float, 4>{0.5f, 0.5f, 0.25f, 0.5f}, .size = Floats3{1, 1, 1},
                         .light = LightParts{.kind = 2, .colour = Floats3{1.0f, 0.2f, 0.0f}, .power = 2.5f,
                                            .range = Floats2{0.25f, 0.5f}, .distance = Floats2{1, 25}}});
        radio = b.object({.name = "Radio", .type = 4, .translation = Floats3{0, 0, 0},
                          .rotation = std::array<float, 4>{1, 0, 0, 0}, .size = Floats3{1, 1, 1},
                          .sound = SoundParts{.fileName = "radio.wav", .kind = 3, .volume = 1,
                                             .fields34 = Floats2{1, 2}, .fields56 = Floats2{40, 100}}});
        b.object({.name = "Mute", .type = 4, .translation = Floats3{0, 0, 0}, .sound = SoundParts{.kind = 1}});
        guardObject = b.object({.name = "Guard", .type = 9, .translation = Floats3{4, 5, 6},
                                .rotation = std::array<float, 4>{1, 0, 0, 0}, .size = Floats3{1, 1, 1},
                                .model = "Enemy12K.i3d", .link = "Primary sector"});
        b.object({.name = "Odd", .type = 9, .translation = Floats3{0, 0, 0}});
        b.object({.name = "Barrel", .type = 9, .translation = Floats3{0, 0, 0}, .model = "xbarel 2.i3d"});
        b.object({.name = "Car", .type = 9, .translation = Floats3{0, 0, 0}});
        b.object({.name = "Tommy", .type = 9, .translation = Floats3{0, 0, 0}});
        b.object({.name = "Bare"});
        b.object({.name = "Loud", .type = 9, .translation = Floats3{0, 0, 0}});
        b.endObjects();
        b.beginDefinitions();
        guardDef = b.definition({"Guard", 0x1B, humanData(32, 12, 0.75f, 82, "guard script")});
        b.definition({"Odd", 0x1B, humanData(1, 3, 0.5f, 70, "x")});
        barrelDef = b.definition({"Barrel", 0x23, thingData(26.5f, 2)});
        b.definition({"Car", 4, std::vector<std::uint8_t>(20, 0)});
        b.definition({"Tommy", 0x1B, humanData(8, 1, 0.5f, 80, "player")});
        b.definition({"Loud", 0x23, thingData(3, 12)}); // a sound the list does not have
        b.endDefinitions();
        path = dir.path() / "missions" / "m" / "scene2.bin";
        original = b.finish();
        WindowDriver::write(path, original);
        ui.load("Load &scene2.bin", path);
    }

    template <class T>
    T* w(const char* name) { return ui.find<T>(name); }
    QString text(const char* box) { return w<QLineEdit>(box)->text(); }
    bool panelShown(const char* frame) { return w<QGroupBox>(frame)->isVisibleTo(ui.window.get()); }
    void type(const char* box, const QString& value)
    {
        QLineEdit* b = w<QLineEdit>(box);
        b->selectAll();
        QTest::keyClicks(b, value);
    }
    std::vector<std::uint8_t> onDisk() const { return readWholeFile(path); }
    void save() { w<QPushButton>("SaveValue_0")->click(); }

    TempFolder dir;
    fs::path path;
    std::vector<std::uint8_t> original;
    WindowDriver ui;
    ObjectOffsets lamp, radio, guardObject;
    DefinitionOffsets guardDef, barrelDef;
};

TEST_F(ScenePageTest, ShowsEachKindWithItsPanel)
{
    ui.select(ids::AllList, LampRow);
    EXPECT_EQ(text(ids::EntryName), "Lamp");
    EXPECT_EQ(text("Text5_0"), "1");
    EXPECT_EQ(text("Text7_0"), "3");
    EXPECT_TRUE(panelShown("Frame5"));
    EXPECT_FALSE(panelShown("Frame10") || panelShown("Frame9") || panelShown("Frame8"));
    EXPECT_EQ(text("Text32"), "2.5");
    EXPECT_EQ(text("Text33"), "255");
    EXPECT_EQ(text("Text34"), "51");
    EXPECT_EQ(text("Text35"), "0");
    EXPECT_EQ(w<QSlider>("Slider3")->value(), 255);
    EXPECT_EQ(w<QSlider>("Slider4")->value(), 51);
    EXPECT_EQ(text("Text56"), "1");
    EXPECT_EQ(text("Text57"), "25");
    EXPECT_EQ(text("Text58"), "0.25");
    EXPECT_EQ(text("Text59"), "0.5");
    EXPECT_EQ(w<QLabel>("Picture4_1")->palette().color(QPalette::Window), QColor(255, 51, 0));
    // The rotation: Slider1 from q1 = 0.5, Slider2 from q4 = 0.5, Text11 from q2 = 0.5.
    EXPECT_EQ(w<QSlider>("Slider1_0")->value(), 30);
    EXPECT_EQ(w<QSlider>("Slider2_0")->value(), -30);
    EXPECT_EQ(text("Text11_0").left(6), "30.000");
    EXPECT_EQ(w<QLineEdit>("Text11_0")->cursorPosition(), 0); // a long value shown from its start
    EXPECT_EQ(text("Text3_0"), "0.5");
    EXPECT_EQ(text("Text4_0"), "0.25");
    EXPECT_EQ(text("Text12_0"), "0.5");

    ui.select(ids::AllList, RadioRow);
    EXPECT_TRUE(panelShown("Frame10"));
    EXPECT_FALSE(panelShown("Frame5"));
    EXPECT_EQ(text("Text45"), "radio.wav");
    EXPECT_EQ(text("Text44"), "3");
    EXPECT_EQ(w<QComboBox>("Combo2")->currentText(), "general");
    EXPECT_TRUE(w<QLineEdit>("Text43")->isReadOnly());
    EXPECT_TRUE(w<QLineEdit>("Text39")->isReadOnly());
    EXPECT_EQ(text("Text39"), "100");

    ui.select(ids::AllList, MuteRow); // a sound without a file name
    EXPECT_FALSE(panelShown("Frame10"));

    ui.select(ids::AllList, GuardRow);
    EXPECT_TRUE(panelShown("Frame9"));
    EXPECT_EQ(w<QComboBox>("Combo3")->currentText(), "React on Attack");
    EXPECT_EQ(text("Text36"), "12");
    EXPECT_EQ(text("Text37"), "0.75");
    EXPECT_EQ(text("Text38"), "82");
    EXPECT_EQ(text("Text2_12"), "Enemy12K.i3d");
    EXPECT_EQ(text("Text26"), "Primary sector");
    EXPECT_EQ(w<QPlainTextEdit>(ids::ScriptBox)->toPlainText(), "guard script");
    EXPECT_TRUE(w<QPlainTextEdit>(ids::ScriptBox)->isEnabled());
    EXPECT_EQ(text(ids::ScriptLength), "12");
    EXPECT_EQ(ui.selectedRow(ids::ScriptList), 0); // the same entry in "Scripts"

    ui.select(ids::AllList, OddRow); // behaviour byte 1 is none of the listed behaviours
    EXPECT_EQ(w<QComboBox>("Combo3")->currentIndex(), -1);

    ui.select(ids::AllList, BarrelRow);
    EXPECT_TRUE(panelShown("Frame8"));
    EXPECT_EQ(text("Text46"), "26.5");
    EXPECT_EQ(w<QComboBox>("Combo1")->currentText(), "Barrel 1");
    EXPECT_FALSE(w<QPlainTextEdit>(ids::ScriptBox)->isEnabled());
    ui.select(ids::AllList, LoudRow); // the first entry, which a save writes
    EXPECT_EQ(w<QComboBox>("Combo1")->currentIndex(), 0);

    for (int row : {CarRow, TommyRow, BareRow}) {
        ui.select(ids::AllList, row);
        EXPECT_FALSE(panelShown("Frame5") || panelShown("Frame10") || panelShown("Frame9") || panelShown("Frame8"))
            << row;
    }
    EXPECT_EQ(ui.window->mission().sceneCatalogue().entry(TommyRow).typeCode, 0x37u);
    // No translation, size or rotation chunk: those boxes are disabled.
    EXPECT_FALSE(w<QLineEdit>("Text5_0")->isEnabled());
    EXPECT_FALSE(w<QLineEdit>("Text8_0")->isEnabled());
    EXPECT_FALSE(w<QSlider>("Slider1_0")->isEnabled());
    ui.select(ids::AllList, CarRow);
    EXPECT_TRUE(w<QLineEdit>("Text5_0")->isEnabled());
    EXPECT_FALSE(w<QLineEdit>("Text8_0")->isEnabled());
}

TEST_F(ScenePageTest, EditsTurnRedOnlyWhenTheValueDiffers)
{
    ui.select(ids::AllList, GuardRow);
    type("Text5_0", "4.0");
    EXPECT_FALSE(isPaintedEdited(w<QLineEdit>("Text5_0")));
    EXPECT_FALSE(ui.window->edits().ChangedFlags[MissionFile::Scene]);
    type("Text5_0", "4.5");
    EXPECT_EQ(w<QLineEdit>("Text5_0")->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_TRUE(ui.window->edits().ChangedFlags[MissionFile::Scene]);
    type("Text6_0", "-");
    EXPECT_TRUE(isPaintedEdited(w<QLineEdit>("Text6_0")));

    // A click into the vertical rotation marks it, with no comparison.
    ui.prompter.answers = {false};
    ui.select(ids::AllList, LampRow);
    EXPECT_FALSE(ui.window->edits().ChangedFlags[MissionFile::Scene]);
    QTest::mouseClick(w<QLineEdit>("Text11_0"), Qt::LeftButton);
    EXPECT_TRUE(isPaintedEdited(w<QLineEdit>("Text11_0")));
    EXPECT_TRUE(ui.window->edits().ChangedFlags[MissionFile::Scene]);
}

TEST_F(ScenePageTest, SavingWritesTheBoxesIntoTheFile)
{
    ui.select(ids::AllList, GuardRow);
    type("Text5_0", "10");
    type("Text9_0", "2.5");
    type("Text36", "30");
    type("Text37", "0.25");
    w<QComboBox>("Combo3")->setCurrentIndex(7); // "Afraid!"
    save();
    EXPECT_TRUE(ui.prompter.said.empty());
    const auto bytes = onDisk();
    ASSERT_EQ(bytes.size(), original.size());
    const ByteReader r(bytes);
    EXPECT_EQ(r.f32(guardObject.translation), 10.0f);
    EXPECT_EQ(r.f32(guardObject.size + 4), 2.5f);
    EXPECT_EQ(r.u8(guardDef.dataPayload + 1), 128);
    EXPECT_EQ(r.u8(guardDef.dataPayload + 5), 30);
    EXPECT_EQ(r.f32(guardDef.dataPayload + 41), 0.25f);
    EXPECT_FALSE(isPaintedEdited(w<QLineEdit>("Text5_0")));
    EXPECT_FALSE(ui.window->edits().ChangedFlags[MissionFile::Scene]);
    EXPECT_TRUE(w<QLabel>("SavedMarker_0")->isVisibleTo(ui.window.get()));
    EXPECT_EQ(w<QLabel>("SavedMarker_0")->text(), "SAVED");

    // Another selection hides the marker and shows what was saved.
    ui.select(ids::AllList, LampRow);
    EXPECT_FALSE(w<QLabel>("SavedMarker_0")->isVisibleTo(ui.window.get()));
    ui.select(ids::AllList, GuardRow);
    EXPECT_EQ(text("Text5_0"), "10");
}

TEST_F(ScenePageTest, SlidersSetTheRotationComponents)
{
    ui.select(ids::AllList, GuardRow);
    w<QSlider>("Slider1_0")->setValue(91);
    EXPECT_EQ(text("Text3_0").left(8), "-0.99984");
    EXPECT_EQ(text("Text4_0").left(6), "0.0174");
    EXPECT_TRUE(isPaintedEdited(w<QLabel>("Label30_0")));
    EXPECT_TRUE(ui.window->edits().ChangedFlags[MissionFile::Scene]);
    w<QSlider>("Slider2_0")->setValue(-30);
    EXPECT_EQ(text("Text12_0"), "0.5");
    EXPECT_TRUE(isPaintedEdited(w<QLabel>("Label3_0")));
    type("Text11_0", "90");
    save();
    const auto bytes = onDisk();
    const ByteReader r(bytes);
    EXPECT_NEAR(r.f32(guardObject.rotation), -0.99985f, 1e-5);
    EXPECT_EQ(r.f32(guardObject.rotation + 4), 1.0f);
    EXPECT_NEAR(r.f32(guardObject.rotation + 8), 0.01745f, 1e-5);
    EXPECT_EQ(r.f32(guardObject.rotation + 12), 0.5f);
    EXPECT_FALSE(isPaintedEdited(w<QLabel>("Label30_0")));
}

TEST_F(ScenePageTest, LightColourSliders)
{
    ui.select(ids::AllList, LampRow);
    w<QSlider>("Slider5")->setValue(255);
    EXPECT_EQ(text("Text35"), "255");
    EXPECT_TRUE(isPaintedEdited(w<QLabel>("Label14")));
    EXPECT_EQ(w<QLabel>("Picture4_1")->palette().color(QPalette::Window), QColor(255, 51, 255));
    save();
    const auto bytes = onDisk();
    EXPECT_EQ(ByteReader(bytes).f32(lamp.lightColour + 8), 1.0f);
    EXPECT_FALSE(isPaintedEdited(w<QLabel>("Label14")));
}

TEST_F(ScenePageTest, SoundTypeComboLocksVolumeAndDistance)
{
    ui.select(ids::AllList, RadioRow);
    auto* combo = w<QComboBox>("Combo2");
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    EXPECT_EQ(text("Text44"), "1");
    EXPECT_FALSE(w<QLineEdit>("Text43")->isReadOnly());
    EXPECT_TRUE(ui.window->edits().ChangedFlags[MissionFile::Scene]);
    w<QLineEdit>("Text43")->clear();
    combo->setCurrentIndex(0);
    emit combo->activated(0);
    EXPECT_EQ(text("Text44"), "3");
    EXPECT_EQ(text("Text43"), "1");
    EXPECT_TRUE(w<QLineEdit>("Text43")->isReadOnly());
}

TEST_F(ScenePageTest, ValidationMessagesAndFailedStages)
{
    ui.select(ids::AllList, LampRow);
    type("Text6_0", "abc");
    save();
    EXPECT_EQ(ui.prompter.said, (std::vector<Said>{{"message", "Put numeric", "Translation"}}));
    EXPECT_EQ(onDisk(), original);
    EXPECT_TRUE(ui.window->edits().ChangedFlags[MissionFile::Scene]);

    ui.prompter.said.clear();
    type("Text6_0", "7");
    type("Text32", "6");
    save();
    EXPECT_EQ(ui.prompter.said, (std::vector<Said>{{"message", "Value 0 ... 5", "Light brightness"}}));
    const auto bytes = onDisk();
    EXPECT_EQ(ByteReader(bytes).f32(lamp.translation + 4), 7.0f); // the transform was saved
    EXPECT_EQ(ByteReader(bytes).f32(lamp.lightPower), 2.5f);      // the light values were not
    EXPECT_TRUE(isPaintedEdited(w<QLineEdit>("Text32")));
    EXPECT_TRUE(ui.window->edits().ChangedFlags[MissionFile::Scene]);
}

TEST_F(ScenePageTest, SaveValuesPromptYesKeepsTheEntryAndSaves)
{
    ui.select(ids::AllList, GuardRow);
    type("Text7_0", "66.50");
    ui.prompter.answers.push_back(true);
    ui.select(ids::AllList, LampRow);
    EXPECT_EQ(ui.prompter.said, (std::vector<Said>{{"question", "Save values?", "Values not saved!"}}));
    EXPECT_EQ(ui.selectedRow(ids::AllList), GuardRow);
    EXPECT_EQ(text(ids::EntryName), "Guard");
    EXPECT_EQ(ByteReader(onDisk()).f32(guardObject.translation + 8), 66.5f);
    EXPECT_EQ(text("Text7_0"), "66.5"); // shown again as the file holds it
    EXPECT_FALSE(ui.window->edits().ChangedFlags[MissionFile::Scene]);
}

TEST_F(ScenePageTest, SaveValuesPromptNoDiscardsTheEdit)
{
    ui.select(ids::AllList, GuardRow);
    type("Text7_0", "66");
    ui.prompter.answers.push_back(false);
    ui.select(ids::AllList, LampRow);
    EXPECT_EQ(ui.prompter.said.size(), 1u);
    EXPECT_EQ(ui.selectedRow(ids::AllList), LampRow);
    EXPECT_EQ(text(ids::EntryName), "Lamp");
    EXPECT_FALSE(isPaintedEdited(w<QLineEdit>("Text7_0")));
    EXPECT_FALSE(ui.window->edits().ChangedFlags[MissionFile::Scene]);
    EXPECT_EQ(onDisk(), original);
}

TEST_F(ScenePageTest, AFileChangedOnDiskIsReadAgainInsteadOfWritten)
{
    ui.select(ids::AllList, GuardRow);
    type("Text5_0", "12");
    auto changed = original; // another program moved the guard
    putF32(changed, guardObject.translation + 4, 99.0f);
    WindowDriver::write(path, changed);
    save();
    ASSERT_EQ(ui.prompter.said.size(), 1u);
    EXPECT_NE(ui.prompter.said[0].text.find("scene2.bin"), std::string::npos);
    EXPECT_EQ(onDisk(), changed);
    EXPECT_EQ(ui.selectedRow(ids::AllList), GuardRow);
    EXPECT_EQ(text("Text5_0"), "4");
    EXPECT_EQ(text("Text6_0"), "99");
    EXPECT_FALSE(ui.window->edits().ChangedFlags[MissionFile::Scene]);
}
