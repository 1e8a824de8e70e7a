// The 3D view of the largest mission (30 001 scene entries, 9 500 cached objects, 30 001 collision
// bodies, the frames of a 100 MB model file): building its instance data and picking tree against
// loading the scene, in one run; one frame at 1280 x 800 into a framebuffer object beside the frame
// of an empty mission; a pick; and the memory the view adds against the scene file's size.
// OpenGL needs a display: run it under xvfb-run (Mesa's software renderer draws).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDockWidget>
#include <filesystem>
#include <chrono>
#include <cstdio>
#include <random>

#include "formats/cache/CacheFile.h"
#include "formats/collision/CollisionFile.h"
#include "formats/model/ModelFile.h"
#include "formats/scene/SceneLoader.h"
#include "foundation/files/FileAccess.h"
#include "LargeMission.h"
#include "render/view3d/GlRenderer.h"
#include "render/view3d/Picking.h"
#include "support/OffscreenGl.h"
#include "ui/MainWindow.h"
#include "ui/Selection.h"
#include "ui/SelectionCommands.h"
#include "ui/WidgetNames.h"
#include "ui/view3d/View3DPanel.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int Width = 1280, Height = 800;

struct Large {
    std::size_t sceneFileBytes = 0;
    mw::SceneLoadResult scene;
    mw::CacheLoadResult cache;
    mw::CollisionLoadResult tree;
    mw::ModelLoadResult model;
    mw::Scene3DSource source() const { return {.scene = &scene.catalogue, .cache = &cache, .tree = &tree, .model = &model}; }
};

const Large& large()
{
    static const Large data = [] {
        Large l;
        const auto bytes = mw::readWholeFile(mw::bench::largeScenePath());
        l.sceneFileBytes = bytes.size();
        l.scene = mw::loadScene(bytes);
        l.cache = mw::readCacheFile(mw::readWholeFile(mw::bench::largeCachePath()));
        l.tree = mw::readCollisionFile(mw::readWholeFile(mw::bench::largeTreePath()), l.scene.catalogue);
        l.model = mw::readModelFile(mw::readWholeFile(mw::bench::largeModelPath()));
        return l;
    }();
    return data;
}

double seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// The instance data, as the view makes it when the mission changes; the picking tree, made at the
// first pick after that; the memory both hold beside the copy of the instances the graphics driver
// keeps.
void View3DBuild_LargeMission(benchmark::State& state)
{
    const Large& l = large();
    // The scene load as the scene load benchmark takes it (the file read and parsed) and the build
    // alternate, so that both see the machine alike.
    double load = 0, spent = 0;
    std::size_t items = 0;
    for (auto _ : state) {
        auto t = Clock::now();
        benchmark::DoNotOptimize(mw::loadScene(mw::readWholeFile(mw::bench::largeScenePath())));
        load += seconds(t);
        t = Clock::now();
        const mw::Scene3D scene = mw::buildScene3D(l.source());
        spent += seconds(t);
        items = scene.itemCount();
    }
    load /= static_cast<double>(state.iterations());
    const double build = spent / static_cast<double>(state.iterations());
    // The picking tree of the same data, and what both hold.
    const mw::Scene3D scene = mw::buildScene3D(l.source());
    const auto t = Clock::now();
    const mw::Picker picker(scene);
    picker.prepare();
    state.counters["pick_tree_ms"] = seconds(t) * 1e3;
    const std::size_t memory = scene.memoryBytes() + picker.memoryBytes() + items * sizeof(mw::Instance3D);
    state.counters["items"] = static_cast<double>(items);
    state.counters["scene_load_ms"] = load * 1e3;
    state.counters["build_ms"] = build * 1e3;
    state.counters["build_per_load"] = build / load; // goal: at most 1
    state.counters["view_MB"] = static_cast<double>(memory) / 1e6;
    state.counters["scene_file_MB"] = static_cast<double>(l.sceneFileBytes) / 1e6;
    state.counters["view_per_scene_file"] = static_cast<double>(memory) / static_cast<double>(l.sceneFileBytes); // goal: at most 2
}

