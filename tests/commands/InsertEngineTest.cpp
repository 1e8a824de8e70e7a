#include <gtest/gtest.h>

#include <functional>

#include "commands/insertion/InsertEngine.h"
#include "formats/templates/BuiltinResources.h"
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

InsertForm formOf(const char* kind, const char* name, const char* model = "")
{
    InsertForm f;
    f.kind = kind;
    f.name = name;
    f.model = model;
    f.translationX = "1", f.translationY = "2", f.translationZ = "3";
    f.sizeX = f.sizeY = f.sizeZ = "1";
    f.verticalAngle = "0";
    f.brightness = "2", f.lightDistance = "25";
    f.thingWeight = "80";
    f.aggression = "0.5", f.humanWeight = "80", f.sex = "17";
    f.soundFile = "", f.volume = "1", f.soundDistance = "100";
    return f;
}

std::uint32_t u32At(const std::vector<std::uint8_t>& b, std::size_t at) { return ByteReader(b).u32(at); }
float f32At(const std::vector<std::uint8_t>& b, std::size_t at) { return ByteReader(b).f32(at); }

// The offset of the first chunk `id` inside the record (searched by walking its children).
std::size_t childAt(const std::vector<std::uint8_t>& record, std::uint16_t id)
{
    const ByteReader r(record);
    for (std::size_t at = 6; at + 6 <= record.size(); at += r.u32(at + 2))
        if (r.u16(at) == id)
            return at;
    return 0;
}

} // namespace

// The bytes of every template as the game's format lists them, field by field (patch points hold
// their defaults; a door's data ends with our one zero byte).
TEST(InsertTemplates, EveryFixedValueIsTheListedBytes)
{
    const std::pair<const char*, const char*> templates[] = {
        {"Human3", "22ae0a000000" "1b000000" "24ae69000000" "06" "08" "000000" "0a" "000000" "3333333f" "0000c842"
                   "0000a0410000a0410000a0410000a041" "3333333f" "0000803f" "9a99593f" "cccc4c3f"
                   "0000803f0000803f0000803f" "cbcc4c3f" "0000a042" "0000003f" "0101" "00000000" "10000000"
                   "2f2f2f2f2f2f2f2f2f2f2f2f2f2f2f2f"},
        {"Thing1", "22ae0a000000" "23000000" "24ae25000000" "02" "01" "0000803f" "0000803f" "bd41d341" "0000003f"
                   "0ad7233c" "ffffffff" "01" "ffffffff"},
        {"Door1", "22ae0a000000" "06000000" "24ae4c000000" "08000000" "000101" "db0fc93f" "00" "00" "6f12833b"
                  "6f12833b" "645f776f6f646f702e77617600cdcdcd" "645f776f6f64636c2e77617600cdcdcd"
                  "645f776f6f646c6f2e77617600cdcdcd" "00"},
        {"Door2", "22ae0a000000" "06000000" "24ae4c000000" "08000000" "000101" "db0fc93f" "00" "01" "6f12833b"
                  "6f12833b" "645f62726173736f702e77617600cdcd" "645f6272617373636c2e77617600cdcd"
                  "645f62726173736c6f2e77617600cdcd" "00"},
        {"Door3", "22ae0a000000" "06000000" "24ae4c000000" "08000000" "000101" "5c77d63f" "00" "00" "0173423b"
                  "6f12833b" "645f676c617373316f702e77617600cd" "645f676c61737331636c2e77617600cd"
                  "645f776f6f646c6f2e77617600cdcdcd" "00"},
    };
    for (const auto& [name, hex] : templates) {
        SCOPED_TRACE(name);
        std::vector<std::uint8_t> listed;
        for (const char* h = hex; h[0] && h[1]; h += 2)
            listed.push_back(static_cast<std::uint8_t>(std::stoi(std::string(h, 2), nullptr, 16)));
        EXPECT_EQ(loadBuiltinResource(name), listed);
    }
}

