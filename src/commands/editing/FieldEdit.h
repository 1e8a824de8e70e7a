#pragma once
// One field written into many objects as one step of the history, all or nothing across scene2.bin
// and cache.bin. The typed value goes through the checks and conversions the inspector's save of
// that field uses, once per object; the first object that refuses names itself in the inspector's
// message and nothing is written. A heading is written as the first rotation slider writes it.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "commands/Outcome.h"
#include "commands/editing/SelectionFields.h"

namespace mw {

class Mission;
class Prompter;

// What a typed value does to each object's own value: "2.5" (or "=-3") sets it, "+2" and "-0.5"
// add to it, "*1.5" multiplies it. A field chosen from a list takes its code as it stands.
struct FieldInput {
    enum class Op : std::uint8_t { Set, Add, Multiply };
    Op op = Op::Set;
    std::string_view operand; // the number's text
};
FieldInput readFieldInput(std::string_view text, Field field);

struct FieldsSet {
    std::size_t items = 0; // the objects written (those that have a field set)
};

// Sets `field` of every one of `items` that has it, as the step "Set <caption> of N objects".
// Refused, with a message, when none has it or any refuses the value.
Result<FieldsSet> setField(Mission& mission, std::span<const FieldItem> items, Field field, std::string_view text,
                           Prompter& prompter);

// Several fields at once, as one step ("Set 3 fields of N objects"): every field is checked on
// every object before anything is written; the first refusal ends it with nothing written.
struct FieldText {
    Field field;
    std::string text;
};
// What several fields are called in the step and its report: the field's caption, or "3 fields".
std::string fieldsCaption(std::span<const FieldText> edits);
Result<FieldsSet> setFields(Mission& mission, std::span<const FieldItem> items, std::span<const FieldText> edits,
                            Prompter& prompter);

} // namespace mw
