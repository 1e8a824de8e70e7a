#include "commands/editing/FieldRules.h"

#include <bit>
#include <cmath>
#include <iterator>
#include <limits>
#include <string>

#include "commands/editing/Rotation.h"
#include "formats/scene/ValueTables.h"
#include "foundation/seams/Prompter.h"
#include "foundation/text/NumericText.h"

namespace mw {

namespace {

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

} // namespace

FieldRule ruleOf(Field field)
{
    using P = FieldRule::Parse;
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

std::optional<Words> FieldCheck::words(std::string_view text, std::string_view item) const
{
    using P = FieldRule::Parse;
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

std::optional<Words> FieldCheck::notNumeric(std::string_view item) const { return refuse(PutNumeric, m_rule.title, item); }

std::optional<Words> FieldCheck::float32(std::string_view text, std::string_view item) const
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
std::optional<Words> FieldCheck::refuse(const char* text, std::string_view title, std::string_view item) const
{
    std::string titled(title);
    if (!item.empty())
        titled += titled.empty() ? std::string(item) : ": " + std::string(item);
    m_prompter.message(text, titled);
    return std::nullopt;
}

std::optional<float> readFloatBox(Field field, std::string_view text, Prompter& prompter)
{
    const auto words = FieldCheck(field, prompter).words(text);
    return words ? std::optional<float>(std::bit_cast<float>(words->first)) : std::nullopt;
}

std::optional<std::int32_t> readIntegerBox(Field field, std::string_view text, Prompter& prompter)
{
    const auto words = FieldCheck(field, prompter).words(text);
    return words ? std::optional<std::int32_t>(static_cast<std::int32_t>(words->first)) : std::nullopt;
}

} // namespace mw
