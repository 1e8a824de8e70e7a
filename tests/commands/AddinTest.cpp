#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "commands/addins/Import.h"
#include "formats/addin/Package.h"
#include "foundation/files/FileAccess.h"
#include "mission/Mission.h"
#include "support/ChunkBuilder.h"
#include "support/Outcomes.h"
#include "support/PackageBuilder.h"
#include "support/SceneBuilder.h"
#include "support/SceneChecks.h"
#include "support/ScriptedPrompter.h"
#include "support/TempFolder.h"

using namespace mw;
using namespace mw::build;
namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

// The object and definition chunks of a package's scene block.
std::pair<std::vector<std::uint8_t>, std::vector<std::uint8_t>> block(const std::string& name)
{
    ChunkBuilder objects;
    const auto o = objects.open(chunk::Object);
    objects.text(chunk::ObjectName, name);
    objects.floats(chunk::Translation, {1, 2, 3});
    objects.close(o);
    ChunkBuilder definitions;
    const auto d = definitions.open(chunk::Definition);
    definitions.text(chunk::DefinitionName, name);
    definitions.u32(chunk::DefinitionType, 0x23);
    definitions.chunk(chunk::DefinitionData, thingData(5, 2));
    definitions.close(d);
    return {objects.take(), definitions.take()};
}

} // namespace

class AddinTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = dir.path() / "game" / "missions" / "m1";
        fs::create_directories(folder);
        original = crateScene().bytes;
        writeBytes(folder / "scene2.bin", original);
        writeBytes(folder / "tree.klz", bytesOf("GifC tree bodies WALL WALL"));
        writeBytes(folder / "cache.bin", bytesOf("cache AAA x AAA"));
        writeBytes(folder / "scene.4ds", bytesOf("4DS frames"));
        writeBytes(folder / "check.bin", bytesOf("route"));
        mission.open(MissionFile::Scene, folder / "scene2.bin", prompter);
        std::tie(parts.objects, parts.definitions) = block("AddedBox");
    }
    ImportResult import(const PackageParts& p, const char* name = "box.QRA")
    {
        writeBytes(dir.path() / name, buildPackage(p));
        return importOf(importAddin(mission, dir.path() / name, prompter));
    }
    // Every file below the game folder with its bytes.
    std::map<fs::path, std::vector<std::uint8_t>> snapshot() const
    {
        std::map<fs::path, std::vector<std::uint8_t>> files;
        for (const auto& e : fs::recursive_directory_iterator(dir.path() / "game"))
            if (e.is_regular_file())
                files[e.path()] = readWholeFile(e.path());
        return files;
    }
    std::string text(const fs::path& p) const
    {
        const auto b = readWholeFile(p);
        return {b.begin(), b.end()};
    }

    TempFolder dir;
    fs::path folder;
    std::vector<std::uint8_t> original;
    Mission mission;
    ScriptedPrompter prompter;
    PackageParts parts;
};

TEST_F(AddinTest, FlagsAtZeroStillPutTheBlockAndInstallTheFiles)
{
    parts.patches[0] = {{"WALL", "DOOR"}, {"tree", "TREE"}}; // skipped: flag 0
    parts.apply[1] = true;
    parts.patches[1] = {{"AAA", "BBB"}};                     // first occurrence only
    parts.groups[0] = {{"box.4ds", bytesOf("model")}};
    parts.groups[1] = {{"box.wav", bytesOf("sound")}};
    parts.groups[5] = {{"check.bin", bytesOf("new route")}};
    ASSERT_EQ(import(parts), ImportResult::Complete);
    EXPECT_TRUE(prompter.said.empty());
    EXPECT_EQ(text(folder / "tree.klz"), "GifC tree bodies WALL WALL");
    EXPECT_EQ(text(folder / "cache.bin"), "cache BBB x AAA");
    EXPECT_EQ(text(folder / "cache.bin.sav"), "cache AAA x AAA");
    EXPECT_FALSE(fs::exists(folder / "tree.klz.sav"));
    EXPECT_EQ(readWholeFile(folder / "scene2.bin.sav"), original);
    EXPECT_EQ(text(dir.path() / "game" / "models" / "box.4ds"), "model");
    EXPECT_EQ(text(dir.path() / "game" / "sounds" / "box.wav"), "sound");
    EXPECT_EQ(text(folder / "check.bin"), "new route");
    EXPECT_EQ(text(folder / "check.bin.sav"), "route");
    expectConsistentScene(readWholeFile(folder / "scene2.bin"));
    const auto& catalogue = mission.sceneCatalogue();
    ASSERT_EQ(catalogue.entryCount(), 2u);
    EXPECT_EQ(catalogue.name(1), "AddedBox");
    EXPECT_EQ(catalogue.records[1].typeCode, typecode::PhysicalThing);

    // Undone, every file is as it was and the installed files are gone.
    EXPECT_EQ(mission.history().nextUndo()->name, "Import Test add-in");
    ASSERT_TRUE(mission.undo(prompter));
    EXPECT_EQ(readWholeFile(folder / "scene2.bin"), original);
    EXPECT_EQ(text(folder / "cache.bin"), "cache AAA x AAA");
    EXPECT_EQ(text(folder / "check.bin"), "route");
    EXPECT_FALSE(fs::exists(dir.path() / "game" / "models" / "box.4ds"));
    EXPECT_FALSE(fs::exists(folder / "scene2.bin.sav"));
    // The folders the import made are gone too; redo makes them again.
    EXPECT_FALSE(fs::exists(dir.path() / "game" / "models"));
    EXPECT_FALSE(fs::exists(dir.path() / "game" / "sounds"));
    ASSERT_TRUE(mission.redo(prompter));
    EXPECT_EQ(text(dir.path() / "game" / "sounds" / "box.wav"), "sound");
}

