#include <gtest/gtest.h>

#include "formats/model/ModelFile.h"
#include "formats/templates/BuiltinResources.h"
#include "foundation/bytes/ByteWriter.h"
#include "support/MissionFileBuilders.h"

using namespace mw;
using namespace mw::build;

TEST(ModelFile, FindsFramesBehindTheMaterials)
{
    ModelFileBuilder m;
    m.material("brick.bmp");
    m.material("glass.bmp", true, "env.bmp");
    m.endMaterials();
    const auto sign = m.frame("Sign", {1, 2, 3}, {1, 0, 0, 0}, {2, 2, 2}, 3);
    const auto awning = m.frame("Awning", {4, 5, 6}, {0.5f, -0.5f, 1.0f, 7.0f});
    const auto bytes = m.finish();
    const auto r = readModelFile(bytes);
    EXPECT_EQ(r.status, FileReadStatus::Loaded);
    ASSERT_EQ(r.frames.size(), 2u);
    EXPECT_EQ(r.frames[0].name, "Sign");
    EXPECT_EQ(r.frames[0].TranslationOffset, sign);
    EXPECT_EQ(r.frames[0].position, (Vec3{1, 2, 3}));
    EXPECT_EQ(r.frames[0].further, (Vec3{2, 2, 2}));
    EXPECT_EQ(r.frames[1].name, "Awning");
    EXPECT_EQ(r.frames[1].TranslationOffset, awning);
    EXPECT_EQ(r.frames[1].rotation, (std::array<float, 4>{0.5f, -0.5f, 1.0f, 7.0f}));
}

TEST(ModelFile, RotationTestAndLongNames)
{
    ModelFileBuilder m;
    m.endMaterials();
    m.frame("Skewed", {0, 0, 0}, {1.5f, 0, 0, 0}); // not a frame: moved past one byte at a time
    m.frame(std::string(60, 'n'), {1, 1, 1}, {1, 0, 0, 0});
    m.frame("After", {2, 2, 2}, {0, 0, 1, 0});
    const auto bytes = m.finish();
    const auto r = readModelFile(bytes);
    ASSERT_EQ(r.frames.size(), 2u);
    EXPECT_EQ(r.frames[0].name, std::string(15, 'n'));
    EXPECT_EQ(r.frames[1].name, "After");
}

TEST(ModelFile, AFrameRightBehindAnotherIsFound)
{
    ModelFileBuilder m;
    m.endMaterials();
    m.frame("First", {1, 1, 1}, {1, 0, 0, 0});
    m.frame("Second", {2, 2, 2}, {1, 0, 0, 0});
    const auto r = readModelFile(m.finish());
    ASSERT_EQ(r.frames.size(), 2u);
    EXPECT_EQ(r.frames[1].name, "Second");
}

TEST(ModelFile, SignatureAndEmptyFiles)
{
    EXPECT_EQ(readModelFile({}).status, FileReadStatus::Empty);
    const std::vector<std::uint8_t> wrong{'4', 'D', 'X', 0};
    EXPECT_EQ(readModelFile(wrong).messages, (std::vector<std::string>{"****** No *.4ds file! ******"}));
    ModelFileBuilder m;
    m.endMaterials();
    const auto header = m.finish();
    const auto none = readModelFile(header);
    EXPECT_EQ(none.status, FileReadStatus::Loaded);
    EXPECT_TRUE(none.frames.empty());
}

TEST(ModelFile, DamagedFilesEndTheScanCleanly)
{
    ModelFileBuilder m;
    m.material("a.bmp");
    m.endMaterials();
    m.frame("One", {1, 1, 1}, {1, 0, 0, 0}, {1, 1, 1}, 2);
    m.frame("Two", {2, 2, 2}, {1, 0, 0, 0});
    auto bytes = m.finish();
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
        const std::vector<std::uint8_t> part(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        for (const auto& f : readModelFile(part).frames)
            EXPECT_LE(f.TranslationOffset + 12u, cut);
    }
    putU16(bytes, 14, 0xFFFF); // more materials than there are
    EXPECT_TRUE(readModelFile(bytes).frames.empty());
}

TEST(ModelFile, ThePlaceholderCubeIsOneFrameNamedCube)
{
    const auto cube = loadBuiltinResource("Cube1");
    ASSERT_EQ(cube.size(), 556u);
    EXPECT_EQ(std::string(cube.begin(), cube.begin() + 4), std::string("4DS\0", 4));
    EXPECT_EQ(cube[4] | (cube[5] << 8), 29);
    EXPECT_EQ(loadBuiltinResource("CUBE1"), cube);
    const auto r = readModelFile(cube);
    ASSERT_EQ(r.frames.size(), 1u);
    EXPECT_EQ(r.frames[0].name, "Cube");
    EXPECT_EQ(r.frames[0].position, (Vec3{0, 0, 0}));
    EXPECT_EQ(r.frames[0].rotation, (std::array<float, 4>{1, 0, 0, 0}));
    EXPECT_TRUE(loadBuiltinResource("nothing").empty());
}
