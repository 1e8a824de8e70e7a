// Every command is all or nothing: each of its file operations is made to fail in turn, and every
// file and folder must then be as before, with one message and the history unchanged.
#include <gtest/gtest.h>

#include <iostream>

#include "commands/addins/Export.h"
#include "commands/addins/Import.h"
#include "commands/editing/Deletion.h"
#include "commands/editing/FieldEdit.h"
#include "commands/editing/ListValueSave.h"
#include "commands/editing/SceneValueSave.h"
#include "commands/editing/Scripts.h"
#include "commands/objects/CopyPaste.h"
#include "commands/placing/DropToGround.h"
#include "commands/placing/Placing.h"
#include "commands/insertion/InsertEngine.h"
#include "commands/merges/PutCache.h"
#include "commands/merges/PutTree.h"
#include "commands/tracks/Tracks.h"
#include "support/ChunkBuilder.h"
#include "support/CircuitBuilder.h"
#include "support/FaultSweep.h"
#include "support/MissionFileBuilders.h"
#include "support/PackageBuilder.h"
#include "support/SceneBuilder.h"

using namespace mw;
using namespace mw::build;
namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

// A mission with all four files and a route file, every one loaded; the scene has a crate with
// its definition and a free-standing script.
void writeAndLoadMission(FaultWorld& w)
{
    fs::create_directories(w.folder());
    SceneBuilder s;
    s.beginObjects();
    s.object({.name = "Crate", .type = 9, .translation = Floats3{1, 2, 3}, .rotation = std::array<float, 4>{1, 0, 0, 0},
              .size = Floats3{1, 1, 1}});
    s.endObjects();
    s.beginDefinitions();
    s.definition({"Crate", 0x23, thingData(10, 1)});
    s.endDefinitions();
    s.beginScripts();
    s.script("intro", "wait 2");
    s.endScripts();
    writeBytes(w.folder() / "scene2.bin", s.finish());
    CacheBuilder c;
    c.object("lamp01.i3d", {1, 2, 3}, {1, 0, 0, 0}, {1, 1, 1});
    writeBytes(w.folder() / "cache.bin", c.finish());
    TreeBuilder t;
    t.link("wall");
    t.box(1, 0, {0, 0, 0}, {2, 4, 6});
    writeBytes(w.folder() / "tree.klz", t.finish());
    ModelFileBuilder m;
    m.endMaterials();
    m.frame("Sign", {1, 2, 3}, {1, 0, 0, 0});
    writeBytes(w.folder() / "scene.4ds", m.finish());
    writeBytes(w.folder() / "check.bin", routeFile(552));

    for (MissionFile file : MissionFiles)
        ASSERT_TRUE(w.mission.open(file, w.folder() / missionFileName(file), w.prompter));
    ASSERT_TRUE(w.prompter.said.empty());
}

// A package that changes all four files, adds an object with its definition, installs a model and
// a map (into a folder it makes) and replaces the route file.
fs::path writePackage(FaultWorld& w)
{
    PackageParts p;
    p.title = "Box";
    p.apply = {true, true, true, true};
    p.patches = {{{{"wall", "WALL"}}, {{"lamp01", "lamp02"}}, {{"Sign", "Sigh"}}, {{"wait 2", "wait 3"}}}};
    ChunkBuilder objects;
    const auto o = objects.open(chunk::Object);
    objects.text(chunk::ObjectName, "AddedBox");
    objects.floats(chunk::Translation, {1, 2, 3});
    objects.close(o);
    ChunkBuilder definitions;
    const auto d = definitions.open(chunk::Definition);
    definitions.text(chunk::DefinitionName, "AddedBox");
    definitions.u32(chunk::DefinitionType, 0x23);
    definitions.chunk(chunk::DefinitionData, thingData(5, 2));
    definitions.close(d);
    p.objects = objects.take();
    p.definitions = definitions.take();
    p.groups[0] = {{"box.4ds", bytesOf("model")}};
    p.groups[2] = {{"m1.mp", bytesOf("map")}};
    p.groups[5] = {{"check.bin", bytesOf("new route")}};
    const fs::path package = w.dir.path() / "box.QRA";
    writeBytes(package, buildPackage(p));
    return package;
}

void import(FaultWorld& w) { importAddin(w.mission, w.dir.path() / "box.QRA", w.prompter); }

void report(const char* command, std::size_t operations)
{
    std::cout << "[ all or nothing ] " << command << ": " << operations << " file operations, each failed in turn\n";
}

} // namespace

TEST(AllOrNothing, AddinImport)
{
    const auto setup = [](FaultWorld& w) {
        writeAndLoadMission(w);
        writePackage(w);
    };
    report("add-in import", sweepFileFaults(setup, import, 45));
}

