// Reading the largest cache, collision and model files against a plain read of the same bytes.
#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>

#include "formats/cache/CacheFile.h"
#include "formats/collision/CollisionFile.h"
#include "formats/model/ModelFile.h"
#include "formats/scene/SceneLoader.h"
#include "foundation/files/FileAccess.h"
#include "LargeMission.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsPerPlainRead(const std::filesystem::path& file)
{
    constexpr int Rounds = 10;
    const auto start = Clock::now();
    for (int i = 0; i < Rounds; ++i)
        benchmark::DoNotOptimize(mw::readWholeFile(file));
    return std::chrono::duration<double>(Clock::now() - start).count() / Rounds;
}

// Runs read + parse and reports the time per load beside the plain read.
void measure(benchmark::State& state, const std::filesystem::path& file,
             const std::function<std::size_t(const mw::SharedImage&)>& parse)
{
    const double plain = secondsPerPlainRead(file);
    std::size_t items = 0;
    const auto start = Clock::now();
    for (auto _ : state) {
        items = parse(std::make_shared<const std::vector<std::uint8_t>>(mw::readWholeFile(file)));
    }
    const double load = std::chrono::duration<double>(Clock::now() - start).count() /
                        static_cast<double>(state.iterations());
    state.counters["items"] = static_cast<double>(items);
    state.counters["plain_read_ms"] = plain * 1e3;
    state.counters["load_ms"] = load * 1e3;
    state.counters["load_per_read"] = load / plain;
}

void CacheLoad_10000Records(benchmark::State& state)
{
    measure(state, mw::bench::largeCachePath(),
            [](const auto& bytes) { return mw::readCacheFile(bytes).records.size(); });
}

void TreeLoad_30001Bodies(benchmark::State& state)
{
    // The cylinders' heights are looked up in the scene loaded before (as the editor requires).
    static const mw::SceneLoadResult scene = mw::loadScene(mw::readWholeFile(mw::bench::largeScenePath()));
    measure(state, mw::bench::largeTreePath(),
            [](const auto& bytes) { return mw::readCollisionFile(bytes, scene.catalogue).bodyCount(); });
}

void ModelScan_100MB(benchmark::State& state)
{
    measure(state, mw::bench::largeModelPath(),
            [](const auto& bytes) { return mw::readModelFile(*bytes).frames.size(); });
}

} // namespace

BENCHMARK(CacheLoad_10000Records)->Unit(benchmark::kMillisecond);
BENCHMARK(TreeLoad_30001Bodies)->Unit(benchmark::kMillisecond);
BENCHMARK(ModelScan_100MB)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_MAIN();
