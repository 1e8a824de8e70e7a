#include "mission/PendingEdits.h"

#include "foundation/seams/Prompter.h"

namespace mw {

namespace {

bool askToSaveValues(Prompter& prompter) { return prompter.askYesNo("Save values?", "Values not saved!"); }

} // namespace

bool PendingEdits::beforeWritingShown(bool valuesEdited, Prompter& prompter, const Handlers& page)
{
    if (!valuesEdited)
        return true;
    if (askToSaveValues(prompter))
        return page.saveValues();
    page.dropValues();
    return true;
}

PendingEdits::Next PendingEdits::beforeSceneEntry(bool scriptEdited, Prompter& prompter, const Handlers& page)
{
    bool saved = false;
    if (scriptEdited) {
        if (prompter.askYesNo("Save script?", "Script not saved!")) {
            if (!page.saveScript())
                return Next::KeepPage;
            saved = true;
        } else {
            page.dropScript();
        }
    }
    if (page.valuesEdited()) {
        if (askToSaveValues(prompter))
            return page.saveValues() ? Next::ShowShownAgain : Next::KeepPage;
        page.dropValues();
    }
    // After a Yes the entry shown so far is the one selected.
    return saved ? Next::ShowShownAgain : Next::ShowNew;
}

PendingEdits::Next PendingEdits::beforeListEntry(bool valuesEdited, Prompter& prompter, const Handlers& page)
{
    if (!valuesEdited)
        return Next::ShowNew;
    if (askToSaveValues(prompter) && !page.saveValues())
        return Next::KeepPage;
    page.dropValues(); // saved, or not wanted: the page is clean again
    return Next::ShowNew;
}

} // namespace mw