TEST(AllOrNothing, UndoAndRedoOfAnImport)
{
    const auto imported = [](FaultWorld& w) {
        writeAndLoadMission(w);
        writePackage(w);
        import(w);
        ASSERT_EQ(w.mission.history().undoCount(), 1u);
    };
    report("undo of an import", sweepFileFaults(imported, [](FaultWorld& w) { w.mission.undo(w.prompter); }, 23));
    const auto undone = [&](FaultWorld& w) {
        imported(w);
        ASSERT_TRUE(w.mission.undo(w.prompter));
    };
    // A redo that fails keeps the step to redo; the undo list is unchanged either way.
    report("redo of an import", sweepFileFaults(undone, [](FaultWorld& w) {
               if (!w.mission.redo(w.prompter)) {
                   EXPECT_TRUE(w.mission.history().nextRedo());
               }
           }, 37));
}

TEST(AllOrNothing, PutCacheAndPutTree)
{
    report("Put cache", sweepFileFaults(
                            [](FaultWorld& w) {
                                writeAndLoadMission(w);
                                w.prompter.answers = {true, true};
                            },
                            [](FaultWorld& w) { putCache(w.mission, w.prompter); }, 6));
    // From the saved scene: the backup is read, written again and the scene rewritten.
    report("Put tree", sweepFileFaults(
                           [](FaultWorld& w) {
                               writeAndLoadMission(w);
                               fs::copy_file(w.folder() / "scene2.bin", w.folder() / "scene2.bin-save.qra");
                           },
                           [](FaultWorld& w) { putTree(w.mission, {"all", true}, w.prompter); }, 8));
}

TEST(AllOrNothing, TrackCommands)
{
    const auto circuit = [](FaultWorld& w) {
        fs::create_directories(w.folder());
        SceneBuilder b;
        b.beginObjects();
        addCircuit(b);
        b.endObjects();
        writeBytes(w.folder() / "scene2.bin", b.finish());
        writeBytes(w.folder() / "check.bin", routeFile(552));
        w.mission.open(MissionFile::Scene, w.folder() / "scene2.bin", w.prompter);
    };
    const auto scene = [](FaultWorld& w) { return w.folder() / "scene2.bin"; };
    report("Transform", sweepFileFaults(circuit, [&](FaultWorld& w) { transformTrack(w.mission, scene(w), w.prompter); }, 4));
    report("Put Track", sweepFileFaults(circuit, [&](FaultWorld& w) {
               putTrack(w.mission, scene(w), w.folder() / "check.bin", w.prompter);
           }, 6));
    report("Create", sweepFileFaults(circuit, [&](FaultWorld& w) { createReversedCopy(w.mission, scene(w), w.prompter); }, 4));
}

TEST(AllOrNothing, PlacingAcrossFiles)
{
    // The crate, the cached lamp and the frame, lifted 10 m above the collision box they stand in.
    const PlacedItems all{.scene = {0}, .cache = {0}, .frames = {0}};
    const auto lifted = [&](FaultWorld& w) {
        writeAndLoadMission(w);
        ASSERT_TRUE(moveItems(w.mission, all, {0, 10, 0}, w.prompter).done());
    };
    report("move in 3D", sweepFileFaults(lifted, [&](FaultWorld& w) { moveItems(w.mission, all, {1, 2, 3}, w.prompter); }, 3));
    report("turn in 3D", sweepFileFaults(lifted, [&](FaultWorld& w) { turnItems(w.mission, all, 30, w.prompter); }, 3));
    report("drop to ground", sweepFileFaults(lifted, [&](FaultWorld& w) {
               EXPECT_EQ(dropToGround(w.mission, all, w.prompter).value.moved, 3u);
           }, 3));
    report("one field of many", sweepFileFaults(lifted, [&](FaultWorld& w) {
               setField(w.mission, fieldItemsOf(all), Field::SizeY, "*2", w.prompter);
           }, 2));
}

TEST(AllOrNothing, SingleFileCommands)
{
    // Each command with the file operations it is known to need.
    const struct {
        const char* name;
        std::size_t minimum;
        std::function<void(FaultWorld&)> run;
    } commands[] = {
        {"delete", 3, [](FaultWorld& w) { deleteObject(w.mission, 0, w.prompter); }},
        {"insert", 3,
         [](FaultWorld& w) {
             InsertForm f;
             f.kind = "human", f.name = "Guard", f.model = "Enemy12K.i3d";
             f.translationX = f.translationY = f.translationZ = "1";
             f.sizeX = f.sizeY = f.sizeZ = "1";
             f.aggression = "0.5", f.humanWeight = "80", f.sex = "17";
             insertObject(w.mission, f, w.prompter);
         }},
        {"script of a new length", 3, [](FaultWorld& w) { saveScript(w.mission, 1, "wait 20", w.prompter); }},
        {"paste", 3,
         [](FaultWorld& w) {
             const std::uint32_t rows[] = {0};
             pasteObjects(w.mission, copyObjects(w.mission, rows).package, w.prompter);
         }},
        {"delete many", 3,
         [](FaultWorld& w) {
             const std::uint32_t rows[] = {0, 1}; // the crate and the script: only the crate goes
             w.prompter.answers = {true};
             deleteObjects(w.mission, rows, w.prompter);
         }},
        {"export", 3,
         [](FaultWorld& w) {
             const std::uint32_t rows[] = {0};
             exportAddin(w.mission, rows, defaultExportChoices(w.mission, rows), w.dir.path() / "out.qra", w.prompter);
         }},
        {"move many", 1,
         [](FaultWorld& w) {
             moveItems(w.mission, {.scene = {0}}, {1, 2, 3}, w.prompter);
         }},
        {"cache values", 1,
         [](FaultWorld& w) {
             TransformForm f{"7", "8", "9", "1", "1", "1", "0", {1, 0, 0, 0}};
             saveCacheValues(f, w.mission, 0, w.prompter);
         }},
    };
    for (const auto& c : commands) {
        SCOPED_TRACE(c.name);
        report(c.name, sweepFileFaults(writeAndLoadMission, c.run, c.minimum));
    }
}

