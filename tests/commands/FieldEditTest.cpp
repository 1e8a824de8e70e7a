#include <gtest/gtest.h>

#include "commands/editing/FieldEdit.h"
#include "commands/editing/ListValueSave.h"
#include "commands/editing/Rotation.h"
#include "commands/editing/SceneValueSave.h"
#include "foundation/files/FileAccess.h"
#include "foundation/text/NumericText.h"
#include "mission/Mission.h"
#include "support/MissionFileBuilders.h"
#include "support/SceneBuilder.h"
#include "support/SceneForms.h"
#include "support/ScriptedPrompter.h"
#include "support/TempFolder.h"

using namespace mw;
using namespace mw::build;
namespace fs = std::filesystem;

namespace {

// Three lamps, three guards, three barrels and three radios (rows 0 ... 11) in the scene, two
// cached houses in the cache; each kind's values differ from object to object.
struct World {
    World()
    {
        SceneBuilder s;
        s.beginObjects();
        const float power[] = {1, 2, 4.5f}, volume[] = {1, 0.5f, 0.25f};
        const auto placed = [&](const std::string& name, std::uint32_t type, float x) {
            return ObjectParts{.name = name, .type = type, .translation = Floats3{x, 0, 0},
                               .rotation = std::array<float, 4>{0, 0, 1, 0}, .size = Floats3{1, 1, 1}};
        };
        for (int k = 0; k < 3; ++k) {
            ObjectParts lamp = placed("Lamp" + std::to_string(k), 2, float(k));
            lamp.light = LightParts{.kind = 2, .colour = Floats3{0.5f, 0.25f, 1}, .power = power[k], .range = Floats2{1, 2},
                                    .distance = Floats2{3, 4}};
            s.object(lamp);
        }
        for (int k = 0; k < 3; ++k)
            s.object(placed("Guard" + std::to_string(k), 9, 10.0f + k));
        for (int k = 0; k < 3; ++k) {
            ObjectParts barrel = placed("Barrel" + std::to_string(k), 9, 20.0f + k);
            barrel.rotation = std::array<float, 4>{0.5f, 0, 0.8660254f, 0}; // the first slider at 30
            s.object(barrel);
        }
        for (int k = 0; k < 3; ++k) {
            ObjectParts radio = placed("Radio" + std::to_string(k), 4, 30.0f + k);
            radio.sound = SoundParts{.fileName = "r.wav", .kind = 1, .volume = volume[k], .fields34 = Floats2{1, 2},
                                     .fields56 = Floats2{40, 100}};
            s.object(radio);
        }
        // Row 12, a sound without its kind; row 13, a lamp without ranges.
        ObjectParts mute = placed("Mute", 4, 40);
        mute.sound = SoundParts{.fileName = "m.wav", .volume = 1, .fields56 = Floats2{40, 100}};
        s.object(mute);
        ObjectParts dim = placed("Dim", 2, 41);
        dim.light = LightParts{.kind = 2, .colour = Floats3{1, 1, 1}, .power = 1};
        s.object(dim);
        s.endObjects();
        s.beginDefinitions();
        const float aggression[] = {0.5f, 0.25f, 0.75f}, weight[] = {26, 10, 2};
        for (int k = 0; k < 3; ++k)
            s.definition({"Guard" + std::to_string(k), 0x1B, humanData(8, 10, aggression[k], 80, "")});
        for (int k = 0; k < 3; ++k)
            s.definition({"Barrel" + std::to_string(k), 0x23, thingData(weight[k], 1)});
        s.endDefinitions();
        fs::create_directories(folder());
        writeBytes(folder() / "scene2.bin", s.finish());
        CacheBuilder c;
        c.object("house1.i3d", {40, 5, 0}, {0, 1, 0, 0}, {2, 2, 2});
        c.object("house2.i3d", {50, 5, 0}, {0, 1, 0, 0}, {3, 3, 3});
        writeBytes(folder() / "cache.bin", c.finish());
        for (const MissionFile file : {MissionFile::Scene, MissionFile::Cache})
            EXPECT_TRUE(mission.open(file, folder() / missionFileName(file), prompter));
    }
    fs::path folder() const { return dir.path() / "m"; }
    std::vector<std::uint8_t> bytes(MissionFile file) const { return readWholeFile(folder() / missionFileName(file)); }

