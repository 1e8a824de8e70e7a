#pragma once
// The cache, the model file and the collision file as lists: what the window's list and inspector
// page show of each row, the columns mwtool lists, and the save of a row's values. One interface,
// one implementation per file, each over its reader's result, so the window and mwtool read the
// three files alike.

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "commands/Outcome.h"
#include "commands/editing/TransformCheck.h"
#include "foundation/geometry/Vec3.h"

namespace mw {

class Prompter;

// What the inspector page shows of a row.
struct ListValues {
    std::string name; // the name box, bytes as stored
    Vec3 position;
    Vec3 size;
    std::array<float, 4> rotation{1, 0, 0, 0};
    int material = 0; // a collision body's surface
};

// A text (bytes as stored) or a number of a table's detail column.
using ListDetail = std::variant<std::string, std::int64_t>;

class OtherList {
public:
    virtual ~OtherList() = default;

    virtual MissionFile file() const = 0;
    virtual std::size_t count() const = 0;
    // The row as the list shows it ("      lamp01.i3d", "Sign", "SCube-0").
    virtual std::string rowText(std::size_t row) const = 0;
    // The row's values; nothing for a row that has none (a base record of the cache).
    virtual std::optional<ListValues> values(std::size_t row) const = 0;
    // What a table lists beside the name and the values: the columns' names, and a row's texts.
    virtual std::vector<std::string> detailColumns() const = 0;
    virtual std::vector<ListDetail> details(std::size_t row) const = 0;
    // Whether the file holds a size for its rows (the model file's frames have none).
    virtual bool hasSize() const { return true; }
    // Writes the page's values into the row in place, as one undo step; `material` for a
    // collision body (nothing: keep it).
    virtual Outcome save(Mission& mission, std::size_t row, const TransformForm& form, std::optional<int> material,
                         Prompter& prompter) const = 0;
};

// The list of one of the mission's three other files, over what the mission has loaded of it (it
// follows the mission's reloads).
std::unique_ptr<OtherList> otherListOf(const Mission& mission, MissionFile file);
// The same over results read without a mission (mwtool).
std::unique_ptr<OtherList> otherListOf(const CacheLoadResult& cache);
std::unique_ptr<OtherList> otherListOf(const ModelLoadResult& model);
std::unique_ptr<OtherList> otherListOf(const CollisionLoadResult& tree);

} // namespace mw
