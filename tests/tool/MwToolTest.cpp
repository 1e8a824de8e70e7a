// mwtool as a user's script runs it: the executable with its arguments, its output and its exit
// status.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "formats/scene/SceneChunks.h"
#include "foundation/files/FileAccess.h"
#include "foundation/text/NumericText.h"
#include "support/ChunkBuilder.h"
#include "support/MissionFileBuilders.h"
#include "support/PackageBuilder.h"
#include "support/SceneBuilder.h"
#include "support/SceneChecks.h"
#include "support/TempFolder.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

using namespace mw;
using namespace mw::build;
namespace fs = std::filesystem;

namespace {

struct Ran {
    int status = -1;
    std::string out, err;
};

std::string quoted(const fs::path& path) { return "\"" + path.string() + "\""; }

// Runs mwtool with `arguments`, its standard error written to a file beside `folder`.
Ran mwtool(const std::string& arguments, const fs::path& folder)
{
    const fs::path errors = folder / "stderr.txt";
    const std::string command = quoted(MW_TOOL) + " " + arguments + " 2>" + quoted(errors);
    Ran ran;
#ifdef _WIN32
    // The shell takes off the first and the last quote of a command: the command's own stay.
    FILE* pipe = _popen(("\"" + command + "\"").c_str(), "rb");
#else
    FILE* pipe = popen(command.c_str(), "r");
#endif
    if (!pipe)
        return ran;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        ran.out.append(buffer, n);
#ifdef _WIN32
    ran.status = _pclose(pipe);
#else
    const int status = pclose(pipe);
    ran.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    std::ifstream in(errors, std::ios::binary);
    ran.err.assign(std::istreambuf_iterator<char>(in), {});
    return ran;
}

// A mission whose rows 1 and 3 share a name, beside a route file one point short; the offset of
// the second "lamp".
std::size_t damagedMission(const fs::path& folder)
{
    SceneBuilder b;
    b.beginObjects();
    b.object({.name = "Primary sector", .translation = Floats3{0, 0, 0}});
    b.object({.name = "lamp", .translation = Floats3{1, 0, 1}});
    b.object({.name = "Guard", .translation = Floats3{2, 0, 2}});
    const std::size_t twin = b.object({.name = "lamp", .translation = Floats3{3, 0, 3}}).object;
    b.endObjects();
    fs::create_directories(folder);
    writeBytes(folder / "scene2.bin", b.finish());
    writeBytes(folder / "check.bin", routeFile(551));
    return twin;
}

std::string sceneLine(const fs::path& folder, const std::string& rest)
{
    return (folder / "scene2.bin").lexically_normal().generic_string() + rest;
}

} // namespace

TEST(MwTool, CheckReportsADamagedMissionAsLinesOrJsonWithItsExitStatus)
{
    TempFolder dir;
    const fs::path mission = dir.path() / "m1";
    const std::size_t twin = damagedMission(mission);
    const std::string route = (mission / "check.bin").generic_string();

    const Ran text = mwtool("check " + quoted(mission), dir.path());
    EXPECT_EQ(text.status, 1);
    EXPECT_EQ(text.out, sceneLine(mission, ":" + hexNumber(twin) + ": warning: two objects named \"lamp\" (rows 1 and 3)\n") +
                            route + ": error: the route file has 16538 bytes, not 16568 (8 + 30 x 552)\n" + route +
                            ":0x4: error: the route file says it holds 551 points, not 552\n"
                            "2 errors, 1 warning in 2 files\n");

    const Ran json = mwtool("check --json " + quoted(mission), dir.path());
    EXPECT_EQ(json.status, 1);
    const nlohmann::json doc = nlohmann::json::parse(json.out);
    EXPECT_EQ(doc["summary"], "2 errors, 1 warning in 2 files");
    ASSERT_EQ(doc["problems"].size(), 3u);
    EXPECT_EQ(doc["problems"][0]["severity"], "warning");
    EXPECT_EQ(doc["problems"][0]["row"], 3);
    EXPECT_EQ(doc["problems"][1]["offset"], nullptr);
    EXPECT_EQ(doc["problems"][2]["offset"], 4);

    // No error: 0. A path that cannot be checked, or arguments that make no sense: 2.
    writeBytes(mission / "check.bin", routeFile(552));
    EXPECT_EQ(mwtool("check " + quoted(mission), dir.path()).status, 0);
    const Ran gone = mwtool("check " + quoted(dir.path() / "gone"), dir.path());
    EXPECT_EQ(gone.status, 2);
    EXPECT_EQ(gone.err, "mwtool: no such file or folder: " + (dir.path() / "gone").generic_string() + "\n");
    EXPECT_EQ(mwtool("check", dir.path()).status, 2);
    EXPECT_EQ(mwtool("list " + quoted(mission / "scene2.bin") + " --format xml", dir.path()).status, 2);
    EXPECT_EQ(mwtool("--help", dir.path()).status, 0);
}

