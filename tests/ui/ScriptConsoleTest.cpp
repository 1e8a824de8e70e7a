// The script console through the window: a line typed runs as one step of "&Undo", its output and
// the line that failed shown below; "Run Script…" runs a file the same way.
#include <QDockWidget>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

#include "foundation/files/FileAccess.h"
#include "support/SceneBuilder.h"
#include "support/TempFolder.h"
#include "ui/WidgetNames.h"
#include "ui/WindowDriver.h"

using namespace mw;
using namespace mw::build;

TEST(ScriptConsole, ALineTypedRunsAsOneStepWithItsOutputBelow)
{
    TempFolder dir;
    SceneBuilder b;
    b.beginObjects();
    for (const char* name : {"Lamp1", "Lamp2", "Crate"})
        b.object({.name = std::string(name), .type = 9, .translation = Floats3{0, 0, 0}});
    b.endObjects();
    const auto path = dir.path() / "m" / "scene2.bin";
    WindowDriver::write(path, b.finish());
    WindowDriver ui;
    ui.window->show();
    ui.window->openPaths({QString::fromStdString(path.string())});
    ui.action(ids::ShowScriptConsole)->trigger();
    const auto before = readWholeFile(path);

    auto* input = ui.find<QLineEdit>("ScriptInput");
    auto* output = ui.find<QPlainTextEdit>("ScriptOutput");
    QTest::keyClicks(input, QStringLiteral("move(mission.find('^Lamp'), 0, 2, 0); print('lifted')"));
    QTest::keyClick(input, Qt::Key_Return);
    EXPECT_TRUE(output->toPlainText().contains(QStringLiteral("lifted\nChanged scene2.bin: 2 objects moved.")))
        << output->toPlainText().toStdString();
    EXPECT_TRUE(input->text().isEmpty());
    EXPECT_NE(readWholeFile(path), before);
    EXPECT_EQ(ui.action(ids::Undo)->text(), QStringLiteral("&Undo Script console"));
    ui.action(ids::Undo)->trigger();
    EXPECT_EQ(readWholeFile(path), before);

    // Up brings the line back; a failing line says where and shows itself, and writes nothing.
    QTest::keyClick(input, Qt::Key_Up);
    EXPECT_TRUE(input->text().startsWith(QStringLiteral("move(mission.find")));
    input->setText(QStringLiteral("move(7, 0, 1, 0)"));
    QTest::keyClick(input, Qt::Key_Return);
    EXPECT_TRUE(output->toPlainText().endsWith(
        QStringLiteral("Stopped at console:1: move: there is no object at objects row 7. Nothing was changed.\n    move(7, 0, 1, 0)")))
        << output->toPlainText().toStdString();
    EXPECT_EQ(readWholeFile(path), before);

    // A file through the editor's file dialog, named in its step.
    WindowDriver::write(dir.path() / "lift.js", {'m', 'o', 'v', 'e', '(', '2', ',', '0', ',', '5', ',', '0', ')'});
    ui.files.answers.push_back((dir.path() / "lift.js").string());
    ui.action(ids::RunScript)->trigger();
    EXPECT_EQ(ui.action(ids::Undo)->text(), QStringLiteral("&Undo Script lift.js"));
}