TEST(InsertTemplates, PatchPointsAndCopiedBytes)
{
    InsertForm human = formOf("human", "Guard");
    human.behaviour = 128, human.sex = "30", human.aggression = "0.25", human.humanWeight = "60";
    auto body = definitionBody(human);
    ASSERT_EQ(body.size(), 115u);
    EXPECT_EQ(body[17], 128);
    EXPECT_EQ(body[21], 30);
    EXPECT_EQ(f32At(body, 57), 0.25f);
    EXPECT_EQ(f32At(body, 81), 60.0f);
    auto stored = loadBuiltinResource("HUMAN3");
    for (std::size_t at : {17, 21})
        body[at] = stored[at];
    for (std::size_t at : {57, 81})
        std::copy(stored.begin() + at, stored.begin() + at + 4, body.begin() + at);
    EXPECT_EQ(body, stored); // nothing else differs from the template

    InsertForm thing = formOf("things", "Box");
    thing.thingSound = 8, thing.thingWeight = "12.5";
    const auto thingBody = definitionBody(thing);
    ASSERT_EQ(thingBody.size(), 47u);
    EXPECT_EQ(u32At(thingBody, 38), 8u);
    EXPECT_EQ(f32At(thingBody, 26), 12.5f);

    InsertForm door = formOf("door", "Gate");
    door.doorSound = 3;
    const auto doorBody = definitionBody(door);
    ASSERT_EQ(doorBody.size(), 86u);
    EXPECT_EQ(std::string(doorBody.begin() + 69, doorBody.begin() + 81), "d_woodlo.wav");
    EXPECT_EQ(std::string(doorBody.begin() + 37, doorBody.begin() + 51), "d_glass1op.wav");

    const std::pair<const char*, std::uint32_t> cars[] = {{"car", 2652}, {"truck", 2367}, {"policecar", 2433}};
    for (const auto& [kind, length] : cars) {
        SCOPED_TRACE(kind);
        const auto car = definitionBody(formOf(kind, "Car"));
        ASSERT_EQ(car.size(), length + 10);
        EXPECT_EQ(u32At(car, 6), 4u);
        EXPECT_EQ(u32At(car, 12), length);
        EXPECT_EQ(u32At(car, 16), 1u);
        EXPECT_EQ(u32At(car, 20), length - 14);
        EXPECT_EQ(std::string(car.begin() + 24, car.begin() + 28), "COMP");
        EXPECT_EQ(u32At(car, 28), 0x1121u);
        EXPECT_EQ(u32At(car, 32), length - 14);
    }
}

TEST(InsertRecords, LengthsOfEveryKind)
{
    struct Case {
        const char* kind;
        const char* model;
        bool noScript;
        std::size_t object, definition;
    };
    // Name "b1" (n = 2), model "4build10.i3d" (m = 12), sound file "r.wav" (s = 5).
    const Case cases[] = {
        {"building", "4build10.i3d", false, 120, 0},   {"car", "4build10.i3d", false, 147, 2 + 13 + 2662},
        {"truck", "4build10.i3d", false, 147, 2 + 13 + 2377}, {"human", "4build10.i3d", false, 147, 2 + 13 + 115},
        {"things", "4build10.i3d", false, 147, 2 + 13 + 47},  {"door", "4build10.i3d", false, 147, 2 + 13 + 86},
        {"light", "", false, 231, 0},                        {"sound", "", false, 234, 0},
        {"other", "", false, 158, 2 + 53},                   {"other", "", true, 158, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + (c.noScript ? " no script" : ""));
        InsertForm f = formOf(c.kind, "b1", c.model);
        f.soundFile = "r.wav";
        f.noScript = c.noScript;
        const InsertRecords r = insertRecords(f);
        EXPECT_EQ(r.object.size(), c.object);
        EXPECT_EQ(u32At(r.object, 2), c.object);
        EXPECT_EQ(r.definition.size(), c.definition);
        EXPECT_EQ(childAt(r.object, chunk::Model) != 0, std::string(c.model) != "");
        EXPECT_EQ(childAt(r.object, chunk::Link) != 0, std::string(c.kind) != "building");
    }
}

