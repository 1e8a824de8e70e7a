#include <QApplication>
#include <QCheckBox>
#include <QDockWidget>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>
#include <fstream>

#include "ui/MainWindow.h"
#include "ui/WidgetNames.h"
#include "ui/WindowDriver.h"

using namespace mw;
using namespace mw::build;

namespace {

QString iniIn(const QTemporaryDir& dir) { return dir.filePath(QStringLiteral("settings.conf")); }

} // namespace

// What a window leaves in its settings, the next one opens with: size, docks, layers.
TEST(Settings, TheNextWindowOpensWhereTheLastWasLeft)
{
    QTemporaryDir dir;
    {
        WindowDriver ui;
        ui.window->resize(1111, 777);
        ui.window->show();
        ui.action(ids::ShowMap)->trigger();
        ui.find<QCheckBox>("MapLayer_2")->click(); // collision bodies off
        ui.find<QToolButton>("View3DLock_2")->click(); // and locked
        QSettings settings(iniIn(dir), QSettings::IniFormat);
        ui.window->saveSettings(settings);
    }
    WindowDriver ui;
    QSettings settings(iniIn(dir), QSettings::IniFormat);
    ui.window->restoreSettings(settings);
    ui.window->show();
    EXPECT_EQ(ui.window->size(), QSize(1111, 777));
    EXPECT_TRUE(ui.find<QDockWidget>(ids::MapDock)->isVisible());
    EXPECT_TRUE(ui.action(ids::ShowMap)->isChecked());
    EXPECT_FALSE(ui.find<QCheckBox>("MapLayer_2")->isChecked());
    EXPECT_FALSE(ui.find<QCheckBox>("View3DLayer_2")->isChecked());
    EXPECT_TRUE(ui.find<QCheckBox>("MapLayer_1")->isChecked());
    EXPECT_TRUE(ui.find<QToolButton>("MapLock_2")->isChecked());
    EXPECT_FALSE(ui.find<QToolButton>("MapLock_1")->isChecked());
}

// Settings that hold nonsense, or that are no settings file at all, leave the defaults.
TEST(Settings, NonsenseLeavesTheDefaults)
{
    QTemporaryDir dir;
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"values of the wrong kind", "[window]\ngeometry=12\nstate=@ByteArray(\\0\\xff\\x12)\n[view]\nlayers=1x101\n"},
        {"random bytes", std::string("\x01\xff\x00[\x7f=\xfe\x0a[[[==\x00\x00", 16)},
        {"too many layers", "[view]\nlayers=111111111\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::ofstream(iniIn(dir).toStdString(), std::ios::binary) << c.text;
        WindowDriver ui;
        const QSize size = ui.window->size();
        QSettings settings(iniIn(dir), QSettings::IniFormat);
        ui.window->restoreSettings(settings);
        ui.window->show();
        EXPECT_EQ(ui.window->size(), size);
        EXPECT_FALSE(ui.find<QDockWidget>(ids::MapDock)->isVisible());
        for (int k = 0; k < 5; ++k)
            EXPECT_TRUE(ui.find<QCheckBox>(("MapLayer_" + std::to_string(k)).c_str())->isChecked());
    }
    // A folder where the file should be: nothing can be read.
    QDir(dir.path()).mkdir(QStringLiteral("folder.conf"));
    WindowDriver ui;
    QSettings settings(dir.filePath(QStringLiteral("folder.conf")), QSettings::IniFormat);
    ui.window->restoreSettings(settings);
    ui.window->show();
    EXPECT_FALSE(ui.find<QDockWidget>(ids::MapDock)->isVisible());
}
