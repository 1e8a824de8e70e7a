#include <gtest/gtest.h>

#include "commands/addins/Export.h"
#include "commands/addins/Import.h"
#include "formats/addin/Package.h"
#include "foundation/bytes/ByteReader.h"
#include "foundation/files/FileAccess.h"
#include "mission/Mission.h"
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
    a.object({.name = "Lamp", .type = 9, .translation = Floats3{1, 2, 3}, .model = "Lamp01.i3d"});
    a.object({.name = "Guard", .type = 9, .translation = Floats3{4, 5, 6}, .model = "enemy.i3d"});
    a.object({.name = "Ghost", .type = 9, .model = "ghost.i3d"});
    a.object({.name = "Sign", .type = 9, .model = "a_model_name_too_long.i3d"});
    a.endObjects();
    a.beginDefinitions();
    a.definition({"Guard", 0x1B, humanData(8, 10, 0.5f, 80, "say hi")});
    a.endDefinitions();
    const fs::path sceneA = writeScene(dir.path() / "gameA", a);
    fs::create_directories(dir.path() / "gameA" / "models");
    writeBytes(dir.path() / "gameA" / "models" / "LAMP01.4DS", bytesOf("lamp model"));
    writeBytes(dir.path() / "gameA" / "models" / "enemy.4ds", bytesOf("enemy model"));

    Mission mission;
    ScriptedPrompter prompter;
    mission.open(MissionFile::Scene, sceneA, prompter);
    const std::uint32_t rows[] = {0, 1, 2, 3};
    const ExportChoices choices = defaultExportChoices(mission, rows);
    EXPECT_EQ(choices.title, "Lamp");
    EXPECT_EQ(choices.missionName, "m1");
    EXPECT_EQ(choices.blockName, "Lamp");
    EXPECT_TRUE(choices.includeModels);
    const fs::path package = dir.path() / "lamps.qra";
    const ExportResult exported = exportAddin(mission, rows, choices, package, prompter);
    ASSERT_EQ(exported.outcome, ExportResult::Outcome::Exported);
    EXPECT_EQ(exported.modelFiles, (std::vector<std::string>{"LAMP01.4DS", "enemy.4ds"}));
    EXPECT_EQ(exported.missingModels, (std::vector<std::string>{"ghost.4ds (not in the models folder)",
                                                                "a_model_name_too_long.4ds (the name does not fit a package)"}));
    EXPECT_EQ(mission.history().nextUndo()->name, "Export Lamp");
    const auto read = readPackage(readWholeFile(package));
    ASSERT_TRUE(read.package);

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
    ASSERT_EQ(importAddin(other, package, prompter), ImportResult::Complete);
    EXPECT_TRUE(prompter.said.empty());
    const auto after = readWholeFile(sceneB);
    expectConsistentScene(after);
    const auto& objects = read.package->objects;
    EXPECT_TRUE(std::equal(objects.begin(), objects.end(), after.begin() + objectsEnd));
    const auto& definitions = read.package->definitions;
    EXPECT_TRUE(std::equal(definitions.begin(), definitions.end(), after.end() - static_cast<std::ptrdiff_t>(definitions.size())));
    EXPECT_EQ(other.sceneCatalogue().entryCount(), 5u);
    EXPECT_EQ(other.sceneCatalogue().entry(2).typeCode, typecode::Human);
    EXPECT_EQ(readWholeFile(dir.path() / "gameB" / "models" / "LAMP01.4DS"), bytesOf("lamp model"));
    EXPECT_EQ(readWholeFile(dir.path() / "gameB" / "models" / "enemy.4ds"), bytesOf("enemy model"));
}