TEST(InsertRecords, TheScriptObjectRecordByteForByte)
{
    const InsertRecords r = insertRecords(formOf("other", "x"));
    ByteWriter w;
    auto chunk = [&](std::uint16_t id, std::uint32_t length) { w.u16(id), w.u32(length); };
    chunk(0x4010, 157);
    chunk(0x4011, 10), w.u32(6);
    chunk(0x0010, 8), w.text("x"), w.u8(0);
    chunk(0x0020, 18), w.f32(1), w.f32(2), w.f32(3);
    chunk(0x0022, 22), w.f32(1), w.f32(0), w.f32(0), w.f32(0);
    chunk(0x002D, 18), w.f32(1), w.f32(1), w.f32(1);
    chunk(0x002C, 18), w.append(std::vector<std::uint8_t>{0x82, 0xca, 0xdd, 0xc4, 0x5b, 0x3f, 0xb3, 0xc0, 0xbd, 0x59, 0x8a, 0x40});
    chunk(0x4020, 27), chunk(0x0010, 21), w.text("Primary sector"), w.u8(0);
    chunk(0x4050, 30);
    for (float v : {-0.5f, -0.5f, -0.5f, 0.5f, 0.5f, 0.5f})
        w.f32(v);
    EXPECT_EQ(r.object, w.take());
    ASSERT_EQ(r.definition.size(), 54u);
    EXPECT_EQ(u32At(r.definition, 2), 54u);
    EXPECT_EQ(r.definition[14], 0x22); // the 40 template bytes follow the name chunk
    EXPECT_EQ(std::string(r.definition.begin() + 44, r.definition.end()), "//////////");
}

TEST(InsertRecords, TheTwoLightStyles)
{
    InsertForm f = formOf("light", "Lamp");
    f.colour = {"255", "0", "51"};
    for (bool style5 : {true, false}) {
        SCOPED_TRACE(style5);
        f.lightStyle5 = style5;
        const auto r = insertRecords(f).object;
        ASSERT_EQ(r.size(), 233u);
        const auto extent = childAt(r, 0x002C) + 6;
        EXPECT_EQ(f32At(r, extent), style5 ? -1772.8047f : -1.51857f);
        const auto rotation = childAt(r, chunk::Rotation) + 6;
        EXPECT_EQ(f32At(r, rotation), style5 ? 1.0f : 0.70223647f);
        const auto light = childAt(r, chunk::Light);
        const ByteReader block(std::span<const std::uint8_t>(r).subspan(light, 103));
        EXPECT_EQ(block.u32(6 + 6), 2u); // the light kind whatever the style
        EXPECT_EQ(block.f32(16 + 6 + 8), 0.2f); // blue 51 / 255
        EXPECT_EQ(block.f32(44 + 6 + 4), style5 ? 0.69813168f : 2.4434612f);
        EXPECT_EQ(block.f32(58 + 6 + 4), 25.0f);
    }
    // The colour is the fields' values over 255, whole or not (a light's colour times 255).
    f.colour = {"76.5", "127.5", "178.5"};
    const auto r = insertRecords(f).object;
    const auto colour = childAt(r, chunk::Light) + 6 + 10 + 6; // behind the kind chunk
    EXPECT_EQ((std::array<float, 3>{f32At(r, colour), f32At(r, colour + 4), f32At(r, colour + 8)}),
              (std::array<float, 3>{0.3f, 0.5f, 0.7f}));
}


class InsertEngineTest : public ::testing::Test {
protected:
    void load(bool withDefinitions = true)
    {
        SceneBuilder b;
        b.beginObjects();
        b.object({.name = "Crate", .type = 9, .translation = Floats3{1, 2, 3}});
        b.endObjects();
        if (withDefinitions) {
            b.beginDefinitions();
            b.definition({"Crate", 0x23, thingData(10, 1)});
            b.endDefinitions();
        }
        b.beginScripts();
        b.script("intro", "wait 2");
        b.endScripts();
        objectsStart = b.objectsStart;
        original = b.finish();
        path = dir.path() / "scene2.bin";
        writeBytes(path, original);
        mission.open(MissionFile::Scene, path, prompter);
    }
    TempFolder dir;
    fs::path path;
    std::vector<std::uint8_t> original;
    std::size_t objectsStart = 0;
    Mission mission;
    ScriptedPrompter prompter;
};

TEST_F(InsertEngineTest, ABuildingGrowsTheObjectsSectionAndIsSelected)
{
    load();
    ASSERT_TRUE(insertObject(mission, formOf("building", "b1", "4build10.i3d"), prompter).done());
    const auto bytes = readWholeFile(path);
    expectConsistentScene(bytes);
    EXPECT_EQ(bytes.size(), original.size() + 120);
    EXPECT_EQ(u32At(bytes, objectsStart + 2), u32At(original, objectsStart + 2) + 120);
    const auto& catalogue = mission.sceneCatalogue();
    ASSERT_EQ(catalogue.entryCount(), 3u);
    EXPECT_EQ(catalogue.name(1), "b1");
    EXPECT_EQ(mission.sceneSelection().all, 1u);
    EXPECT_EQ(mission.history().nextUndo()->name, "Insert b1");
    ASSERT_TRUE(mission.undo(prompter));
    EXPECT_EQ(readWholeFile(path), original);
}

