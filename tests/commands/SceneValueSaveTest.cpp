#include <gtest/gtest.h>

#include <fstream>

#include "commands/editing/SceneValueSave.h"
#include "formats/scene/SceneLoader.h"
#include "foundation/bytes/ByteReader.h"
#include "foundation/text/NumericText.h"
#include "mission/Mission.h"
#include "support/Outcomes.h"
#include "support/SceneBuilder.h"
#include "support/SceneForms.h"
#include "support/ScriptedPrompter.h"
#include "support/TempFolder.h"

using namespace mw;
using namespace mw::build;
namespace fs = std::filesystem;

namespace {


} // namespace

// A scene on disk with one object of each kind the save distinguishes.
class SceneValueSaveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SceneBuilder b;
        b.beginObjects();
        plain = b.object({.name = "Crate", .type = 9, .translation = Floats3{1, 2, 3},
                          .rotation = std::array<float, 4>{1, 0, 0, 0}, .size = Floats3{1, 1, 1}});
        bare = b.object({.name = "Marker", .type = 9, .translation = Floats3{5, 5, 5}, .unknownChunks = true});
        lamp = b.object({.name = "Lamp", .type = 2, .translation = Floats3{0, 0, 0},
                         .rotation = std::array<float, 4>{1, 0, 0, 0}, .size = Floats3{1, 1, 1},
                         .light = LightParts{.kind = 2, .colour = Floats3{0.5f, 0.5f, 0.5f}, .power = 2,
                                            .range = Floats2{1, 2}, .distance = Floats2{3, 4}}});
        b.object({.name = "Guard", .type = 9, .translation = Floats3{0, 0, 0}});
        b.object({.name = "Barrel", .type = 9, .translation = Floats3{0, 0, 0}});
        radio = b.object({.name = "Radio", .type = 4, .translation = Floats3{0, 0, 0},
                          .sound = SoundParts{.fileName = "r.wav", .kind = 1, .volume = 1, .fields34 = Floats2{1, 2},
                                             .fields56 = Floats2{40, 100}}});
        b.object({.name = "Mute", .type = 4, .translation = Floats3{0, 0, 0},
                  .sound = SoundParts{.fileName = "m.wav", .volume = 1, .fields56 = Floats2{40, 100}}});
        b.endObjects();
        b.beginDefinitions();
        guard = b.definition({"Guard", 0x1B, humanData(8, 10, 0.5f, 80, "script")});
        barrel = b.definition({"Barrel", 0x23, thingData(26, -1)});
        b.endDefinitions();
        original = b.finish();
        path = dir.path() / "scene2.bin";
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(original.data()), static_cast<std::streamsize>(original.size()));
        mission.open(MissionFile::Scene, path, prompter);
    }

    // The form as shown, with the vertical angle and the colour boxes at values of their own.
    static SceneValueForm formFor(const SceneEntry& e)
    {
        SceneValueForm f = formShowing(e);
        f.verticalAngle = "0";
        f.red = f.green = f.blue = "127.5";
        return f;
    }

    ValueSaveResult save(std::size_t row, const SceneValueForm& form)
    {
        SceneEntry shown = catalogue.entry(row);
        return valueSaveOf(saveSceneValues(form, shown, mission, prompter));
    }

    std::vector<std::uint8_t> onDisk() const { return readWholeFile(path); }
    float floatAt(std::size_t offset) const { return ByteReader(onDisk()).f32(offset); }

    // Refuses `form` with exactly one message and leaves the file as it was.
    void expectRefused(std::size_t row, const SceneValueForm& form, const std::string& text, const std::string& title,
                       ValueSaveResult result = ValueSaveResult::Refused)
    {
        prompter.said.clear();
        const auto before = onDisk();
        EXPECT_EQ(save(row, form), result);
        EXPECT_EQ(prompter.said, (std::vector<Said>{{"message", text, title}}));
        if (result == ValueSaveResult::Refused) {
            EXPECT_EQ(onDisk(), before);
        }
    }

    TempFolder dir;
    fs::path path;
    std::vector<std::uint8_t> original;
    Mission mission;
    const SceneCatalogue& catalogue = mission.sceneCatalogue();
    ScriptedPrompter prompter;
    ObjectOffsets plain, bare, lamp, radio;
    DefinitionOffsets guard, barrel;
};

