#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "formats/scene/NameIndex.h"
#include "formats/scene/SceneLoader.h"
#include "foundation/seams/Progress.h"
#include "support/RecordingProgress.h"
#include "support/SceneBuilder.h"
#include "support/SceneChecks.h"

using namespace mw;
using namespace mw::build;

namespace {

std::vector<std::string> names(const SceneCatalogue& c)
{
    std::vector<std::string> out;
    for (std::size_t row = 0; row < c.entryCount(); ++row)
        out.emplace_back(c.name(row));
    return out;
}

} // namespace

// One scene with every kind of object, definition and script; every recorded offset is compared
// with the builder's own.
class FullScene : public ::testing::Test {
protected:
    void SetUp() override
    {
        SceneBuilder b;
        b.headerRecord(0x0001, {1, 2, 3, 4});
        b.headerRecord(0xAFFF);
        b.headerRecord(0x3200, {0});
        b.beginObjects();
        lamp = b.object({.name = "Lamp01",
                         .type = 0x02,
                         .translation = Floats3{1, 2, 3},
                         .rotation = std::array<float, 4>{0.5f, 0.25f, -0.5f, 0.75f},
                         .size = Floats3{4, 5, 6},
                         .link = "Primary sector",
                         .light = LightParts{.kind = 2,
                                            .colour = Floats3{0.1f, 0.2f, 0.3f},
                                            .power = 3.5f,
                                            .range = Floats2{7, 8},
                                            .distance = Floats2{9, 10},
                                            .nested = true}});
        radio = b.object({.name = "Radio",
                          .type = 0x04,
                          .translation = Floats3{-1, -2, -3},
                          .sound = SoundParts{.fileName = "radio.wav",
                                             .kind = 3,
                                             .volume = 0.8f,
                                             .fields34 = Floats2{1.1f, 1.2f},
                                             .fields56 = Floats2{40, 100}}});
        door = b.object({.name = "Door01", .type = 9, .translation = Floats3{5, 6, 7}, .model = "door.i3d",
                         .unknownChunks = true});
        tommy = b.object({.name = "Tommy", .type = 9, .translation = Floats3{0, 0, 0}});
        barrel = b.object({.name = "Barrel", .type = 9, .translation = Floats3{8, 8, 8}, .model = "xbarel 2.i3d"});
        car = b.object({.name = "Car1", .type = 9, .model = "blackha00.i3d"});
        switcher = b.object({.name = "Switch", .type = 9});
        b.endObjects();
        b.beginDefinitions();
        tommyDef = b.definition({"Tommy", 0x1B, humanData(16, 30, 0.5f, 82.5f, "tommy script")});
        barrelDef = b.definition({"Barrel", 0x23, thingData(26.5f, 3)});
        carDef = b.definition({"Car1", 4, std::vector<std::uint8_t>(40, 0x11)});
        doorDef = b.definition({"Door01.0", 6, std::vector<std::uint8_t>(20, 0x22)});
        switchDef = b.definition({"Switch", 5, scriptedObjectData("switch script")});
        otherDef = b.definition({"Radio", 0x1E, std::vector<std::uint8_t>(8, 0)});
        b.endDefinitions();
        b.beginScripts();
        first = b.script("Intro", "intro text");
        second = b.script("Outro", "outro text");
        b.endScripts();
        builder = std::move(b);
        bytes = builder.finish();
        result = loadScene(bytes);
        ASSERT_EQ(result.status, SceneLoadStatus::Loaded);
    }

    SceneEntry entry(std::size_t row) const { return result.catalogue.entry(row); }

    SceneBuilder builder;
    std::vector<std::uint8_t> bytes;
    SceneLoadResult result;
    ObjectOffsets lamp, radio, door, tommy, barrel, car, switcher;
    DefinitionOffsets tommyDef, barrelDef, carDef, doorDef, switchDef, otherDef;
    ScriptOffsets first, second;
};