// A pick from the camera that frames the whole mission towards an item chosen at random (the
// worst case: the mission lies along one line, so every ray passes many items), the tree built
// beforehand.
void View3DPick_LargeMission(benchmark::State& state)
{
    const Large& l = large();
    const mw::Scene3D scene = mw::buildScene3D(l.source());
    const mw::Picker picker(scene);
    picker.prepare();
    mw::Camera camera;
    camera.setViewport(Width, Height);
    camera.frame(scene.min, scene.max);
    std::vector<mw::Ray> rays;
    std::mt19937 random(1);
    for (int k = 0; k < 4096; ++k) {
        const mw::Batch3D& batch = scene.batches[random() % scene.batches.size()];
        if (batch.instances.empty())
            continue;
        const mw::Vec3 target = batch.instances[random() % batch.instances.size()].column(3);
        rays.push_back({camera.position, mw::normalized(target - camera.position)});
    }
    std::size_t k = 0;
    int hits = 0;
    for (auto _ : state) {
        const auto hit = picker.pick(rays[k++ % rays.size()], {true, true, true, true, true});
        hits += hit.has_value();
    }
    state.counters["hit_share"] = static_cast<double>(hits) / static_cast<double>(state.iterations());
    state.counters["goal_ms"] = 1;
}

// One frame of the largest mission: `framed`, all of it in view (most items a pixel wide); else
// from among its objects, 30 m up, looking along the line they stand on (hundreds of them drawn in
// their shapes, the rest points or out of view).
void frameBenchmark(benchmark::State& state, bool framed)
{
    const Large& l = large();
    const auto scene = std::make_shared<const mw::Scene3D>(mw::buildScene3D(l.source()));
    mw::Camera camera;
    camera.setViewport(Width, Height);
    camera.frame(scene->min, scene->max);
    if (!framed) {
        camera.position = {1000, 30, -1000};
        camera.yaw = 2.356f; // towards +x and -z, along the objects
        camera.pitch = -0.3f;
    }
    mw::build::OffscreenGl gl(Width, Height);
    if (!gl.failure().empty()) {
        state.SkipWithError(gl.failure().c_str());
        return;
    }
    // The mission first, as the view gets it, then the empty mission's frame (the grid and the
    // compass alone) for comparison, then the mission again.
    constexpr int Rounds = 5;
    const auto timed = [&] {
        gl.draw(camera);
        const auto start = Clock::now();
        for (int i = 0; i < Rounds; ++i)
            gl.draw(camera);
        return seconds(start) / Rounds;
    };
    gl.renderer.setScene(scene);
    const double first = timed();
    gl.renderer.setScene(std::make_shared<const mw::Scene3D>());
    const double empty = timed();
    gl.renderer.setScene(scene);
    gl.draw(camera);
    double spent = 0;
    for (auto _ : state) {
        const auto t = Clock::now();
        gl.draw(camera);
        spent += seconds(t);
    }
    state.counters["frame_ms"] = spent / static_cast<double>(state.iterations()) * 1e3;
    state.counters["first_frames_ms"] = first * 1e3;
    state.counters["empty_frame_ms"] = empty * 1e3;
    state.counters["draw_calls"] = gl.renderer.drawCalls();
    state.counters["goal_ms"] = 50;
}

void View3DFrameAll_LargeMission(benchmark::State& state) { frameBenchmark(state, true); }