TEST_F(InsertEngineTest, AHumanGetsItsDefinitionEvenWithoutADefinitionsSection)
{
    for (bool sections : {true, false}) {
        SCOPED_TRACE(sections);
        load(sections);
        ASSERT_TRUE(insertObject(mission, formOf("human", "Guard", "Enemy12K.i3d"), prompter).done());
        const auto bytes = readWholeFile(path);
        expectConsistentScene(bytes);
        const SceneEntry& guard = mission.sceneCatalogue().entry(1);
        EXPECT_EQ(guard.name, "Guard");
        EXPECT_EQ(guard.typeCode, typecode::Human);
        EXPECT_TRUE(guard.hasScript);
        EXPECT_EQ(guard.sex, 17);
        // The record (133 + 5 + 12), the definition (5 + 13 + 115) and, where it was missing, a section header.
        EXPECT_EQ(bytes.size(), original.size() + 150 + 5 + 13 + 115 + (sections ? 0 : 6));
    }
}

TEST_F(InsertEngineTest, ValidationInItsOrderWritesNothing)
{
    load();
    struct Case {
        std::function<void(InsertForm&)> change;
        const char* text;
        const char* title;
    };
    const Case cases[] = {
        {[](InsertForm& f) { f.name.clear(), f.sizeX.clear(); }, "Put Name", "Name"},
        {[](InsertForm& f) { f.sizeZ.clear(), f.model = "x.4ds"; }, "Fill all fields", ""},
        {[](InsertForm& f) { f.model = "x.4ds", f.aggression = "x"; }, "Modeltype: *.i3d", ""},
        {[](InsertForm& f) { f.kind = "light", f.brightness = "bright"; }, "Put numeric", "Light brightness"},
        {[](InsertForm& f) { f.kind = "light", f.brightness = "6"; }, "Value 0 ... 5", "Light brightness"},
        {[](InsertForm& f) { f.kind = "light", f.lightDistance = "far"; }, "Put numeric", "Distance"},
        {[](InsertForm& f) { f.kind = "things", f.thingWeight = "heavy"; }, "Put numeric", "Weight"},
        {[](InsertForm& f) { f.aggression = "1.5"; }, "Value 0 ... 1", "Agression"},
        {[](InsertForm& f) { f.sex = "x", f.translationY = "y"; }, "Put numeric", "Sex"},
        {[](InsertForm& f) { f.translationY = "y", f.sizeX = "s"; }, "Put numeric", "Translation"},
        {[](InsertForm& f) { f.sizeX = "s"; }, "Put numeric", "Size"},
        {[](InsertForm& f) { f.kind = "sound", f.soundFile.clear(); }, "Select *.wav file", "Audio File"},
        {[](InsertForm& f) { f.kind = "sound", f.soundFile = "a.wav", f.volume = "loud"; }, "Put numeric", "Volume"},
        {[](InsertForm& f) { f.verticalAngle = "up"; }, "Put numeric", "Vert Rotation"},
        {[](InsertForm& f) { f.verticalAngle = "181"; }, "Value -180 ... 180", "Vert Rotation"},
        {[](InsertForm& f) { f.name = "CRATE"; }, "Put another!", "Name already known"},
        {[](InsertForm& f) { f.name = "INTRO"; }, "Put another!", "Name already known"},
    };
    for (const Case& c : cases) {
        InsertForm f = formOf("human", "Guard", "Enemy12K.i3d");
        c.change(f);
        SCOPED_TRACE(c.text + std::string(" / ") + c.title);
        prompter.said.clear();
        EXPECT_EQ(insertObject(mission, f, prompter).ended, Ended::Refused);
        EXPECT_EQ(prompter.said, (std::vector<Said>{{"message", c.text, c.title}}));
        EXPECT_EQ(readWholeFile(path), original);
    }
}

TEST_F(InsertEngineTest, AnEmptyOrUntouchedAngleInsertsWithAngleZero)
{
    load();
    for (const char* angle : {"", "Text11"}) {
        SCOPED_TRACE(angle);
        InsertForm f = formOf("building", angle[0] ? "b2" : "b1", "4build10.i3d");
        f.verticalAngle = angle;
        ASSERT_TRUE(insertObject(mission, f, prompter).done());
        EXPECT_EQ(mission.sceneCatalogue().entry(*mission.sceneSelection().all).rotation[1], 0.0f);
    }
}
