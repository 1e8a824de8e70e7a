// The mission check of the largest mission (30 001 scene objects, 10 000 cache records, 30 001
// collision bodies, a 100 MB model file) against the four readers' loads of the same bytes in
// memory; the aim is at most twice as long.
#include <benchmark/benchmark.h>

#include <chrono>

#include "commands/check/MissionCheck.h"
#include "formats/cache/CacheFile.h"
#include "formats/collision/CollisionFile.h"
#include "formats/model/ModelFile.h"
#include "formats/scene/SceneLoader.h"
#include "foundation/files/FileAccess.h"
#include "LargeMission.h"

namespace {

using Clock = std::chrono::steady_clock;

const std::vector<mw::CheckedFile>& largeMission()
{
    static const std::vector<mw::CheckedFile> files = [] {
        const auto read = [](mw::CheckedKind kind, const char* name, const std::filesystem::path& path) {
            return mw::CheckedFile{kind, name, std::make_shared<const std::vector<std::uint8_t>>(mw::readWholeFile(path))};
        };
        return std::vector<mw::CheckedFile>{read(mw::CheckedKind::Scene, "scene2.bin", mw::bench::largeScenePath()),
                                            read(mw::CheckedKind::Cache, "cache.bin", mw::bench::largeCachePath()),
                                            read(mw::CheckedKind::Model, "scene.4ds", mw::bench::largeModelPath()),
                                            read(mw::CheckedKind::Tree, "tree.klz", mw::bench::largeTreePath())};
    }();
    return files;
}

double secondsPerReaders()
{
    constexpr int Rounds = 5;
    const auto& f = largeMission();
    const auto start = Clock::now();
    for (int i = 0; i < Rounds; ++i) {
        const mw::SceneLoadResult scene = mw::loadScene(f[0].bytes);
        benchmark::DoNotOptimize(mw::readCacheFile(f[1].bytes).records.size());
        benchmark::DoNotOptimize(mw::readModelFile(*f[2].bytes).frames.size());
        benchmark::DoNotOptimize(mw::readCollisionFile(f[3].bytes, scene.catalogue).bodyCount());
    }
    return std::chrono::duration<double>(Clock::now() - start).count() / Rounds;
}

void CheckMission_Largest(benchmark::State& state)
{
    const double readers = secondsPerReaders();
    std::size_t problems = 0;
    const auto start = Clock::now();
    for (auto _ : state)
        problems = mw::checkFiles(largeMission()).problems.size();
    const double check = std::chrono::duration<double>(Clock::now() - start).count() /
                         static_cast<double>(state.iterations());
    state.counters["problems"] = static_cast<double>(problems);
    state.counters["readers_ms"] = readers * 1e3;
    state.counters["check_ms"] = check * 1e3;
    state.counters["check_per_readers"] = check / readers;
}

} // namespace

BENCHMARK(CheckMission_Largest)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK_MAIN();
