#include "commands/editing/FieldEdit.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "commands/editing/Deletion.h"
#include "commands/editing/PatchList.h"
#include "commands/editing/Rotation.h"
#include "formats/scene/ValueTables.h"
#include "foundation/seams/Prompter.h"
#include "foundation/text/NumericText.h"
#include "mission/Mission.h"

namespace mw {

namespace {

constexpr const char* PutNumeric = "Put numeric";

// How the inspector reads a field's box, and what it says when it refuses.
struct Rule {
    enum class Parse : std::uint8_t { Float32, Number, Int32, Code };
    Parse parse;
    const char* title; // of "Put numeric"
    const char* rangeText = nullptr;
    const char* rangeTitle = nullptr;
    float low = 0, high = 0;
    bool highOpen = false;
};

Rule ruleOf(Field field)
{
    using P = Rule::Parse;
    switch (field) {
    case Field::TranslationX:
    case Field::TranslationY:
    case Field::TranslationZ: return {P::Float32, "Translation"};
    case Field::SizeX:
    case Field::SizeY:
    case Field::SizeZ: return {P::Float32, "Size"};
    case Field::Heading: return {P::Number, "Heading"};
    case Field::LightRed:
    case Field::LightGreen:
    case Field::LightBlue: return {P::Number, "Light colour"};
    case Field::LightBrightness: return {P::Float32, "Light brightness", "Value 0 ... 5", "Light brightness", 0, 6, true};
    case Field::LightCone: return {P::Float32, "Light distance"};
    case Field::LightRange1:
    case Field::LightRange2: return {P::Float32, "Light"};
    case Field::SoundKind: return {P::Int32, "Sound kind"};
    case Field::SoundVolume: return {P::Float32, "Volume"};
    case Field::SoundField3:
    case Field::SoundField4:
    case Field::SoundField5: return {P::Float32, "Sound"};
    case Field::SoundDistance: return {P::Float32, "Distance"};
    case Field::HumanBehaviour: return {P::Code, "Behaviour"};
    case Field::HumanAggression: return {P::Float32, "Aggression", "Value 0 ... 1", "Agression", 0, 1, false};
    case Field::HumanWeight:
    case Field::ThingWeight: return {P::Float32, "Weight"};
    case Field::ThingSound: return {P::Code, "Sound"};
    }
    return {P::Float32, ""};
}

bool isListed(Field field, std::int64_t code)
{
    if (field == Field::HumanBehaviour) {
        for (const CodedCaption& c : HumanBehaviours)
            if (c.code == code)
                return true;
        return false;
    }
    return code >= 0 && code < static_cast<std::int64_t>(std::size(ThingSounds));
}

// The words a field's slot takes: a float's bits or an integer; a heading's two components.
struct Words {
    std::uint32_t first = 0, second = 0;
};

class FieldCheck {
public:
    FieldCheck(Field field, Prompter& prompter) : m_field(field), m_rule(ruleOf(field)), m_prompter(prompter) {}

