#include "LargeMission.h"

#include <fstream>

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
            const std::string name = "object" + std::to_string(i);
            const float f = static_cast<float>(i);
            ObjectSpec spec{.name = name, .type = 9, .translation = Floats3{f, 1, -f},
                            .rotation = std::array<float, 4>{1, 0, 0, 0}, .size = Floats3{1, 1, 1},
                            .model = "model" + std::to_string(i % 50) + ".i3d", .link = "Primary sector"};
            switch (i % 5) {
            case 0:
                spec.type = 2;
                spec.light = LightSpec{.kind = 2, .colour = Floats3{1, 0.5f, 0.25f}, .power = 2,
                                       .range = Floats2{0.3f, 0.7f}, .distance = Floats2{1, 25}};
                break;
            case 1:
                spec.type = 4;
                spec.sound = SoundSpec{.fileName = "s.wav", .kind = 1, .volume = 1, .fields34 = Floats2{1, 1.5f},
                                       .fields56 = Floats2{40, 100}};
                break;
            default:
                break;
            }
            b.object(spec);
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

} // namespace mw::bench