// Many commands as one held step (what a script runs): nothing reaches the disk until the step
// ends; then each file is written once, or, on any failure, every file stays as it was.
TEST(AllOrNothing, HeldStepsWriteOnceAtTheirEnd)
{
    const auto commands = [](FaultWorld& w, bool commit) {
        Mission::Step step(w.mission, "Script", w.prompter);
        step.holdWrites();
        EXPECT_TRUE(moveItems(w.mission, {.scene = {0}, .cache = {0}}, {1, 2, 3}, w.prompter).done());
        EXPECT_TRUE(pasteObjects(w.mission, copyObjects(w.mission, std::vector<std::uint32_t>{0}).package, w.prompter).done());
        EXPECT_TRUE(moveItems(w.mission, {.scene = {0}}, {0, 1, 0}, w.prompter).done());
        if (commit)
            step.commit();
    };
    {
        // Held, then let go: the memory is as before, the disk never changed.
        FaultWorld w;
        writeAndLoadMission(w);
        const auto before = folderSnapshot(w.dir.path());
        commands(w, false);
        EXPECT_EQ(folderSnapshot(w.dir.path()), before);
        EXPECT_EQ(w.mission.sceneCatalogue().entryCount(), 2u);
        EXPECT_EQ(w.mission.history().undoCount(), 0u);
        expectMemoryMatchesDisk(w.mission);
    }
    {
        // Held and kept: the files as the same commands leave them one by one, one undo step.
        FaultWorld held, direct;
        writeAndLoadMission(held);
        writeAndLoadMission(direct);
        const auto before = folderSnapshot(held.dir.path());
        commands(held, true);
        {
            Mission::Step step(direct.mission, "Script", direct.prompter);
            moveItems(direct.mission, {.scene = {0}, .cache = {0}}, {1, 2, 3}, direct.prompter);
            pasteObjects(direct.mission, copyObjects(direct.mission, std::vector<std::uint32_t>{0}).package, direct.prompter);
            moveItems(direct.mission, {.scene = {0}}, {0, 1, 0}, direct.prompter);
            step.commit();
        }
        for (const MissionFile file : {MissionFile::Scene, MissionFile::Cache})
            EXPECT_EQ(readWholeFile(held.mission.pathOf(file)), readWholeFile(direct.mission.pathOf(file)));
        expectMemoryMatchesDisk(held.mission);
        ASSERT_TRUE(held.mission.undo(held.prompter));
        EXPECT_EQ(folderSnapshot(held.dir.path()).size(), before.size());
        EXPECT_EQ(readWholeFile(held.mission.pathOf(MissionFile::Scene)), before.at(held.mission.pathOf(MissionFile::Scene)));
    }
    {
        // A file changed on disk while the step held its writes: nothing of the step is written.
        FaultWorld w;
        writeAndLoadMission(w);
        const auto scene = readWholeFile(w.mission.pathOf(MissionFile::Scene));
        auto changed = readWholeFile(w.mission.pathOf(MissionFile::Cache));
        changed.push_back(7);
        {
            Mission::Step step(w.mission, "Script", w.prompter);
            step.holdWrites();
            moveItems(w.mission, {.scene = {0}, .cache = {0}}, {1, 2, 3}, w.prompter);
            writeBytes(w.mission.pathOf(MissionFile::Cache), changed);
            step.commit();
        }
        EXPECT_EQ(readWholeFile(w.mission.pathOf(MissionFile::Cache)), changed);
        EXPECT_EQ(readWholeFile(w.mission.pathOf(MissionFile::Scene)), scene);
        EXPECT_EQ(w.mission.history().undoCount(), 0u);
        ASSERT_FALSE(w.prompter.said.empty());
        EXPECT_NE(w.prompter.said.back().text.find("cache.bin was changed outside the editor"), std::string::npos);
    }
    report("a held step", sweepFileFaults(writeAndLoadMission, [&](FaultWorld& w) { commands(w, true); }, 2));
}
