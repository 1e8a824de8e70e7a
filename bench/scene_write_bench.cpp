// Length-changing writes of the largest scene against one plain copy of the same file: each
// command splices the kept bytes, checks the result, replaces the file atomically and reloads.
#include <benchmark/benchmark.h>

#include <chrono>

#include "commands/editing/Deletion.h"
#include "commands/editing/FieldEdit.h"
#include "commands/editing/Scripts.h"
#include "commands/insertion/InsertEngine.h"
#include "commands/objects/CopyPaste.h"
#include "commands/placing/DropToGround.h"
#include "commands/placing/Placing.h"
#include "formats/scene/SceneLoader.h"
#include "foundation/files/FileAccess.h"
#include "commands/merges/PutCache.h"
#include "commands/merges/PutTree.h"
#include "foundation/seams/Prompter.h"
#include "Faults.h"
#include "LargeMission.h"
#include "mission/Mission.h"
#include "QuietPrompter.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

using Quiet = mw::bench::QuietPrompter;

fs::path workFolder()
{
    const fs::path folder = fs::temp_directory_path() / "mw-bench-writes";
    fs::create_directories(folder);
    return folder;
}

// The time and page faults of one plain copy of the file.
struct Copy {
    double seconds = 0, faults = 0;
};

Copy plainCopy(const fs::path& from, const fs::path& to)
{
    constexpr int Rounds = 20;
    const double faults = mw::bench::minorFaults();
    const auto start = Clock::now();
    for (int i = 0; i < Rounds; ++i)
        fs::copy_file(from, to, fs::copy_options::overwrite_existing);
    return {std::chrono::duration<double>(Clock::now() - start).count() / Rounds, (mw::bench::minorFaults() - faults) / Rounds};
}

// What a command cost against the copy, as counters: its time, its page faults, and the ratio.
void report(benchmark::State& state, double seconds, double faults, const Copy& copy)
{
    const auto rounds = static_cast<double>(state.iterations());
    state.counters["copy_ms"] = copy.seconds * 1e3;
    state.counters["copy_faults"] = copy.faults;
    state.counters["command_ms"] = seconds / rounds * 1e3;
    state.counters["command_faults"] = faults / rounds;
    state.counters["command_per_copy"] = seconds / rounds / copy.seconds;
}

// Runs `command` on a freshly loaded copy of the large scene per round, after `prepare`; only the
// command is timed.
template <class Command, class Prepare = void (*)(mw::Mission&, mw::Prompter&)>
void measure(benchmark::State& state, Command command, Prepare prepare = [](mw::Mission&, mw::Prompter&) {})
{
    const fs::path& large = mw::bench::largeScenePath();
    const fs::path folder = workFolder();
    const Copy copy = plainCopy(large, folder / "copy.bin");
    Quiet quiet;
    double spent = 0, faults = 0;
    // One mission for the run, as in an editing session: each round starts from the large scene.
    mw::Mission mission;
    for (auto _ : state) {
        state.PauseTiming();
        fs::copy_file(large, folder / "scene2.bin", fs::copy_options::overwrite_existing);
        mission.open(mw::MissionFile::Scene, folder / "scene2.bin", quiet);
        prepare(mission, quiet);
        state.ResumeTiming();
        const double faultsBefore = mw::bench::minorFaults();
        const auto start = Clock::now();
        command(mission, quiet);
        spent += std::chrono::duration<double>(Clock::now() - start).count();
        faults += mw::bench::minorFaults() - faultsBefore;
    }
    report(state, spent, faults, copy);
}

void SaveLongerScript_LargeScene(benchmark::State& state)
{
    measure(state, [](mw::Mission& mission, mw::Prompter& prompter) {
        const auto& entries = mission.sceneCatalogue().records;
        std::uint32_t row = 0;
        while (!(entries[row].hasScript && !entries[row].isScript))
            ++row;
        const std::string script = mw::storedScript(mission, row).value_or(std::string()) + "\r\nwait 10";
        if (!mw::saveScript(mission, row, script, prompter).value.newLength)
            throw std::runtime_error("the script was not saved");
    });
}

void deleteMiddleObject(mw::Mission& mission, mw::Prompter& prompter)
{
    const auto row = mission.sceneCatalogue().FirstScriptIndex / 2;
    if (!mw::deleteObject(mission, row, prompter).done())
        throw std::runtime_error("the object was not deleted");
}

