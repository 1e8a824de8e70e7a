// Writes a small demo game folder: missions/demo/ with scene2.bin, cache.bin, tree.klz, scene.4ds
// and check.bin (552 route points for the race circuit of the scene), beside empty models/, sounds/,
// maps/ and tables/. Files that already exist are kept (so edits made in the editor survive the
// next run) unless --fresh is given.
// Usage: make-demo-mission <game folder> [--fresh]
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/CircuitBuilder.h"
#include "support/MissionFileBuilders.h"
#include "support/SceneBuilder.h"

namespace fs = std::filesystem;
using namespace mw::build;

namespace {

std::vector<std::uint8_t> demoScene()
{
    SceneBuilder b;
    b.headerRecord(0x0001, {0x1F, 0, 0, 0});
    b.headerRecord(0x3200, {0, 0, 0x80, 0x3F});
    b.beginObjects();
    b.object({.name = "Primary sector", .type = 0x99, .translation = Floats3{0, 0, 0},
              .rotation = std::array<float, 4>{1, 0, 0, 0}, .size = Floats3{1, 1, 1}});
    b.object({.name = "StreetLamp01", .type = 2, .translation = Floats3{-12.5f, 4.2f, 30.0f},
              .rotation = std::array<float, 4>{1, 0, 0, 0}, .size = Floats3{1, 1, 1}, .link = "Primary sector",
              .light = LightParts{.kind = 2, .colour = Floats3{1.0f, 0.85f, 0.6f}, .power = 2.5f,
                                 .range = Floats2{0.34906584f, 0.69813168f}, .distance = Floats2{1.0f, 25.0f},
                                 .nested = true}});
    b.object({.name = "BarLight", .type = 2, .translation = Floats3{3.0f, 2.5f, -7.25f},
              .rotation = std::array<float, 4>{0.70223647f, -0.71169186f, 0.018644411f, -0.0033287862f},
              .size = Floats3{1, 1, 1}, .link = "Primary sector",
              .light = LightParts{.kind = 1, .colour = Floats3{0.2f, 0.4f, 1.0f}, .power = 1.0f,
                                 .range = Floats2{0.34906584f, 2.4434612f}, .distance = Floats2{1.0f, 12.0f}}});
    b.object({.name = "CityNoise", .type = 4, .translation = Floats3{0, 10, 0},
              .rotation = std::array<float, 4>{1, 0, 0, 0}, .size = Floats3{1, 1, 1}, .link = "Primary sector",
              .sound = SoundParts{.fileName = "city.wav", .kind = 3, .volume = 1.0f,
                                 .fields34 = Floats2{1.0471976f, 1.5707964f}, .fields56 = Floats2{40, 100}}});
    b.object({.name = "Jukebox", .type = 4, .translation = Floats3{4.5f, 0.5f, -8.0f},
              .rotation = std::array<float, 4>{1, 0, 0, 0}, .size = Floats3{1, 1, 1}, .link = "Primary sector",
              .sound = SoundParts{.fileName = "jukebox.wav", .kind = 1, .volume = 0.8f,
                                 .fields34 = Floats2{1.0471976f, 1.5707964f}, .fields56 = Floats2{40, 15}}});
    b.object({.name = "Tommy", .type = 9, .translation = Floats3{1, 0, 1},
              .rotation = std::array<float, 4>{1, 0, 0, 0}, .size = Floats3{1, 1, 1}, .model = "Tommy.i3d",
              .link = "Primary sector"});
    b.object({.name = "Gangster01", .type = 9, .translation = Floats3{6.0f, 0, -4.0f},
              .rotation = std::array<float, 4>{0.8660254f, 0, 0.5f, 0}, .size = Floats3{1, 1, 1},
              .model = "Enemy12K.i3d", .link = "Primary sector"});
    b.object({.name = "Gangster02", .type = 9, .translation = Floats3{7.5f, 0, -4.5f},
              .rotation = std::array<float, 4>{0.5f, 0, -0.8660254f, 0}, .size = Floats3{1, 1, 1},
              .model = "Enemy12K.i3d", .link = "Primary sector"});
    b.object({.name = "BlackCar", .type = 9, .translation = Floats3{-20, 0, 15},
              .rotation = std::array<float, 4>{1, 0, 0, 0}, .size = Floats3{1, 1, 1}, .model = "blackha00.i3d",
              .link = "Primary sector", .unknownChunks = true});
    b.object({.name = "PoliceCar", .type = 9, .translation = Floats3{-25, 0, 18},
              .rotation = std::array<float, 4>{0.7071068f, 0, 0.7071068f, 0}, .size = Floats3{1, 1, 1},
              .model = "polimTud00.i3d", .link = "Primary sector"});
    b.object({.name = "BarDoor", .type = 9, .translation = Floats3{2, 0, -6},
              .rotation = std::array<float, 4>{1, 0, 0, 0}, .size = Floats3{1, 1, 1},
              .model = "FMVDidiOutDoor.i3d", .link = "Primary sector"});
    b.object({.name = "Barrel01", .type = 9, .translation = Floats3{9, 0, 3},
              .rotation = std::array<float, 4>{1, 0, 0, 0}, .size = Floats3{1, 1, 1}, .model = "xbarel 2.i3d",
              .link = "Primary sector"});
    b.object({.name = "Barrel02", .type = 9, .translation = Floats3{9.8f, 0, 3.4f},
              .rotation = std::array<float, 4>{1, 0, 0, 0}, .size = Floats3{1, 1, 1}, .model = "xbarel 2.i3d",
              .link = "Primary sector"});
    b.object({.name = "Warehouse", .type = 9, .translation = Floats3{40, 0, -40},
              .rotation = std::array<float, 4>{1, 0, 0, 0}, .size = Floats3{1.5f, 1, 1.5f}, .model = "4build10.i3d"});
    b.object({.name = "AlarmSwitch", .type = 6, .translation = Floats3{1, 1, -6},
              .rotation = std::array<float, 4>{1, 0, 0, 0}, .size = Floats3{1, 1, 1}, .link = "Primary sector"});
    // A race circuit for the "&Racing" dialog: start points, edge markers, route nodes, cameras.
    addCircuit(b);
    b.endObjects();

    b.beginDefinitions();
    b.definition({"Tommy", 0x1B, humanData(16, 3, 0.5f, 80, "// player\r\nend\r\n")});
    b.definition({"Gangster01", 0x1B,
                  humanData(32, 12, 0.85f, 82, "dim_flt 0\r\nlabel 1\r\nwait 100\r\ngoto 1\r\nend\r\n")});
    b.definition({"Gangster02", 0x1B, humanData(128, 30, 0.25f, 60, "////////////////")});
    b.definition({"BlackCar", 4, std::vector<std::uint8_t>(48, 0x10)});
    b.definition({"PoliceCar", 4, std::vector<std::uint8_t>(48, 0x20)});
    b.definition({"BarDoor.0", 6, std::vector<std::uint8_t>(70, 0)});
    b.definition({"Barrel01", 0x23, thingData(26.4071f, 3)});
    b.definition({"Barrel02", 0x23, thingData(40.0f, 8)});
    b.definition({"AlarmSwitch", 5, scriptedObjectData("//////////")});
    b.endDefinitions();

    b.beginScripts();
    b.script("MissionStart", "// the mission begins\r\nfreeride\r\nend\r\n");
    b.script("MissionEnd", "// the mission ends\r\nmission_objectives 0\r\nend\r\n");
    b.endScripts();
    return b.finish();
}

std::vector<std::uint8_t> demoCache()
{
    CacheBuilder c;
    c.base("block_harbour");
    c.object("lamp01.i3d", {10, 0, 10}, {1, 0, 0, 0}, {1, 1, 1});
    c.object("bench.i3d", {12, 0, 11}, {0.7071068f, 0, 0.7071068f, 0}, {1, 1, 1});
    c.object("crate.i3d", {14.5f, 0, 9}, {1, 0, 0, 0}, {2, 2, 2});
    c.base("block_center");
    c.object("tree_oak.i3d", {-30, 0, 5}, {1, 0, 0, 0}, {1, 1.2f, 1});
    c.object("hydrant.i3d", {-28, 0, 7.25f}, {1, 0, 0, 0}, {1, 1, 1});
    return c.finish();
}

std::vector<std::uint8_t> demoTree()
{
    TreeBuilder t;
    const int wall = t.link("wall.i3d");
    const int pole = t.link("StreetLamp01.i3d");
    const int ball = t.link("ball");
    t.leadingRecords(2);
    t.box(10, wall, {0, 0, 0}, {2, 4, 6});
    t.box(2, wall, {10, 0, 10}, {12, 3, 14});
    TreeBuilder::Matrix quarterTurn{{0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0}};
    t.rotatedBox(17, wall, {-1, -1, -1}, {1, 1, 1}, quarterTurn, {5, 1, 5});
    t.sphere(35, ball, {3, 1, 3}, 0.5f);
    TreeBuilder::Matrix upright{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0.5f, 1, 0}};
    t.verticalBox(27, wall, {1, 0, 0}, {0, 2, 0}, upright, {8, 0, 8}, 0.7071068f, 0.7071068f);
    t.cylinder(20, pole, -12.5f, 30.0f, 0.25f);
    t.endMarker();
    return t.finish();
}

