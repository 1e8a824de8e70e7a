#include "mission/PendingEdits.h"

#include "foundation/seams/Prompter.h"

namespace mw {

namespace {

bool askToSaveValues(Prompter& prompter) { return prompter.askYesNo("Save values?", "Values not saved!"); }

} // namespace

PendingEdits::Next PendingEdits::beforeSceneEntry(bool scriptEdited, bool valuesEdited, Prompter& prompter,
                                                  const Handlers& page)
{
    if (scriptEdited) {
        if (prompter.askYesNo("Save script?", "Script not saved!")) {
            page.saveScript();
            return Next::StayOnShown;
        }
        page.dropScript();
    }
    if (valuesEdited) {
        if (askToSaveValues(prompter)) {
            page.saveValues();
            return Next::StayOnShown;
        }
        page.dropValues();
    }
    return Next::ShowNew;
}

PendingEdits::Next PendingEdits::beforeListEntry(bool valuesEdited, Prompter& prompter, const Handlers& page)
{
    if (!valuesEdited)
        return Next::ShowNew;
    if (askToSaveValues(prompter) && !page.saveValues())
        return Next::StayOnShown;
    page.dropValues(); // saved, or not wanted: the page is clean again
    return Next::ShowNew;
}

} // namespace mw