void DeleteObject_LargeScene(benchmark::State& state) { measure(state, deleteMiddleObject); }

void UndoDelete_LargeScene(benchmark::State& state)
{
    measure(
        state,
        [](mw::Mission& mission, mw::Prompter& prompter) {
            if (!mission.undo(prompter))
                throw std::runtime_error("the deletion was not undone");
        },
        deleteMiddleObject);
}

void InsertHuman_LargeScene(benchmark::State& state)
{
    measure(state, [](mw::Mission& mission, mw::Prompter& prompter) {
        mw::InsertForm f;
        f.kind = "human";
        f.name = "NewGuard";
        f.model = "Enemy12K.i3d";
        f.translationX = f.translationY = f.translationZ = "1";
        f.sizeX = f.sizeY = f.sizeZ = "1";
        f.verticalAngle = "0";
        f.aggression = "0.5", f.humanWeight = "80", f.sex = "17";
        if (!mw::insertObject(mission, f, prompter).done())
            throw std::runtime_error("the human was not inserted");
    });
}

// The rows of a thousand objects from the middle of the large scene.
std::vector<std::uint32_t> thousandRows(const mw::Mission& mission)
{
    std::vector<std::uint32_t> rows(1000);
    const std::uint32_t first = mission.sceneCatalogue().FirstScriptIndex / 3;
    for (std::uint32_t i = 0; i < rows.size(); ++i)
        rows[i] = first + i;
    return rows;
}

// A thousand objects with their definitions pasted back into the scene they came from: every name
// is taken, so each is renamed.
void PasteThousand_LargeScene(benchmark::State& state)
{
    static mw::Package copied;
    measure(
        state,
        [](mw::Mission& mission, mw::Prompter& prompter) {
            const auto pasted = mw::pasteObjects(mission, copied, prompter);
            if (!pasted.done() || pasted.value.count != 1000)
                throw std::runtime_error("the objects were not pasted");
        },
        [](mw::Mission& mission, mw::Prompter&) { copied = mw::copyObjects(mission, thousandRows(mission)).package; });
}

void MoveThousand_LargeScene(benchmark::State& state)
{
    measure(state, [](mw::Mission& mission, mw::Prompter& prompter) {
        if (!mw::moveItems(mission, {.scene = thousandRows(mission)}, {1, 0, -2}, prompter).done())
            throw std::runtime_error("the objects were not moved");
    });
}

// One field of a thousand objects, each to its own value (relative), through the checks of the
// inspector's save: at most one plain copy of the scene.
void SetFieldThousand_LargeScene(benchmark::State& state)
{
    measure(state, [](mw::Mission& mission, mw::Prompter& prompter) {
        const auto items = mw::fieldItemsOf({.scene = thousandRows(mission)});
        if (mw::setField(mission, items, mw::Field::TranslationY, "+2", prompter).value.items != 1000)
            throw std::runtime_error("the field was not set");
    });
}

// A merge into the large scene, with the large cache and collision files of the same mission
// loaded; measured against one plain copy of the scene the merge produced.
template <class Merge>
void measureMerge(benchmark::State& state, Merge merge)
{
    const fs::path folder = workFolder() / "game" / "missions" / "m";
    fs::create_directories(folder);
    const auto options = fs::copy_options::overwrite_existing;
    fs::copy_file(mw::bench::largeCachePath(), folder / "cache.bin", options);
    fs::copy_file(mw::bench::largeTreePath(), folder / "tree.klz", options);
    Quiet quiet;
    quiet.yes = true;
    mw::Mission mission;
    fs::copy_file(mw::bench::largeScenePath(), folder / "scene2.bin", options);
    for (mw::MissionFile file : {mw::MissionFile::Scene, mw::MissionFile::Cache, mw::MissionFile::Tree})
        mission.open(file, folder / mw::missionFileName(file), quiet);
    double spent = 0, faults = 0;
    std::size_t added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fs::copy_file(mw::bench::largeScenePath(), folder / "scene2.bin", options);
        mission.open(mw::MissionFile::Scene, folder / "scene2.bin", quiet);
        const auto before = mission.sceneCatalogue().entryCount();
        state.ResumeTiming();
        const double faultsBefore = mw::bench::minorFaults();
        const auto start = Clock::now();
        if (!merge(mission, quiet).done())
            throw std::runtime_error("the merge did not run");
        spent += std::chrono::duration<double>(Clock::now() - start).count();
        faults += mw::bench::minorFaults() - faultsBefore;
        added = mission.sceneCatalogue().entryCount() - before;
    }
    const Copy copy = plainCopy(folder / "scene2.bin", workFolder() / "copy.bin");
    state.counters["objects_added"] = static_cast<double>(added);
    report(state, spent, faults, copy);
}

