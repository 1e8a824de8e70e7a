// Hide, isolate and lock, as the window keeps them: the map and the lists follow, nothing of the
// mission's files changes, and the states come back for the same folder the next time.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "foundation/files/FileAccess.h"
#include "support/MissionFileBuilders.h"
#include "support/SceneBuilder.h"
#include "ui/MissionMapView.h"
#include "ui/Selection.h"
#include "ui/WidgetNames.h"
#include "ui/WindowDriver.h"

using namespace mw;
using namespace mw::build;

namespace {

// Rows 0 West, 1 Crate and 2 East; a cached house under the crate. In two mission folders.
class HideLockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"m1", "m2"}) {
            const auto folder = dir.path() / "missions" / name;
            SceneBuilder b;
            b.beginObjects();
            b.object({.name = "West", .type = 9, .translation = Floats3{-100, 0, 0}});
            b.object({.name = "Crate", .type = 9, .translation = Floats3{0, 0, 0}});
            b.object({.name = "East", .type = 9, .translation = Floats3{20, 0, 10}});
            b.endObjects();
            WindowDriver::write(folder / "scene2.bin", b.finish());
            CacheBuilder c;
            c.object("house.i3d", {0, 0, 0}, {0, 1, 0, 0}, {8, 1, 8});
            WindowDriver::write(folder / "cache.bin", c.finish());
        }
        settings = std::make_unique<QSettings>(settingsDir.filePath(QStringLiteral("settings.conf")), QSettings::IniFormat);
    }
    // A window as the editor opens it, on the settings, showing mission `name`.
    std::unique_ptr<WindowDriver> open(const char* name)
    {
        auto ui = std::make_unique<WindowDriver>();
        ui->window->restoreSettings(*settings);
        ui->window->resize(1280, 800);
        ui->window->show();
        ui->action(ids::ShowMap)->trigger();
        ui->window->openPaths({QString::fromStdString((dir.path() / "missions" / name).string())});
        return ui;
    }
    std::vector<std::uint8_t> files(const char* name)
    {
        auto bytes = readWholeFile(dir.path() / "missions" / name / "scene2.bin");
        const auto cache = readWholeFile(dir.path() / "missions" / name / "cache.bin");
        bytes.insert(bytes.end(), cache.begin(), cache.end());
        return bytes;
    }
    static void click(MissionMapView* map, MapPoint at)
    {
        const QPointF p = map->toScreen(at);
        for (const auto& [type, held] : {std::pair{QEvent::MouseButtonPress, Qt::LeftButton}, {QEvent::MouseButtonRelease, Qt::NoButton}}) {
            QMouseEvent e(type, p, map->mapToGlobal(p), Qt::LeftButton, held, {});
            QApplication::sendEvent(map, &e);
        }
    }
    static bool drawnAt(MissionMapView* map, MapPoint at)
    {
        const QImage seen = map->grab().toImage();
        return seen.pixelColor(map->toScreen(at).toPoint()) != MapBackground;
    }

    TempFolder dir;
    QTemporaryDir settingsDir;
    std::unique_ptr<QSettings> settings;
};

} // namespace

TEST_F(HideLockTest, HiddenObjectsLeaveTheMapAndTheirListRowsTurnGreyUntilShownAgain)
{
    auto ui = open("m1");
    const auto before = files("m1");
    auto* map = ui->find<MissionMapView>(ids::MapView);
    ui->window->selection().selectSceneRows({0, 1}, false);
    EXPECT_TRUE(drawnAt(map, {0, 0}));
    ui->action(ids::HideSelected)->trigger();
    EXPECT_FALSE(drawnAt(map, {0, 0})); // the house is an outline: its middle is ground
    EXPECT_FALSE(drawnAt(map, {-100, 0}));
    EXPECT_EQ(ui->find<QLabel>(ids::ItemStatesLabel)->text(), "2 hidden, 0 locked");
    EXPECT_TRUE(ui->find<QLabel>(ids::Status)->text().startsWith("Hidden and locked items are kept in your settings"));
    // The lists keep the rows, their texts grey; a hidden row can be selected and shown.
    auto* list = ui->find<QListView>(ids::AllList);
    EXPECT_EQ(list->model()->index(1, 0).data().toString(), "Crate");
    EXPECT_TRUE(list->model()->index(1, 0).data(Qt::ForegroundRole).isValid());
    EXPECT_FALSE(list->model()->index(2, 0).data(Qt::ForegroundRole).isValid());
    // Home frames what is drawn: East and the house, not West far away.
    map->setFocus();
    QTest::keyClick(map, Qt::Key_Home);
    EXPECT_GT(map->scale(), 5);
    EXPECT_TRUE(drawnAt(map, {20, 10}));
    // The crate is neither drawn nor picked: a click there takes the house under it.
    click(map, {0, 0});
    EXPECT_EQ(ui->window->selection().items(), (std::vector<ItemRef>{{ViewLayer::Cache, 0}}));
    ui->action(ids::ShowAll)->trigger();
    EXPECT_EQ(ui->find<QLabel>(ids::ItemStatesLabel)->text(), "");
    click(map, {0, 0});
    EXPECT_EQ(ui->window->selection().items(), (std::vector<ItemRef>{{ViewLayer::Scene, 1}}));
    // Hide Others: the crate alone of its layer stays; Home frames it and the house.
    ui->action(ids::HideOthers)->trigger();
    EXPECT_EQ(ui->find<QLabel>(ids::ItemStatesLabel)->text(), "2 hidden, 0 locked");
    QTest::keyClick(map, Qt::Key_Home);
    EXPECT_GT(map->scale(), 20);
    EXPECT_EQ(files("m1"), before);
}

TEST_F(HideLockTest, ALockedRowShowsAPadlockTheStatesComeBackForTheSameFolderOnly)
{
    {
        auto ui = open("m1");
        const auto before = files("m1");
        ui->window->selection().selectSceneRows({2}, false);
        ui->action(ids::LockSelected)->trigger();
        ui->window->selection().selectSceneRows({0}, false);
        ui->action(ids::HideSelected)->trigger();
        auto* list = ui->find<QListView>(ids::AllList);
        EXPECT_EQ(list->model()->index(2, 0).data().toString(), "East");
        EXPECT_TRUE(list->model()->index(2, 0).data(Qt::DecorationRole).isValid());
        EXPECT_FALSE(list->model()->index(1, 0).data(Qt::DecorationRole).isValid());
        EXPECT_EQ(ui->find<QLabel>(ids::ItemStatesLabel)->text(), "1 hidden, 1 locked");
        EXPECT_EQ(files("m1"), before);
        EXPECT_FALSE(ui->window->mission().history().nextUndo()); // not a step
    }
    auto again = open("m1");
    EXPECT_EQ(again->find<QLabel>(ids::ItemStatesLabel)->text(), "1 hidden, 1 locked");
    EXPECT_TRUE(again->find<QListView>(ids::AllList)->model()->index(2, 0).data(Qt::DecorationRole).isValid());
    auto other = open("m2");
    EXPECT_EQ(other->find<QLabel>(ids::ItemStatesLabel)->text(), "");
    // A damaged entry in the settings is passed over.
    for (const QString& key : settings->allKeys())
        if (key.endsWith(QStringLiteral("/states")))
            settings->setValue(key, QVariantList{1, 2});
    auto damaged = open("m1");
    EXPECT_EQ(damaged->find<QLabel>(ids::ItemStatesLabel)->text(), "");
}
