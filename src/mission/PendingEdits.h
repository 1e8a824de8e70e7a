#pragma once
// Before an inspector page shows another entry: what becomes of the unsaved edits of the entry it
// shows so far. The Scene page asks about its script first, then about its values; a Yes saves them
// and keeps the shown entry; a No drops the edits and the new entry is shown. The other pages ask
// about their values; a Yes whose save succeeds moves on, one whose save is refused stays, so the
// edits can be put right.

#include <functional>

namespace mw {

class Prompter;

class PendingEdits {
public:
    enum class Next { ShowNew, StayOnShown };
    // What the page does for each answer.
    struct Handlers {
        std::function<void()> saveScript;
        std::function<void()> dropScript;
        std::function<bool()> saveValues; // true when the values were saved
        std::function<void()> dropValues;
    };

    static Next beforeSceneEntry(bool scriptEdited, bool valuesEdited, Prompter& prompter, const Handlers& page);
    static Next beforeListEntry(bool valuesEdited, Prompter& prompter, const Handlers& page);
};

} // namespace mw
