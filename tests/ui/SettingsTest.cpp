#include <QApplication>
#include <QCheckBox>
#include <QDockWidget>
#include <QFileDialog>
#include <QLabel>
#include <QTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>
#include <fstream>
#include <functional>
#include <memory>

#include "commands/addins/Export.h"
#include "commands/addins/Import.h"
#include "commands/insertion/InsertChoices.h"
#include "commands/tracks/Tracks.h"
#include "foundation/seams/FileChooser.h"
#include "ui/MainWindow.h"
#include "ui/QtPrompter.h"
#include "ui/WidgetNames.h"
#include "ui/WindowDriver.h"

using namespace mw;
using namespace mw::build;

namespace {

QString iniIn(const QTemporaryDir& dir) { return dir.filePath(QStringLiteral("settings.conf")); }

// Does `answer` to the next file dialog the editor opens, once it is up.
void answerNextDialog(const std::function<void(QFileDialog*)>& answer)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            answer(dialog);
        }
    });
    poll->start(10);
}

// Leaves a window arranged by `arrange` in the settings of `dir`, then opens the next window from
// them once the first is gone.
std::unique_ptr<WindowDriver> reopened(const QTemporaryDir& dir, const std::function<void(WindowDriver&)>& arrange)
{
    {
        WindowDriver ui;
        arrange(ui);
        QSettings settings(iniIn(dir), QSettings::IniFormat);
        ui.window->saveSettings(settings);
    }
    auto next = std::make_unique<WindowDriver>();
    QSettings settings(iniIn(dir), QSettings::IniFormat);
    next->window->restoreSettings(settings);
    next->window->show();
    return next;
}

} // namespace

// What a window leaves in its settings, the next one opens with: size, docks, layers.
TEST(Settings, TheNextWindowOpensWhereTheLastWasLeft)
{
    QTemporaryDir dir;
    const auto ui = reopened(dir, [](WindowDriver& first) {
        first.window->resize(1111, 777);
        first.window->show();
        first.action(ids::ShowMap)->trigger();
        first.find<QCheckBox>("MapLayer_2")->click(); // collision bodies off
        first.find<QToolButton>("View3DLock_2")->click(); // and locked
    });
    EXPECT_EQ(ui->window->size(), QSize(1111, 777));
    EXPECT_TRUE(ui->find<QDockWidget>(ids::MapDock)->isVisible());
    EXPECT_TRUE(ui->action(ids::ShowMap)->isChecked());
    EXPECT_FALSE(ui->find<QCheckBox>("MapLayer_2")->isChecked());
    EXPECT_FALSE(ui->find<QCheckBox>("View3DLayer_2")->isChecked());
    EXPECT_TRUE(ui->find<QCheckBox>("MapLayer_1")->isChecked());
    EXPECT_TRUE(ui->find<QToolButton>("MapLock_2")->isChecked());
    EXPECT_FALSE(ui->find<QToolButton>("MapLock_1")->isChecked());
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

// The editor's own file dialogs: each kind reopens in the folder it was last used in, whatever the
// others did since; a remembered folder that is gone is passed over.
TEST(Settings, EachKindOfFileDialogReopensInItsOwnLastFolder)
{
    QTemporaryDir dir;
    QSettings settings(iniIn(dir), QSettings::IniFormat);
    QtFileChooser chooser(nullptr);
    chooser.rememberIn(&settings);
    const char* kinds[] = {filters::Scene, filters::Tree, addinmsg::Filter, insertfilters::Model, trackmsg::DestinationFilter};
    const auto folderOf = [&](std::size_t k) { return dir.filePath(QStringLiteral("kind%1").arg(k)); };
    for (std::size_t k = 0; k < std::size(kinds); ++k) {
        QDir().mkpath(folderOf(k));
        const QString file = folderOf(k) + QStringLiteral("/chosen.bin");
        std::ofstream(file.toStdString()) << "x";
        answerNextDialog([file](QFileDialog* d) {
            d->selectFile(file);
            QMetaObject::invokeMethod(d, "accept");
        });
        ASSERT_TRUE(chooser.openFile(kinds[k]));
    }
    const auto openedIn = [&](const char* filter) {
        QString folder;
        answerNextDialog([&folder](QFileDialog* d) {
            folder = d->directory().absolutePath();
            d->reject();
        });
        EXPECT_FALSE(chooser.openFile(filter));
        return folder;
    };
    for (std::size_t k = 0; k < std::size(kinds); ++k)
        EXPECT_EQ(openedIn(kinds[k]), QDir(folderOf(k)).absolutePath()) << kinds[k];

    // The export's save dialog remembers its own folder too.
    answerNextDialog([&](QFileDialog* d) {
        d->selectFile(folderOf(0) + QStringLiteral("/box.qra"));
        QMetaObject::invokeMethod(d, "accept");
    });
    ASSERT_TRUE(chooser.saveFile(exportmsg::Filter, {}, "qra"));
    QString saveFolder;
    answerNextDialog([&](QFileDialog* d) {
        saveFolder = d->directory().absolutePath();
        d->reject();
    });
    EXPECT_FALSE(chooser.saveFile(exportmsg::Filter, {}, "qra"));
    EXPECT_EQ(saveFolder, QDir(folderOf(0)).absolutePath());

    QDir(folderOf(1)).removeRecursively();
    EXPECT_NE(openedIn(kinds[1]), QDir(folderOf(1)).absolutePath());
}

// A 3D view left open comes back; where OpenGL cannot run (the offscreen platform), as its one
// line saying why.
TEST(Settings, AVisible3DViewComesBack)
{
    QTemporaryDir dir;
    const auto ui = reopened(dir, [](WindowDriver& first) {
        first.window->show();
        first.action(ids::Show3D)->trigger();
    });
    EXPECT_TRUE(ui->find<QDockWidget>(ids::View3DDock)->isVisible());
    EXPECT_TRUE(ui->action(ids::Show3D)->isChecked());
    if (QGuiApplication::platformName() == QStringLiteral("offscreen")) {
        EXPECT_FALSE(ui->find<QLabel>(ids::View3DNotice)->text().isEmpty());
    }
}
