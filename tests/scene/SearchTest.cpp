#include <gtest/gtest.h>

#include <vector>

#include "scene/Search.h"
#include "support/ScriptedPrompter.h"

using namespace mw;
using namespace mw::build;

namespace {

const std::vector<std::string> Names{"Lamp", "Door01", "Crate", "frontdoor", "Radio"};

std::optional<std::size_t> findName(const std::string& needle, std::optional<std::size_t> selected,
                                    ScriptedPrompter& prompter)
{
    return searchList(Names.size(), selected,
                      [&](std::size_t row) { return containsIgnoringCase(Names[row], needle); }, prompter);
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

    prompter.said.clear();
    prompter.answers = {false};
    EXPECT_EQ(findName("lamp", 2, prompter), std::nullopt); // No: the selection stays
    EXPECT_EQ(prompter.said.size(), 1u);

    prompter.said.clear();
    prompter.answers = {false};
    EXPECT_EQ(findName("door", 4, prompter), std::nullopt); // the last row selected: asked first
    EXPECT_EQ(prompter.said.size(), 1u);
}

TEST(Search, StopLeavesTheRowReached)
{
    ScriptedPrompter prompter;
    EXPECT_EQ(searchList(5000, 9, [](std::size_t) { return false; }, prompter, [] { return true; }), 10u);
    EXPECT_EQ(searchList(0, std::nullopt, [](std::size_t) { return true; }, prompter), std::nullopt);
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
