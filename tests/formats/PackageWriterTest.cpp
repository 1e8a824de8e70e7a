#include <gtest/gtest.h>

#include <functional>

#include "formats/addin/Package.h"
#include "support/PackageGenerator.h"

using namespace mw;
using namespace mw::build;

TEST(PackageWriter, WhatItWritesReadsBackTheSameBothWays)
{
    PackageGenerator generate(20261207);
    for (int i = 0; i < 1500; ++i) {
        SCOPED_TRACE(i);
        const Package p = generate.next();
        const PackageWriteResult written = writePackage(p);
        ASSERT_EQ(written.problem, "");
        const PackageReadResult read = readPackage(written.bytes);
        ASSERT_TRUE(read.package) << read.problem;
        ASSERT_EQ(*read.package, p);
        ASSERT_EQ(writePackage(*read.package).bytes, written.bytes);
    }
}

TEST(PackageWriter, TheLayoutOfWhatItWrites)
{
    Package p;
    p.title = "Box";
    p.missionName = "m1";
    p.apply = {false, true, false, true};
    p.patches[1] = {{{'A'}, {'B', 'C'}}};
    p.blockName = "AddedBox";
    p.groups[0] = {{"box.4ds", {1, 2, 3}}};
    const auto bytes = writePackage(p).bytes;
    ASSERT_EQ(bytes.size(), 274u + 276u + 28u + 4u + 24u + 3u + 5 * 4u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 40), "Box                 m1                  ");
    EXPECT_EQ((std::vector<std::uint8_t>(bytes.begin() + 40, bytes.begin() + 48)),
              (std::vector<std::uint8_t>{0, 0, 1, 1, 0, 0, 1, 0}));
    EXPECT_TRUE(std::all_of(bytes.begin() + 48, bytes.begin() + 274, [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(bytes[274], 1);
    EXPECT_EQ(bytes[275], 2);
}

TEST(PackageWriter, RefusesWhatTheLayoutCannotHold)
{
    const std::vector<std::uint8_t> object{0x10, 0x40, 6, 0, 0, 0};
    const std::pair<std::function<void(Package&)>, std::string> cases[] = {
        {[](Package& p) { p.title = "a title of twenty-one"; }, "the title \"a title of twenty-one\" is longer than 20 characters"},
        {[](Package& p) { p.missionName = "m1 "; }, "the mission name \"m1 \" ends in a blank"},
        {[](Package& p) { p.blockName = std::string(21, 'b'); }, "the block name \"bbbbbbbbbbbbbbbbbbbbb\" is longer than 20 characters"},
        {[](Package& p) { p.patches[0] = {{{}, {1}}}; }, "a search pattern is not 1 to 17 bytes long"},
        {[](Package& p) { p.patches[2] = {{std::vector<std::uint8_t>(18, 1), {}}}; }, "a search pattern is not 1 to 17 bytes long"},
        // The field holds 257 bytes, but the length before it is one byte.
        {[](Package& p) { p.patches[3] = {{{1}, std::vector<std::uint8_t>(256, 2)}}; }, "a replacement is longer than 255 bytes"},
        {[](Package& p) { p.patches[1].assign(256, {{1}, {}}); }, "a file has more than 255 patch records"},
        {[&](Package& p) { p.objects = object, p.objects.pop_back(); },
         "the scene block is not made of whole object and definition chunks"},
        {[&](Package& p) { p.definitions = object; }, "the scene block is not made of whole object and definition chunks"},
        {[](Package& p) { p.groups[0] = {{"twenty-two-chars1.4ds", {}}}; },
         "the file name \"twenty-two-chars1.4ds\" is longer than 20 characters"},
        {[](Package& p) { p.groups[2] = {{"../evil.bin", {}}}; }, "the file name \"../evil.bin\" does not name a file inside its folder"},
        {[](Package& p) { p.groups[5] = {{"", {}}}; }, "the file name \"\" does not name a file inside its folder"},
    };
    for (const auto& [change, problem] : cases) {
        SCOPED_TRACE(problem);
        Package p;
        p.objects = object;
        change(p);
        const PackageWriteResult written = writePackage(p);
        EXPECT_EQ(written.problem, problem);
        EXPECT_TRUE(written.bytes.empty());
    }
}
