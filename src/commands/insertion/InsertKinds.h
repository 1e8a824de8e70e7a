#pragma once
// The ten kinds of object the "&Insert" menu offers: the menu caption, the kind's word, the insert
// dialog's heading, the model it proposes and the group of fields it shows.

#include <optional>
#include <span>
#include <string_view>

namespace mw {

enum class InsertGroup { None, Human, Things, Light, Door, Sound, Script };

struct InsertKind {
    std::string_view caption;      // menu item
    std::string_view kind;         // "human", "car", ...
    std::string_view heading;      // Label5 of the dialog
    std::string_view defaultModel; // empty for the kinds without a model
    InsertGroup group;
    bool hasModel() const { return !defaultModel.empty(); }
};

std::span<const InsertKind> insertKinds();
const InsertKind* insertKindNamed(std::string_view kind);

} // namespace mw
