#include <gtest/gtest.h>

#include "commands/addins/Export.h"
#include "commands/addins/Import.h"
#include "commands/placing/Placing.h"
#include "formats/addin/Package.h"
#include "foundation/bytes/ByteReader.h"
#include "foundation/files/FileAccess.h"
#include "mission/Mission.h"
#include "support/Outcomes.h"
#include "support/SceneBuilder.h"
#include "support/SceneChecks.h"
#include "support/ScriptedPrompter.h"
#include "support/TempFolder.h"

using namespace mw;
using namespace mw::build;
namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

fs::path writeScene(const fs::path& game, SceneBuilder& b)
{
    const fs::path path = game / "missions" / "m1" / "scene2.bin";
    fs::create_directories(path.parent_path());
    writeBytes(path, b.finish());
    return path;
}

} // namespace

// An add-in made of objects of one game's mission goes into a mission of the same name of another
// game: the same objects and definitions, byte for byte, and the model files.
TEST(ExportTest, ExportedObjectsImportIntoAnotherMissionOfTheSameName)
{
    TempFolder dir;
    SceneBuilder a;
    a.beginObjects();
    const ObjectOffsets lamp = a.object({.name = "Lamp", .type = 9, .translation = Floats3{1, 2, 3}, .model = "Lamp01.i3d"});
    a.object({.name = "Guard", .type = 9, .translation = Floats3{4, 5, 6}, .model = "enemy.i3d"});
    a.object({.name = "Ghost", .type = 9, .model = "ghost.i3d"});
    a.object({.name = "Sign", .type = 9, .model = "a_model_name_too_long.i3d"});
    const ObjectOffsets twin = a.object({.name = "Twin", .type = 9, .model = "LAMP01.I3D"}); // the lamp's model again
    a.endObjects();
    a.beginDefinitions();
    const DefinitionOffsets guard = a.definition({"Guard", 0x1B, humanData(8, 10, 0.5f, 80, "say hi")});
    a.endDefinitions();
    a.beginScripts();
    a.script("intro", "wait 2");
    a.endScripts();
    const fs::path sceneA = writeScene(dir.path() / "gameA", a);
    const std::vector<std::uint8_t> source = readWholeFile(sceneA);
    const auto span = [&](std::size_t from, std::size_t to) {
        return std::vector<std::uint8_t>(source.begin() + static_cast<std::ptrdiff_t>(from),
                                         source.begin() + static_cast<std::ptrdiff_t>(to));
    };
    fs::create_directories(dir.path() / "gameA" / "models");
    writeBytes(dir.path() / "gameA" / "models" / "LAMP01.4DS", bytesOf("lamp model"));
    writeBytes(dir.path() / "gameA" / "models" / "enemy.4ds", bytesOf("enemy model"));

    Mission mission;
    ScriptedPrompter prompter;
    mission.open(MissionFile::Scene, sceneA, prompter);
    const std::uint32_t rows[] = {0, 1, 2, 3, 4};
    const ExportChoices choices = defaultExportChoices(mission, rows);
    EXPECT_EQ(choices.title, "Lamp");
    EXPECT_EQ(choices.missionName, "m1");
    EXPECT_EQ(choices.blockName, "Lamp");
    EXPECT_TRUE(choices.includeModels);
    const fs::path package = dir.path() / "lamps.qra";
    const Result<Exported> exported = exportAddin(mission, rows, choices, package, prompter);
    ASSERT_EQ(exported.ended, Ended::Done);
    EXPECT_EQ(exported.value.modelFiles, (std::vector<std::string>{"LAMP01.4DS", "enemy.4ds"}));
    EXPECT_EQ(exported.value.missingModels, (std::vector<std::string>{"ghost.4ds (not in the models folder)",
                                                                "a_model_name_too_long.4ds (the name does not fit a package)"}));
    EXPECT_EQ(mission.history().undoCount(), 0u); // the user's file, no step of the mission
    const auto read = readPackage(readWholeFile(package));
    ASSERT_TRUE(read.package);
    // The objects and the definition as the source scene holds them, byte for byte.
    EXPECT_EQ(read.package->objects, span(lamp.object, twin.end));
    EXPECT_EQ(read.package->definitions, span(guard.definition, guard.end));

    SceneBuilder b;
    b.beginObjects();
    b.object({.name = "Tower", .type = 9, .translation = Floats3{0, 0, 0}});
    b.endObjects();
    b.beginDefinitions();
    b.endDefinitions();
    const fs::path sceneB = writeScene(dir.path() / "gameB", b);
    const auto before = readWholeFile(sceneB);
    Mission other;
    other.open(MissionFile::Scene, sceneB, prompter);
    const std::uint32_t objectsEnd = other.sceneCatalogue().ObjectsSizeOffset - 2 +
                                     ByteReader(before).u32(other.sceneCatalogue().ObjectsSizeOffset);
    ASSERT_EQ(importOf(importAddin(other, package, prompter)), ImportResult::Complete);
    EXPECT_TRUE(prompter.said.empty());
    const auto after = readWholeFile(sceneB);
    expectConsistentScene(after);
    const auto& objects = read.package->objects;
    EXPECT_TRUE(std::equal(objects.begin(), objects.end(), after.begin() + objectsEnd));
    const auto& definitions = read.package->definitions;
    EXPECT_TRUE(std::equal(definitions.begin(), definitions.end(), after.end() - static_cast<std::ptrdiff_t>(definitions.size())));
    EXPECT_EQ(other.sceneCatalogue().entryCount(), 6u);
    EXPECT_EQ(other.sceneCatalogue().entry(2).typeCode, typecode::Human);
    EXPECT_EQ(readWholeFile(dir.path() / "gameB" / "models" / "LAMP01.4DS"), bytesOf("lamp model"));
    EXPECT_EQ(readWholeFile(dir.path() / "gameB" / "models" / "enemy.4ds"), bytesOf("enemy model"));
}