TEST_F(AddinTest, ASecondImportAsksAndKeepsTheFirstBackups)
{
    parts.apply[1] = true;
    parts.patches[1] = {{"AAA x", "BBB x"}};
    parts.groups[0] = {{"box.4ds", bytesOf("model")}};
    ASSERT_EQ(import(parts), ImportResult::Complete);
    prompter.answers = {true, true, false}; // go on after cache.bin, put the block again, keep the model
    ASSERT_EQ(import(parts), ImportResult::Complete);
    EXPECT_EQ(prompter.said,
              (std::vector<Said>{{"question", "**Sorry, cannot mod your cache.bin!! Maybe it's modded already. Go on? **", ""},
                                 {"question", "**Sorry, cannot mod your scene2.bin!! Maybe it's modded already. Go on? **", ""},
                                 {"question", "Filebox.4ds already exists!! Still overwrite?", "File exists!"}}));
    EXPECT_EQ(readWholeFile(folder / "scene2.bin.sav"), original);
    EXPECT_EQ(text(folder / "cache.bin.sav"), "cache AAA x AAA");
    EXPECT_EQ(mission.sceneCatalogue().entryCount(), 3u); // the block went in again, as asked

    // No to the scene block question ends the import there.
    prompter.said.clear();
    prompter.answers = {true, false};
    EXPECT_EQ(import(parts), ImportResult::Stopped);
    EXPECT_EQ(prompter.said.size(), 2u);
    EXPECT_EQ(mission.sceneCatalogue().entryCount(), 3u);
}

TEST_F(AddinTest, EveryRefusalLeavesEveryFileAsItWas)
{
    const auto before = snapshot();
    struct Case {
        std::function<std::vector<std::uint8_t>(std::vector<std::uint8_t>)> damage;
        std::string message;
        const char* name = "box.QRA";
    };
    auto withParts = [&](std::function<void(PackageParts&)> change) {
        PackageParts p = parts;
        change(p);
        return buildPackage(p);
    };
    const std::string damaged = "** This ADDin file is damaged: ";
    const Case cases[] = {
        {[](auto b) { return b; }, "** No QRA ADDin File ** ", "box.zip"},
        {[&](auto) { return withParts([](PackageParts& p) { p.mission = "m2"; }); }, "** This ADDin is for Mission - m2"},
        {[](auto b) { b.resize(200); return b; }, damaged + "it is shorter than its header - nothing was changed! **"},
        {[](auto b) { b[41] = 200; return b; }, damaged + "its patch records run past its end - nothing was changed! **"},
        {[](auto b) { b[274 + 20] = 0xFF; return b; }, damaged + "its scene block runs past its end - nothing was changed! **"},
        {[&](auto) { return withParts([](PackageParts& p) { p.objects.push_back(0); }); },
         damaged + "its scene block is not made of whole object and definition chunks - nothing was changed! **"},
        {[&](auto) { return withParts([](PackageParts& p) { p.groups[2] = {{"../evil.bin", {1}}}; }); },
         damaged + "it would write \"../evil.bin\" outside its folder - nothing was changed! **"},
        {[&](auto) { return withParts([](PackageParts& p) { p.groups[0] = {{"C:evil", {1}}}; }); },
         damaged + "it would write \"C:evil\" outside its folder - nothing was changed! **"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        prompter.said.clear();
        writeBytes(dir.path() / c.name, c.damage(buildPackage(parts)));
        EXPECT_EQ(importOf(importAddin(mission, dir.path() / c.name, prompter)), ImportResult::Refused);
        EXPECT_EQ(prompter.said, (std::vector<Said>{{"message", c.message, ""}}));
        EXPECT_EQ(snapshot(), before);
    }
    // A file whose length runs past the package's end.
    PackageParts withFile = parts;
    withFile.groups[3] = {{"table.tbl", std::vector<std::uint8_t>(9, 1)}};
    auto cut = buildPackage(withFile);
    cut.resize(cut.size() - 8 - 2); // the two empty groups after it, and two of its bytes
    EXPECT_EQ(readPackage(cut).problem, "a file it holds runs past its end");
}

TEST_F(AddinTest, AReplacementPastTheEndIsNotWritten)
{
    parts.apply[2] = true;
    parts.patches[2] = {{"frames", "frames and more"}};
    prompter.answers = {false};
    EXPECT_EQ(import(parts), ImportResult::Stopped);
    EXPECT_EQ(prompter.said.back().text, "**Sorry, cannot mod your scene.4ds!! Maybe it's modded already. Go on? **");
    EXPECT_EQ(text(folder / "scene.4ds"), "4DS frames");
}
