// The mission map of the largest mission (30 001 scene entries, 10 000 cache records, 30 001
// collision bodies): building its shapes against loading the scene, in one run, and drawing a full
// view of it against one frame at 60 Hz.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <chrono>

#include "formats/cache/CacheFile.h"
#include "formats/collision/CollisionFile.h"
#include "formats/scene/SceneLoader.h"
#include "foundation/files/FileAccess.h"
#include "LargeMission.h"
#include "render/map/MapPainter.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Large {
    mw::SceneLoadResult scene;
    mw::CacheLoadResult cache;
    mw::CollisionLoadResult tree;
};

const Large& large()
{
    static const Large data = [] {
        Large l;
        l.scene = mw::loadScene(mw::readWholeFile(mw::bench::largeScenePath()));
        l.cache = mw::readCacheFile(mw::readWholeFile(mw::bench::largeCachePath()));
        l.tree = mw::readCollisionFile(mw::readWholeFile(mw::bench::largeTreePath()), l.scene.catalogue);
        return l;
    }();
    return data;
}

void MapShapes_LargeMission(benchmark::State& state)
{
    const Large& l = large();
    const auto bytes = mw::readWholeFile(mw::bench::largeScenePath());
    constexpr int Rounds = 10;
    const auto start = Clock::now();
    for (int i = 0; i < Rounds; ++i)
        benchmark::DoNotOptimize(mw::loadScene(bytes));
    const double load = std::chrono::duration<double>(Clock::now() - start).count() / Rounds;
    std::size_t shapes = 0;
    double spent = 0;
    for (auto _ : state) {
        const auto t = Clock::now();
        const auto map = mw::buildMissionMap(l.scene.catalogue, l.cache, l.tree);
        spent += std::chrono::duration<double>(Clock::now() - t).count();
        shapes = map.shapes.size();
        benchmark::DoNotOptimize(map);
    }
    const double build = spent / static_cast<double>(state.iterations());
    state.counters["shapes"] = static_cast<double>(shapes);
    state.counters["scene_load_ms"] = load * 1e3;
    state.counters["build_ms"] = build * 1e3;
    state.counters["build_per_load"] = build / load;
}

void MapDraw_LargeMission(benchmark::State& state)
{
    const Large& l = large();
    const mw::MissionMap map = mw::buildMissionMap(l.scene.catalogue, l.cache, l.tree);
    const QSizeF size(800, 700);
    const mw::MapCamera camera = mw::MapCamera::fitting(map, size);
    QImage image(size.toSize(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(mw::MapBackground);
        QPainter painter(&image);
        mw::paintMissionMap(painter, map, camera, {});
    }
    state.counters["frame_budget_ms"] = 1000.0 / 60.0;
}

} // namespace

BENCHMARK(MapShapes_LargeMission)->Unit(benchmark::kMillisecond);
BENCHMARK(MapDraw_LargeMission)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
