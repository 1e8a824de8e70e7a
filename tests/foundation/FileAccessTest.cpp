#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include "foundation/files/FileAccess.h"
#include "support/TempFolder.h"
#include "support/WriteFailure.h"

using namespace mw;
namespace fs = std::filesystem;

namespace {

void writeFile(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::size_t entriesIn(const fs::path& folder)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

} // namespace

TEST(FileAccess, ReadsWholeFilesAndReportsMissingOnes)
{
    build::TempFolder dir;
    writeFile(dir.path() / "a.bin", {1, 2, 3});
    EXPECT_EQ(readWholeFile(dir.path() / "a.bin"), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_THROW(readWholeFile(dir.path() / "missing.bin"), IoError);
    EXPECT_THROW(readWholeFile(dir.path()), IoError);
    EXPECT_TRUE(fileExists(dir.path() / "a.bin"));
    EXPECT_FALSE(fileExists(dir.path() / "missing.bin"));
    EXPECT_FALSE(fileExists(dir.path()));
#ifndef _WIN32
    // Nothing writes into this FIFO: opening it for a read must not wait for a writer.
    const fs::path fifo = dir.path() / "scene2.bin";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_THROW(readWholeFile(fifo), IoError);
    EXPECT_THROW(readRange(fifo, 0, 1), IoError);
    EXPECT_FALSE(canOpenForReading(fifo));
    EXPECT_FALSE(canOpenForReading(dir.path()));
#endif
}

TEST(FileAccess, PatchesInPlaceWithoutChangingTheLength)
{
    build::TempFolder dir;
    const fs::path file = dir.path() / "scene2.bin";
    writeFile(file, {0, 0, 0, 0, 0, 0, 0, 0});
    const Patch patches[] = {{1, {0xAA, 0xBB}}, {6, {0xCC, 0xDD}}};
    patchInPlace(file, patches);
    EXPECT_EQ(readWholeFile(file), (std::vector<std::uint8_t>{0, 0xAA, 0xBB, 0, 0, 0, 0xCC, 0xDD}));
}

TEST(FileAccess, APatchPastTheEndWritesNothingAtAll)
{
    build::TempFolder dir;
    const fs::path file = dir.path() / "scene2.bin";
    writeFile(file, {0, 0, 0, 0});
    const Patch patches[] = {{0, {9}}, {3, {1, 2}}};
    EXPECT_THROW(patchInPlace(file, patches), IoError);
    EXPECT_EQ(readWholeFile(file), (std::vector<std::uint8_t>{0, 0, 0, 0}));
    EXPECT_THROW(patchInPlace(dir.path() / "missing", patches), IoError);
}

TEST(FileAccess, ReplaceWritesTheWholeImageAndKeepsPermissions)
{
    build::TempFolder dir;
    const fs::path file = dir.path() / "scene2.bin";
    writeFile(file, {1, 2, 3, 4, 5, 6});
#ifdef _WIN32
    ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
#else
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
#endif

    const std::vector<std::uint8_t> image{7, 8, 9};
    replaceWholeFile(file, image);

    EXPECT_EQ(readWholeFile(file), image);
#ifdef _WIN32
    EXPECT_TRUE(::GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_HIDDEN);
#else
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
#endif
    EXPECT_EQ(entriesIn(dir.path()), 1u); // no temporary file left behind

    // A new file is created whole; a name outside Latin-1 works too.
    const fs::path other = dir.path() / fs::path(u8"\u041c\u0438\u0441\u0441\u0438\u044f.bin");
    replaceWholeFile(other, image);
    EXPECT_EQ(readWholeFile(other), image);
    EXPECT_EQ(entriesIn(dir.path()), 2u);
}

TEST(FileAccess, AFailedReplaceLeavesTheTargetAndNoTemporaryFile)
{
    build::TempFolder dir;
    // A folder cannot be replaced by a file: the final rename fails.
    const fs::path target = dir.path() / "scene2.bin";
    fs::create_directory(target);
    writeFile(target / "inside", {1});
    const std::vector<std::uint8_t> image{7, 8, 9};
    EXPECT_THROW(replaceWholeFile(target, image), IoError);
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(readWholeFile(target / "inside"), (std::vector<std::uint8_t>{1}));
    EXPECT_EQ(entriesIn(dir.path()), 1u);

    // A write that fails (a full disk, a file held by another program): the original is as it was.
    const fs::path file = dir.path() / "cache.bin";
    writeFile(file, {1, 2, 3});
    {
        const build::WriteFailure failing(file);
        EXPECT_THROW(replaceWholeFile(file, std::vector<std::uint8_t>(64, 7)), IoError);
    }
    EXPECT_EQ(readWholeFile(file), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(entriesIn(dir.path()), 2u);

    // A folder that does not exist: nothing is created anywhere.
    EXPECT_THROW(replaceWholeFile(dir.path() / "nowhere" / "scene2.bin", image), IoError);
    EXPECT_EQ(entriesIn(dir.path()), 2u);
}

TEST(FileAccess, StampsChangeWhenTheFileChanges)
{
    build::TempFolder dir;
    const fs::path file = dir.path() / "cache.bin";
    writeFile(file, {1, 2, 3});
    const auto before = stampOf(file);
    ASSERT_TRUE(before);
    EXPECT_EQ(before->size, 3u);
    writeFile(file, {1, 2, 3, 4});
    EXPECT_NE(stampOf(file), before);
    EXPECT_FALSE(stampOf(dir.path() / "missing"));
}