TEST_F(FullScene, ListsObjectsThenScriptsWithTheSectionOffsets)
{
    const auto& c = result.catalogue;
    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(names(c), (std::vector<std::string>{"Lamp01", "Radio", "Door01", "Tommy", "Barrel", "Car1", "Switch",
                                                  "Intro", "Outro"}));
    EXPECT_EQ(c.SceneSize, bytes.size());
    EXPECT_EQ(c.ObjectsSizeOffset, builder.objectsStart + 2);
    EXPECT_EQ(c.ObjectsSize, builder.definitionsStart - builder.objectsStart);
    EXPECT_EQ(c.DefsPos, builder.definitionsStart + 2);
    EXPECT_EQ(c.ScriptsLengthPos, builder.scriptsStart + 2);
    EXPECT_EQ(c.FirstScriptIndex, 7u);
    EXPECT_EQ(c.entryCount(), 9u);
}

TEST_F(FullScene, RecordsTheCommonFieldsAndTheirOffsets)
{
    const SceneEntry& l = entry(0);
    EXPECT_EQ(l.ObjectChunkOffset, lamp.object);
    EXPECT_EQ(l.TranslationOffset, lamp.translation);
    EXPECT_EQ(l.RotationOffset, lamp.rotation);
    EXPECT_EQ(l.SizeOffset, lamp.size);
    EXPECT_EQ(l.translation, (Vec3{1, 2, 3}));
    EXPECT_EQ(l.rotation, (std::array<float, 4>{0.5f, 0.25f, -0.5f, 0.75f}));
    EXPECT_EQ(l.size, (Vec3{4, 5, 6}));
    EXPECT_FALSE(l.noTranslation);
    EXPECT_FALSE(l.noRotation);
    EXPECT_FALSE(l.noSize);
    EXPECT_EQ(l.linkName, "Primary sector");
    EXPECT_EQ(l.typeCode, 2u);

    const SceneEntry& d = entry(2);
    EXPECT_EQ(d.model, "door.i3d");
    EXPECT_EQ(d.TranslationOffset, door.translation);
    EXPECT_TRUE(d.noRotation);
    EXPECT_TRUE(d.noSize);
    EXPECT_EQ(d.RotationOffset, 0u);
    EXPECT_EQ(d.SizeOffset, 0u);
    EXPECT_TRUE(entry(5).noTranslation);
    EXPECT_EQ(entry(5).TranslationOffset, 0u);
}

TEST_F(FullScene, ReadsLightsThroughNestedHeaders)
{
    const SceneEntry& l = entry(0);
    EXPECT_EQ(l.lightKind, 2u);
    EXPECT_EQ(l.LightColourOffset, lamp.lightColour);
    EXPECT_EQ(l.LightPowerOffset, lamp.lightPower);
    EXPECT_EQ(l.LightRangeOffset, lamp.lightRange);
    EXPECT_EQ(l.LightDistanceOffset, lamp.lightDistance);
    EXPECT_EQ(l.lightColour, (std::array<float, 3>{0.1f, 0.2f, 0.3f}));
    EXPECT_EQ(l.lightPower, 3.5f);
    EXPECT_EQ(l.lightRange, (std::array<float, 2>{7, 8}));
    EXPECT_EQ(l.lightDistance, (std::array<float, 2>{9, 10}));
}

TEST_F(FullScene, ReadsTheSixSoundFields)
{
    const SceneEntry& s = entry(1);
    EXPECT_EQ(s.typeCode, 4u); // a definition of an unknown type leaves the code alone
    EXPECT_EQ(s.soundFileName, "radio.wav");
    EXPECT_EQ(s.soundKind, 3);
    for (int field = 1; field <= 6; ++field)
        EXPECT_EQ(s.SoundFieldOffset[field], radio.soundField[field]) << "field " << field;
    EXPECT_EQ(s.soundField[2], 0.8f);
    EXPECT_EQ(s.soundField[3], 1.1f);
    EXPECT_EQ(s.soundField[4], 1.2f);
    EXPECT_EQ(s.soundField[5], 40.0f);
    EXPECT_EQ(s.soundField[6], 100.0f);
    EXPECT_EQ(s.DefinitionChunkOffset, otherDef.definition);
}

