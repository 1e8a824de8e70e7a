#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "support/SceneBuilder.h"
#include "ui/WidgetNames.h"
#include "ui/WindowDriver.h"

using namespace mw;
using namespace mw::build;
namespace fs = std::filesystem;

namespace {

// Three objects (one human), two free-standing scripts.
std::vector<std::uint8_t> smallScene()
{
    SceneBuilder b;
    b.beginObjects();
    b.object({.name = "Lamp", .type = 2, .translation = Floats3{1, 2, 3}, .light = LightParts{.power = 1}});
    b.object({.name = "Guard", .type = 9, .translation = Floats3{4, 5, 6}});
    b.object({.name = "Crate", .type = 9, .translation = Floats3{7, 8, 9}});
    b.endObjects();
    b.beginDefinitions();
    b.definition({"Guard", 0x1B, humanData(8, 10, 0.5f, 80, "guard script")});
    b.endDefinitions();
    b.beginScripts();
    b.script("Intro", "intro");
    b.script("Outro", "outro");
    b.endScripts();
    return b.finish();
}

QStringList menuCaptions(QMenu* menu)
{
    QStringList out;
    for (QAction* a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

} // namespace

class MainWindowTest : public ::testing::Test {
protected:
    TempFolder dir;
    fs::path mission() const { return dir.path() / "missions" / "m1"; }
    fs::path writeScene(const std::vector<std::uint8_t>& bytes, const char* name = "scene2.bin")
    {
        const fs::path path = mission() / name;
        WindowDriver::write(path, bytes);
        return path;
    }
    WindowDriver ui;
};

TEST_F(MainWindowTest, HasTheMenusTabsAndControls)
{
    QStringList top;
    QList<QMenu*> menus;
    for (QAction* a : ui.window->menuBar()->actions()) {
        top << a->text();
        menus << a->menu();
    }
    // The editor's own menus come after the system's.
    EXPECT_EQ(top, (QStringList{"&File", "&Insert", "&Put", "I&nfo", "&Edit", "&View", "&Tools"}));
    EXPECT_EQ(menuCaptions(menus[0]),
              (QStringList{"Load &scene2.bin", "Load &cache.bin", "Load sc&ene.4ds", "Load &tree.klz", "-", "&Exit"}));
    EXPECT_EQ(menuCaptions(menus[1]), (QStringList{"&Human", "&Car", "&Truck", "&Policecar", "&Building", "&Door",
                                                   "&Things", "&Light", "&Sound", "&Other", "&ADDin", "&Racing"}));
    EXPECT_EQ(menuCaptions(menus[2]), (QStringList{"Put&Cache", "Put&Tree"}));
    EXPECT_EQ(menus[3], nullptr); // "I&nfo" is an item of its own

    auto* lists = ui.find<QTabWidget>(ids::ListTabs);
    QStringList tabs;
    for (int i = 0; i < lists->count(); ++i)
        tabs << lists->tabText(i);
    EXPECT_EQ(tabs, (QStringList{"All", "Scripts", "Things", "Cache", "*.4ds", "Tree"}));
    auto* pages = ui.find<QTabWidget>(ids::InspectorTabs);
    QStringList captions;
    for (int i = 0; i < pages->count(); ++i)
        captions << pages->tabText(i);
    EXPECT_EQ(captions, (QStringList{"S. Ovv.", "Scene", "Cache", "*.4ds", "Tree"}));

    for (const char* name : {"List2", "List1", "List3", "List5", "List4", "List6"})
        ui.find<QListView>(name);
    for (const char* name : {"Text19", "Text20", "Text21", "Text13", "Text22", "Text52", "Text1"})
        ui.find<QLineEdit>(name);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(ui.find<QPushButton>(QStringLiteral("search_%1").arg(i).toLatin1().constData())->text(), "search");
        EXPECT_EQ(ui.find<QPushButton>(QStringLiteral("stopsearch_%1").arg(i).toLatin1().constData())->text(), "stop");
    }
    EXPECT_EQ(ui.find<QPushButton>(ids::DeleteButton)->text(), "Delete");
    for (const char* name : {"Label4", "Label5", "Label6", "Label39", "Status"})
        ui.find<QLabel>(name);
    ui.find<QProgressBar>(ids::ProgressBar);
    ui.window->show();
    EXPECT_FALSE(ui.find<QFrame>(ids::ProgressPanel)->isVisible()); // only while a long operation runs
}

TEST_F(MainWindowTest, LoadingASceneFillsTheThreeLists)
{
    const auto path = writeScene(smallScene());
    ui.find<QTabWidget>(ids::ListTabs)->setCurrentIndex(MainWindow::CacheTab);
    ui.load("Load &scene2.bin", path);

    EXPECT_EQ(ui.files.filters, (std::vector<std::string>{" (scene2.bin)|*.bin|(*.*)|*.*"}));
    EXPECT_TRUE(ui.prompter.said.empty());
    EXPECT_EQ(ui.rows(ids::AllList), (QStringList{"Lamp", "Guard", "Crate", "Intro", "Outro"}));
    EXPECT_EQ(ui.checked(ids::AllList), (std::vector<int>{0, 1, 0, 1, 1}));
    EXPECT_EQ(ui.rows(ids::ScriptList), (QStringList{"Guard", "Intro", "Outro"}));
    EXPECT_EQ(ui.checked(ids::ScriptList), (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(ui.rows(ids::ThingList), (QStringList{"Lamp", "Crate"}));
    EXPECT_EQ(ui.find<QLabel>("Label4")->text().toStdString(), path.string());
    EXPECT_EQ(ui.find<QTabWidget>(ids::ListTabs)->currentIndex(), MainWindow::AllTab);
    EXPECT_EQ(ui.find<QTabWidget>(ids::InspectorTabs)->currentIndex(), MainWindow::SceneValuesPage);
    EXPECT_EQ(ui.selectedRow(ids::AllList), 0);
    EXPECT_EQ(ui.selectedRow(ids::ScriptList), 0);
    EXPECT_EQ(ui.selectedRow(ids::ThingList), 0);

    const Workspace& ws = ui.window->mission().workspace();
    EXPECT_FALSE(ws.Busy);
    EXPECT_FALSE(ws.KeepSelection);
    EXPECT_EQ(ws.ScenePath, path.string());
    EXPECT_EQ(ws.SceneTitle, "scene2.bin");
    const SceneCatalogue& c = ui.window->mission().sceneCatalogue();
    EXPECT_EQ(c.SceneSize, fs::file_size(path));
    EXPECT_EQ(c.FirstScriptIndex, 3u);
    EXPECT_NE(c.DefsPos, 0u);
    EXPECT_NE(c.ScriptsLengthPos, 0u);
}

TEST_F(MainWindowTest, CheckMarksCannotBeChangedByTheUser)
{
    ui.load("Load &scene2.bin", writeScene(smallScene()));
    auto* model = ui.find<QListView>(ids::AllList)->model();
    const QModelIndex guard = model->index(1, 0);
    EXPECT_FALSE(model->flags(guard) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(model->setData(guard, Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_EQ(ui.checked(ids::AllList), (std::vector<int>{0, 1, 0, 1, 1}));
}

TEST_F(MainWindowTest, ARefusedOrDamagedFileLeavesTheListsEmpty)
{
    ui.load("Load &scene2.bin", writeScene(smallScene()));
    ui.load("Load &scene2.bin", writeScene({'L', 'S', 0, 0, 0, 0}, "other.bin"));
    EXPECT_EQ(ui.prompter.said, (std::vector<Said>{{"message", "****** No scene2.bin file! ******", ""}}));
    EXPECT_TRUE(ui.rows(ids::AllList).isEmpty());
    EXPECT_TRUE(ui.rows(ids::ScriptList).isEmpty());
    EXPECT_TRUE(ui.rows(ids::ThingList).isEmpty());
    EXPECT_FALSE(ui.window->mission().workspace().Busy);

    // Unknown records are reported once each and skipped; the objects still load.
    SceneBuilder b;
    b.headerRecord(0x7777);
    b.beginObjects();
    b.object({.name = "only"});
    b.endObjects();
    ui.prompter.said.clear();
    ui.load("Load &scene2.bin", writeScene(b.finish(), "odd.bin"));
    EXPECT_EQ(ui.prompter.messages(), (std::vector<std::string>{"****** ID ?  ****** "}));
    EXPECT_EQ(ui.rows(ids::AllList), (QStringList{"only"}));

    // No objects section.
    SceneBuilder h;
    h.headerRecord(0x0001);
    ui.prompter.said.clear();
    ui.load("Load &scene2.bin", writeScene(h.finish(), "headers.bin"));
    EXPECT_EQ(ui.prompter.messages(), (std::vector<std::string>{"****** Cann't read file!! ****** "}));
    EXPECT_TRUE(ui.rows(ids::AllList).isEmpty());
    EXPECT_FALSE(ui.window->mission().workspace().Busy);

    // An empty file loads nothing and says nothing.
    ui.prompter.said.clear();
    ui.load("Load &scene2.bin", writeScene({}, "empty.bin"));
    EXPECT_TRUE(ui.prompter.said.empty());
    EXPECT_TRUE(ui.rows(ids::AllList).isEmpty());
}

TEST_F(MainWindowTest, AFileThatCannotBeOpenedSaysSo)
{
    ui.load("Load &scene2.bin", mission() / "missing" / "scene2.bin");
    EXPECT_EQ(ui.prompter.said, (std::vector<Said>{{"message", "************", ""}}));
    EXPECT_FALSE(ui.window->mission().workspace().Busy);
    ui.prompter.said.clear();
    ui.load("Load &cache.bin", mission() / "missing" / "cache.bin");
    EXPECT_EQ(ui.prompter.said, (std::vector<Said>{{"message", "************", ""}}));
#ifndef _WIN32
    // A FIFO would keep a read waiting for a writer: it is refused before it is opened.
    fs::create_directories(mission());
    ASSERT_EQ(::mkfifo((mission() / "scene2.bin").c_str(), 0600), 0);
    ui.prompter.said.clear();
    ui.load("Load &scene2.bin", mission() / "scene2.bin");
    EXPECT_EQ(ui.prompter.said, (std::vector<Said>{{"message", "************", ""}}));
    EXPECT_TRUE(ui.rows(ids::AllList).isEmpty());
#endif
}

TEST_F(MainWindowTest, CancellingKeepsPathsLabelsAndLists)
{
    const auto path = writeScene(smallScene());
    ui.load("Load &scene2.bin", path);
    for (const char* caption : {"Load &scene2.bin", "Load &cache.bin", "Load sc&ene.4ds", "Load &tree.klz"})
        ui.menu(caption); // no scripted answer: the dialog is cancelled
    EXPECT_EQ(ui.window->mission().workspace().ScenePath, path.string());
    EXPECT_EQ(ui.window->mission().workspace().CachePath, "");
    EXPECT_EQ(ui.find<QLabel>("Label4")->text().toStdString(), path.string());
    EXPECT_EQ(ui.rows(ids::AllList).size(), 5);
    EXPECT_TRUE(ui.prompter.said.empty());
}

TEST_F(MainWindowTest, TheOtherLoadCommandsRememberTheirFiles)
{
    WindowDriver::write(mission() / "cache.bin", {0xF4, 0x01, 0, 0, 0, 0, 0, 0, 0, 0});
    WindowDriver::write(mission() / "scene.4ds", {'4', 'D', 'S', 0});
    WindowDriver::write(mission() / "tree.klz", {'G', 'i', 'f', 'C'});
    auto* tabs = ui.find<QTabWidget>(ids::ListTabs);

    ui.load("Load &cache.bin", mission() / "cache.bin");
    EXPECT_EQ(ui.window->mission().workspace().CachePath, (mission() / "cache.bin").string());
    EXPECT_EQ(ui.window->mission().workspace().CacheTitle, "cache.bin");
    EXPECT_EQ(ui.find<QLabel>("Label5")->text().toStdString(), (mission() / "cache.bin").string());
    EXPECT_EQ(tabs->currentIndex(), MainWindow::CacheTab);

    ui.load("Load sc&ene.4ds", mission() / "scene.4ds");
    EXPECT_EQ(ui.window->mission().workspace().ModelTitle, "scene.4ds");
    EXPECT_EQ(ui.find<QLabel>("Label6")->text().toStdString(), (mission() / "scene.4ds").string());
    EXPECT_EQ(tabs->currentIndex(), MainWindow::ModelTab);

    ui.load("Load &tree.klz", mission() / "tree.klz");
    EXPECT_EQ(ui.window->mission().workspace().TreePath, (mission() / "tree.klz").string());
    EXPECT_EQ(ui.find<QLabel>("Label39")->text().toStdString(), (mission() / "tree.klz").string());

    EXPECT_EQ(ui.files.filters, (std::vector<std::string>{" (cache.bin)|*.bin|(*.*)|*.*",
                                                           " (scene.4ds)|*.4ds|(*.*)|*.*",
                                                           " (tree.klz)|*.klz|(*.*)|*.*"}));
}

TEST_F(MainWindowTest, ExitDoesNothingWhileBusy)
{
    ui.window->show();
    {
        const Mission::BusyScope busy(ui.window->mission());
        ui.menu("&Exit");
        QApplication::processEvents();
        EXPECT_TRUE(ui.window->isVisible());
    }
    ui.menu("&Exit");
    QApplication::processEvents();
    EXPECT_FALSE(ui.window->isVisible());
}

TEST_F(MainWindowTest, AReloadKeepsTheRememberedSelections)
{
    const auto path = writeScene(smallScene());
    ui.load("Load &scene2.bin", path);
    const Workspace& ws = ui.window->mission().workspace();
    const auto reload = [&](KeptRows keep) { ui.window->reloadScene(keep); };

    reload({.all = 2, .scripts = 1, .things = 1});
    EXPECT_EQ(ui.selectedRow(ids::AllList), 2);
    EXPECT_EQ(ui.selectedRow(ids::ScriptList), 1);
    EXPECT_EQ(ui.selectedRow(ids::ThingList), 1);
    EXPECT_FALSE(ws.KeepSelection);

    // A row past the end (the last row was deleted) keeps the selection the load made.
    reload({.all = 5, .fallback = 1, .scripts = 7});
    EXPECT_EQ(ui.selectedRow(ids::AllList), 1);
    EXPECT_EQ(ui.selectedRow(ids::ScriptList), 0);

    // ReloadIndex 0 selects the remembered "All" row.
    reload({.all = 0, .fallback = 4});
    EXPECT_EQ(ui.selectedRow(ids::AllList), 4);
}

TEST_F(MainWindowTest, ScriptsAndThingsSelectTheSameEntryInAll)
{
    ui.load("Load &scene2.bin", writeScene(smallScene()));
    auto* pages = ui.find<QTabWidget>(ids::InspectorTabs);
    pages->setCurrentIndex(MainWindow::CacheValuesPage);
    ui.select(ids::ScriptList, 2); // "Outro"
    EXPECT_EQ(ui.selectedRow(ids::AllList), 4);
    EXPECT_EQ(pages->currentIndex(), MainWindow::SceneValuesPage);
    ui.select(ids::ThingList, 1); // "Crate"
    EXPECT_EQ(ui.selectedRow(ids::AllList), 2);

    // While busy the lists do nothing.
    const Mission::BusyScope busy(ui.window->mission());
    ui.select(ids::ThingList, 0);
    EXPECT_EQ(ui.selectedRow(ids::AllList), 2);
}

TEST_F(MainWindowTest, CommandLineOpensAFolderOrNamedFiles)
{
    writeScene(smallScene());
    WindowDriver::write(mission() / "tree.klz", {'G', 'i', 'f', 'C'});
    ui.window->openPaths({QString::fromStdString(mission().string())});
    EXPECT_EQ(ui.rows(ids::AllList).size(), 5);
    EXPECT_EQ(ui.find<QTabWidget>(ids::ListTabs)->currentIndex(), MainWindow::AllTab);
    EXPECT_EQ(ui.find<QTabWidget>(ids::InspectorTabs)->currentIndex(), MainWindow::SceneValuesPage);
    EXPECT_EQ(ui.window->mission().workspace().TreePath, (mission() / "tree.klz").string());
    EXPECT_EQ(ui.window->mission().workspace().CachePath, "");

    WindowDriver ui2;
    ui2.window->openPaths({QString::fromStdString((mission() / "scene2.bin").string())});
    EXPECT_EQ(ui2.rows(ids::AllList).size(), 5);
}

TEST_F(MainWindowTest, InfoShowsTheAboutBox)
{
    ui.window->show();
    ui.menu("I&nfo");
    auto* box = ui.window->findChild<QMessageBox*>("AboutBox");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().contains("Mission Workshop"));
    EXPECT_TRUE(box->text().contains("Version"));
    box->close();
}

TEST_F(MainWindowTest, ListsHoldEveryEntryOfALargeScene)
{
    SceneBuilder b;
    b.beginObjects();
    for (int i = 0; i < 30000; ++i)
        b.object({.name = "o" + std::to_string(i)});
    b.endObjects();
    b.beginScripts();
    b.script("last", "x");
    b.endScripts();
    ui.load("Load &scene2.bin", writeScene(b.finish()));
    EXPECT_EQ(ui.find<QListView>(ids::AllList)->model()->rowCount(), 30001);
    EXPECT_EQ(ui.find<QListView>(ids::ThingList)->model()->rowCount(), 30000);
    EXPECT_EQ(ui.rows(ids::ScriptList), (QStringList{"last"}));
}