    TempFolder dir;
    Mission mission;
    ScriptedPrompter prompter;
};

std::vector<FieldItem> sceneRows(std::uint32_t first, std::uint32_t count = 3)
{
    std::vector<FieldItem> items;
    for (std::uint32_t k = 0; k < count; ++k)
        items.push_back({MissionFile::Scene, first + k});
    return items;
}
const std::vector<FieldItem> Lamps = sceneRows(0), Guards = sceneRows(3), Barrels = sceneRows(6), Radios = sceneRows(9);
const std::vector<FieldItem> AcrossFiles = {{MissionFile::Scene, 0}, {MissionFile::Scene, 3}, {MissionFile::Cache, 0}, {MissionFile::Cache, 1}};

// The box of the inspector's form that holds a field.
std::string* boxOf(SceneValueForm& f, Field field)
{
    switch (field) {
    case Field::TranslationX: return &f.translationX;
    case Field::TranslationY: return &f.translationY;
    case Field::TranslationZ: return &f.translationZ;
    case Field::SizeX: return &f.sizeX;
    case Field::SizeY: return &f.sizeY;
    case Field::SizeZ: return &f.sizeZ;
    case Field::LightRed: return &f.red;
    case Field::LightGreen: return &f.green;
    case Field::LightBlue: return &f.blue;
    case Field::LightBrightness: return &f.brightness;
    case Field::LightCone: return &f.distance2;
    case Field::LightRange1: return &f.range1;
    case Field::LightRange2: return &f.range2;
    case Field::SoundKind: return &f.soundKind;
    case Field::SoundVolume: return &f.volume;
    case Field::SoundField3: return &f.soundField3;
    case Field::SoundField4: return &f.soundField4;
    case Field::SoundField5: return &f.soundField5;
    case Field::SoundDistance: return &f.soundDistance;
    case Field::HumanAggression: return &f.aggression;
    case Field::HumanWeight: return &f.humanWeight;
    case Field::ThingWeight: return &f.thingWeight;
    default: return nullptr;
    }
}

// What the editor wrote for one object alone before this command: the inspector's save of that
// one box, or, for a heading, a turn in the views to it.
void saveAlone(Mission& mission, FieldItem item, Field field, const std::string& text, Prompter& prompter)
{
    if (field == Field::Heading) {
        const Vec3 at = item.file == MissionFile::Scene ? mission.sceneCatalogue().translation(item.row)
                                                        : mission.cache().records[item.row].position;
        const NewPlace place{item.file, item.row, at, firstSliderComponentsAt(*parseNumber(text))};
        ASSERT_TRUE(writePlaces(mission, {place}, "turn", prompter).done());
        return;
    }
    SceneEntry e;
    if (item.file == MissionFile::Scene) {
        e = mission.sceneCatalogue().entry(item.row);
    } else {
        const CacheRecord& r = mission.cache().records[item.row];
        e.translation = r.position, e.size = r.size, e.rotation = r.rotation;
    }
    SceneValueForm form = formShowing(e);
    if (field == Field::HumanBehaviour || field == Field::ThingSound)
        (field == Field::HumanBehaviour ? form.behaviour : form.thingSound) = std::stoi(text);
    else
        *boxOf(form, field) = text;
    if (item.file == MissionFile::Cache)
        ASSERT_TRUE(saveCacheValues(form, mission, item.row, prompter).done());
    else
        ASSERT_TRUE(saveSceneValues(form, e, mission, prompter).value.all);
}

struct Case {
    const char* what;
    Field field;
    std::vector<FieldItem> items;
    const char* input;
    std::vector<std::string> values; // each object's value after the edit ("" unchanged); none: refused
    Said refusal{};
};

const Case Cases[] = {
    {"brightness raised", Field::LightBrightness, Lamps, "+1", {"2", "3", "5.5"}},
    {"brightness doubled past 5", Field::LightBrightness, Lamps, "*2", {}, {"message", "Value 0 ... 5", "Light brightness: Lamp2"}},
    {"a colour channel set", Field::LightGreen, Lamps, "255", {"255", "255", "255"}},
    {"the cone lowered", Field::LightCone, Lamps, "-0.5", {"3.5", "3.5", "3.5"}},
    {"a negative value set", Field::LightRange2, Lamps, "=-3", {"-3", "-3", "-3"}},
    {"only the lamp has a brightness", Field::LightBrightness, {{MissionFile::Scene, 0}, {MissionFile::Scene, 3}}, "0", {"0", ""}},
    {"aggression raised", Field::HumanAggression, Guards, "+0.25", {"0.75", "0.5", "1"}},
    {"aggression doubled past 1", Field::HumanAggression, Guards, "*2", {}, {"message", "Value 0 ... 1", "Agression: Guard2"}},
    {"a behaviour chosen", Field::HumanBehaviour, Guards, "16", {"16", "16", "16"}},
    {"a behaviour not in the list", Field::HumanBehaviour, Guards, "3", {}, {"message", "Not one of the list", "Behaviour: Guard0"}},
    {"a thing's weight scaled", Field::ThingWeight, Barrels, "*1.5", {"39", "15", "3"}},
    {"a thing's sound chosen", Field::ThingSound, Barrels, "8", {"8", "8", "8"}},
    {"a sound's kind", Field::SoundKind, Radios, "3", {"3", "3", "3"}},
    {"a sound's volume lowered", Field::SoundVolume, Radios, "-0.25", {"0.75", "0.25", "0"}},
    {"a sound's kind beyond 32 bits", Field::SoundKind, Radios, "*3e9", {}, {"message", "Put numeric", "Sound kind: Radio0"}},
    {"lifted across both files", Field::TranslationY, AcrossFiles, "+2", {"2", "2", "7", "7"}},
    {"a size that is no number", Field::SizeX, AcrossFiles, "abc", {}, {"message", "Put numeric", "Size: Lamp0"}},
    {"a relative size that is no number", Field::SizeX, AcrossFiles, "*x", {}, {"message", "Put numeric", "Size: Lamp0"}},
    {"an empty translation", Field::TranslationX, AcrossFiles, "", {}, {"message", "Fill all fields", "Lamp0"}},
    {"a size beyond a float", Field::SizeZ, AcrossFiles, "*2e38", {}, {"message", "Put numeric", "Size: house1.i3d"}},
    {"a heading set", Field::Heading, AcrossFiles, "45", {"45", "45", "45", "45"}},
    {"a heading turned", Field::Heading, AcrossFiles, "+100", {"100", "100", "100", "100"}},
    {"a heading turned from 30", Field::Heading, Barrels, "+15", {"45", "45", "45"}},
    {"a heading beyond the numbers", Field::Heading, Barrels, "1e308", {}, {"message", "Put numeric", "Heading: Barrel0"}},
    {"a range scaled", Field::LightRange1, Lamps, "*2", {"2", "2", "2"}},
    {"a colour lowered", Field::LightRed, Lamps, "-27.5", {"100", "100", "100"}},
    {"a human's weight", Field::HumanWeight, Guards, "-5", {"75", "75", "75"}},
    {"a sound's fourth field", Field::SoundField4, Radios, "+1", {"3", "3", "3"}},
    {"a sound's distance", Field::SoundDistance, Radios, "=50", {"50", "50", "50"}},
    {"a sound without its kind keeps its values", Field::SoundVolume, {{MissionFile::Scene, 9}, {MissionFile::Scene, 12}}, "0.5", {"0.5", ""}},
    {"a lamp without ranges", Field::LightRange2, {{MissionFile::Scene, 0}, {MissionFile::Scene, 13}}, "7", {"7", ""}},
};

} // namespace