TEST_F(SceneValueSaveTest, WritesTranslationRotationAndSizeInPlace)
{
    SceneValueForm f = formFor(catalogue.entry(0));
    f.translationX = "10.5";
    f.translationY = "-2";
    f.translationZ = " 3e2 ";
    f.sizeX = "2";
    f.verticalAngle = "90";
    f.rotation = {0.25f, 0.0f, 0.75f, -0.5f};
    EXPECT_EQ(save(0, f), ValueSaveResult::Saved);
    EXPECT_TRUE(prompter.said.empty());

    const auto bytes = onDisk();
    ASSERT_EQ(bytes.size(), original.size());
    const ByteReader r(bytes);
    EXPECT_EQ(r.f32(plain.translation), 10.5f);
    EXPECT_EQ(r.f32(plain.translation + 4), -2.0f);
    EXPECT_EQ(r.f32(plain.translation + 8), 300.0f);
    EXPECT_EQ(r.f32(plain.rotation), 0.25f);
    EXPECT_EQ(r.f32(plain.rotation + 4), 1.0f); // sin(90 degrees)
    EXPECT_EQ(r.f32(plain.rotation + 8), 0.75f);
    EXPECT_EQ(r.f32(plain.rotation + 12), -0.5f);
    EXPECT_EQ(r.f32(plain.size), 2.0f);
    // Nothing else changed.
    auto expected = original;
    for (std::size_t i = 0; i < 12; ++i)
        expected[plain.translation + i] = bytes[plain.translation + i];
    for (std::size_t i = 0; i < 16; ++i)
        expected[plain.rotation + i] = bytes[plain.rotation + i];
    for (std::size_t i = 0; i < 12; ++i)
        expected[plain.size + i] = bytes[plain.size + i];
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(catalogue.entry(0).translation, (Vec3{10.5f, -2, 300}));
    EXPECT_EQ(catalogue.entry(0).rotation[1], 1.0f);
}

TEST_F(SceneValueSaveTest, VerticalRotationEndsAreAcceptedAndWriteNearlyZero)
{
    for (const char* angle : {"0", "-180", "180"}) {
        SceneValueForm f = formFor(catalogue.entry(0));
        f.verticalAngle = angle;
        EXPECT_EQ(save(0, f), ValueSaveResult::Saved) << angle;
        EXPECT_NEAR(floatAt(plain.rotation + 4), 0.0f, 1e-6) << angle;
    }
}

TEST_F(SceneValueSaveTest, ObjectsWithoutRotationOrSizeChunksGetOnlyTheirTranslation)
{
    SceneValueForm f = formFor(catalogue.entry(1));
    f.translationX = "9";
    f.verticalAngle = "45";
    f.sizeX = "3";
    EXPECT_EQ(save(1, f), ValueSaveResult::Saved);
    auto expected = original;
    const auto nine = encodeF32(9.0f);
    std::copy(nine.begin(), nine.end(), expected.begin() + static_cast<std::ptrdiff_t>(bare.translation));
    EXPECT_EQ(onDisk(), expected); // the chunks behind the translation are untouched
}

TEST_F(SceneValueSaveTest, TransformChecksComeInOrderAndWriteNothing)
{
    const SceneValueForm good = formFor(catalogue.entry(0));
    SceneValueForm f = good;
    f.translationZ = "";
    f.translationY = "x";
    expectRefused(0, f, "Fill all fields", "");
    f = good;
    f.translationY = "x";
    f.sizeX = "y";
    expectRefused(0, f, "Put numeric", "Translation");
    f = good;
    f.translationX = "1e39";
    expectRefused(0, f, "Put numeric", "Translation");
    f = good;
    f.sizeZ = "-";
    f.verticalAngle = "x";
    expectRefused(0, f, "Put numeric", "Size");
    f = good;
    f.verticalAngle = "";
    expectRefused(0, f, "Put numeric", "Vert Rotation");
    f = good;
    f.verticalAngle = "180.5";
    expectRefused(0, f, "Value -180 ... 180", "Vert Rotation");
    f = good;
    f.verticalAngle = "-181";
    expectRefused(0, f, "Value -180 ... 180", "Vert Rotation");
}