// A drag of a thousand selected objects, from among the objects as above: each frame draws them
// where they would be (passed over where they stand, drawn moved beside the scene, which is not
// copied), outlines them there, and draws.
void View3DDragThousand_LargeMission(benchmark::State& state)
{
    const Large& l = large();
    const auto scene = std::make_shared<const mw::Scene3D>(mw::buildScene3D(l.source()));
    mw::Camera camera;
    camera.setViewport(Width, Height);
    camera.position = {1000, 30, -1000};
    camera.yaw = 2.356f;
    camera.pitch = -0.3f;
    mw::build::OffscreenGl gl(Width, Height);
    if (!gl.failure().empty()) {
        state.SkipWithError(gl.failure().c_str());
        return;
    }
    gl.renderer.setScene(scene);
    // A thousand scene objects from the middle of the scene, as a selection of rows.
    std::vector<mw::Scene3D::Place> dragged;
    const std::uint32_t first = l.scene.catalogue.FirstScriptIndex / 3;
    for (std::uint32_t row = first; dragged.size() < 1000; ++row)
        if (const auto place = scene->find({mw::ViewLayer::Scene, row}))
            dragged.push_back(*place);
    float step = 0;
    double spent = 0;
    for (auto _ : state) {
        const auto t = Clock::now();
        step += 0.1f;
        mw::DrawOverrides moved;
        mw::Highlight3D highlight;
        for (const auto& place : dragged) {
            mw::Instance3D i = scene->batch(place.batch).instances[place.index];
            i.columns[9] += step;
            moved.skip(place, scene->batch(place.batch).instances.size());
            moved.added[static_cast<std::size_t>(place.batch)].push_back(i);
            highlight.items[static_cast<std::size_t>(mw::meshOf(place.batch))].push_back(i);
        }
        gl.renderer.setOverrides(std::move(moved));
        gl.renderer.setHighlight(highlight);
        gl.draw(camera);
        spent += seconds(t);
    }
    state.counters["dragged"] = static_cast<double>(dragged.size());
    state.counters["frame_ms"] = spent / static_cast<double>(state.iterations()) * 1e3;
    state.counters["goal_ms"] = 50;
}
void View3DFrameInside_LargeMission(benchmark::State& state) { frameBenchmark(state, false); }

// A move of a scene object, a cached object and a frame as one step through the real window with
// the map and the 3D view shown: the files patched, and every view following the step's one notice
// (the 3D view makes the three moved instances again instead of the whole scene).
void MoveAcrossThreeFiles_LargeMissionWindow(benchmark::State& state)
{
    const auto folder = std::filesystem::temp_directory_path() / "mission-workshop-bench" / "game" / "missions" / "large";
    std::filesystem::create_directories(folder);
    for (const auto& file : {mw::bench::largeScenePath(), mw::bench::largeCachePath(), mw::bench::largeTreePath(),
                             mw::bench::largeModelPath()})
        std::filesystem::copy_file(file, folder / file.filename(), std::filesystem::copy_options::overwrite_existing);
    mw::MainWindow window;
    window.resize(1600, 1000);
    window.show();
    window.openPaths({QString::fromStdString(folder.string())});
    window.findChild<QDockWidget*>(QString::fromLatin1(mw::ids::MapDock))->show();
    window.view3d().dock()->show();
    QApplication::processEvents();
    mw::Selection& selection = window.selection();
    selection.selectItems({{mw::ViewLayer::Scene, 100}, {mw::ViewLayer::Cache, 101}, {mw::ViewLayer::Frames, 5}}, false);
    QApplication::processEvents();
    double spent = 0;
    for (auto _ : state) {
        const auto t = Clock::now();
        window.selectionCommands().moveItemsBy(selection.placedItems(), {0.5f, 0, 0});
        QApplication::processEvents();
        spent += seconds(t);
    }
    state.counters["moved"] = static_cast<double>(selection.size());
    state.counters["move_ms"] = spent / static_cast<double>(state.iterations()) * 1e3;
}

} // namespace

BENCHMARK(View3DBuild_LargeMission)->Unit(benchmark::kMillisecond);
BENCHMARK(View3DPick_LargeMission)->Unit(benchmark::kMicrosecond);
BENCHMARK(View3DFrameAll_LargeMission)->Unit(benchmark::kMillisecond);
BENCHMARK(View3DFrameInside_LargeMission)->Unit(benchmark::kMillisecond);
BENCHMARK(View3DDragThousand_LargeMission)->Unit(benchmark::kMillisecond);
BENCHMARK(MoveAcrossThreeFiles_LargeMissionWindow)->Unit(benchmark::kMillisecond)->Iterations(10);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
