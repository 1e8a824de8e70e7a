#pragma once
// How a list draws a row beside its text: a hidden entry in grey, a locked one with a padlock as
// its decoration. Its text and check mark stay as they are.

#include <QIcon>
#include <QVariant>
#include <cstdint>
#include <functional>

namespace mw {

struct RowLook {
    bool hidden = false, locked = false;
};
// By the row of the list's file.
using RowLookOf = std::function<RowLook(std::uint32_t row)>;

// What a row shows of its look for a role (the text's colour, the decoration); nothing for others.
QVariant lookData(const RowLook& look, int role);

// A small padlock, drawn: shut and dark for "on", open and grey for "off".
QIcon padlockIcon();

} // namespace mw
