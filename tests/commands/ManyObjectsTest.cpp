#include <gtest/gtest.h>

#include "commands/editing/Deletion.h"
#include "commands/editing/SceneRewrite.h"
#include "commands/objects/CopyPaste.h"
#include "commands/placing/Placing.h"
#include "foundation/bytes/ByteReader.h"
#include "foundation/files/FileAccess.h"
#include "mission/Mission.h"
#include "support/PackageBuilder.h"
#include "support/SceneBuilder.h"
#include "support/SceneChecks.h"
#include "support/ScriptedPrompter.h"
#include "support/TempFolder.h"

using namespace mw;
using namespace mw::build;
namespace fs = std::filesystem;

namespace {

// The objects of the mission copied from, each as the builder writes it.
ObjectParts lamp(const std::string& name = "Lamp")
{
    return {.name = name, .type = 2, .translation = Floats3{1, 2, 3}, .rotation = std::array<float, 4>{1, 0, 0, 0},
            .size = Floats3{1, 1, 1}, .link = "Primary sector",
            .light = LightParts{.kind = 2, .colour = Floats3{0.3f, 0.5f, 0.7f}, .power = 2.5f}};
}
ObjectParts guard(const std::string& name = "Guard")
{
    return {.name = name, .type = 9, .translation = Floats3{4, 5, 6}, .model = "Enemy12K.i3d"};
}
ObjectParts pole(const std::string& link) { return {.name = "Pole", .type = 9, .translation = Floats3{7, 8, 9}, .link = link}; }
ObjectParts sign() { return {.name = "Sign", .type = 9, .translation = Floats3{0, 0, 0}, .link = "Nowhere"}; }

// The bytes of one object chunk as the builder writes it.
std::vector<std::uint8_t> objectBytes(const ObjectParts& parts)
{
    SceneBuilder b;
    b.beginObjects();
    const ObjectOffsets at = b.object(parts);
    b.endObjects();
    const auto bytes = b.finish();
    return {bytes.begin() + static_cast<std::ptrdiff_t>(at.object), bytes.begin() + static_cast<std::ptrdiff_t>(at.end)};
}

struct Scene {
    fs::path path;
    std::vector<std::uint8_t> bytes;
};

class ManyObjectsTest : public ::testing::Test {
protected:
    // Mission "m1": a lamp, a guard with its definition, a pole linked to the lamp, a sign linked to
    // nothing, and a free-standing script. Mission "m2": its own lamp and the sector.
    void SetUp() override
    {
        SceneBuilder a;
        a.beginObjects();
        for (const ObjectParts& parts : {lamp(), guard(), pole("Lamp"), sign()})
            a.object(parts);
        a.endObjects();
        a.beginDefinitions();
        a.definition({"Guard", 0x1B, humanData(8, 10, 0.5f, 80, "say hi")});
        a.endDefinitions();
        a.beginScripts();
        a.script("intro", "wait 2");
        a.endScripts();
        first = write("m1", a.finish());

        SceneBuilder b;
        b.beginObjects();
        b.object({.name = "Primary sector", .type = 0x99});
        b.object(lamp("LAMP")); // the same name in other letters: taken
        b.endObjects();
        b.beginDefinitions();
        b.endDefinitions();
        second = write("m2", b.finish());
    }
    Scene write(const char* mission, std::vector<std::uint8_t> bytes)
    {
        const fs::path path = dir.path() / "missions" / mission / "scene2.bin";
        fs::create_directories(path.parent_path());
        writeBytes(path, bytes);
        return {path, std::move(bytes)};
    }
    // The object chunk of a row of the loaded scene.
    std::vector<std::uint8_t> chunkOf(std::uint32_t row) const
    {
        const auto file = mission.bytes(MissionFile::Scene);
        const std::uint32_t at = mission.sceneCatalogue().records[row].ObjectChunkOffset;
        const std::uint32_t size = ByteReader(file).u32(at + 2);
        return {file.begin() + at, file.begin() + at + size};
    }

    TempFolder dir;
    Scene first, second;
    Mission mission;
    ScriptedPrompter prompter;
};

} // namespace