// Each edit writes, into each object, the bytes the inspector (or, for a heading, a turn) writes
// for that object's new value alone; a refused edit writes nothing anywhere and records no step.
TEST(FieldEdit, WritesWhatTheInspectorWritesForEachObject)
{
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.what);
        World edited, alone;
        const auto scene = edited.bytes(MissionFile::Scene), cache = edited.bytes(MissionFile::Cache);
        const auto result = setField(edited.mission, c.items, c.field, c.input, edited.prompter);
        if (c.values.empty()) {
            EXPECT_FALSE(result.done());
            EXPECT_EQ(edited.prompter.said, std::vector<Said>{c.refusal});
            EXPECT_EQ(edited.bytes(MissionFile::Scene), scene);
            EXPECT_EQ(edited.bytes(MissionFile::Cache), cache);
            EXPECT_EQ(edited.mission.history().undoCount(), 0u);
            continue;
        }
        ASSERT_TRUE(result.done());
        EXPECT_TRUE(edited.prompter.said.empty());
        for (std::size_t k = 0; k < c.items.size(); ++k) {
            if (c.values[k].empty())
                continue;
            saveAlone(alone.mission, c.items[k], c.field, c.values[k], alone.prompter);
            EXPECT_EQ(fieldText(c.field, *fieldValue(edited.mission, c.items[k], c.field)), c.values[k]);
        }
        EXPECT_EQ(edited.bytes(MissionFile::Scene), alone.bytes(MissionFile::Scene));
        EXPECT_EQ(edited.bytes(MissionFile::Cache), alone.bytes(MissionFile::Cache));

        // One step, undone byte for byte.
        EXPECT_EQ(edited.mission.history().undoCount(), 1u);
        ASSERT_TRUE(edited.mission.undo(edited.prompter));
        EXPECT_EQ(edited.bytes(MissionFile::Scene), scene);
        EXPECT_EQ(edited.bytes(MissionFile::Cache), cache);
    }
}

