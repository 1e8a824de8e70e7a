// Writes the seed corpora of the fuzz harnesses with the project's own builders.
// Usage: make-fuzz-seeds <corpus folder>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/ChunkBuilder.h"
#include "support/MissionFileBuilders.h"
#include "support/PackageBuilder.h"
#include "support/PackageGenerator.h"
#include "support/SceneBuilder.h"

namespace fs = std::filesystem;
using namespace mw::build;

static void save(const fs::path& folder, const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    fs::create_directories(folder);
    std::ofstream out(folder / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    const fs::path root = argv[1];
    const fs::path scene = root / "scene";
    {
        SceneBuilder b;
        b.beginObjects();
        b.endObjects();
        save(scene, "empty-objects", b.finish());
    }
    {
        SceneBuilder b;
        b.headerRecord(0x0001, {1, 0, 0, 0});
        b.headerRecord(0x1234);
        b.beginObjects();
        b.object({.name = "Lamp", .type = 2, .translation = Floats3{1, 2, 3},
                  .rotation = std::array<float, 4>{1, 0, 0, 0}, .size = Floats3{1, 1, 1}, .link = "Primary sector",
                  .light = LightParts{.kind = 2, .colour = Floats3{1, 0.5f, 0}, .power = 2, .range = Floats2{1, 2},
                                     .distance = Floats2{3, 4}, .nested = true}});
        b.object({.name = "Radio", .type = 4, .translation = Floats3{0, 0, 0},
                  .sound = SoundParts{.fileName = "r.wav", .kind = 3, .volume = 1, .fields34 = Floats2{1, 2},
                                     .fields56 = Floats2{40, 100}}});
        b.object({.name = "Man", .type = 9, .translation = Floats3{0, 0, 0}, .model = "man.i3d"});
        b.object({.name = "Barrel", .type = 9, .model = "barrel.i3d", .unknownChunks = true});
        b.object({.name = "Switch", .type = 9});
        b.object({.name = "door01", .type = 9});
        b.endObjects();
        b.beginDefinitions();
        b.definition({"Man", 0x1B, humanData(8, 10, 0.5f, 80, "human script")});
        b.definition({"Barrel", 0x23, thingData(26, 3)});
        b.definition({"Switch", 5, scriptedObjectData("switch")});
        b.definition({"door01.0", 6, std::vector<std::uint8_t>(16, 0)});
        b.endDefinitions();
        b.beginScripts();
        b.script("Intro", "intro");
        b.endScripts();
        save(scene, "every-kind", b.finish());
    }
    {
        SceneBuilder b;
        b.beginObjects();
        b.object({.name = std::string(60, 'L'), .translation = Floats3{1, 1, 1}});
        b.endObjects();
        b.beginDefinitions();
        b.definition({"x", 0x1B, humanData(8, 10, 0.5f, 80, "0123456789", true)});
        b.endDefinitions();
        b.beginScripts();
        b.script(std::string(55, 'S'), "t");
        b.endScripts();
        save(scene, "long-names", b.finish());
    }
    {
        CacheBuilder c;
        c.base("block");
        c.object("lamp.i3d", {1, 2, 3}, {1, 0, 0, 0}, {1, 1, 1});
        c.object("bench.i3d", {4, 5, 6}, {0.5f, 0.5f, 0.5f, 0.5f}, {2, 2, 2});
        save(root / "cache", "two-objects", c.finish());
        save(root / "cache", "header-only", CacheBuilder().finish());
    }
    {
        ModelFileBuilder m;
        m.material("a.bmp");
        m.material("b.bmp", true, "c.bmp");
        m.endMaterials();
        m.frame("Mesh", {1, 2, 3}, {1, 0, 0, 0}, {1, 1, 1}, 2);
        m.frame("Plain", {4, 5, 6}, {0, 0, 1, 0});
        save(root / "model", "frames", m.finish());
    }
    {
        TreeBuilder t;
        t.link("wall.i3d");
        t.link("pole.i3d");
        t.leadingRecords(1);
        t.box(1, 0, {0, 0, 0}, {1, 2, 3});
        t.rotatedBox(2, 0, {-1, -1, -1}, {1, 1, 1}, TreeBuilder::Matrix{{0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0}}, {1, 1, 1});
        t.sphere(3, 1, {1, 1, 1}, 2);
        t.verticalBox(4, 0, {1, 0, 0}, {0, 2, 0}, TreeBuilder::Matrix{}, {5, 5, 5}, 0.7f, 0.7f);
        t.cylinder(5, 1, 1, 2, 0.5f);
        t.endMarker();
        std::vector<std::uint8_t> tree = t.finish();
        save(root / "tree", "every-kind", tree);
        tree.resize(t.bodiesStart() + 40); // fewer bodies than the header counts
        save(root / "tree", "cut-short", tree);
    }
    // Light headers nested past the depth any walk goes into.
    save(scene, "nested-lights-70", nestedLightScene(70).bytes);
    {
        PackageParts p;
        p.apply = {true, false, true, true};
        p.patches[0] = {{"WALL", "DOOR"}};
        p.patches[1] = {{"AAA", "BBB"}, {"x", ""}};
        p.patches[3] = {{"Crate", "Crane"}};
        ChunkBuilder objects;
        const auto o = objects.open(0x4010);
        objects.text(0x0010, "AddedBox");
        objects.close(o);
        p.objects = objects.take();
        ChunkBuilder definitions;
        const auto d = definitions.open(0xAE21);
        definitions.text(0xAE23, "AddedBox");
        definitions.close(d);
        p.definitions = definitions.take();
        p.groups[0] = {{"box.4ds", {1, 2, 3}}};
        p.groups[3] = {{"a.tbl", {}}, {"b.tbl", {4}}};
        p.groups[5] = {{"check.bin", {5, 6}}};
        save(root / "addin", "every-part", buildPackage(p));
        save(root / "addin", "empty", buildPackage(PackageParts{}));
        // What the editor's own package writer makes, limits and empty parts among them.
        PackageGenerator generate(27);
        for (int i = 0; i < 24; ++i)
            save(root / "addin", "writer-" + std::to_string(i), mw::writePackage(generate.next()).bytes);
    }
    return 0;
}