TEST_F(ManyObjectsTest, CopiedObjectsTravelAsAPackageAndPasteWithTheirBytes)
{
    mission.open(MissionFile::Scene, first.path, prompter);
    const std::uint32_t rows[] = {0, 1, 2, 3, 4}; // the script is left out
    const CopiedObjects copied = copyObjects(mission, rows);
    EXPECT_EQ(copied.names, (std::vector<std::string>{"Lamp", "Guard", "Pole", "Sign"}));
    EXPECT_EQ(copied.scriptsLeftOut, 1u);
    EXPECT_EQ(copied.package.title, "Lamp");
    EXPECT_EQ(copied.package.missionName, "m1");
    const PackageWriteResult written = writePackage(copied.package);
    ASSERT_EQ(written.problem, "");
    const PackageReadResult read = readPackage(written.bytes);
    ASSERT_TRUE(read.package);

    mission.open(MissionFile::Scene, second.path, prompter);
    const Result<Pasted> pasted = pasteObjects(mission, *read.package, prompter);
    ASSERT_EQ(pasted.ended, Ended::Done);
    EXPECT_EQ(pasted.value.count, 4u);
    EXPECT_EQ(pasted.value.firstRow, 2u);
    EXPECT_EQ(pasted.value.missingParents, 1u); // "Nowhere"; the sector and the renamed lamp are there
    expectConsistentScene(readWholeFile(second.path));
    // Every byte as copied, but the name that was taken and the link that follows it.
    EXPECT_EQ(chunkOf(2), objectBytes(lamp("Lamp-2")));
    EXPECT_EQ(chunkOf(3), objectBytes(guard()));
    EXPECT_EQ(chunkOf(4), objectBytes(pole("Lamp-2")));
    EXPECT_EQ(chunkOf(5), objectBytes(sign()));
    const SceneEntry g = mission.sceneCatalogue().entry(3);
    EXPECT_EQ(g.typeCode, typecode::Human); // with its definition
    EXPECT_EQ(g.sex, 10);
    EXPECT_EQ(mission.sceneSelection().all, 2u);
    EXPECT_EQ(mission.history().nextUndo()->name, "Paste 4 objects");

    ASSERT_TRUE(mission.undo(prompter));
    EXPECT_EQ(readWholeFile(second.path), second.bytes);
    EXPECT_TRUE(prompter.said.empty());
}

TEST_F(ManyObjectsTest, NamesAreMadeFreeAndDefinitionsFollowTheirOwners)
{
    // Pasting into the same mission twice: each copy takes the next free name.
    mission.open(MissionFile::Scene, first.path, prompter);
    const std::uint32_t rows[] = {0, 1, 2};
    const Package package = copyObjects(mission, rows).package;
    ASSERT_EQ(pasteObjects(mission, package, prompter).ended, Ended::Done);
    const Result<Pasted> again = pasteObjects(mission, package, prompter, {.moveX = 2, .stepName = "Duplicate 3 objects"});
    ASSERT_EQ(again.ended, Ended::Done);
    const SceneCatalogue& c = mission.sceneCatalogue();
    std::vector<std::string> names;
    for (std::uint32_t row = 0; row < c.FirstScriptIndex; ++row)
        names.emplace_back(c.name(row));
    EXPECT_EQ(names, (std::vector<std::string>{"Lamp", "Guard", "Pole", "Sign", "Lamp-2", "Guard-2", "Pole-2", "Lamp-3",
                                               "Guard-3", "Pole-3"}));
    EXPECT_EQ(c.entry(6).linkName, "Lamp-2");
    EXPECT_EQ(c.entry(9).linkName, "Lamp-3");
    EXPECT_EQ(c.entry(8).typeCode, typecode::Human); // "Guard-3" owns the renamed definition
    EXPECT_EQ(c.entry(8).translation, (Vec3{6, 5, 6})); // moved 2 along x
    EXPECT_EQ(mission.history().nextUndo()->name, "Duplicate 3 objects");
}

