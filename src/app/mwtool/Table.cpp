#include "app/mwtool/Table.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "foundation/text/NumericText.h"

namespace mw::tool {

namespace {

std::string csvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string numberText(float v)
{
    if (std::isnan(v))
        return "nan";
    if (std::isinf(v))
        return v > 0 ? "inf" : "-inf";
    return formatFloat(v);
}

// A float as the JSON number of its shortest decimal text (0.1f is written 0.1, not 0.100000001).
nlohmann::ordered_json jsonNumber(float v)
{
    if (!std::isfinite(v))
        return nullptr;
    return *parseNumber(formatFloat(v));
}

} // namespace

void writeCsv(std::ostream& out, const Table& table)
{
    std::vector<std::string> header;
    for (const Column& c : table.columns) {
        if (c.parts.empty())
            header.push_back(c.name);
        for (const std::string& part : c.parts)
            header.push_back(c.name + "_" + part);
    }
    const auto line = [&](const std::vector<std::string>& fields) {
        for (std::size_t i = 0; i < fields.size(); ++i)
            out << (i ? "," : "") << csvField(fields[i]);
        out << "\r\n";
    };
    line(header);
    for (const auto& row : table.rows) {
        std::vector<std::string> fields;
        for (std::size_t i = 0; i < table.columns.size(); ++i) {
            const Cell& cell = row[i];
            const std::size_t width = std::max<std::size_t>(1, table.columns[i].parts.size());
            if (const auto* numbers = std::get_if<std::vector<float>>(&cell)) {
                for (std::size_t k = 0; k < width; ++k)
                    fields.push_back(k < numbers->size() ? numberText((*numbers)[k]) : std::string());
                continue;
            }
            if (const auto* text = std::get_if<std::string>(&cell))
                fields.push_back(*text);
            else if (const auto* n = std::get_if<std::int64_t>(&cell))
                fields.push_back(std::to_string(*n));
            else if (const auto* b = std::get_if<bool>(&cell))
                fields.push_back(*b ? "true" : "false");
            else
                fields.emplace_back();
            fields.resize(fields.size() + width - 1);
        }
        line(fields);
    }
}

void writeJson(std::ostream& out, const Table& table)
{
    nlohmann::ordered_json rows = nlohmann::ordered_json::array();
    for (const auto& row : table.rows) {
        nlohmann::ordered_json object = nlohmann::ordered_json::object();
        for (std::size_t i = 0; i < table.columns.size(); ++i) {
            nlohmann::ordered_json& value = object[table.columns[i].name];
            std::visit(
                [&](const auto& cell) {
                    using T = std::decay_t<decltype(cell)>;
                    if constexpr (std::is_same_v<T, std::monostate>) {
                        value = nullptr;
                    } else if constexpr (std::is_same_v<T, std::vector<float>>) {
                        value = nlohmann::ordered_json::array();
                        for (const float v : cell)
                            value.push_back(jsonNumber(v));
                    } else {
                        value = cell;
                    }
                },
                row[i]);
        }
        rows.push_back(std::move(object));
    }
    out << rows.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
}

} // namespace mw::tool
