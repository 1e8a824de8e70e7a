// Selecting in the largest mission through the real window, on the offscreen platform: "Select
// All" of its 30 001 scene entries, then a click on one row of "All", then a rubber band over the
// whole map, each timed from the action to the last view updated (its paint included), against
// the goal of 100 ms.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QListView>
#include <QMouseEvent>
#include <chrono>
#include <filesystem>

#include "LargeMission.h"
#include "ui/MainWindow.h"
#include "ui/MissionMapView.h"
#include "ui/Selection.h"
#include "ui/WidgetNames.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

// The large files in a mission folder of a game folder (the collision file wants one).
fs::path largeMissionFolder()
{
    const fs::path folder = fs::temp_directory_path() / "mission-workshop-bench" / "game" / "missions" / "large";
    fs::create_directories(folder);
    for (const fs::path& file : {mw::bench::largeScenePath(), mw::bench::largeCachePath(), mw::bench::largeTreePath(),
                                 mw::bench::largeModelPath()})
        fs::copy_file(file, folder / file.filename(), fs::copy_options::overwrite_existing);
    return folder;
}

void send(QWidget* to, QEvent::Type type, QPoint at, Qt::MouseButtons held)
{
    QMouseEvent e(type, QPointF(at), to->mapToGlobal(QPointF(at)), Qt::LeftButton, held, {});
    QApplication::sendEvent(to, &e);
}

double millisecondsOf(const std::function<void()>& step)
{
    const auto t = Clock::now();
    step();
    QApplication::processEvents(); // what the views were asked to draw, drawn
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

void SelectAllClickBand_LargeMissionWindow(benchmark::State& state)
{
    mw::MainWindow window;
    window.resize(1600, 1000);
    window.show();
    window.openPaths({QString::fromStdString(largeMissionFolder().string())});
    window.findChild<QDockWidget*>(QString::fromLatin1(mw::ids::MapDock))->show();
    QApplication::processEvents();
    auto* list = window.findChild<QListView*>(QString::fromLatin1(mw::ids::AllList));
    auto* map = window.findChild<mw::MissionMapView*>(QStringLiteral("MissionMap"));
    map->fit();
    QApplication::processEvents();
    double selectAll = 0, click = 0, band = 0;
    for (auto _ : state) {
        selectAll += millisecondsOf([&] { window.action(mw::ids::SelectAll)->trigger(); });
        click += millisecondsOf([&] {
            const QPoint row = list->visualRect(list->model()->index(3, 0)).center();
            send(list->viewport(), QEvent::MouseButtonPress, row, Qt::LeftButton);
            send(list->viewport(), QEvent::MouseButtonRelease, row, Qt::NoButton);
        });
        band += millisecondsOf([&] {
            const QPoint to(map->width() - 2, map->height() - 2);
            send(map, QEvent::MouseButtonPress, QPoint(2, 2), Qt::LeftButton);
            send(map, QEvent::MouseMove, to, Qt::LeftButton);
            send(map, QEvent::MouseButtonRelease, to, Qt::NoButton);
        });
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["selected"] = static_cast<double>(window.selection().size());
    state.counters["select_all_ms"] = selectAll / n;
    state.counters["click_ms"] = click / n;
    state.counters["band_ms"] = band / n;
    state.counters["goal_ms"] = 100;
}

} // namespace

BENCHMARK(SelectAllClickBand_LargeMissionWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
