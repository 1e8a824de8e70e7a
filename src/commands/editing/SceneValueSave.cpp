#include "commands/editing/SceneValueSave.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "commands/editing/FieldRules.h"
#include "commands/editing/PatchList.h"
#include "commands/editing/Rotation.h"
#include "foundation/bytes/ByteWriter.h"
#include "foundation/seams/Prompter.h"
#include "foundation/text/NumericText.h"
#include "mission/Mission.h"

namespace mw {

namespace {

class SceneSave {
public:
    SceneSave(const SceneValueForm& form, SceneEntry& entry, Mission& mission, Prompter& prompter)
        : m_form(form), m_entry(entry), m_mission(mission), m_prompter(prompter)
    {
    }

    Result<ValuesSaved> run()
    {
        const Outcome transform = saveTransform();
        if (!transform.done())
            return transform;
        switch (m_entry.typeCode) {
        case typecode::Light:
            return {transform, {saveLight()}};
        case typecode::Human:
            return {transform, {saveHuman()}};
        case typecode::PhysicalThing:
            return {transform, {saveThing()}};
        case typecode::Sound:
            return {transform, {saveSound()}};
        default:
            return {transform, {true}};
        }
    }

private:
    // A box read as its field reads it: its value, or nothing once the refusal is told.
    std::optional<float> number(const std::string& text, Field field) { return readFloatBox(field, text, m_prompter); }

    WriteOutcome write(const PatchList& list)
    {
        const std::vector<std::uint32_t> rows = rowOfEntry();
        return m_mission.patch(MissionFile::Scene, list.patches(), m_prompter, nullptr, rows);
    }

    // The entry's row in the catalogue: objects stand in file order.
    std::vector<std::uint32_t> rowOfEntry() const
    {
        const SceneCatalogue& c = m_mission.sceneCatalogue();
        std::uint32_t low = 0, high = c.FirstScriptIndex;
        while (low < high) {
            const std::uint32_t mid = low + (high - low) / 2;
            if (c.records[mid].ObjectChunkOffset < m_entry.ObjectChunkOffset)
                low = mid + 1;
            else
                high = mid;
        }
        if (low < c.FirstScriptIndex && c.records[low].ObjectChunkOffset == m_entry.ObjectChunkOffset)
            return {low};
        return {};
    }

    Outcome saveTransform()
    {
        const auto checked = checkTransform(m_form, MissionFile::Scene, m_prompter);
        if (!checked)
            return Outcome::refused();
        const auto& t = checked->translation;
        const auto& s = checked->size;
        std::array<float, 4> q = m_form.rotation;
        q[1] = q2FromVerticalAngle(checked->verticalAngle);
        PatchList list;
        list.floats(m_entry.TranslationOffset, {t[0], t[1], t[2]});
        list.floats(m_entry.RotationOffset, {q[0], q[1], q[2], q[3]});
        list.floats(m_entry.SizeOffset, {s[0], s[1], s[2]});
        if (const Outcome written = Outcome::of(write(list), MissionFile::Scene); !written.done())
            return written;
        if (m_entry.TranslationOffset)
            m_entry.translation = {t[0], t[1], t[2]};
        if (m_entry.RotationOffset)
            m_entry.rotation = q;
        if (m_entry.SizeOffset)
            m_entry.size = {s[0], s[1], s[2]};
        return Outcome::doneWith();
    }

    bool saveLight()
    {
        const SceneValueForm& f = m_form;
        const auto distance = number(f.distance2, Field::LightCone);
        if (!distance)
            return false;
        const auto range1 = number(f.range1, Field::LightRange1);
        if (!range1)
            return false;
        const auto range2 = number(f.range2, Field::LightRange2);
        if (!range2)
            return false;
        const auto brightness = number(f.brightness, Field::LightBrightness);
        if (!brightness)
            return false;
        std::array<float, 3> colour{};
        const std::pair<const std::string*, Field> boxes[] = {
            {&f.red, Field::LightRed}, {&f.green, Field::LightGreen}, {&f.blue, Field::LightBlue}};
        for (int i = 0; i < 3; ++i) {
            const auto v = number(*boxes[i].first, boxes[i].second);
            if (!v)
                return false;
            colour[i] = *v;
        }

        PatchList list;
        list.floats(m_entry.LightColourOffset, {colour[0], colour[1], colour[2]});
        list.floats(m_entry.LightPowerOffset, {*brightness});
        list.floats(m_entry.LightDistanceOffset ? m_entry.LightDistanceOffset + 4 : 0, {*distance});
        list.floats(m_entry.LightRangeOffset, {*range1, *range2});
        if (write(list) != WriteOutcome::Done)
            return false;
        if (m_entry.LightColourOffset)
            m_entry.lightColour = colour;
        if (m_entry.LightPowerOffset)
            m_entry.lightPower = *brightness;
        if (m_entry.LightDistanceOffset)
            m_entry.lightDistance[1] = *distance;
        if (m_entry.LightRangeOffset)
            m_entry.lightRange = {*range1, *range2};
        return true;
    }