std::vector<std::uint8_t> demoModels()
{
    ModelFileBuilder m;
    m.material("brick.bmp");
    m.material("glass.bmp", true, "glass_env.bmp");
    m.endMaterials();
    m.frame("Signboard", {2, 3, -6}, {1, 0, 0, 0}, {1, 1, 1}, 2);
    m.frame("Awning", {2.5f, 2.8f, -6.2f}, {0.7071068f, 0, 0.7071068f, 0});
    m.frame("Chimney", {40, 12, -41}, {1, 0, 0, 0}, {1, 1, 1}, 1);
    // The frames the collision bodies of tree.klz are linked to.
    m.frame("wall", {0, 0, 0}, {1, 0, 0, 0}, {1, 1, 1}, 1);
    m.frame("ball", {3, 1, 3}, {1, 0, 0, 0}, {1, 1, 1}, 1);
    return m.finish();
}

// The route: 552 points round the middle of the circuit's road, as Put Track would write them.
std::vector<std::uint8_t> demoRoute()
{
    std::vector<std::uint8_t> route = routeFile(552);
    for (std::uint32_t i = 0; i < 552; ++i) {
        const Floats3 a = circuitEdge(static_cast<int>(i * 110 / 552), 'A'), b = circuitEdge(static_cast<int>(i * 110 / 552), 'B');
        const float point[3] = {(a[0] + b[0]) / 2, 1.0f, (a[2] + b[2]) / 2};
        std::memcpy(route.data() + 8 + 30 * i, point, sizeof point);
    }
    return route;
}