TEST_F(SceneValueSaveTest, LightValues)
{
    SceneValueForm f = formFor(catalogue.entry(2));
    f.red = "255";
    f.green = "0";
    f.blue = "51";
    f.brightness = "5.5";
    f.distance1 = "77"; // shown and marked, never written
    f.distance2 = "30";
    f.range1 = "0.25";
    f.range2 = "0.5";
    EXPECT_EQ(save(2, f), ValueSaveResult::Saved);
    const auto bytes = onDisk();
    const ByteReader r(bytes);
    EXPECT_EQ(r.f32(lamp.lightColour), 1.0f);
    EXPECT_EQ(r.f32(lamp.lightColour + 4), 0.0f);
    EXPECT_EQ(r.f32(lamp.lightColour + 8), 0.2f);
    EXPECT_EQ(r.f32(lamp.lightPower), 5.5f);
    EXPECT_EQ(r.f32(lamp.lightDistance), 3.0f);
    EXPECT_EQ(r.f32(lamp.lightDistance + 4), 30.0f);
    EXPECT_EQ(r.f32(lamp.lightRange), 0.25f);
    EXPECT_EQ(r.f32(lamp.lightRange + 4), 0.5f);
    EXPECT_EQ(bytes.size(), original.size());
}

TEST_F(SceneValueSaveTest, LightChecksLeaveTheTransformSaved)
{
    const SceneValueForm good = formFor(catalogue.entry(2));
    SceneValueForm f = good;
    f.distance2 = "far";
    f.range1 = "x";
    expectRefused(2, f, "Put numeric", "Light distance", ValueSaveResult::TransformOnly);
    f = good;
    f.range2 = "x";
    f.brightness = "x";
    expectRefused(2, f, "Put numeric", "Light", ValueSaveResult::TransformOnly);
    f = good;
    f.brightness = "x";
    expectRefused(2, f, "Put numeric", "Light brightness", ValueSaveResult::TransformOnly);
    f = good;
    f.brightness = "6";
    f.translationX = "8";
    expectRefused(2, f, "Value 0 ... 5", "Light brightness", ValueSaveResult::TransformOnly);
    EXPECT_EQ(floatAt(lamp.translation), 8.0f);
    EXPECT_EQ(floatAt(lamp.lightPower), 2.0f);
    f.brightness = "-0.1";
    expectRefused(2, f, "Value 0 ... 5", "Light brightness", ValueSaveResult::TransformOnly);
}

TEST_F(SceneValueSaveTest, HumanValues)
{
    const SceneEntry& g = catalogue.entry(3);
    SceneValueForm f = formFor(g);
    f.sex = "30";
    f.behaviour = 128;
    f.aggression = "1";
    f.humanWeight = "95.5";
    EXPECT_EQ(save(3, f), ValueSaveResult::Saved);
    const auto bytes = onDisk();
    const ByteReader r(bytes);
    EXPECT_EQ(r.u8(guard.dataPayload + 1), 128);
    EXPECT_EQ(r.u8(guard.dataPayload + 5), 30);
    EXPECT_EQ(r.f32(guard.dataPayload + 41), 1.0f);
    EXPECT_EQ(r.f32(guard.dataPayload + 65), 95.5f);

    // With no behaviour chosen the byte in the file stays as it is.
    f.behaviour.reset();
    f.sex = "0";
    EXPECT_EQ(save(3, f), ValueSaveResult::Saved);
    EXPECT_EQ(ByteReader(onDisk()).u8(guard.dataPayload + 1), 128);
    EXPECT_EQ(ByteReader(onDisk()).u8(guard.dataPayload + 5), 0);

    const SceneValueForm good = formFor(catalogue.entry(3));
    f = good;
    f.aggression = "x";
    f.humanWeight = "x";
    expectRefused(3, f, "Put numeric", "Aggression", ValueSaveResult::TransformOnly);
    f = good;
    f.aggression = "1.01";
    expectRefused(3, f, "Value 0 ... 1", "Agression", ValueSaveResult::TransformOnly);
    f = good;
    f.humanWeight = "heavy";
    f.sex = "x";
    expectRefused(3, f, "Put numeric", "Weight", ValueSaveResult::TransformOnly);
    f = good;
    f.sex = "x";
    expectRefused(3, f, "Put numeric", "Sex", ValueSaveResult::TransformOnly);
    f = good;
    f.sex = "256";
    expectRefused(3, f, "Value 0 ... 255", "Sex", ValueSaveResult::TransformOnly);
    EXPECT_EQ(ByteReader(onDisk()).u8(guard.dataPayload + 5), 0);
}

