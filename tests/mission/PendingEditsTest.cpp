#include <gtest/gtest.h>

#include "mission/PendingEdits.h"
#include "support/ScriptedPrompter.h"

using namespace mw;
using namespace mw::build;

namespace {

using Next = PendingEdits::Next;

struct Case {
    const char* name;
    bool scene, script, values;
    std::deque<bool> answers;
    bool saves; // what saving gives (the script's save of a new length clears the values' edits)
    std::string calls;
    std::vector<std::string> questions;
    Next next;
};

} // namespace

TEST(PendingEdits, WhatEachAnswerDoesBeforeAnotherEntryIsShown)
{
    const std::string script = "Save script?", values = "Save values?";
    const Case cases[] = {
        {"scene, nothing edited", true, false, false, {}, true, "", {}, Next::ShowNew},
        {"scene, script: Yes, then values: Yes", true, true, true, {true, true}, true, "save script, save values",
         {script, values}, Next::ShowShownAgain},
        {"scene, script: Yes, values untouched", true, true, false, {true}, true, "save script", {script},
         Next::ShowShownAgain},
        {"scene, script: Yes, not written", true, true, true, {true}, false, "save script", {script}, Next::KeepPage},
        {"scene, script: No, values: Yes", true, true, true, {false, true}, true, "drop script, save values",
         {script, values}, Next::ShowShownAgain},
        {"scene, script: No, values: No", true, true, true, {false, false}, true, "drop script, drop values",
         {script, values}, Next::ShowNew},
        {"scene, values refused: the page stays", true, false, true, {true}, false, "save values", {values},
         Next::KeepPage},
        {"list, values: Yes, saved", false, false, true, {true}, true, "save values, drop values", {values},
         Next::ShowNew},
        {"list, values: Yes, refused", false, false, true, {true}, false, "save values", {values}, Next::KeepPage},
        {"list, values: No", false, false, true, {false}, true, "drop values", {values}, Next::ShowNew},
        {"list, nothing edited", false, false, false, {}, true, "", {}, Next::ShowNew},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPrompter prompter;
        prompter.answers = c.answers;
        std::string calls;
        const auto call = [&](const char* what) { calls += (calls.empty() ? "" : ", ") + std::string(what); };
        const PendingEdits::Handlers page{[&] {
                                              call("save script");
                                              return c.saves;
                                          },
                                          [&] { call("drop script"); },
                                          [&] {
                                              call("save values");
                                              return c.saves;
                                          },
                                          [&] { call("drop values"); }, [&] { return c.values; }};
        const Next next = c.scene ? PendingEdits::beforeSceneEntry(c.script, prompter, page)
                                  : PendingEdits::beforeListEntry(c.values, prompter, page);
        EXPECT_EQ(next, c.next);
        EXPECT_EQ(calls, c.calls);
        std::vector<std::string> asked;
        for (const Said& s : prompter.said)
            asked.push_back(s.text);
        EXPECT_EQ(asked, c.questions);
    }
}