void write(const fs::path& path, const std::vector<std::uint8_t>& bytes, bool fresh)
{
    if (!fresh && fs::exists(path))
        return;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
}

} // namespace

int main(int argc, char** argv)
{
    const char* usage = "usage: make-demo-mission <game folder> [--fresh]\n"
                        "Writes the demo mission into <game folder>/missions/demo; --fresh replaces its files.\n";
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::printf("%s", usage);
        return 0;
    }
    // A first argument that starts with "-" is an option we do not know, never a folder to make.
    if (argc < 2 || argv[1][0] == '-' || (argc > 2 && std::string(argv[2]) != "--fresh") || argc > 3) {
        std::fprintf(stderr, "%s", usage);
        return 2;
    }
    const fs::path game = argv[1];
    const bool fresh = argc > 2 && std::string(argv[2]) == "--fresh";
    const fs::path mission = game / "missions" / "demo";
    fs::create_directories(mission);
    for (const char* folder : {"models", "sounds", "maps", "tables"})
        fs::create_directories(game / folder);
    write(mission / "scene2.bin", demoScene(), fresh);
    write(mission / "cache.bin", demoCache(), fresh);
    write(mission / "tree.klz", demoTree(), fresh);
    write(mission / "scene.4ds", demoModels(), fresh);
    write(mission / "check.bin", demoRoute(), fresh);
    std::printf("%s\n", mission.string().c_str());
    return 0;
}