TEST_F(SceneValueSaveTest, ThingValues)
{
    SceneValueForm f = formFor(catalogue.entry(4));
    f.thingWeight = "12";
    f.thingSound = 8;
    EXPECT_EQ(save(4, f), ValueSaveResult::Saved);
    EXPECT_EQ(floatAt(barrel.dataPayload + 10), 12.0f);
    EXPECT_EQ(ByteReader(onDisk()).i32(barrel.dataPayload + 22), 8);
    f.thingSound.reset(); // no entry chosen: the first, "Lath 1"
    EXPECT_EQ(save(4, f), ValueSaveResult::Saved);
    EXPECT_EQ(ByteReader(onDisk()).i32(barrel.dataPayload + 22), 0);
    f.thingWeight = "";
    expectRefused(4, f, "Put numeric", "Weight", ValueSaveResult::TransformOnly);
}

TEST_F(SceneValueSaveTest, SoundValues)
{
    SceneValueForm f = formFor(catalogue.entry(5));
    f.soundKind = "3";
    f.volume = "0.5";
    f.soundField3 = "1.5";
    f.soundField4 = "2.5";
    f.soundField5 = "41";
    f.soundDistance = "150";
    EXPECT_EQ(save(5, f), ValueSaveResult::Saved);
    const auto bytes = onDisk();
    const ByteReader r(bytes);
    EXPECT_EQ(r.i32(radio.soundField[1]), 3);
    EXPECT_EQ(r.f32(radio.soundField[2]), 0.5f);
    EXPECT_EQ(r.f32(radio.soundField[3]), 1.5f);
    EXPECT_EQ(r.f32(radio.soundField[4]), 2.5f);
    EXPECT_EQ(r.f32(radio.soundField[5]), 41.0f);
    EXPECT_EQ(r.f32(radio.soundField[6]), 150.0f);

    const SceneValueForm good = formFor(catalogue.entry(5));
    f = good;
    f.volume = "x";
    f.soundDistance = "x";
    expectRefused(5, f, "Put numeric", "Volume", ValueSaveResult::TransformOnly);
    f = good;
    f.soundDistance = "x";
    expectRefused(5, f, "Put numeric", "Distance", ValueSaveResult::TransformOnly);
    f = good;
    f.soundKind = "4294967296";
    expectRefused(5, f, "Put numeric", "Sound kind", ValueSaveResult::TransformOnly);

    // A sound without its first field gets nothing written, numbers or not.
    const auto before = onDisk();
    SceneValueForm mute = formFor(catalogue.entry(6));
    mute.volume = "0.1";
    mute.soundDistance = "5";
    EXPECT_EQ(save(6, mute), ValueSaveResult::Saved);
    EXPECT_EQ(onDisk(), before);
}

TEST_F(SceneValueSaveTest, AFileChangedOnDiskIsNotWritten)
{
    std::ofstream(path, std::ios::binary | std::ios::app).put('x');
    const auto changed = onDisk();
    SceneValueForm f = formFor(catalogue.entry(0));
    f.translationX = "99";
    EXPECT_EQ(save(0, f), ValueSaveResult::Stale);
    EXPECT_EQ(onDisk(), changed);
    ASSERT_EQ(prompter.said.size(), 1u);
    EXPECT_NE(prompter.said[0].text.find("scene2.bin"), std::string::npos);
}
