#pragma once
// A catalogue as a table, written as CSV (RFC 4180: fields with a comma, quote or line break
// quoted, quotes doubled, lines ended by CR LF) or as a JSON array of objects. A cell of several
// numbers (a position, a rotation) is one array in JSON and one column per number in CSV.

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

namespace mw::tool {

struct Column {
    std::string name;
    std::vector<std::string> parts; // CSV column suffixes of a cell of several numbers
};

// Nothing: an empty cell (null in JSON). Texts are UTF-8.
using Cell = std::variant<std::monostate, std::string, std::int64_t, bool, std::vector<float>>;

struct Table {
    std::vector<Column> columns;
    std::vector<std::vector<Cell>> rows;
};

void writeCsv(std::ostream& out, const Table& table);
void writeJson(std::ostream& out, const Table& table);

} // namespace mw::tool