// The package is the user's own file: no step of the mission, so undo never takes it away; a
// selection of scripts alone and a path of the loaded mission are refused with nothing written.
TEST(ExportTest, TheUsersPackageIsNoStepAndNeverAMissionFile)
{
    TempFolder dir;
    SceneBuilder b;
    b.beginObjects();
    b.object({.name = "Lamp", .type = 9, .translation = Floats3{1, 2, 3}, .model = "lamp.i3d"});
    b.endObjects();
    b.beginScripts();
    b.script("intro", "wait 2");
    b.endScripts();
    const fs::path scene = writeScene(dir.path() / "game", b);
    fs::create_directories(dir.path() / "game" / "models");
    writeBytes(dir.path() / "game" / "models" / "lamp.4ds", bytesOf("lamp model"));
    const std::vector<std::uint8_t> before = readWholeFile(scene);
    Mission mission;
    ScriptedPrompter prompter;
    mission.open(MissionFile::Scene, scene, prompter);

    const std::uint32_t lamp[] = {0}, script[] = {1};
    ASSERT_TRUE(moveItems(mission, {.scene = {0}}, {1, 0, 0}, prompter).done());
    ExportChoices choices = defaultExportChoices(mission, lamp);
    choices.includeModels = false;
    const fs::path package = dir.path() / "lamp.qra";
    ASSERT_EQ(exportAddin(mission, lamp, choices, package, prompter).ended, Ended::Done);
    const auto exported = readWholeFile(package);
    EXPECT_TRUE(readPackage(exported).package->groups[0].empty());
    EXPECT_EQ(mission.history().undoCount(), 1u);
    ASSERT_TRUE(mission.undo(prompter)); // the move
    EXPECT_FALSE(mission.undo(prompter));
    EXPECT_EQ(readWholeFile(scene), before);
    EXPECT_EQ(readWholeFile(package), exported);

    EXPECT_EQ(exportAddin(mission, script, choices, dir.path() / "intro.qra", prompter).ended, Ended::Refused);
    EXPECT_FALSE(fs::exists(dir.path() / "intro.qra"));
    EXPECT_EQ(exportAddin(mission, lamp, choices, scene, prompter).ended, Ended::Refused);
    EXPECT_EQ(prompter.messages(), (std::vector<std::string>{"** The add-in cannot be written over scene2.bin of the "
                                                             "loaded mission - nothing was written! **"}));
    EXPECT_EQ(readWholeFile(scene), before);
    EXPECT_FALSE(mission.history().nextRedo() == nullptr); // the undone move, still there to redo
    EXPECT_EQ(exportChoicesProblem({"Lamp ", "m1", "Lamp", true}), "the title \"Lamp \" ends in a blank");
}
