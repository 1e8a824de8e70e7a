#include <gtest/gtest.h>

#include <fstream>

#include "commands/editing/ListValueSave.h"
#include "commands/editing/Rotation.h"
#include "foundation/bytes/ByteReader.h"
#include "mission/Mission.h"
#include "support/MissionFileBuilders.h"
#include "support/ScriptedPrompter.h"
#include "support/TempFolder.h"

using namespace mw;
using namespace mw::build;
namespace fs = std::filesystem;

namespace {

void write(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TransformForm form(const char* x, const char* y, const char* z, const char* sx = "1", const char* sy = "1",
                   const char* sz = "1", const char* vert = "0")
{
    TransformForm f;
    f.translationX = x;
    f.translationY = y;
    f.translationZ = z;
    f.sizeX = sx;
    f.sizeY = sy;
    f.sizeZ = sz;
    f.verticalAngle = vert;
    f.rotation = {1, 0, 0, 0};
    return f;
}

} // namespace

class ListValueSaveTest : public ::testing::Test {
protected:
    fs::path folder() const { return dir.path() / "game" / "missions" / "m1"; }
    std::vector<std::uint8_t> onDisk(const char* name) const { return readWholeFile(folder() / name); }

    // Writes the file into the mission folder and loads it into the mission.
    fs::path put(MissionFile kind, const std::vector<std::uint8_t>& bytes)
    {
        fs::create_directories(folder());
        const fs::path file = folder() / missionFileName(kind);
        write(file, bytes);
        ScriptedPrompter quiet;
        if (kind == MissionFile::Tree) // the collision file needs the scene's mission
            mission.open(MissionFile::Scene, folder() / "scene2.bin", quiet);
        mission.open(kind, file, quiet);
        return file;
    }