TEST_F(FullScene, DefinitionsSetTypesValuesAndScripts)
{
    const SceneEntry& human = entry(3);
    EXPECT_EQ(human.typeCode, typecode::Tommy); // "Tommy" is the player, whatever its definition says
    EXPECT_TRUE(human.hasScript);
    EXPECT_EQ(human.DefinitionChunkOffset, tommyDef.definition);
    EXPECT_EQ(human.DataChunkOffset, tommyDef.data);
    EXPECT_EQ(human.HumanBehaviourOffset, tommyDef.dataPayload + 1);
    EXPECT_EQ(human.AggressionOffset, tommyDef.dataPayload + 41);
    EXPECT_EQ(human.WeightOffset, tommyDef.dataPayload + 65);
    EXPECT_EQ(human.ScriptOffset, tommyDef.dataPayload + 79);
    EXPECT_EQ(human.behaviour, 16);
    EXPECT_EQ(human.sex, 30);
    EXPECT_EQ(human.aggression, 0.5f);
    EXPECT_EQ(human.weight, 82.5f);

    const SceneEntry& thing = entry(4);
    EXPECT_EQ(thing.typeCode, 0x23u);
    EXPECT_FALSE(thing.hasScript);
    EXPECT_EQ(thing.DefinitionChunkOffset, barrelDef.definition);
    EXPECT_EQ(thing.DataChunkOffset, 0u);
    EXPECT_EQ(thing.WeightOffset, barrelDef.dataPayload + 10);
    EXPECT_EQ(thing.ThingSoundOffset, barrelDef.dataPayload + 22);
    EXPECT_EQ(thing.weight, 26.5f);
    EXPECT_EQ(thing.thingSound, 3);

    EXPECT_EQ(entry(5).typeCode, 4u);
    EXPECT_EQ(entry(5).DefinitionChunkOffset, carDef.definition);
    EXPECT_FALSE(entry(5).hasScript);

    const SceneEntry& scripted = entry(6);
    EXPECT_EQ(scripted.typeCode, 5u);
    EXPECT_TRUE(scripted.hasScript);
    EXPECT_EQ(scripted.DataChunkOffset, switchDef.data);
    EXPECT_EQ(scripted.ScriptOffset, switchDef.dataPayload + 10);
}

TEST_F(FullScene, ADottedDefinitionNameBelongsToTheNameBeforeTheDot)
{
    EXPECT_EQ(entry(2).typeCode, 6u);
    EXPECT_EQ(entry(2).DefinitionChunkOffset, doorDef.definition);
}

TEST_F(FullScene, FreeStandingScriptsAreCheckMarkedEntries)
{
    const SceneEntry& intro = entry(7);
    EXPECT_TRUE(intro.isScript);
    EXPECT_TRUE(intro.hasScript);
    EXPECT_EQ(intro.DefinitionChunkOffset, first.chunk);
    EXPECT_EQ(intro.ScriptOffset, first.lengthField);
    EXPECT_EQ(intro.typeCode, 0xFFu);
    EXPECT_EQ(entry(8).ScriptOffset, second.lengthField);
}

TEST_F(FullScene, ScriptsAndThingsListsMapBackToAll)
{
    const auto& c = result.catalogue;
    EXPECT_EQ(c.scriptRows, (std::vector<std::uint32_t>{3, 6, 7, 8}));
    EXPECT_EQ(c.plainRows, (std::vector<std::uint32_t>{0, 1, 2, 4, 5}));
}

