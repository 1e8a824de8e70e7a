#include "commands/editing/FieldEdit.h"

#include <algorithm>
#include <bit>
#include <string>
#include <vector>

#include "commands/editing/Deletion.h"
#include "commands/editing/FieldRules.h"
#include "commands/editing/PatchList.h"
#include "foundation/seams/Prompter.h"
#include "foundation/text/NumericText.h"
#include "mission/EntryStates.h"
#include "mission/Mission.h"

namespace mw {

namespace {

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
        const auto words = check.words(input.operand, entryName(mission, writes.front().item.file, writes.front().item.row));
        if (!words)
            return std::nullopt;
        for (ItemWrite& w : writes)
            w.words = *words;
        return writes;
    }
    const auto operand = parseNumber(input.operand);
    for (ItemWrite& w : writes) {
        const std::string name = entryName(mission, w.item.file, w.item.row);
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

std::string fieldsCaption(std::span<const FieldText> edits)
{
    return edits.size() == 1 ? std::string(infoOf(edits.front().field).caption) : std::to_string(edits.size()) + " fields";
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
    return runStep(mission, "Set " + fieldsCaption(edits) + " of " + objectCount(objects), prompter, [&]() -> Result<FieldsSet> {
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
