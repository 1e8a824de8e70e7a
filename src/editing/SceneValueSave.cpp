#include "editing/SceneValueSave.h"

#include <cstdint>
#include <limits>
#include <vector>

#include "editing/GuardedWrite.h"
#include "editing/NumericText.h"
#include "editing/Rotation.h"
#include "io/ByteWriter.h"
#include "workspace/Prompter.h"

namespace mw {

namespace {

constexpr const char* PutNumeric = "Put numeric";

// Collects the fields of one stage; offset 0 means the field is absent and is not written.
class PatchList {
public:
    void floats(std::uint32_t offset, std::initializer_list<float> values)
    {
        if (offset == 0)
            return;
        Patch p{offset, {}};
        for (float v : values) {
            const auto b = encodeF32(v);
            p.bytes.insert(p.bytes.end(), b.begin(), b.end());
        }
        m_patches.push_back(std::move(p));
    }
    void u32(std::uint32_t offset, std::uint32_t value)
    {
        if (offset == 0)
            return;
        const auto b = encodeU32(value);
        m_patches.push_back({offset, {b.begin(), b.end()}});
    }
    void u8(std::uint32_t offset, std::uint8_t value)
    {
        if (offset == 0)
            return;
        m_patches.push_back({offset, {value}});
    }
    const std::vector<Patch>& patches() const { return m_patches; }

private:
    std::vector<Patch> m_patches;
};

class SceneSave {
public:
    SceneSave(const SceneValueForm& form, SceneEntry& entry, const std::filesystem::path& scene,
              std::optional<FileStamp>& stamp, Prompter& prompter)
        : m_form(form), m_entry(entry), m_scene(scene), m_stamp(stamp), m_prompter(prompter)
    {
    }

    ValueSaveResult run()
    {
        const ValueSaveResult transform = saveTransform();
        if (transform != ValueSaveResult::Saved)
            return transform;
        switch (m_entry.typeCode) {
        case typecode::Light:
            return saveLight() ? ValueSaveResult::Saved : ValueSaveResult::TransformOnly;
        case typecode::Human:
            return saveHuman() ? ValueSaveResult::Saved : ValueSaveResult::TransformOnly;
        case typecode::PhysicalThing:
            return saveThing() ? ValueSaveResult::Saved : ValueSaveResult::TransformOnly;
        case typecode::Sound:
            return saveSound() ? ValueSaveResult::Saved : ValueSaveResult::TransformOnly;
        default:
            return ValueSaveResult::Saved;
        }
    }

private:
    // A 32-bit float from a box, or "Put numeric" with the box's title.
    std::optional<float> number(const std::string& text, const char* title)
    {
        const auto value = parseFloat32(text);
        if (!value)
            m_prompter.message(PutNumeric, title);
        return value;
    }

    // Writes one stage's patches if the file is still the one loaded.
    enum class Write { Done, Stale, Failed };
    Write write(const PatchList& list)
    {
        if (!unchangedSince(m_scene, m_stamp)) {
            m_prompter.message(changedOnDiskMessage("scene2.bin"), "");
            return Write::Stale;
        }
        try {
            patchAndRestamp(m_scene, list.patches(), m_stamp);
        } catch (const IoError& error) {
            m_prompter.message(error.what(), "");
            return Write::Failed;
        }
        return Write::Done;
    }

    ValueSaveResult saveTransform()
    {
        const SceneValueForm& f = m_form;
        if (f.translationX.empty() || f.translationY.empty() || f.translationZ.empty()) {
            m_prompter.message("Fill all fields", "");
            return ValueSaveResult::Refused;
        }
        std::optional<float> t[3], s[3];
        for (int i = 0; i < 3; ++i)
            if (!(t[i] = number(i == 0 ? f.translationX : i == 1 ? f.translationY : f.translationZ, "Translation")))
                return ValueSaveResult::Refused;
        for (int i = 0; i < 3; ++i)
            if (!(s[i] = number(i == 0 ? f.sizeX : i == 1 ? f.sizeY : f.sizeZ, "Size")))
                return ValueSaveResult::Refused;
        const auto angle = parseNumber(f.verticalAngle);
        if (!angle) {
            m_prompter.message(PutNumeric, "Vert Rotation");
            return ValueSaveResult::Refused;
        }
        if (*angle < -180.0 || *angle > 180.0) {
            m_prompter.message("Value -180 ... 180", "Vert Rotation");
            return ValueSaveResult::Refused;
        }

        std::array<float, 4> q = f.rotation;
        q[1] = q2FromVerticalAngle(*angle);
        PatchList list;
        list.floats(m_entry.TranslationOffset, {*t[0], *t[1], *t[2]});
        list.floats(m_entry.RotationOffset, {q[0], q[1], q[2], q[3]});
        list.floats(m_entry.SizeOffset, {*s[0], *s[1], *s[2]});
        switch (write(list)) {
        case Write::Stale:
            return ValueSaveResult::Stale;
        case Write::Failed:
            return ValueSaveResult::Refused;
        case Write::Done:
            break;
        }
        if (m_entry.TranslationOffset)
            m_entry.translation = {*t[0], *t[1], *t[2]};
        if (m_entry.RotationOffset)
            m_entry.rotation = q;
        if (m_entry.SizeOffset)
            m_entry.size = {*s[0], *s[1], *s[2]};
        return ValueSaveResult::Saved;
    }