TEST_F(ManyObjectsTest, MoveAndDeleteManyAreOneStepEach)
{
    mission.open(MissionFile::Scene, first.path, prompter);
    ASSERT_TRUE(moveItems(mission, {.scene = {0, 2, 4}}, {1, -2, 0.5f}, prompter).done()); // the script is left out
    EXPECT_EQ(mission.sceneCatalogue().entry(0).translation, (Vec3{2, 0, 3.5f}));
    EXPECT_EQ(mission.sceneCatalogue().entry(2).translation, (Vec3{8, 6, 9.5f}));
    EXPECT_EQ(mission.history().nextUndo()->name, "Move 2 objects");
    const auto afterMove = readWholeFile(first.path);

    const std::uint32_t doomed[] = {1, 3};
    EXPECT_EQ(deleteObjects(mission, doomed, prompter).ended, Ended::Refused); // No
    EXPECT_EQ(prompter.said, (std::vector<Said>{{"question", "Delete 2 objects?", "Delete Model"}}));
    prompter.answers = {true};
    ASSERT_TRUE(deleteObjects(mission, doomed, prompter).done());
    const auto bytes = readWholeFile(first.path);
    expectConsistentScene(bytes);
    const SceneCatalogue& c = mission.sceneCatalogue();
    ASSERT_EQ(c.FirstScriptIndex, 2u);
    EXPECT_EQ(c.name(0), "Lamp");
    EXPECT_EQ(c.name(1), "Pole");
    EXPECT_EQ(ByteReader(bytes).u32(c.DefsPos), 6u); // the guard's definition went too
    EXPECT_EQ(mission.sceneSelection().all, 1u);

    ASSERT_TRUE(mission.undo(prompter));
    EXPECT_EQ(readWholeFile(first.path), afterMove);
    ASSERT_TRUE(mission.undo(prompter));
    EXPECT_EQ(readWholeFile(first.path), first.bytes);
}

// The clipboard and add-ins carry scene blocks: a block whose object nests 200 000 lights deep is
// read, and its paste is refused as a change that would damage the scene, with nothing written.
TEST_F(ManyObjectsTest, AnObjectNestedTooDeepIsRefusedByThePasteNotACrash)
{
    const NestedScene deep = nestedLightScene(200000);
    PackageParts parts;
    parts.objects.assign(deep.bytes.begin() + static_cast<std::ptrdiff_t>(deep.object),
                         deep.bytes.begin() + static_cast<std::ptrdiff_t>(deep.objectEnd));
    const PackageReadResult read = readPackage(buildPackage(parts));
    ASSERT_TRUE(read.package) << read.problem;

    mission.open(MissionFile::Scene, second.path, prompter);
    EXPECT_EQ(pasteObjects(mission, *read.package, prompter).ended, Ended::Failed);
    EXPECT_EQ(prompter.messages(), (std::vector<std::string>{WouldDamageScene}));
    EXPECT_EQ(readWholeFile(second.path), second.bytes);
    EXPECT_EQ(mission.history().undoCount(), 0u);
}

// Names made free as the game compares them: a definition named by its owner's name and a suffix
// follows the owner's new name, and Latin-1 capitals clash with their small letters.
TEST_F(ManyObjectsTest, ADefinitionWithASuffixAndLatin1CapitalsAreRenamedWithTheirOwners)
{
    SceneBuilder from;
    from.beginObjects();
    from.object({.name = "Guard", .type = 9, .translation = Floats3{1, 1, 1}});
    from.object({.name = "caf\xE9", .type = 9, .translation = Floats3{2, 2, 2}});
    from.endObjects();
    from.beginDefinitions();
    from.definition({"Guard.0", 0x1B, humanData(8, 10, 0.5f, 80, "say hi")});
    from.endDefinitions();
    const Scene source = write("m3", from.finish());
    SceneBuilder into;
    into.beginObjects();
    into.object({.name = "GUARD", .type = 9});
    into.object({.name = "CAF\xC9", .type = 9});
    into.endObjects();
    into.beginDefinitions();
    into.endDefinitions();
    const Scene target = write("m4", into.finish());

    mission.open(MissionFile::Scene, source.path, prompter);
    const std::uint32_t rows[] = {0, 1};
    const Package package = copyObjects(mission, rows).package;
    mission.open(MissionFile::Scene, target.path, prompter);
    ASSERT_EQ(pasteObjects(mission, package, prompter).ended, Ended::Done);
    const SceneCatalogue& c = mission.sceneCatalogue();
    ASSERT_EQ(c.FirstScriptIndex, 4u);
    EXPECT_EQ(c.name(2), "Guard-2");
    EXPECT_EQ(c.name(3), "caf\xE9-2");
    EXPECT_EQ(c.entry(2).typeCode, typecode::Human); // "Guard-2.0" belongs to it
    const auto bytes = readWholeFile(target.path);
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), std::begin("Guard-2.0"), std::end("Guard-2.0")), bytes.end());
}
