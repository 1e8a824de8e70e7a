// The "Selection" dock through the window: what it shows of several objects, what Enter writes,
// and that the inspector's unsaved edits are asked about first.
#include <QComboBox>
#include <QDockWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "foundation/bytes/ByteReader.h"
#include "foundation/files/FileAccess.h"
#include "support/SceneBuilder.h"
#include "support/TempFolder.h"
#include "ui/Selection.h"
#include "ui/SelectionDock.h"
#include "ui/WidgetNames.h"
#include "ui/WindowDriver.h"

using namespace mw;
using namespace mw::build;

namespace {

// Three lamps of brightness 1, 2 and 3, and a crate; the dock shown.
class SelectionDockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SceneBuilder b;
        b.beginObjects();
        for (int k = 0; k < 3; ++k)
            power[k] = b.object({.name = "Lamp" + std::to_string(k), .type = 2, .translation = Floats3{float(k), 0, 0},
                                 .rotation = std::array<float, 4>{0, 0, 1, 0}, .size = Floats3{1, 1, 1},
                                 .light = LightParts{.kind = 2, .colour = Floats3{1, 1, 1}, .power = float(k + 1),
                                                     .range = Floats2{1, 2}, .distance = Floats2{3, 4}}})
                           .lightPower;
        b.object({.name = "Crate", .type = 9, .translation = Floats3{5, 0, 0}, .size = Floats3{1, 1, 1}});
        b.endObjects();
        path = dir.path() / "m" / "scene2.bin";
        WindowDriver::write(path, b.finish());
        ui.window->resize(1280, 800);
        ui.window->show();
        ui.action(ids::ShowSelectionDock)->trigger();
        ui.window->openPaths({QString::fromStdString(path.string())});
        ui.window->selection().selectSceneRows({0, 1, 2}, false);
    }
    QLineEdit* box(const char* name) const
    {
        return ui.window->findChild<QLineEdit*>(QStringLiteral("SelectionField_") + QLatin1String(name));
    }
    void type(const char* field, const char* text)
    {
        box(field)->clear();
        QTest::keyClicks(box(field), QString::fromLatin1(text));
        QTest::keyClick(box(field), Qt::Key_Return);
    }
    std::vector<float> brightness() const
    {
        const auto bytes = readWholeFile(path);
        return {ByteReader(bytes).f32(power[0]), ByteReader(bytes).f32(power[1]), ByteReader(bytes).f32(power[2])};
    }

    TempFolder dir;
    std::filesystem::path path;
    std::array<std::size_t, 3> power{};
    WindowDriver ui;
};

} // namespace

TEST_F(SelectionDockTest, ThreeLampsShowTheirBrightnessMixedAndARelativeValueRaisesEachInOneStep)
{
    ASSERT_TRUE(ui.window->selectionDock().dock()->isVisible());
    EXPECT_EQ(box("brightness")->text(), QString());
    EXPECT_EQ(box("brightness")->placeholderText(), QString::fromUtf8("(mixed: 1 \u2026 3)"));
    EXPECT_EQ(box("cone")->text(), QStringLiteral("4"));
    const auto before = readWholeFile(path);

    type("brightness", "+1");
    EXPECT_EQ(brightness(), (std::vector<float>{2, 3, 4}));
    EXPECT_TRUE(ui.prompter.said.empty());
    EXPECT_EQ(box("brightness")->placeholderText(), QString::fromUtf8("(mixed: 2 \u2026 4)")); // as the file now is
    ui.action(ids::Undo)->trigger();
    EXPECT_EQ(readWholeFile(path), before);
    EXPECT_EQ(box("brightness")->placeholderText(), QString::fromUtf8("(mixed: 1 \u2026 3)"));

    // A size that is no number: the inspector's message, the first lamp named, nothing written.
    type("sizeX", "abc");
    EXPECT_EQ(ui.prompter.said, (std::vector<Said>{{"message", "Put numeric", "Size: Lamp0"}}));
    EXPECT_EQ(readWholeFile(path), before);
    EXPECT_FALSE(ui.action(ids::Undo)->isEnabled() && ui.action(ids::Undo)->text().contains(QStringLiteral("Size")));

    // One object, or a lamp and the crate: the lamps' own fields go.
    ui.window->selection().selectSceneRows({0, 3}, false);
    EXPECT_FALSE(box("x")->isHidden());
    EXPECT_TRUE(box("brightness")->isHidden());
    ui.window->selection().selectSceneRows({2}, false);
    EXPECT_TRUE(box("x")->isHidden());
}

TEST_F(SelectionDockTest, TheInspectorsUnsavedValuesOfASelectedLampAreAskedAboutFirst)
{
    auto* inspectorBrightness = ui.find<QLineEdit>("Text32");
    inspectorBrightness->setFocus();
    inspectorBrightness->selectAll();
    QTest::keyClicks(inspectorBrightness, QStringLiteral("5"));
    ui.prompter.answers = {false}; // let the inspector's edit go
    type("brightness", "0.5");
    EXPECT_EQ(ui.prompter.said, (std::vector<Said>{{"question", "Save values?", "Values not saved!"}}));
    EXPECT_EQ(brightness(), (std::vector<float>{0.5f, 0.5f, 0.5f}));
    EXPECT_EQ(inspectorBrightness->text(), QStringLiteral("0.5"));
}

TEST_F(SelectionDockTest, ApplyWritesEveryTypedFieldAsOneStepAndKeepsWhatARefusalLeft)
{
    const auto before = readWholeFile(path);
    QTest::keyClicks(box("brightness"), QStringLiteral("+1"));
    box("sizeX")->clear();
    QTest::keyClicks(box("sizeX"), QStringLiteral("abc"));
    ui.find<QPushButton>("SelectionApply")->click();
    EXPECT_EQ(readWholeFile(path), before);
    EXPECT_EQ(box("brightness")->text(), QStringLiteral("+1")); // still there to be put right
    box("sizeX")->clear();
    QTest::keyClicks(box("sizeX"), QStringLiteral("2"));
    ui.find<QPushButton>("SelectionApply")->click();
    EXPECT_EQ(brightness(), (std::vector<float>{2, 3, 4}));
    EXPECT_EQ(box("sizeX")->text(), QStringLiteral("2"));
    EXPECT_EQ(ui.action(ids::Undo)->text(), QStringLiteral("&Undo Set 2 fields of 3 objects"));
}