TEST(SceneLoader, EntriesWithoutChunksKeepTheirDefaults)
{
    SceneBuilder b;
    b.beginObjects();
    b.object({.name = "bare"});
    b.object({.name = "dim", .type = 2, .light = LightParts{.kind = 1}});
    b.endObjects();
    const auto bytes = b.finish();
    const auto result = loadScene(bytes);
    ASSERT_EQ(result.status, SceneLoadStatus::Loaded);
    const SceneEntry& bare = result.catalogue.entry(0);
    EXPECT_EQ(bare.typeCode, 0xFFu);
    EXPECT_TRUE(bare.noTranslation && bare.noRotation && bare.noSize);
    EXPECT_EQ(bare.TranslationOffset, 0u);
    EXPECT_EQ(bare.DefinitionChunkOffset, 0u);
    const SceneEntry& dim = result.catalogue.entry(1);
    EXPECT_EQ(dim.lightPower, 2.0f);
    EXPECT_EQ(dim.lightColour, (std::array<float, 3>{0.5f, 0.5f, 0.5f}));
    EXPECT_EQ(dim.LightPowerOffset, 0u);
    EXPECT_EQ(dim.LightColourOffset, 0u);
    // No definitions or scripts section: the first script row is the object count.
    EXPECT_EQ(result.catalogue.FirstScriptIndex, 2u);
    EXPECT_EQ(result.catalogue.DefsPos, 0u);
    EXPECT_EQ(result.catalogue.ScriptsLengthPos, 0u);
}

TEST(SceneLoader, OwnerIsTheFirstRowMatchingTheNameOrItsPartBeforeTheDot)
{
    SceneBuilder b;
    b.beginObjects();
    b.object({.name = "door01", .type = 9});
    b.object({.name = "door01.0", .type = 9});
    b.object({.name = "gate", .type = 9});
    b.object({.name = "gate", .type = 9});
    b.object({.name = "box", .type = 9});
    b.endObjects();
    b.beginDefinitions();
    b.definition({"door01.0", 6, {}});     // "door01" comes first in the list
    b.definition({"gate", 4, {}});         // the first of two equal names
    b.definition({"boxes", 6, {}});        // no dot: never shortened, no owner
    b.definition({"nobody.1", 0x1B, {}});  // no owner: skipped whole, even though too short
    b.endDefinitions();
    const auto bytes = b.finish();
    const auto result = loadScene(bytes);
    ASSERT_EQ(result.status, SceneLoadStatus::Loaded);
    const auto e = allEntries(result.catalogue);
    EXPECT_EQ(e[0].typeCode, 6u);
    EXPECT_EQ(e[1].typeCode, 9u);
    EXPECT_EQ(e[2].typeCode, 4u);
    EXPECT_EQ(e[3].typeCode, 9u);
    EXPECT_EQ(e[4].typeCode, 9u);
}

TEST(SceneLoader, HumanScriptStartsAt78OrAt79)
{
    SceneBuilder b;
    b.beginObjects();
    b.object({.name = "lf"});
    b.object({.name = "cr"});
    b.object({.name = "ctrl"});
    b.object({.name = "zero"});
    b.endObjects();
    b.beginDefinitions();
    // A length of 10 puts 0x0A at offset 78: the script starts there.
    const auto lf = b.definition({"lf", 0x1B, humanData(8, 1, 0.5f, 80, "0123456789", true)});
    const auto cr = b.definition({"cr", 0x1B, humanData(8, 1, 0.5f, 80, std::string(13, 'x'), true)});
    const auto ctrl = b.definition({"ctrl", 0x1B, humanData(8, 1, 0.5f, 80, "abc", false, 0x05)});
    const auto zero = b.definition({"zero", 0x1B, humanData(8, 1, 0.5f, 80, "abc", false, 0x00)});
    b.endDefinitions();
    const auto bytes = b.finish();
    const auto result = loadScene(bytes);
    ASSERT_EQ(result.status, SceneLoadStatus::Loaded);
    const auto e = allEntries(result.catalogue);
    EXPECT_EQ(e[0].ScriptOffset, lf.dataPayload + 78);
    EXPECT_EQ(e[1].ScriptOffset, cr.dataPayload + 78);
    EXPECT_EQ(e[2].ScriptOffset, ctrl.dataPayload + 79);
    EXPECT_EQ(e[3].ScriptOffset, zero.dataPayload + 79);
}

