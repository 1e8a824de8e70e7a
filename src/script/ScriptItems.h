#pragma once
// What a command's `items` argument names: a row of "objects" (a number), a value a list gave (it
// carries its list and row), or an array of those. Each named item must be there now, a value must
// still name the entry it was read from, and an item named twice counts once.

#include <QJSValue>
#include <string>
#include <variant>

#include "commands/placing/Placing.h"

namespace mw {

class Mission;

// The items by list, or what is wrong with the argument.
std::variant<PlacedItems, std::string> itemsOf(const Mission& mission, const QJSValue& value);

} // namespace mw
