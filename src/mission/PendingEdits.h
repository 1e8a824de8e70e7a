#pragma once
// Before an inspector page shows another entry: what becomes of the unsaved edits of the entry it
// shows so far. The Scene page asks about its script first, then about its values (a script saved
// with a new length has cleared them, as its reload does); a Yes saves and keeps the entry shown so
// far selected, which is then shown again as the file now holds it; a No drops the edits. A save
// from a question that does not go through keeps the page as it is, edits and marks included, so
// nothing typed is lost. The other pages ask about their values; a Yes whose save succeeds moves
// on, one whose save is refused stays, so the edits can be put right.

#include <functional>

namespace mw {

class Prompter;

class PendingEdits {
public:
    enum class Next {
        ShowNew,        // show the entry the user chose
        ShowShownAgain, // show the entry shown so far again, from the file
        KeepPage,       // leave the page as it is: a save did not go through
    };
    // What the page does for each answer.
    struct Handlers {
        std::function<bool()> saveScript; // true when the script was saved
        std::function<void()> dropScript;
        std::function<bool()> saveValues; // true when every value was saved
        std::function<void()> dropValues;
        std::function<bool()> valuesEdited; // asked after the script's question
    };

    static Next beforeSceneEntry(bool scriptEdited, Prompter& prompter, const Handlers& page);
    static Next beforeListEntry(bool valuesEdited, Prompter& prompter, const Handlers& page);
    // Before a command writes the entry a page shows: its unsaved values saved or let go, as the
    // user answers the same question. False when a save did not go through (the command stops).
    static bool beforeWritingShown(bool valuesEdited, Prompter& prompter, const Handlers& page);
};

} // namespace mw
