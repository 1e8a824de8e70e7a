#pragma once
// How the inspector reads the box of each field, and what it says when it refuses a value. The
// inspector, the Selection dock and scripts all read boxes by these rules, so the three accept the
// same values and write the same bytes.

#include <cstdint>
#include <optional>
#include <string_view>

#include "commands/editing/SelectionFields.h"

namespace mw {

class Prompter;

inline constexpr const char* PutNumeric = "Put numeric";

// How a field's box is read, and the texts of its refusals.
struct FieldRule {
    enum class Parse : std::uint8_t { Float32, Number, Int32, Code };
    Parse parse;
    const char* title; // of "Put numeric"
    const char* rangeText = nullptr;
    const char* rangeTitle = nullptr;
    float low = 0, high = 0;
    bool highOpen = false;
};
FieldRule ruleOf(Field field);

// The words a field's slot takes: a float's bits or an integer; a heading's two components.
struct Words {
    std::uint32_t first = 0, second = 0;
};

class FieldCheck {
public:
    FieldCheck(Field field, Prompter& prompter) : m_field(field), m_rule(ruleOf(field)), m_prompter(prompter) {}

    // The words for a value's text, or nothing once the refusal is told. The refusal's title
    // names `item` after the inspector's title, when there is one.
    std::optional<Words> words(std::string_view text, std::string_view item = {}) const;
    std::optional<Words> notNumeric(std::string_view item) const;

private:
    std::optional<Words> float32(std::string_view text, std::string_view item) const;
    std::optional<Words> refuse(const char* text, std::string_view title, std::string_view item) const;

    Field m_field;
    FieldRule m_rule;
    Prompter& m_prompter;
};

// An inspector's box read as `field` reads it: its value, or nothing once the refusal is told.
std::optional<float> readFloatBox(Field field, std::string_view text, Prompter& prompter);
std::optional<std::int32_t> readIntegerBox(Field field, std::string_view text, Prompter& prompter);

} // namespace mw