    bool saveLight()
    {
        const SceneValueForm& f = m_form;
        const auto distance = number(f.distance2, "Light distance");
        if (!distance)
            return false;
        const auto range1 = number(f.range1, "Light");
        if (!range1)
            return false;
        const auto range2 = number(f.range2, "Light");
        if (!range2)
            return false;
        const auto brightness = number(f.brightness, "Light brightness");
        if (!brightness)
            return false;
        if (!(*brightness >= 0.0f && *brightness < 6.0f)) {
            m_prompter.message("Value 0 ... 5", "Light brightness");
            return false;
        }
        std::array<float, 3> colour{};
        const std::string* boxes[] = {&f.red, &f.green, &f.blue};
        for (int i = 0; i < 3; ++i) {
            const auto v = parseNumber(*boxes[i]);
            if (!v) {
                m_prompter.message(PutNumeric, "Light colour");
                return false;
            }
            colour[i] = static_cast<float>(*v / 255.0);
        }

        PatchList list;
        list.floats(m_entry.LightColourOffset, {colour[0], colour[1], colour[2]});
        list.floats(m_entry.LightPowerOffset, {*brightness});
        list.floats(m_entry.LightDistanceOffset ? m_entry.LightDistanceOffset + 4 : 0, {*distance});
        list.floats(m_entry.LightRangeOffset, {*range1, *range2});
        if (write(list) != Write::Done)
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
        const auto aggression = number(f.aggression, "Aggression");
        if (!aggression)
            return false;
        if (!(*aggression >= 0.0f && *aggression <= 1.0f)) {
            m_prompter.message("Value 0 ... 1", "Agression");
            return false;
        }
        const auto weight = number(f.humanWeight, "Weight");
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
        if (write(list) != Write::Done)
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
        const auto weight = number(m_form.thingWeight, "Weight");
        if (!weight)
            return false;
        // With no sound chosen, the first entry ("Lath 1", item data 0) is taken.
        const int sound = m_form.thingSound.value_or(0);
        PatchList list;
        list.floats(m_entry.WeightOffset, {*weight});
        list.u32(m_entry.ThingSoundOffset, static_cast<std::uint32_t>(sound));
        if (write(list) != Write::Done)
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
        const auto volume = number(f.volume, "Volume");
        if (!volume)
            return false;
        const auto distance = number(f.soundDistance, "Distance");
        if (!distance)
            return false;
        const auto kind = parseInteger(f.soundKind, std::numeric_limits<std::int32_t>::min(),
                                       std::numeric_limits<std::int32_t>::max());
        if (!kind) {
            m_prompter.message(PutNumeric, "Sound kind");
            return false;
        }
        const auto field3 = number(f.soundField3, "Sound");
        if (!field3)
            return false;
        const auto field4 = number(f.soundField4, "Sound");
        if (!field4)
            return false;
        const auto field5 = number(f.soundField5, "Sound");
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
        if (write(list) != Write::Done)
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
    const std::filesystem::path& m_scene;
    std::optional<FileStamp>& m_stamp;
    Prompter& m_prompter;
};

} // namespace

ValueSaveResult saveSceneValues(const SceneValueForm& form, SceneEntry& entry, const std::filesystem::path& scene,
                                std::optional<FileStamp>& stamp, Prompter& prompter)
{
    return SceneSave(form, entry, scene, stamp, prompter).run();
}

} // namespace mw
