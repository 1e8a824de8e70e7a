#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "foundation/text/Latin1Text.h"
#include "foundation/text/NumericText.h"
#include "mission/Search.h"
#include "support/ScriptedPrompter.h"

using namespace mw;
using namespace mw::build;

namespace {

const std::vector<std::string> Names{"Lamp", "Door01", "Crate", "frontdoor", "Radio"};

// The row the search ends on when it found one.
std::optional<std::size_t> findName(const std::string& needle, std::optional<std::size_t> selected,
                                    ScriptedPrompter& prompter)
{
    const SearchEnd end = searchList(
        Names.size(), selected, [&](std::size_t row) { return containsIgnoringCase(Names[row], needle); }, prompter);
    return end.found ? end.row : std::nullopt;
}

} // namespace

TEST(Search, FindsTheNextMatchAfterTheSelectedRow)
{
    ScriptedPrompter prompter;
    EXPECT_EQ(findName("door", 0, prompter), 1u);
    EXPECT_EQ(findName("door", 1, prompter), 3u); // pressing again finds the next one
    EXPECT_EQ(findName("DOOR", std::nullopt, prompter), 1u);
    EXPECT_TRUE(prompter.said.empty());
}

TEST(Search, AsksAtTheEndOfTheList)
{
    ScriptedPrompter prompter;
    prompter.answers = {true};
    EXPECT_EQ(findName("door", 3, prompter), 1u); // from the top again
    EXPECT_EQ(prompter.said, (std::vector<Said>{{"question", "Search again?", "End of list!"}}));

    // Where a search that ends without a match leaves the selection.
    struct Case {
        std::optional<std::size_t> selected;
        std::function<bool()> ready;
        SearchEnd end;
    };
    const Case cases[] = {
        {2, {}, {4, false, true}},                        // No at the end: the last row, compared, stays
        {4, {}, {std::nullopt, false, false}},            // started on the last row: asked first, nothing moves
        {1, [] { return false; }, {2, false, false}},     // refused after the first step: on the next row
    };
    for (const Case& c : cases) {
        prompter.said.clear();
        prompter.answers = {false};
        const SearchEnd end = searchList(Names.size(), c.selected, [](std::size_t) { return false; }, prompter, {}, c.ready);
        EXPECT_EQ(end.row, c.end.row);
        EXPECT_EQ(end.found, c.end.found);
        EXPECT_EQ(end.examined, c.end.examined);
        EXPECT_EQ(prompter.said.size(), c.ready ? 0u : 1u);
    }
}

TEST(Search, StopLeavesTheRowReached)
{
    ScriptedPrompter prompter;
    EXPECT_EQ(searchList(5000, 9, [](std::size_t) { return false; }, prompter, [] { return true; }).row, 10u);
    EXPECT_EQ(searchList(0, std::nullopt, [](std::size_t) { return true; }, prompter).row, std::nullopt);
}

TEST(Search, CaseIsIgnoredForLatin1Letters)
{
    EXPECT_TRUE(containsIgnoringCase("\xC4RGER", "\xE4rger"));
    EXPECT_FALSE(containsIgnoringCase("abc", "abd"));
    EXPECT_TRUE(containsIgnoringCase("abc", ""));
}

TEST(Search, OneDecimalPattern)
{
    EXPECT_EQ(formatOneDecimal("12.34"), "12.3");
    EXPECT_EQ(formatOneDecimal("12.26"), "12.3");
    EXPECT_EQ(formatOneDecimal("12.24"), "12.2");
    EXPECT_EQ(formatOneDecimal("12.25"), "12.3");
    EXPECT_EQ(formatOneDecimal("-12.25"), "-12.3");
    EXPECT_EQ(formatOneDecimal("0.15"), "0.2");
    EXPECT_EQ(formatOneDecimal("9.96"), "10.0");
    EXPECT_EQ(formatOneDecimal("-0.04"), "0.0");
    EXPECT_EQ(formatOneDecimal("7"), "7.0");
    EXPECT_EQ(formatOneDecimal(" 1e2 "), "100.0");
    EXPECT_EQ(formatOneDecimal("0.05"), "0.1");
    EXPECT_EQ(formatOneDecimal("abc"), "abc");
    EXPECT_EQ(formatOneDecimal("1e-30"), "0.0");
}