// Names with commas and quotes are quoted as spreadsheets read them; texts leave as UTF-8.
TEST(MwTool, ListWritesTheSceneAsCsvThatSpreadsheetsRead)
{
    TempFolder dir;
    SceneBuilder b;
    b.beginObjects();
    b.object({.name = "Lamp, big", .type = 9, .translation = Floats3{1.5f, 2, 3}, .model = "lamp.i3d"});
    b.object({.name = "say \"hi\"", .translation = Floats3{0, 0, 0}, .link = "Lamp, big"});
    b.object({.name = "Caf\xE9"});
    b.endObjects();
    writeBytes(dir.path() / "scene2.bin", b.finish());

    const Ran csv = mwtool("list " + quoted(dir.path() / "scene2.bin"), dir.path());
    EXPECT_EQ(csv.status, 0);
    EXPECT_EQ(csv.out, "row,name,type,has_script,model,link,translation_x,translation_y,translation_z,rotation_1,"
                       "rotation_2,rotation_3,rotation_4,size_x,size_y,size_z\r\n"
                       "0,\"Lamp, big\",0x09,false,lamp.i3d,,1.5,2,3" + std::string(7, ',') + "\r\n"
                       "1,\"say \"\"hi\"\"\",,false,,\"Lamp, big\",0,0,0" + std::string(7, ',') + "\r\n"
                       "2,Caf\xC3\xA9,,false,," + std::string(10, ',') + "\r\n");

    const Ran json = mwtool("list " + quoted(dir.path() / "scene2.bin") + " --format json", dir.path());
    const nlohmann::json rows = nlohmann::json::parse(json.out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0]["translation"], nlohmann::json::parse("[1.5, 2.0, 3.0]"));
    EXPECT_EQ(rows[1]["name"], "say \"hi\"");
    EXPECT_EQ(rows[2]["rotation"], nullptr);
}

// The add-in import without a window: each question answered by the flag; without one the install
// stops at the first question and every file is as it was.
TEST(MwTool, InstallAnswersItsQuestionsByTheFlagOrChangesNothing)
{
    TempFolder dir;
    const fs::path game = dir.path() / "game";
    const fs::path mission = game / "missions" / "m1";
    const fs::path model = game / "models" / "crate.4ds";
    SceneBuilder b;
    b.beginObjects();
    b.object({.name = "Primary sector", .translation = Floats3{0, 0, 0}});
    b.endObjects();
    const std::vector<std::uint8_t> scene = b.finish();

    PackageParts parts;
    ChunkBuilder objects;
    const auto o = objects.open(chunk::Object);
    objects.text(chunk::ObjectName, "Crate");
    objects.floats(chunk::Translation, {1, 2, 3});
    objects.close(o);
    parts.objects = objects.take();
    parts.groups[0] = {{"crate.4ds", {'n', 'e', 'w'}}};
    const fs::path package = dir.path() / "crate.QRA";
    writeBytes(package, buildPackage(parts));
    const std::string install = "install " + quoted(package) + " " + quoted(mission);

    const auto reset = [&] {
        fs::remove_all(mission);
        fs::create_directories(mission);
        writeBytes(mission / "scene2.bin", scene);
        fs::create_directories(model.parent_path());
        writeBytes(model, {'o', 'l', 'd'});
    };
    const auto files = [&] {
        std::vector<std::string> names;
        for (const auto& e : fs::recursive_directory_iterator(game))
            names.push_back(e.path().lexically_relative(game).generic_string());
        std::sort(names.begin(), names.end());
        return names;
    };

    reset();
    const std::vector<std::string> before = files();
    const Ran asked = mwtool(install, dir.path());
    EXPECT_EQ(asked.status, 3);
    EXPECT_EQ(asked.out, "File exists!: Filecrate.4ds already exists!! Still overwrite?\n");
    EXPECT_EQ(readWholeFile(mission / "scene2.bin"), scene);
    EXPECT_EQ(readWholeFile(model), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(files(), before); // no backup or temporary file left behind

    reset();
    const Ran no = mwtool(install + " --no", dir.path());
    EXPECT_EQ(no.status, 0);
    EXPECT_NE(no.out.find("Filecrate.4ds already exists!! Still overwrite? no\n"), std::string::npos) << no.out;
    EXPECT_EQ(readWholeFile(model), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    EXPECT_NE(readWholeFile(mission / "scene2.bin"), scene); // the crate is in

    reset();
    const Ran yes = mwtool(install + " --yes", dir.path());
    EXPECT_EQ(yes.status, 0);
    EXPECT_EQ(readWholeFile(model), (std::vector<std::uint8_t>{'n', 'e', 'w'}));
    EXPECT_NE(yes.out.find("replaced " + model.string() + "\n"), std::string::npos) << yes.out;
    EXPECT_TRUE(yes.out.ends_with("complete\n")) << yes.out;
}

#ifdef MW_MAKE_DEMO
// The demo mission drawn from above, with no display.
TEST(MwTool, RenderWritesAPngOfTheDemoMission)
{
    TempFolder dir;
    ASSERT_EQ(std::system((quoted(MW_MAKE_DEMO) + " " + quoted(dir.path()) + " >" + quoted(dir.path() / "out.txt")).c_str()), 0);
    const fs::path png = dir.path() / "map.png";
    const Ran render = mwtool("render " + quoted(dir.path() / "missions" / "demo") + " " + quoted(png) + " --size 300",
                              dir.path());
    EXPECT_EQ(render.status, 0) << render.err;
    const std::vector<std::uint8_t> image = readWholeFile(png);
    ASSERT_GT(image.size(), 24u);
    EXPECT_EQ(std::string(image.begin() + 1, image.begin() + 4), "PNG");
    // The header's width and height, big-endian.
    EXPECT_EQ((image[18] << 8) | image[19], 300);
    EXPECT_EQ((image[22] << 8) | image[23], 300);
}
#endif