// Several fields are one step, checked before anything is written.
TEST(FieldEdit, SeveralFieldsAreOneStepOrNothing)
{
    World w;
    const auto scene = w.bytes(MissionFile::Scene), cache = w.bytes(MissionFile::Cache);
    const FieldText refused[] = {{Field::TranslationY, "+1"}, {Field::SizeX, "abc"}};
    EXPECT_FALSE(setFields(w.mission, AcrossFiles, refused, w.prompter).done());
    EXPECT_EQ(w.bytes(MissionFile::Scene), scene);
    EXPECT_EQ(w.bytes(MissionFile::Cache), cache);
    const FieldText both[] = {{Field::TranslationY, "+1"}, {Field::SizeX, "2"}};
    EXPECT_EQ(setFields(w.mission, AcrossFiles, both, w.prompter).value.items, 4u);
    EXPECT_EQ(w.mission.history().nextUndo()->name, "Set 2 fields of 4 objects");
    EXPECT_EQ(*fieldValue(w.mission, AcrossFiles[3], Field::TranslationY), 6);
    EXPECT_EQ(*fieldValue(w.mission, AcrossFiles[3], Field::SizeX), 2);
    ASSERT_TRUE(w.mission.undo(w.prompter));
    EXPECT_EQ(w.bytes(MissionFile::Scene), scene);
    EXPECT_EQ(w.bytes(MissionFile::Cache), cache);
}

TEST(FieldEdit, SummarisesTheFieldsEveryObjectHas)
{
    World w;
    const auto captions = [&](const std::vector<FieldItem>& items) {
        std::vector<std::string> out;
        for (const FieldSummary& s : summariseFields(w.mission, items))
            out.push_back(std::string(infoOf(s.field).caption) + (s.mixed() ? " " + mixedText(s) : "=" + fieldText(s.field, s.low)));
        return out;
    };
    using Texts = std::vector<std::string>;
    const Texts lamps = {"Translation X (mixed: 0 … 2)", "Translation Y=0", "Translation Z=0", "Size X=1", "Size Y=1", "Size Z=1",
                         "Heading=0", "Red=127.5", "Green=63.75", "Blue=255", "Brightness (mixed: 1 … 4.5)", "Cone=4", "Range 1=1",
                         "Range 2=2"};
    EXPECT_EQ(captions(Lamps), lamps);
    const Texts guards = {"Behaviour=8", "Aggression (mixed: 0.25 … 0.75)", "Weight=80"};
    const Texts guardFields = captions(Guards);
    EXPECT_EQ(Texts(guardFields.begin() + 7, guardFields.end()), guards);
    // Two kinds, or a cached object among them: the transform only.
    Texts transform(lamps.begin(), lamps.begin() + 7);
    transform[0] = "Translation X (mixed: 0 … 10)";
    EXPECT_EQ(captions({{MissionFile::Scene, 0}, {MissionFile::Scene, 3}}), transform);
    EXPECT_EQ(captions({{MissionFile::Scene, 0}, {MissionFile::Cache, 0}})[0], "Translation X (mixed: 0 … 40)");
    EXPECT_EQ(captions({{MissionFile::Scene, 0}, {MissionFile::Cache, 0}}).size(), 7u);
    EXPECT_EQ(mixedText({Field::ThingSound, 1, 8}), "(mixed: several)");
}

// The cache changed on disk after the scene was written: the edit is stale, and neither file keeps
// anything of it.
TEST(FieldEdit, AFileChangedOnDiskIsNotWrittenNorTheOther)
{
    World w;
    const auto scene = w.bytes(MissionFile::Scene);
    auto cache = w.bytes(MissionFile::Cache);
    cache.push_back(7);
    writeBytes(w.folder() / "cache.bin", cache);
    EXPECT_EQ(setField(w.mission, AcrossFiles, Field::TranslationY, "3", w.prompter).ended, Ended::Stale);
    EXPECT_EQ(w.bytes(MissionFile::Scene), scene);
    EXPECT_EQ(w.bytes(MissionFile::Cache), cache);
    EXPECT_EQ(w.mission.history().undoCount(), 0u);
}