    bool saveHuman()
    {
        const SceneValueForm& f = m_form;
        const auto aggression = number(f.aggression, Field::HumanAggression);
        if (!aggression)
            return false;
        const auto weight = number(f.humanWeight, Field::HumanWeight);
        if (!weight)
            return false;
        if (!parseNumber(f.sex)) {
            m_prompter.message(PutNumeric, "Sex");
            return false;
        }
        const auto sex = parseInteger(f.sex, 0, 255);
        if (!sex) {
            m_prompter.message("Value 0 ... 255", "Sex");
            return false;
        }

        PatchList list;
        const std::uint32_t behaviourAt = m_entry.HumanBehaviourOffset;
        list.u8(behaviourAt ? behaviourAt + 4 : 0, static_cast<std::uint8_t>(*sex));
        if (f.behaviour)
            list.u8(behaviourAt, static_cast<std::uint8_t>(*f.behaviour));
        list.floats(m_entry.AggressionOffset, {*aggression});
        list.floats(m_entry.WeightOffset, {*weight});
        if (write(list) != WriteOutcome::Done)
            return false;
        if (behaviourAt) {
            m_entry.sex = static_cast<std::uint8_t>(*sex);
            if (f.behaviour)
                m_entry.behaviour = static_cast<std::uint8_t>(*f.behaviour);
        }
        if (m_entry.AggressionOffset)
            m_entry.aggression = *aggression;
        if (m_entry.WeightOffset)
            m_entry.weight = *weight;
        return true;
    }

    bool saveThing()
    {
        const auto weight = number(m_form.thingWeight, Field::ThingWeight);
        if (!weight)
            return false;
        // With no sound chosen, the first entry ("Lath 1", item data 0) is taken.
        const int sound = m_form.thingSound.value_or(0);
        PatchList list;
        list.floats(m_entry.WeightOffset, {*weight});
        list.u32(m_entry.ThingSoundOffset, static_cast<std::uint32_t>(sound));
        if (write(list) != WriteOutcome::Done)
            return false;
        if (m_entry.WeightOffset)
            m_entry.weight = *weight;
        if (m_entry.ThingSoundOffset)
            m_entry.thingSound = static_cast<std::uint8_t>(sound);
        return true;
    }

    bool saveSound()
    {
        const SceneValueForm& f = m_form;
        const auto volume = number(f.volume, Field::SoundVolume);
        if (!volume)
            return false;
        const auto distance = number(f.soundDistance, Field::SoundDistance);
        if (!distance)
            return false;
        const auto kind = readIntegerBox(Field::SoundKind, f.soundKind, m_prompter);
        if (!kind)
            return false;
        const auto field3 = number(f.soundField3, Field::SoundField3);
        if (!field3)
            return false;
        const auto field4 = number(f.soundField4, Field::SoundField4);
        if (!field4)
            return false;
        const auto field5 = number(f.soundField5, Field::SoundField5);
        if (!field5)
            return false;

        PatchList list;
        if (m_entry.SoundFieldOffset[1] != 0) {
            const auto& at = m_entry.SoundFieldOffset;
            list.u32(at[1], static_cast<std::uint32_t>(static_cast<std::int32_t>(*kind)));
            list.floats(at[2], {*volume});
            list.floats(at[3], {*field3});
            list.floats(at[4], {*field4});
            list.floats(at[5], {*field5});
            list.floats(at[6], {*distance});
        }
        if (write(list) != WriteOutcome::Done)
            return false;
        if (m_entry.SoundFieldOffset[1] != 0) {
            m_entry.soundKind = static_cast<std::int32_t>(*kind);
            const float values[] = {0, 0, *volume, *field3, *field4, *field5, *distance};
            for (int i = 2; i <= 6; ++i)
                if (m_entry.SoundFieldOffset[i])
                    m_entry.soundField[i] = values[i];
        }
        return true;
    }

    const SceneValueForm& m_form;
    SceneEntry& m_entry;
    Mission& m_mission;
    Prompter& m_prompter;
};

} // namespace

Result<ValuesSaved> saveSceneValues(const SceneValueForm& form, SceneEntry& entry, Mission& mission, Prompter& prompter)
{
    Mission::Step step(mission, "Save values of " + entry.name, prompter);
    const Result<ValuesSaved> result = SceneSave(form, entry, mission, prompter).run();
    // A check that fails after the transform was written leaves the transform saved.
    if (!step.failed())
        step.commit();
    return result;
}

} // namespace mw
