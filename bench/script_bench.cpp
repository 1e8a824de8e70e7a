// A script that lifts a thousand objects of the largest scene by 2 m, one move per object in a
// loop, against the same lift as one move command, in the same run: what the engine and a call per
// object add.
#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <chrono>

#include "Faults.h"
#include "LargeMission.h"
#include "commands/placing/Placing.h"
#include "mission/Mission.h"
#include "QuietPrompter.h"
#include "script/ScriptRun.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

using Quiet = mw::bench::QuietPrompter;

double since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

void LiftThousandByScript_LargeScene(benchmark::State& state)
{
    const fs::path folder = fs::temp_directory_path() / "mw-bench-script";
    fs::create_directories(folder);
    Quiet quiet;
    mw::Mission mission;
    const auto fresh = [&] {
        fs::copy_file(mw::bench::largeScenePath(), folder / "scene2.bin", fs::copy_options::overwrite_existing);
        mission.open(mw::MissionFile::Scene, folder / "scene2.bin", quiet);
    };
    fresh();
    const std::uint32_t first = mission.sceneCatalogue().FirstScriptIndex / 3;
    std::vector<std::uint32_t> rows(1000);
    for (std::uint32_t i = 0; i < rows.size(); ++i)
        rows[i] = first + i;
    const QString script = QStringLiteral("for (let row = %1; row < %2; ++row)\n    move(row, 0, 2, 0);\n").arg(first).arg(first + 1000);
    double scripted = 0, command = 0, faults = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fresh();
        state.ResumeTiming();
        const double faultsBefore = mw::bench::minorFaults();
        auto start = Clock::now();
        const mw::ScriptResult result = mw::ScriptRun(mission, {}).run(script, QStringLiteral("lift.js"));
        scripted += since(start);
        faults += mw::bench::minorFaults() - faultsBefore;
        if (!result.written)
            throw std::runtime_error("the script did not run");
        state.PauseTiming();
        fresh();
        state.ResumeTiming();
        start = Clock::now();
        if (!mw::moveItems(mission, {.scene = rows}, {0, 2, 0}, quiet).done())
            throw std::runtime_error("the objects were not moved");
        command += since(start);
    }
    const auto rounds = static_cast<double>(state.iterations());
    state.counters["script_ms"] = scripted / rounds * 1e3;
    state.counters["script_faults"] = faults / rounds;
    state.counters["command_ms"] = command / rounds * 1e3;
    state.counters["script_per_command"] = scripted / command; // goal: at most 3
}

} // namespace

BENCHMARK(LiftThousandByScript_LargeScene)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
