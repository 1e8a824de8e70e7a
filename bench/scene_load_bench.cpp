// Loading the largest scene against a plain read of the same bytes.
#include <benchmark/benchmark.h>

#include <chrono>

#include "formats/scene/SceneLoader.h"
#include "foundation/files/FileAccess.h"
#include "foundation/text/Latin1Text.h"
#include "Faults.h"
#include "LargeMission.h"
#include "mission/Search.h"
#include "QuietPrompter.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsPerPlainRead(const std::filesystem::path& file)
{
    constexpr int Rounds = 20;
    const auto start = Clock::now();
    for (int i = 0; i < Rounds; ++i)
        benchmark::DoNotOptimize(mw::readWholeFile(file));
    return std::chrono::duration<double>(Clock::now() - start).count() / Rounds;
}

void PlainRead_LargeScene(benchmark::State& state)
{
    const auto& file = mw::bench::largeScenePath();
    for (auto _ : state)
        benchmark::DoNotOptimize(mw::readWholeFile(file));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(file)));
}

void SceneLoad_LargeScene(benchmark::State& state)
{
    const auto& file = mw::bench::largeScenePath();
    const double plain = secondsPerPlainRead(file);
    std::size_t entries = 0, catalogueBytes = 0;
    const double faultsBefore = mw::bench::minorFaults();
    const auto start = Clock::now();
    for (auto _ : state) {
        const auto result = mw::loadScene(std::make_shared<const std::vector<std::uint8_t>>(mw::readWholeFile(file)));
        entries = result.catalogue.entryCount();
        catalogueBytes = result.catalogue.memoryBytes();
        benchmark::DoNotOptimize(result);
    }
    const double load = std::chrono::duration<double>(Clock::now() - start).count() /
                        static_cast<double>(state.iterations());
    state.counters["load_faults"] = (mw::bench::minorFaults() - faultsBefore) / static_cast<double>(state.iterations());
    state.counters["entries"] = static_cast<double>(entries);
    // The catalogue's own memory beside the file's bytes, as a share of the file's size.
    state.counters["catalogue_MB"] = static_cast<double>(catalogueBytes) / 1e6;
    state.counters["catalogue_per_file"] =
        static_cast<double>(catalogueBytes) / static_cast<double>(std::filesystem::file_size(file));
    state.counters["plain_read_ms"] = plain * 1e3;
    state.counters["load_ms"] = load * 1e3;
    state.counters["load_per_read"] = load / plain;
}

} // namespace

// A reload, as after every write: the catalogue of the previous load is reused.
void SceneReload_LargeScene(benchmark::State& state)
{
    const auto& file = mw::bench::largeScenePath();
    const double plain = secondsPerPlainRead(file);
    mw::SceneLoadResult result;
    const auto start = Clock::now();
    for (auto _ : state) {
        result.catalogue.source.reset(); // as the mission does: the old bytes go before the new are read
        mw::loadSceneInto(std::make_shared<const std::vector<std::uint8_t>>(mw::readWholeFile(file)), result);
        benchmark::DoNotOptimize(result);
    }
    const double load = std::chrono::duration<double>(Clock::now() - start).count() /
                        static_cast<double>(state.iterations());
    state.counters["entries"] = static_cast<double>(result.catalogue.entryCount());
    state.counters["plain_read_ms"] = plain * 1e3;
    state.counters["load_ms"] = load * 1e3;
    state.counters["load_per_read"] = load / plain;
}

// A name search that finds nothing in 30 001 rows and is declined at the end of the list.
void NameSearch_LargeScene(benchmark::State& state)
{
    mw::bench::QuietPrompter prompter;
    const auto scene = mw::loadScene(mw::readWholeFile(mw::bench::largeScenePath()));
    const auto& catalogue = scene.catalogue;
    for (auto _ : state) {
        const auto found = mw::searchList(
            catalogue.entryCount(), 0,
            [&](std::size_t row) { return mw::containsIgnoringCase(catalogue.name(row), "nowhere"); }, prompter);
        benchmark::DoNotOptimize(found);
    }
    state.counters["rows"] = static_cast<double>(catalogue.entryCount());
}

BENCHMARK(PlainRead_LargeScene)->Unit(benchmark::kMillisecond);
BENCHMARK(SceneLoad_LargeScene)->Unit(benchmark::kMillisecond);
BENCHMARK(SceneReload_LargeScene)->Unit(benchmark::kMillisecond);
BENCHMARK(NameSearch_LargeScene)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
