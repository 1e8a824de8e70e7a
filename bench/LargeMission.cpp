#include "LargeMission.h"

#include <fstream>

#include "support/MissionFileBuilders.h"
#include "support/SceneBuilder.h"

namespace mw::bench {

namespace fs = std::filesystem;
using namespace mw::build;

namespace {

void save(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

fs::path benchFolder()
{
    const fs::path folder = fs::temp_directory_path() / "mission-workshop-bench";
    fs::create_directories(folder);
    return folder;
}

} // namespace

const fs::path& largeScenePath()
{
    static const fs::path path = [] {
        constexpr int Objects = 29001;
        constexpr int Scripts = 1000;
        SceneBuilder b;
        b.headerRecord(0x0001, {1, 0, 0, 0});
        b.beginObjects();
        for (int i = 0; i < Objects; ++i) {
            // The first object is the sector every object is linked to.
            const std::string name = i == 0 ? std::string("Primary sector") : "object" + std::to_string(i);
            const float f = static_cast<float>(i);
            ObjectParts parts{.name = name, .type = 9, .translation = Floats3{f, 1, -f},
                            .rotation = std::array<float, 4>{1, 0, 0, 0}, .size = Floats3{1, 1, 1},
                            .model = "model" + std::to_string(i % 50) + ".i3d", .link = "Primary sector"};
            switch (i % 5) {
            case 0:
                parts.type = 2;
                parts.light = LightParts{.kind = 2, .colour = Floats3{1, 0.5f, 0.25f}, .power = 2,
                                       .range = Floats2{0.3f, 0.7f}, .distance = Floats2{1, 25}};
                break;
            case 1:
                parts.type = 4;
                parts.sound = SoundParts{.fileName = "s.wav", .kind = 1, .volume = 1, .fields34 = Floats2{1, 1.5f},
                                       .fields56 = Floats2{40, 100}};
                break;
            default:
                break;
            }
            b.object(parts);
        }
        b.endObjects();
        b.beginDefinitions();
        for (int i = 0; i < Objects; ++i) {
            const std::string name = "object" + std::to_string(i);
            if (i % 5 == 2)
                b.definition({name, 0x1B, humanData(8, 10, 0.5f, 80, "// script of " + name + "\r\nend\r\n")});
            else if (i % 5 == 3)
                b.definition({name, 0x23, thingData(26, 3)});
        }
        b.endDefinitions();
        b.beginScripts();
        for (int i = 0; i < Scripts; ++i)
            b.script("script" + std::to_string(i), std::string(200, 'x'));
        b.endScripts();
        const fs::path file = benchFolder() / "scene2.bin";
        save(file, b.finish());
        return file;
    }();
    return path;
}

const fs::path& largeCachePath()
{
    static const fs::path path = [] {
        CacheBuilder c;
        for (int i = 0; i < 10000; ++i) {
            if (i % 20 == 0)
                c.base("block" + std::to_string(i / 20));
            else
                c.object("object" + std::to_string(i) + ".i3d", {float(i), 0, float(-i)}, {1, 0, 0, 0}, {1, 1, 1});
        }
        const fs::path file = benchFolder() / "cache.bin";
        save(file, c.finish());
        return file;
    }();
    return path;
}

const fs::path& largeTreePath()
{
    static const fs::path path = [] {
        TreeBuilder t;
        for (int i = 0; i < 100; ++i)
            t.link("object" + std::to_string(i + 1) + ".i3d"); // named after the scene's objects
        t.leadingRecords(10);
        constexpr int PerKind = 6000;
        for (int i = 0; i < PerKind + 1; ++i)
            t.box(1, i % 100, {float(i), 0, 0}, {float(i) + 1, 2, 3});
        for (int i = 0; i < PerKind; ++i)
            t.rotatedBox(2, i % 100, {-1, -1, -1}, {1, 1, 1},
                         TreeBuilder::Matrix{{0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0}}, {float(i), 1, 1});
        for (int i = 0; i < PerKind; ++i)
            t.sphere(3, i % 100, {float(i), 1, 1}, 2);
        for (int i = 0; i < PerKind; ++i)
            t.verticalBox(4, i % 100, {1, 0, 0}, {0, 2, 0}, TreeBuilder::Matrix{}, {float(i), 5, 5}, 0.7f, 0.7f);
        for (int i = 0; i < PerKind; ++i)
            t.cylinder(5, i % 100, float(i), 2, 0.5f);
        t.endMarker();
        const fs::path file = benchFolder() / "tree.klz";
        save(file, t.finish());
        return file;
    }();
    return path;
}

const fs::path& largeModelPath()
{
    static const fs::path path = [] {
        ModelFileBuilder m;
        for (int i = 0; i < 40; ++i)
            m.material("texture" + std::to_string(i) + ".bmp", i % 3 == 0, "second.bmp");
        m.endMaterials();
        std::uint32_t random = 12345;
        auto next = [&random] {
            random = random * 1664525u + 1013904223u;
            return static_cast<std::uint8_t>(random >> 24);
        };
        constexpr std::size_t Target = 100u * 1024 * 1024;
        constexpr int Vertices = 1000;
        for (int frame = 0; m.raw().size() < Target; ++frame) {
            m.frame("frame" + std::to_string(frame), {float(frame), 0, 0}, {1, 0, 0, 0});
            ByteWriter& out = m.raw();
            const std::uint8_t mesh[] = {0, 0, 0, 1, 0, 0, 0, 0};
            out.append(mesh);
            out.u16(Vertices);
            for (int b = 0; b < Vertices * 32; ++b)
                out.u8(next());
            // Faces and the rest: walked byte by byte by the scan.
            for (int b = 0; b < Vertices * 32; ++b)
                out.u8(next());
        }
        const fs::path file = benchFolder() / "scene.4ds";
        save(file, m.finish());
        return file;
    }();
    return path;
}

} // namespace mw::bench