TEST(SceneLoader, LongNamesAreShortenedButTheWalkKeepsItsPlace)
{
    const std::string longName(60, 'N');
    SceneBuilder b;
    b.beginObjects();
    const auto first = b.object({.name = longName, .translation = Floats3{1, 1, 1}});
    b.object({.name = std::string(43, 'a'), .translation = Floats3{2, 2, 2}}); // size 50: kept whole
    b.object({.name = "next", .translation = Floats3{3, 3, 3}});
    b.endObjects();
    b.beginScripts();
    b.script(std::string(51, 'S'), "long");
    b.script(std::string(50, 'T'), "fifty");
    b.endScripts();
    const auto bytes = b.finish();
    const auto result = loadScene(bytes);
    ASSERT_EQ(result.status, SceneLoadStatus::Loaded);
    const auto e = allEntries(result.catalogue);
    ASSERT_EQ(e.size(), 5u);
    EXPECT_EQ(e[0].name, "NNNNNNNN");
    EXPECT_EQ(e[0].TranslationOffset, first.translation);
    EXPECT_EQ(e[0].translation, (Vec3{1, 1, 1}));
    EXPECT_EQ(e[1].name, std::string(43, 'a'));
    EXPECT_EQ(e[2].name, "next");
    EXPECT_EQ(e[2].translation, (Vec3{3, 3, 3}));
    EXPECT_EQ(e[3].name, std::string(15, 'S'));
    EXPECT_EQ(e[4].name, std::string(50, 'T'));
}

TEST(SceneLoader, ThreeObjectsAndTwoScriptsMakeFiveRows)
{
    SceneBuilder b;
    b.beginObjects();
    for (const char* n : {"a", "b", "c"})
        b.object({.name = n});
    b.endObjects();
    b.beginScripts();
    b.script("s1", "x");
    b.script("s2", "y");
    b.endScripts();
    const auto bytes = b.finish();
    const auto result = loadScene(bytes);
    EXPECT_EQ(names(result.catalogue), (std::vector<std::string>{"a", "b", "c", "s1", "s2"}));
    EXPECT_EQ(result.catalogue.FirstScriptIndex, 3u);
    EXPECT_EQ(result.catalogue.scriptRows, (std::vector<std::uint32_t>{3, 4}));
}

TEST(SceneLoader, AnObjectWithoutANameStillHasItsOwnRow)
{
    SceneBuilder b;
    b.beginObjects();
    b.object({.translation = Floats3{1, 0, 0}});
    b.object({.name = "named", .translation = Floats3{2, 0, 0}});
    b.endObjects();
    const auto bytes = b.finish();
    const auto result = loadScene(bytes);
    ASSERT_EQ(result.catalogue.entryCount(), 2u);
    EXPECT_EQ(result.catalogue.entry(0).name, "");
    EXPECT_EQ(result.catalogue.entry(1).name, "named");
    EXPECT_EQ(result.catalogue.entry(1).translation.x, 2.0f);
}