    // The words for a value's text, or nothing once the refusal, naming `item`, is told.
    std::optional<Words> words(std::string_view text, std::string_view item) const
    {
        using P = Rule::Parse;
        const bool translation = m_field <= Field::TranslationZ;
        if (translation && text.empty())
            return refuse("Fill all fields", "", item);
        switch (m_rule.parse) {
        case P::Float32: return float32(text, item);
        case P::Number: {
            const auto v = parseNumber(text);
            if (!v)
                return refuse(PutNumeric, m_rule.title, item);
            if (m_field == Field::Heading) {
                // To a ten-thousandth of a degree, as a turn in the views writes it.
                if (!std::isfinite(*v * 1e4))
                    return refuse(PutNumeric, m_rule.title, item);
                const auto q = firstSliderComponentsAt(std::round(*v * 1e4) / 1e4);
                return Words{std::bit_cast<std::uint32_t>(q[0]), std::bit_cast<std::uint32_t>(q[1])};
            }
            return Words{std::bit_cast<std::uint32_t>(static_cast<float>(*v / 255.0))};
        }
        case P::Int32: {
            const auto v = parseInteger(text, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
            if (!v)
                return refuse(PutNumeric, m_rule.title, item);
            return Words{static_cast<std::uint32_t>(static_cast<std::int32_t>(*v))};
        }
        case P::Code: {
            if (!parseNumber(text))
                return refuse(PutNumeric, m_rule.title, item);
            const auto v = parseInteger(text, 0, 255);
            if (!v || !isListed(m_field, *v))
                return refuse("Not one of the list", m_rule.title, item);
            return Words{static_cast<std::uint32_t>(*v)};
        }
        }
        return std::nullopt;
    }

    std::optional<Words> notNumeric(std::string_view item) const { return refuse(PutNumeric, m_rule.title, item); }

private:
    std::optional<Words> float32(std::string_view text, std::string_view item) const
    {
        const auto v = parseFloat32(text);
        if (!v)
            return refuse(PutNumeric, m_rule.title, item);
        if (m_rule.rangeText) {
            const bool below = !(*v >= m_rule.low);
            const bool above = m_rule.highOpen ? !(*v < m_rule.high) : !(*v <= m_rule.high);
            if (below || above)
                return refuse(m_rule.rangeText, m_rule.rangeTitle, item);
        }
        return Words{std::bit_cast<std::uint32_t>(*v)};
    }

    // The inspector's message, its title followed by the object that refused.
    std::optional<Words> refuse(const char* text, std::string_view title, std::string_view item) const
    {
        std::string titled(title);
        if (!item.empty())
            titled += titled.empty() ? std::string(item) : ": " + std::string(item);
        m_prompter.message(text, titled);
        return std::nullopt;
    }

    Field m_field;
    Rule m_rule;
    Prompter& m_prompter;
};

std::string nameOf(const Mission& mission, FieldItem item)
{
    if (item.file == MissionFile::Cache)
        return std::string(mission.cache().name(item.row));
    return std::string(mission.sceneCatalogue().name(item.row));
}

double applied(FieldInput::Op op, double own, double operand)
{
    switch (op) {
    case FieldInput::Op::Add: return own + operand;
    case FieldInput::Op::Multiply: return own * operand;
    case FieldInput::Op::Set: break;
    }
    return operand;
}

struct ItemWrite {
    FieldItem item;
    Field field;
    FieldSlot slot;
    Words words;
};

// Each object's words for one field, or nothing once one refused.
std::optional<std::vector<ItemWrite>> checkedWrites(const Mission& mission, std::span<const FieldItem> items, Field field,
                                                    std::string_view text, Prompter& prompter)
{
    std::vector<ItemWrite> writes;
    writes.reserve(items.size());
    for (const FieldItem& item : items)
        if (const auto slot = fieldSlot(mission, item, field))
            writes.push_back({item, field, *slot, {}});
    if (writes.empty()) {
        prompter.message("None of these objects has this field", infoOf(field).caption);
        return std::nullopt;
    }
    const FieldCheck check(field, prompter);
    const FieldInput input = readFieldInput(text, field);
    if (input.op == FieldInput::Op::Set) {
        const auto words = check.words(input.operand, nameOf(mission, writes.front().item));
        if (!words)
            return std::nullopt;
        for (ItemWrite& w : writes)
            w.words = *words;
        return writes;
    }
    const auto operand = parseNumber(input.operand);
    for (ItemWrite& w : writes) {
        const std::string name = nameOf(mission, w.item);
        if (!operand) {
            check.notNumeric(name);
            return std::nullopt;
        }
        const std::string own = formatDouble(applied(input.op, *fieldValue(mission, w.item, field), *operand));
        const auto words = check.words(own, name);
        if (!words)
            return std::nullopt;
        w.words = *words;
    }
    return writes;
}

void keepCacheValue(Mission& mission, const ItemWrite& w)
{
    CacheRecord r = mission.cache().records[w.item.row];
    const float value = std::bit_cast<float>(w.words.first);
    switch (w.field) {
    case Field::TranslationX: r.position.x = value; break;
    case Field::TranslationY: r.position.y = value; break;
    case Field::TranslationZ: r.position.z = value; break;
    case Field::SizeX: r.size.x = value; break;
    case Field::SizeY: r.size.y = value; break;
    case Field::SizeZ: r.size.z = value; break;
    case Field::Heading:
        r.rotation[0] = value;
        r.rotation[1] = std::bit_cast<float>(w.words.second);
        break;
    default: return;
    }
    mission.keepSavedCacheValues(w.item.row, r.position, r.rotation, r.size);
}

} // namespace

FieldInput readFieldInput(std::string_view text, Field field)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    if (infoOf(field).coded || text.empty())
        return {FieldInput::Op::Set, text};
    switch (text.front()) {
    case '=': return {FieldInput::Op::Set, text.substr(1)};
    case '*': return {FieldInput::Op::Multiply, text.substr(1)};
    case '+': return {FieldInput::Op::Add, text.substr(1)};
    case '-': return {FieldInput::Op::Add, text}; // the sign stays with the number
    default: return {FieldInput::Op::Set, text};
    }
}

Result<FieldsSet> setFields(Mission& mission, std::span<const FieldItem> items, std::span<const FieldText> edits,
                            Prompter& prompter)
{
    std::vector<ItemWrite> writes;
    for (const FieldText& edit : edits) {
        auto checked = checkedWrites(mission, items, edit.field, edit.text, prompter);
        if (!checked)
            return Outcome::refused();
        writes.insert(writes.end(), checked->begin(), checked->end());
    }
    PatchList scene, cache;
    std::vector<std::uint32_t> sceneRows, cacheRows;
    for (const ItemWrite& w : writes) {
        const bool inScene = w.item.file == MissionFile::Scene;
        PatchList& list = inScene ? scene : cache;
        (inScene ? sceneRows : cacheRows).push_back(w.item.row);
        if (w.slot.width == 1)
            list.u8(w.slot.at, static_cast<std::uint8_t>(w.words.first));
        else
            list.u32(w.slot.at, w.words.first);
        if (w.slot.second)
            list.u32(w.slot.second, w.words.second);
    }
    for (auto* rows : {&sceneRows, &cacheRows}) {
        std::sort(rows->begin(), rows->end());
        rows->erase(std::unique(rows->begin(), rows->end()), rows->end());
    }
    const std::size_t objects = sceneRows.size() + cacheRows.size();
    const std::string what = edits.size() == 1 ? std::string(infoOf(edits.front().field).caption)
                                               : std::to_string(edits.size()) + " fields";
    return runStep(mission, "Set " + what + " of " + objectCount(objects), prompter, [&]() -> Result<FieldsSet> {
        const struct {
            MissionFile file;
            const PatchList& list;
            const std::vector<std::uint32_t>& rows;
        } files[] = {{MissionFile::Scene, scene, sceneRows}, {MissionFile::Cache, cache, cacheRows}};
        for (const auto& f : files) {
            if (f.rows.empty())
                continue;
            const Outcome written = Outcome::of(mission.patch(f.file, f.list.patches(), prompter, nullptr, f.rows), f.file);
            if (!written.done())
                return written;
        }
        // The cache's reader keeps copies of the values: they show what was written.
        for (const ItemWrite& w : writes)
            if (w.item.file == MissionFile::Cache)
                keepCacheValue(mission, w);
        return {Outcome::doneWith(), {objects}};
    });
}

Result<FieldsSet> setField(Mission& mission, std::span<const FieldItem> items, Field field, std::string_view text,
                           Prompter& prompter)
{
    const FieldText edit{field, std::string(text)};
    return setFields(mission, items, {&edit, 1}, prompter);
}

} // namespace mw