    TempFolder dir;
    ScriptedPrompter prompter;
    Mission mission;
};

TEST_F(ListValueSaveTest, CacheWritesTranslationRotationAndSize)
{
    CacheBuilder c;
    c.base("b");
    const auto d = c.object("lamp.i3d", {1, 2, 3}, {0.25f, 0, 0.5f, 0.75f}, {1, 1, 1});
    const auto original = c.finish();
    put(MissionFile::Cache, original);
    auto& record = mission.cache().records.at(1);

    TransformForm f = form("10", "20", "30", "2", "3", "4", "90");
    f.rotation = {0.25f, 0.9f, 0.5f, 0.75f};
    EXPECT_EQ(saveCacheValues(f, mission, 1, prompter).ended, Ended::Done);
    const auto bytes = onDisk("cache.bin");
    ASSERT_EQ(bytes.size(), original.size());
    const ByteReader r(bytes);
    EXPECT_EQ(r.f32(d), 10.0f);
    EXPECT_EQ(r.f32(d + 8), 30.0f);
    EXPECT_EQ(r.f32(d + 12), 0.25f);
    EXPECT_EQ(r.f32(d + 16), 1.0f); // q2 from the vertical angle
    EXPECT_EQ(r.f32(d + 20), 0.5f);
    EXPECT_EQ(r.f32(d + 24), 0.75f);
    EXPECT_EQ(r.f32(d + 44), 2.0f);
    EXPECT_EQ(r.f32(d + 52), 4.0f);
    // The 16 bytes between rotation and size are untouched.
    EXPECT_TRUE(std::equal(bytes.begin() + static_cast<std::ptrdiff_t>(d + 28),
                           bytes.begin() + static_cast<std::ptrdiff_t>(d + 44),
                           original.begin() + static_cast<std::ptrdiff_t>(d + 28)));
    EXPECT_EQ(record.position, (Vec3{10, 20, 30}));

    prompter.said.clear();
    EXPECT_EQ(saveCacheValues(form("1", "2", "3", "1", "1", "1", "200"), mission, 1, prompter).ended,
              Ended::Refused);
    EXPECT_EQ(prompter.said, (std::vector<Said>{{"message", "Value -180 ... 180", "Vert Rotation"}}));
    EXPECT_EQ(onDisk("cache.bin"), bytes);
}

TEST_F(ListValueSaveTest, ModelFileWritesOnlyTheTranslation)
{
    ModelFileBuilder m;
    m.endMaterials();
    const auto t = m.frame("Sign", {1, 2, 3}, {1, 0, 0, 0});
    const auto original = m.finish();
    put(MissionFile::Model, original);
    auto& frame = mission.model().frames.at(0);
    // Size and rotation boxes are neither tested nor written.
    EXPECT_EQ(saveModelValues(form("7", "8", "9", "x", "y", "z", "nonsense"), frame, mission, prompter).ended,
              Ended::Done);
    auto expected = original;
    for (int i = 0; i < 3; ++i) {
        const auto v = encodeF32(7.0f + static_cast<float>(i));
        std::copy(v.begin(), v.end(), expected.begin() + static_cast<std::ptrdiff_t>(t + 4 * i));
    }
    EXPECT_EQ(onDisk("scene.4ds"), expected);
    EXPECT_TRUE(prompter.said.empty());
    EXPECT_EQ(saveModelValues(form("", "8", "9"), frame, mission, prompter).ended, Ended::Refused);
    EXPECT_EQ(prompter.said, (std::vector<Said>{{"message", "Fill all fields", ""}}));
}

TEST_F(ListValueSaveTest, CollisionWritesMaterialAndTheGeometryOfEachKind)
{
    TreeBuilder t;
    t.link("wall");
    t.box(1, 0, {0, 0, 0}, {1, 1, 1});
    t.rotatedBox(1, 0, {0, 0, 0}, {1, 1, 1}, TreeBuilder::Matrix{}, {0, 0, 0});
    t.sphere(1, 0, {0, 0, 0}, 1);
    t.verticalBox(1, 0, {1, 1, 1}, {1, 1, 1}, TreeBuilder::Matrix{}, {0, 0, 0}, 0, 1);
    t.cylinder(1, 0, 0, 0, 1);
    const auto original = t.finish();
    put(MissionFile::Tree, original);
    const auto& tree = mission.tree();
    ASSERT_EQ(tree.bodyCount(), 5u);
    const auto f = form("10", "20", "30", "2", "4", "6");
    for (std::size_t row = 0; row < tree.bodyCount(); ++row)
        EXPECT_EQ(saveCollisionValues(f, 44, mission, row, prompter).ended, Ended::Done);

    const auto bytes = onDisk("tree.klz");
    ASSERT_EQ(bytes.size(), original.size());
    const ByteReader r(bytes);
    for (std::size_t row = 0; row < tree.bodyCount(); ++row)
        EXPECT_EQ(r.u8(tree.body(row).CollisionItemOffset - 5), 44);
    const auto sc = tree.body(0).CollisionItemOffset;
    EXPECT_EQ(r.f32(sc), 9.0f);
    EXPECT_EQ(r.f32(sc + 4), 18.0f);
    EXPECT_EQ(r.f32(sc + 8), 27.0f);
    EXPECT_EQ(r.f32(sc + 12), 11.0f);
    EXPECT_EQ(r.f32(sc + 20), 33.0f);
    const auto sr = tree.body(1).CollisionItemOffset;
    EXPECT_EQ(r.f32(sr), 9.0f);
    EXPECT_EQ(r.f32(sr + 96), 10.0f);
    EXPECT_EQ(r.f32(sr + 104), 30.0f);
    const auto sp = tree.body(2).CollisionItemOffset;
    EXPECT_EQ(r.f32(sp), 10.0f);
    EXPECT_EQ(r.f32(sp + 8), 30.0f);
    EXPECT_EQ(r.f32(sp + 12), 1.0f); // the radius stays
    const auto bi = tree.body(3).CollisionItemOffset; // size 2 x 4 x 6: 3, 1, 2 (Z, X, Y halves)
    EXPECT_EQ(r.f32(bi), 3.0f);
    EXPECT_EQ(r.f32(bi + 4), 1.0f);
    EXPECT_EQ(r.f32(bi + 8), 2.0f);
    EXPECT_EQ(r.f32(bi + 12), 3.0f);
    EXPECT_EQ(r.f32(bi + 72), 10.0f);
    EXPECT_EQ(r.f32(bi + 80), 30.0f);
    const auto cy = tree.body(4).CollisionItemOffset;
    EXPECT_EQ(r.f32(cy), 10.0f);
    EXPECT_EQ(r.f32(cy + 4), 30.0f);
    EXPECT_EQ(r.f32(cy + 8), 1.0f);
    EXPECT_EQ(tree.body(0).position, (Vec3{10, 20, 30}));

    // No vertical rotation check for collision bodies; the size must be numeric.
    prompter.said.clear();
    EXPECT_EQ(saveCollisionValues(form("1", "2", "3", "x", "1", "1", "999"), 44, mission, 0, prompter).ended,
              Ended::Refused);
    EXPECT_EQ(prompter.said, (std::vector<Said>{{"message", "Put numeric", "Size"}}));
    EXPECT_EQ(onDisk("tree.klz"), bytes);
}

TEST_F(ListValueSaveTest, ChangedFilesAreNotWritten)
{
    CacheBuilder c;
    c.object("lamp.i3d", {1, 2, 3}, {1, 0, 0, 0}, {1, 1, 1});
    const auto original = c.finish();
    const fs::path file = put(MissionFile::Cache, original);
    auto changed = original;
    changed.push_back(7);
    write(file, changed);
    EXPECT_EQ(saveCacheValues(form("5", "5", "5"), mission, 0, prompter).ended, Ended::Stale);
    EXPECT_EQ(onDisk("cache.bin"), changed);
    ASSERT_EQ(prompter.said.size(), 1u);
    EXPECT_NE(prompter.said[0].text.find("cache.bin"), std::string::npos);
}
