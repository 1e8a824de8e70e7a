#include "commands/insertion/InsertEngine.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "commands/editing/Rotation.h"
#include "commands/editing/SceneRewrite.h"
#include "formats/scene/ObjectRecord.h"
#include "formats/scene/SceneChunks.h"
#include "formats/templates/BuiltinResources.h"
#include "foundation/bytes/ByteReader.h"
#include "foundation/bytes/ByteWriter.h"
#include "foundation/seams/Prompter.h"
#include "foundation/text/Latin1Text.h"
#include "foundation/text/NumericText.h"
#include "mission/Mission.h"

namespace mw {

namespace {

constexpr const char* PutNumeric = "Put numeric";

const std::uint8_t LightStyle5Extent[] = {0xc0, 0x99, 0xdd, 0xc4, 0x7e, 0xa5, 0xb4, 0x3f, 0x3f, 0x30, 0x05, 0x43};
const std::uint8_t LightStyle4Extent[] = {0x80, 0x60, 0xc2, 0xbf, 0x5e, 0x4b, 0x90, 0x3f, 0xc5, 0x20, 0xec, 0x3f};
const std::uint8_t BuildingExtent[] = {0x14, 0x20, 0xde, 0xc4, 0x9a, 0xfa, 0x9a, 0xc0, 0x3a, 0xb3, 0x0c, 0x41};
const std::uint8_t LightStyle4Rotation[] = {0xc5, 0xc5, 0x33, 0x3f, 0x70, 0x31, 0x36, 0xbf,
                                            0x2a, 0xbc, 0x98, 0x3c, 0xc4, 0x27, 0x5a, 0xbb};
const std::uint8_t ScriptObjectBody[] = {0x22, 0xAE, 0x0A, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x24, 0xAE, 0x1E, 0x00,
                                         0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x0A, 0x00,
                                         0x00, 0x00, '/',  '/',  '/',  '/',  '/',  '/',  '/',  '/',  '/',  '/'};

float number(const std::string& text) { return parseFloat32(text).value_or(0.0f); }

// A colour field's value as a share of 255.
float channel(const std::string& text) { return static_cast<float>(parseNumber(text).value_or(0.0) / 255.0); }

std::string verticalAngleOf(const InsertForm& f) { return rotationFieldText(f.verticalAngle, "Text11"); }

bool hasDefinition(const InsertForm& f)
{
    return f.kind == "human" || f.kind == "car" || f.kind == "truck" || f.kind == "policecar" || f.kind == "things" ||
           f.kind == "door" || (f.kind == "other" && !f.noScript);
}

// The template's two chunks, as many bytes as they span; bytes stored beyond them are not used.
std::vector<std::uint8_t> templateBody(std::string_view name)
{
    auto bytes = loadBuiltinResource(name);
    const ByteReader r(bytes);
    const std::size_t copied = 10 + r.u32(12);
    bytes.resize(std::min(copied, bytes.size()));
    return bytes;
}

// The checks of the dialog's fields, in their order; true when all passed.
bool validate(const InsertForm& f, const SceneCatalogue& catalogue, Prompter& prompter)
{
    auto fail = [&](const char* text, const char* title) {
        prompter.message(text, title);
        return false;
    };
    auto numeric = [](const std::string& text) { return parseFloat32(text).has_value(); };
    const std::string* transform[] = {&f.translationX, &f.translationY, &f.translationZ,
                                      &f.sizeX,        &f.sizeY,        &f.sizeZ};
    if (f.name.empty())
        return fail("Put Name", "Name");
    if (std::any_of(std::begin(transform), std::end(transform), [](const std::string* t) { return t->empty(); }))
        return fail("Fill all fields", "");
    const bool modelKind = f.kind != "light" && f.kind != "other" && f.kind != "sound";
    if (modelKind && !containsIgnoringCase(f.model, ".i3d"))
        return fail("Modeltype: *.i3d", "");
    if (f.kind == "light") {
        if (!numeric(f.brightness))
            return fail(PutNumeric, "Light brightness");
        if (const float b = number(f.brightness); b >= 6 || b < 0)
            return fail("Value 0 ... 5", "Light brightness");
        if (!numeric(f.lightDistance))
            return fail(PutNumeric, "Distance");
    }
    if (f.kind == "things" && !numeric(f.thingWeight))
        return fail(PutNumeric, "Weight");
    if (f.kind == "human") {
        if (!numeric(f.aggression))
            return fail(PutNumeric, "Aggression");
        if (const float a = number(f.aggression); a < 0 || a > 1)
            return fail("Value 0 ... 1", "Agression");
        if (!numeric(f.humanWeight))
            return fail(PutNumeric, "Weight");
        if (!numeric(f.sex))
            return fail(PutNumeric, "Sex");
        // The sex code is one byte.
        if (!parseInteger(f.sex, 0, 255))
            return fail("Value 0 ... 255", "Sex");
    }
    for (int i = 0; i < 6; ++i)
        if (!numeric(*transform[i]))
            return fail(PutNumeric, i < 3 ? "Translation" : "Size");
    if (f.kind == "sound") {
        if (f.soundFile.empty())
            return fail("Select *.wav file", "Audio File");
        if (!numeric(f.volume))
            return fail(PutNumeric, "Volume");
        if (!numeric(f.soundDistance))
            return fail(PutNumeric, "Distance");
    }
    const auto angle = parseNumber(verticalAngleOf(f));
    if (!angle)
        return fail(PutNumeric, "Vert Rotation");
    if (*angle < -180 || *angle > 180)
        return fail("Value -180 ... 180", "Vert Rotation");
    for (std::size_t row = 0; row < catalogue.entryCount(); ++row)
        if (equalIgnoringCase(catalogue.name(row), f.name))
            return fail("Put another!", "Name already known");
    return true;
}

} // namespace

std::string rotationFieldText(const std::string& text, const char* designText)
{
    return text.empty() || text == designText ? std::string("0") : text;
}

std::vector<std::uint8_t> definitionBody(const InsertForm& f)
{
    if (f.kind == "other")
        return {std::begin(ScriptObjectBody), std::end(ScriptObjectBody)};
    if (f.kind == "human") {
        auto body = templateBody("Human3");
        putU8(body, 17, static_cast<std::uint8_t>(f.behaviour));
        putU8(body, 21, static_cast<std::uint8_t>(parseInteger(f.sex, 0, 255).value_or(0)));
        putF32(body, 57, number(f.aggression));
        putF32(body, 81, number(f.humanWeight));
        return body;
    }
    if (f.kind == "things") {
        auto body = templateBody("Thing1");
        putF32(body, 26, number(f.thingWeight));
        putU32(body, 38, static_cast<std::uint32_t>(f.thingSound));
        return body;
    }
    if (f.kind == "door")
        return templateBody(f.doorSound == 3 ? "Door3" : f.doorSound == 2 ? "Door2" : "Door1");
    if (f.kind == "car")
        return templateBody("Car1");
    if (f.kind == "truck")
        return templateBody("Car2");
    if (f.kind == "policecar")
        return templateBody("Car3");
    return {};
}

InsertRecords insertRecords(const InsertForm& f)
{
    const bool light = f.kind == "light", sound = f.kind == "sound", other = f.kind == "other";
    const bool building = f.kind == "building";
    ChunkWriter c;
    const auto object = c.open(chunk::Object);
    c.u32(chunk::ObjectType, light ? 2 : sound ? 4 : other ? 6 : 9);
    c.text(chunk::ObjectName, f.name);
    c.floats(chunk::Translation, {number(f.translationX), number(f.translationY), number(f.translationZ)});
    const auto rotation = c.out().size() + 6;
    const float q2 = q2FromVerticalAngle(parseNumber(verticalAngleOf(f)).value_or(0));
    c.floats(chunk::Rotation, {f.q1, q2, f.q3, f.q4});
    c.floats(chunk::Size, {number(f.sizeX), number(f.sizeY), number(f.sizeZ)});
    c.raw(0x002C, light ? std::span<const std::uint8_t>(f.lightStyle5 ? LightStyle5Extent : LightStyle4Extent)
                        : building ? std::span<const std::uint8_t>(BuildingExtent)
                                   : std::span<const std::uint8_t>(ModelObjectExtent));
    if (!building) {
        const auto link = c.open(chunk::Link);
        c.text(chunk::ObjectName, PrimarySector);
        c.close(link);
    }
    if (other)
        c.floats(0x4050, {-0.5f, -0.5f, -0.5f, 0.5f, 0.5f, 0.5f});
    if (!other && !light && !sound)
        c.text(chunk::Model, f.model);
    if (light) {
        const auto block = c.open(chunk::Light);
        c.u32(chunk::LightKind, 2);
        c.floats(chunk::LightColour, {channel(f.colour[0]), channel(f.colour[1]), channel(f.colour[2])});
        c.floats(chunk::LightPower, {number(f.brightness)});
        c.floats(chunk::LightRange, {0.34906584f, f.lightStyle5 ? 0.69813168f : 2.4434612f});
        c.floats(chunk::LightDistance, {1.0f, number(f.lightDistance)});
        c.u32(0x4045, 0x6B);
        c.text(0x4046, PrimarySector);
        c.close(block);
    }
    if (sound) {
        const auto block = c.open(chunk::Sound);
        c.text(chunk::SoundName, f.soundFile);
        c.u32(chunk::SoundKind, static_cast<std::uint32_t>(f.soundKind));
        c.floats(chunk::SoundVolume, {number(f.volume)});
        c.u32(0x4063, 0);
        c.floats(chunk::SoundPair34, {1.0471976f, 1.5707964f});
        c.floats(chunk::SoundPair56, {40.0f, number(f.soundDistance), 0.4f, 0.3f});
        c.raw(0x4066, {});
        c.raw(0x4067, {});
        const std::uint8_t b800[] = {0x06, 0x00, 0x80, 0x3f};
        c.raw(0xB800, b800);
        c.close(block);
    }
    c.close(object);
    InsertRecords records;
    records.object = c.out().take();
    if (light && !f.lightStyle5)
        std::copy(std::begin(LightStyle4Rotation), std::end(LightStyle4Rotation), records.object.begin() + rotation);

    if (hasDefinition(f)) {
        ChunkWriter d;
        const auto definition = d.open(chunk::Definition);
        d.text(chunk::DefinitionName, f.name);
        d.out().append(definitionBody(f));
        d.close(definition);
        records.definition = d.out().take();
    }
    return records;
}

Outcome insertObject(Mission& mission, const InsertForm& form, Prompter& prompter)
{
    const SceneCatalogue& catalogue = mission.sceneCatalogue();
    if (!validate(form, catalogue, prompter))
        return Outcome::refused();
    InsertRecords records = insertRecords(form);

    const auto splices = appendingSplices(mission.bytes(MissionFile::Scene), catalogue.ObjectsSizeOffset, catalogue.DefsPos,
                                          std::move(records.object), std::move(records.definition));
    if (!splices) {
        prompter.message(WouldDamageScene, "");
        return Outcome::refused();
    }

    const std::uint32_t newRow = catalogue.FirstScriptIndex;
    const Outcome outcome = runStep(mission, "Insert " + form.name, prompter, [&] {
        return Outcome::of(rewriteScene(mission, *splices, prompter), MissionFile::Scene);
    });
    if (!outcome.done())
        return outcome;
    return Outcome::doneWith(mission.reloadSceneAt(newRow, prompter));
}

} // namespace mw