void PutCache_LargeMission(benchmark::State& state) { measureMerge(state, mw::putCache); }

void PutTree_LargeMission(benchmark::State& state)
{
    measureMerge(state, [](mw::Mission& mission, mw::Prompter& prompter) {
        return mw::putTree(mission, {"all", false}, prompter);
    });
}

// A thousand objects above the collision bodies of the large tree (one above each of the first
// thousand columns of boxes and spheres) dropped onto them: finding the ground under each among
// 30 001 bodies and writing the new heights in place, against a scene load as the scene load
// benchmark takes it (the file read and parsed), both in the same run and taking turns.
void DropThousand_LargeMission(benchmark::State& state)
{
    const fs::path folder = workFolder() / "game" / "missions" / "drop";
    fs::create_directories(folder);
    const auto options = fs::copy_options::overwrite_existing;
    fs::copy_file(mw::bench::largeTreePath(), folder / "tree.klz", options);
    Quiet quiet;
    mw::Mission mission;
    double load = 0, spent = 0;
    std::size_t moved = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fs::copy_file(mw::bench::largeScenePath(), folder / "scene2.bin", options);
        mission.open(mw::MissionFile::Scene, folder / "scene2.bin", quiet);
        if (!mission.isLoaded(mw::MissionFile::Tree))
            mission.open(mw::MissionFile::Tree, folder / "tree.klz", quiet);
        const auto rows = thousandRows(mission);
        std::vector<mw::NewPlace> above;
        for (std::uint32_t i = 0; i < rows.size(); ++i)
            above.push_back({mw::MissionFile::Scene, rows[i], {static_cast<float>(i) + 0.5f, 50, 1.5f}, std::nullopt});
        if (!mw::writePlaces(mission, above, "Lift", quiet).done())
            throw std::runtime_error("the objects were not lifted");
        state.ResumeTiming();
        auto start = Clock::now();
        benchmark::DoNotOptimize(mw::loadScene(mw::readWholeFile(mw::bench::largeScenePath())));
        load += std::chrono::duration<double>(Clock::now() - start).count();
        start = Clock::now();
        const auto dropped = mw::dropToGround(mission, {.scene = rows}, quiet);
        spent += std::chrono::duration<double>(Clock::now() - start).count();
        if (!dropped.done())
            throw std::runtime_error("the objects were not dropped");
        moved = dropped.value.moved;
    }
    const double each = spent / static_cast<double>(state.iterations());
    load /= static_cast<double>(state.iterations());
    state.counters["moved"] = static_cast<double>(moved);
    state.counters["scene_load_ms"] = load * 1e3;
    state.counters["drop_ms"] = each * 1e3;
    state.counters["drop_per_load"] = each / load; // goal: at most 1
}

} // namespace

BENCHMARK(DropThousand_LargeMission)->Unit(benchmark::kMillisecond);
BENCHMARK(PutCache_LargeMission)->Unit(benchmark::kMillisecond);
BENCHMARK(PutTree_LargeMission)->Unit(benchmark::kMillisecond);
BENCHMARK(InsertHuman_LargeScene)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveLongerScript_LargeScene)->Unit(benchmark::kMillisecond);
BENCHMARK(DeleteObject_LargeScene)->Unit(benchmark::kMillisecond);
BENCHMARK(UndoDelete_LargeScene)->Unit(benchmark::kMillisecond);
BENCHMARK(PasteThousand_LargeScene)->Unit(benchmark::kMillisecond);
BENCHMARK(MoveThousand_LargeScene)->Unit(benchmark::kMillisecond);
BENCHMARK(SetFieldThousand_LargeScene)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
