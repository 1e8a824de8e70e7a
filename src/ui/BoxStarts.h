#pragma once
// A box the program fills shows its value from the first character: a number longer than its box
// reads "1.0471…", not its last digits (a filled box keeps its cursor at the end, and scrolls there).

#include <QLineEdit>
#include <QWidget>

namespace mw {

// Every box of `page` that the user is not typing in.
inline void showBoxesFromTheStart(const QWidget& page)
{
    for (QLineEdit* box : page.findChildren<QLineEdit*>())
        if (!box->hasFocus())
            box->setCursorPosition(0);
}

} // namespace mw
