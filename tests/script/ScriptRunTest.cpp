// Scripts against the commands they stand for: the same bytes written, one step per run, nothing
// written by a run that throws, is stopped or runs out of time.
#include <gtest/gtest.h>

#include <map>

#include "commands/editing/Deletion.h"
#include "commands/editing/FieldEdit.h"
#include "commands/insertion/InsertEngine.h"
#include "commands/objects/CopyPaste.h"
#include "commands/objects/Rename.h"
#include "commands/placing/DropToGround.h"
#include "commands/placing/Placing.h"
#include "foundation/files/FileAccess.h"
#include "mission/Mission.h"
#include "script/ScriptRun.h"
#include "support/MissionFileBuilders.h"
#include "support/SceneBuilder.h"
#include "support/ScriptedPrompter.h"
#include "support/TempFolder.h"

using namespace mw;
using namespace mw::build;
namespace fs = std::filesystem;

namespace {

// Rows 0 and 1 lamps; 2 a guard with its definition, 3 a crate linked to the guard; rows 4 … 4+n
// crates in a row. A cached house, and a ground box under everything at y 0.
struct World {
    explicit World(int crates = 3)
    {
        SceneBuilder s;
        s.beginObjects();
        for (int k = 0; k < 2; ++k)
            s.object({.name = "Lamp" + std::to_string(k), .type = 2, .translation = Floats3{float(k), 5, 0},
                      .rotation = std::array<float, 4>{0, 0, 1, 0}, .size = Floats3{1, 1, 1},
                      .light = LightParts{.kind = 2, .colour = Floats3{1, 1, 1}, .power = float(k + 1), .range = Floats2{1, 2},
                                          .distance = Floats2{3, 4}}});
        s.object({.name = "Guard", .type = 9, .translation = Floats3{3, 5, 0}, .rotation = std::array<float, 4>{0, 0, 1, 0},
                  .size = Floats3{1, 1, 1}});
        s.object({.name = "Hat", .type = 9, .translation = Floats3{3, 7, 0}, .link = std::string("Guard")});
        for (int k = 0; k < crates; ++k)
            s.object({.name = "Crate" + std::to_string(k), .type = 9, .translation = Floats3{float(k), 5, 10},
                      .rotation = std::array<float, 4>{0, 0, 1, 0}, .size = Floats3{1, 1, 1}});
        s.endObjects();
        s.beginDefinitions();
        s.definition({"Guard", 0x1B, humanData(8, 10, 0.5f, 80, "wait 1")});
        s.endDefinitions();
        fs::create_directories(folder());
        writeBytes(folder() / "scene2.bin", s.finish());
        CacheBuilder c;
        c.object("house.i3d", {50, 0, 50}, {0, 1, 0, 0}, {2, 2, 2});
        writeBytes(folder() / "cache.bin", c.finish());
        TreeBuilder t;
        t.box(1, t.link("ground"), {-100, -1, -100}, {100, 0, 100});
        writeBytes(folder() / "tree.klz", t.finish());
        for (const MissionFile file : {MissionFile::Scene, MissionFile::Cache, MissionFile::Tree})
            EXPECT_TRUE(mission.open(file, folder() / missionFileName(file), prompter));
    }
    fs::path folder() const { return dir.path() / "game" / "missions" / "m"; }
    std::vector<std::uint8_t> bytes(MissionFile file) const { return readWholeFile(folder() / missionFileName(file)); }
    ScriptResult run(const std::string& script, ScriptOptions options = {})
    {
        return ScriptRun(mission, std::move(options)).run(QString::fromStdString(script), QStringLiteral("test.js"));
    }