TEST(SceneLoader, EmptyFilesAndEmptyScenes)
{
    const auto none = loadScene(std::span<const std::uint8_t>());
    EXPECT_EQ(none.status, SceneLoadStatus::Empty);
    EXPECT_TRUE(none.messages.empty());
    EXPECT_TRUE(none.catalogue.empty());

    SceneBuilder b;
    b.beginObjects();
    b.endObjects();
    const auto bytes = b.finish();
    const auto empty = loadScene(bytes);
    EXPECT_EQ(empty.status, SceneLoadStatus::Loaded);
    EXPECT_TRUE(empty.messages.empty());
    EXPECT_TRUE(empty.catalogue.empty());
    EXPECT_EQ(empty.catalogue.ObjectsSizeOffset, 8u);
    EXPECT_EQ(empty.catalogue.ObjectsSize, 6u);
}

TEST(SceneLoader, SaysWhatIsWrongWithTheFile)
{
    const std::vector<std::uint8_t> notScene{'L', 'S', 10, 0, 0, 0, 0, 0, 0, 0};
    const auto refused = loadScene(notScene);
    EXPECT_EQ(refused.status, SceneLoadStatus::NotAScene);
    EXPECT_EQ(refused.messages, (std::vector<std::string>{"****** No scene2.bin file! ******"}));

    const std::vector<std::uint8_t> oneByte{'S'};
    EXPECT_EQ(loadScene(oneByte).messages, (std::vector<std::string>{"****** No scene2.bin file! ******"}));

    // Unknown top-level chunks before the objects section are reported and skipped.
    SceneBuilder b;
    b.headerRecord(0x1234, {1, 2});
    b.headerRecord(0x0001);
    b.headerRecord(0x5678);
    b.beginObjects();
    b.object({.name = "kept"});
    b.endObjects();
    const auto bytes = b.finish();
    const auto reported = loadScene(bytes);
    EXPECT_EQ(reported.status, SceneLoadStatus::Loaded);
    EXPECT_EQ(reported.messages, (std::vector<std::string>{"****** ID ?  ****** ", "****** ID ?  ****** "}));
    EXPECT_EQ(names(reported.catalogue), (std::vector<std::string>{"kept"}));

    // Header records only: no objects section.
    SceneBuilder h;
    h.headerRecord(0x0001);
    h.headerRecord(0x3010);
    const auto headerOnly = h.finish();
    const auto unreadable = loadScene(headerOnly);
    EXPECT_EQ(unreadable.status, SceneLoadStatus::Unreadable);
    EXPECT_EQ(unreadable.messages, (std::vector<std::string>{"****** Cann't read file!! ****** "}));
}

TEST(SceneLoader, ReportsProgressAndNamesEachDefinition)
{
    SceneBuilder b;
    b.beginObjects();
    for (int i = 0; i < 200; ++i)
        b.object({.name = "o" + std::to_string(i), .translation = Floats3{0, 0, 0}});
    b.endObjects();
    b.beginDefinitions();
    b.definition({"o1", 4, {}});
    b.definition({"o2", 6, {}});
    b.endDefinitions();
    const auto bytes = b.finish();
    RecordingProgress progress;
    loadScene(bytes, &progress);
    EXPECT_EQ(progress.maximum, 51);
    EXPECT_TRUE(progress.finished);
    EXPECT_TRUE(std::is_sorted(progress.values.begin(), progress.values.end()));
    EXPECT_GE(progress.values.back(), 20);
    EXPECT_LE(progress.values.back(), 51);
    EXPECT_EQ(progress.texts, (std::vector<std::string>{"o1", "o2"}));
}

// Names that differ only in their last characters spread over the slots a lookup picks from: a
// hash that clusters them makes finding definition owners crawl on a large scene.
TEST(NameIndex, ShortNamesDifferingAtTheEndSpreadOverTheSlots)
{
    for (const char* stem : {"model", "TR", "TrackPoint", "a_longer_object_name_"}) {
        SCOPED_TRACE(stem);
        std::set<std::uint32_t> slots;
        for (int i = 0; i <= 100; ++i)
            slots.insert(NameIndex::hashOf(stem + std::to_string(i)) & 255u);
        EXPECT_GE(slots.size(), 70u); // 101 names in 256 slots land in about 83 when spread evenly
    }
}