    TempFolder dir;
    Mission mission;
    ScriptedPrompter prompter;
};

// The insert dialog's first values, as a modder leaves them.
InsertForm humanAt(const std::string& name, const char* x, const char* z)
{
    InsertForm f;
    f.kind = "human", f.name = name, f.model = "Enemy12K.i3d";
    f.translationX = x, f.translationY = "0", f.translationZ = z;
    f.sizeX = f.sizeY = f.sizeZ = "1";
    f.verticalAngle = "0";
    f.brightness = "1", f.lightDistance = "25", f.thingWeight = "80", f.volume = "1", f.soundDistance = "100";
    f.sex = "17", f.aggression = "0.5", f.humanWeight = "80";
    return f;
}

const std::vector<std::uint32_t> LampRows = {0, 1};

} // namespace

// Each call writes what the command it stands for writes when called directly.
TEST(ScriptRun, EachCallWritesWhatItsCommandWrites)
{
    const struct {
        const char* script;
        std::function<void(Mission&, Prompter&)> direct;
    } cases[] = {
        {"move([0, 1], 1, 2, 3)", [](Mission& m, Prompter& p) { moveItems(m, {.scene = LampRows}, {1, 2, 3}, p); }},
        {"move(mission.cached[0], 0, -5, 0)", [](Mission& m, Prompter& p) { moveItems(m, {.cache = {0}}, {0, -5, 0}, p); }},
        {"place(mission.find('^Guard$')[0], 5, 6, 7)",
         [](Mission& m, Prompter& p) { writePlaces(m, {{MissionFile::Scene, 2, {5, 6, 7}, std::nullopt}}, "Place", p); }},
        {"turn(mission.find(/^lamp/gi), 30)", [](Mission& m, Prompter& p) { turnItems(m, {.scene = LampRows}, 30, p); }},
        {"dropToGround([4, 5])", [](Mission& m, Prompter& p) { dropToGround(m, {.scene = {4, 5}}, p); }},
        {"setField(mission.find('^Lamp'), 'brightness', '+1')",
         [](Mission& m, Prompter& p) { setField(m, fieldItemsOf({.scene = LampRows}), Field::LightBrightness, "+1", p); }},
        {"setField(0, 'x', -3)", [](Mission& m, Prompter& p) { setField(m, fieldItemsOf({.scene = {0}}), Field::TranslationX, "=-3", p); }},
        {"duplicate([0, 2])",
         [](Mission& m, Prompter& p) {
             PasteOptions o;
             o.stepName = "Duplicate";
             pasteObjects(m, copyObjects(m, std::vector<std::uint32_t>{0, 2}).package, p, o);
         }},
        {"remove([1])", [](Mission& m, Prompter& p) { deleteObjects(m, std::vector<std::uint32_t>{1}, p, false); }},
        {"insert('human', {name: 'Guard9', x: 1, z: 2})", [](Mission& m, Prompter& p) { insertObject(m, humanAt("Guard9", "1", "2"), p); }},
        {"rename(2, 'Boss')", [](Mission& m, Prompter& p) { renameObject(m, 2, "Boss", p); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        World scripted, direct;
        const ScriptResult result = scripted.run(c.script);
        ASSERT_TRUE(result.ok()) << result.summary(false).toStdString();
        c.direct(direct.mission, direct.prompter);
        for (const MissionFile file : {MissionFile::Scene, MissionFile::Cache, MissionFile::Tree})
            EXPECT_EQ(scripted.bytes(file), direct.bytes(file)) << missionFileName(file);
        EXPECT_EQ(scripted.mission.history().undoCount(), 1u);
        EXPECT_EQ(scripted.mission.history().nextUndo()->name, "Script test.js");
    }
}

// A rename keeps the scene consistent: the definition and the linked object follow.
TEST(ScriptRun, ARenameTakesTheDefinitionAndTheLinksAlong)
{
    World w;
    const ScriptResult result = w.run("rename(mission.find('^Guard$')[0], 'Boss');\n"
                                      "const boss = mission.objects[2], hat = mission.objects[3];\n"
                                      "print(boss.name, boss.kind, boss.aggression, hat.link);");
    ASSERT_TRUE(result.ok()) << result.summary(false).toStdString();
    EXPECT_EQ(result.printed, QStringList{QStringLiteral("Boss human 0.5 Boss")});
    // As a fresh load of the file reads it.
    Mission fresh;
    ASSERT_TRUE(fresh.open(MissionFile::Scene, w.folder() / "scene2.bin", w.prompter));
    EXPECT_EQ(fresh.sceneCatalogue().entry(2).typeCode, typecode::Human);
    EXPECT_EQ(fresh.sceneCatalogue().entry(3).linkName, "Boss");
    EXPECT_FALSE(w.run("rename(4, 'boss')").ok()); // taken, whatever the letter case
    // A dot would hand the definition to the part of the name before it.
    EXPECT_EQ(w.run("rename(2, 'Boss.2')").stopped->message.toStdString(),
              std::string("rename: ") + renamemsg::DotWithDefinition + " (" + renamemsg::Title + ")");
}

// Values read in a run show its earlier commands; the run is one step, undone at once.
TEST(ScriptRun, ARunIsOneStepAndSeesItsOwnCommands)
{
    World w;
    const auto scene = w.bytes(MissionFile::Scene), cache = w.bytes(MissionFile::Cache);
    const ScriptResult result = w.run("for (const lamp of mission.find('^Lamp')) move(lamp, 0, 2, 0);\n"
                                      "move(mission.cached, 1, 0, 0);\n"
                                      "print(mission.objects[0].position.y, mission.cached[0].position.x);");
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.printed, QStringList{QStringLiteral("7 51")});
    EXPECT_EQ(result.summary(false).toStdString(), "Changed scene2.bin and cache.bin: 3 objects moved.");
    EXPECT_EQ(w.mission.history().undoCount(), 1u);
    ASSERT_TRUE(w.mission.undo(w.prompter));
    EXPECT_EQ(w.bytes(MissionFile::Scene), scene);
    EXPECT_EQ(w.bytes(MissionFile::Cache), cache);
}

// A file replaced whole and then patched in one run: undo gives the file before, redo the file after.
TEST(ScriptRun, AFileReplacedThenPatchedIsUndoneAndRedoneWhole)
{
    World w;
    const auto before = w.bytes(MissionFile::Scene);
    ASSERT_TRUE(w.run("remove(0);\nmove(0, 0, 1, 0);\nsetField(1, 'x', 9);").ok());
    const auto after = w.bytes(MissionFile::Scene);
    ASSERT_TRUE(w.mission.undo(w.prompter));
    EXPECT_EQ(w.bytes(MissionFile::Scene), before);
    ASSERT_TRUE(w.mission.redo(w.prompter));
    EXPECT_EQ(w.bytes(MissionFile::Scene), after);
    EXPECT_EQ(w.mission.sceneCatalogue().translation(0).y, 6.0f);
}

// A run that throws, is refused, is stopped or runs out of time writes nothing and records no step;
// its message says where it stopped. A dry run writes nothing and says what it would have done.
TEST(ScriptRun, NothingIsWrittenUnlessTheRunEndsWell)
{
    const struct {
        const char* script;
        std::string stopped; // as the summary says it
        bool dryRun = false;
    } cases[] = {
        {"for (let k = 4; k < 104; ++k) move(k, 0, 1, 0);\nthrow new Error('enough');",
         "Stopped at test.js:2: enough. Nothing was changed."},
        {"move(0, 1, 1, 1);\nsetField(0, 'brightness', 9);", "Stopped at test.js:2: setField: Value 0 ... 5 (Light brightness: Lamp0). Nothing was changed."},
        {"move(0, 1, 1, 1);\nmove(99999, 0, 0, 0);", "Stopped at test.js:2: move: there is no object at objects row 99999. Nothing was changed."},
        {"move(0, 1, 1, 1);\nlet n = 0;\nwhile (true) ++n;", "Stopped at test.js: stopped after 0.2 s. Nothing was changed."},
        {"move(0, 1, 1, 1);\nundefinedName();", "Stopped at test.js:2: ReferenceError: undefinedName is not defined. Nothing was changed."},
        {"move(0, 1, 1, 1);\ntry { move(99999, 0, 0, 0); } catch (e) {}\nprint('went on');",
         "Stopped at test.js:2: move: there is no object at objects row 99999. Nothing was changed."},
        {"const lamp = mission.objects[1];\nremove(0);\nmove(lamp, 0, 1, 0);",
         "Stopped at test.js:3: move: \"Lamp1\" is no longer at objects row 1 (rows change when objects are inserted or "
         "removed: read the lists again). Nothing was changed."},
        {"move(mission.cached, 1, 0, 0);\nrename(2, 'G\u0141');", "Stopped at test.js:2: rename: the name holds characters that "
         "the game's files cannot store. Nothing was changed."},
        {"move(0, 1, 1, 1)", "Dry run, nothing written: the script would change scene2.bin: 1 object moved.", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        World w(100);
        std::map<MissionFile, std::vector<std::uint8_t>> before;
        for (const MissionFile file : {MissionFile::Scene, MissionFile::Cache, MissionFile::Tree})
            before[file] = w.bytes(file);
        ScriptOptions options;
        options.timeLimit = std::chrono::milliseconds(200);
        options.dryRun = c.dryRun;
        const ScriptResult result = w.run(c.script, options);
        EXPECT_EQ(result.summary(c.dryRun).toStdString(), c.stopped);
        for (const MissionFile file : {MissionFile::Scene, MissionFile::Cache, MissionFile::Tree})
            EXPECT_EQ(w.bytes(file), before[file]) << missionFileName(file);
        EXPECT_EQ(w.mission.history().undoCount(), 0u);
        EXPECT_EQ(w.mission.sceneCatalogue().translation(4).y, 5.0f); // the memory is put back too
    }
}

// Another program's change to a file while a run goes on takes the whole run back, and is kept:
// noticed by the next command, or when the run's files are written.
TEST(ScriptRun, AChangeOnDiskDuringARunTakesTheRunBack)
{
    for (const int changedAfter : {1, 4}) { // the first call back, or the last (after the rename)
        SCOPED_TRACE(changedAfter);
        World w;
        const auto scene = w.bytes(MissionFile::Scene);
        auto theirs = w.bytes(MissionFile::Cache);
        theirs.push_back(0);
        ScriptOptions options;
        int commands = 0;
        options.between = [&] {
            if (++commands == changedAfter)
                writeBytes(w.folder() / "cache.bin", theirs);
        };
        const ScriptResult result = w.run("move(0, 1, 0, 0);\nmove(mission.cached, 0, 1, 0);\nrename(2, 'Boss');", options);
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.staleFile, MissionFile::Cache) << result.summary(false).toStdString();
        EXPECT_EQ(w.bytes(MissionFile::Scene), scene);
        EXPECT_EQ(w.bytes(MissionFile::Cache), theirs);
        EXPECT_EQ(w.mission.history().undoCount(), 0u);
    }
}

// A script reaches nothing but the interface: no file, process or network objects are there.
TEST(ScriptRun, AScriptReachesOnlyTheMission)
{
    World w;
    const ScriptResult result = w.run("print([typeof require, typeof XMLHttpRequest, typeof Qt, typeof console, "
                                      "typeof api, typeof mission.find].join(' '));");
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.printed, QStringList{QStringLiteral("undefined undefined undefined undefined undefined function")});
    // Nor can it load another script from the disk.
    writeBytes(w.folder() / "other.mjs", std::vector<std::uint8_t>{'p', 'r', 'i', 'n', 't', '(', '1', ')', ';'});
    const std::string other = (w.folder() / "other.mjs").string();
    const ScriptResult loaded = w.run("import('" + other + "').then(() => print('loaded'), (e) => print('refused'));\n"
                                      "import('file://" + other + "').then(() => print('loaded'), (e) => print('refused'));");
    EXPECT_FALSE(loaded.printed.contains(QStringLiteral("1")));
    EXPECT_FALSE(loaded.printed.contains(QStringLiteral("loaded")));
}
