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
#include <sys/stat.h>
#include <sys/wait.h>
#endif
#ifdef MW_MAKE_DEMO
#include <QImage>
#include <QSet>
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

// Runs mwtool with `arguments`, its standard error written to a file beside `folder`; `environment`
// goes before the command (a POSIX shell's "NAME=value "), `program` replaces mwtool.
Ran mwtool(const std::string& arguments, const fs::path& folder, const std::string& environment = "",
           const std::string& program = quoted(MW_TOOL))
{
    const fs::path errors = folder / "stderr.txt";
    const std::string command = environment + program + " " + arguments + " 2>" + quoted(errors);
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

// Crafted files and paths that are no files: never a crash or a hang, and the exit status tells
// which (1: read in part or damaged, 2: not read at all).
TEST(MwTool, CraftedFilesAndPathsThatAreNoFilesEndInAnExitStatus)
{
    TempFolder dir;
    const fs::path deep = dir.path() / "deep";
    fs::create_directories(deep);
    writeBytes(deep / "scene2.bin", nestedLightScene(200000).bytes);
    const Ran listed = mwtool("list " + quoted(deep / "scene2.bin"), dir.path());
    EXPECT_EQ(listed.status, 2);
    EXPECT_EQ(listed.err, "mwtool: " + (deep / "scene2.bin").string() + " is not read: ****** Cann't read file!! ****** \n");
    const Ran checked = mwtool("check " + quoted(deep), dir.path());
    EXPECT_EQ(checked.status, 1);
    EXPECT_NE(checked.out.find("error: chunks nest deeper than 64 levels here"), std::string::npos) << checked.out;

    // A tree whose header counts 3 bodies of which the file holds 1: that one is listed.
    TreeBuilder t;
    const int wall = t.link("wall");
    for (int i = 0; i < 3; ++i)
        t.box(1, wall, {0, 0, 0}, {2, 2, 2});
    std::vector<std::uint8_t> tree = t.finish();
    tree.resize(t.bodiesStart() + 32);
    writeBytes(dir.path() / "tree.klz", tree);
    const Ran cut = mwtool("list " + quoted(dir.path() / "tree.klz"), dir.path());
    EXPECT_EQ(cut.status, 1);
    EXPECT_EQ(std::count(cut.out.begin(), cut.out.end(), '\n'), 2) << cut.out; // the heading and one body
    EXPECT_EQ(cut.err, "mwtool: " + (dir.path() / "tree.klz").string() + " is read only in part, up to " +
                           hexNumber(tree.size()) +
                           ": the data header counts 3 bodies; 1 are found before the end of the file\n");

#ifndef _WIN32
    const fs::path pipe = dir.path() / "pipe";
    fs::create_directories(pipe);
    ASSERT_EQ(::mkfifo((pipe / "scene2.bin").c_str(), 0600), 0);
    EXPECT_EQ(mwtool("list " + quoted(pipe / "scene2.bin"), dir.path()).status, 2);
    const Ran fifo = mwtool("check " + quoted(pipe), dir.path());
    EXPECT_EQ(fifo.status, 2);
    EXPECT_NE(fifo.err.find("not a file"), std::string::npos) << fifo.err;
#endif
    EXPECT_EQ(mwtool("install " + quoted(dir.path() / "gone.qra") + " " + quoted(deep) + " --yes", dir.path()).status, 2);

    // Names as text: Latin-1 in UTF-8, control bytes as \xNN, in lines and in JSON alike; a script
    // is told from an object.
    const fs::path names = dir.path() / "names";
    SceneBuilder b;
    b.beginObjects();
    b.object({.name = std::string("Caf\xE9\0\x1B", 6)});
    b.object({.name = std::string("CAF\xC9\0\x1B", 6)});
    b.object({.name = "intro"});
    b.endObjects();
    b.beginScripts();
    b.script("Intro", "wait 2");
    b.endScripts();
    fs::create_directories(names);
    writeBytes(names / "scene2.bin", b.finish());
    const Ran lines = mwtool("check " + quoted(names), dir.path());
    EXPECT_NE(lines.out.find("warning: two objects named \"CAF\xC3\x89\\x00\\x1B\" (rows 0 and 1)"), std::string::npos)
        << lines.out;
    EXPECT_NE(lines.out.find("warning: an object and a script both named \"Intro\" (rows 2 and 3)"), std::string::npos)
        << lines.out;
    const nlohmann::json doc = nlohmann::json::parse(mwtool("check --json " + quoted(names), dir.path()).out);
    EXPECT_EQ(doc["problems"][0]["message"], "two objects named \"CAF\xC3\x89\\x00\\x1B\" (rows 0 and 1)");
    const Ran listed2 = mwtool("list " + quoted(names / "scene2.bin"), dir.path());
    EXPECT_NE(listed2.out.find("\n0,Caf\xC3\xA9\\x00\\x1B,"), std::string::npos) << listed2.out;
}

// A folder copied from a case-blind system: its files are found whatever their letter case, and,
// where the file system tells such names apart, two names that differ only in case are an error
// naming both.
TEST(MwTool, FilesAreFoundWhateverTheirLetterCase)
{
    TempFolder dir;
    const fs::path mission = dir.path() / "game" / "missions" / "m1";
    SceneBuilder b;
    b.beginObjects();
    b.object({.name = "Primary sector", .translation = Floats3{0, 0, 0}});
    b.endObjects();
    const std::vector<std::uint8_t> scene = b.finish();
    fs::create_directories(mission);
    writeBytes(mission / "SCENE2.BIN", scene);
    PackageParts parts;
    ChunkBuilder objects;
    const auto o = objects.open(chunk::Object);
    objects.text(chunk::ObjectName, "Crate");
    objects.close(o);
    parts.objects = objects.take();
    writeBytes(dir.path() / "crate.qra", buildPackage(parts));
    const Ran installed = mwtool("install " + quoted(dir.path() / "crate.qra") + " " + quoted(mission) + " --yes", dir.path());
    EXPECT_EQ(installed.status, 0) << installed.out << installed.err;
    EXPECT_NE(readWholeFile(mission / "SCENE2.BIN"), scene);
    EXPECT_TRUE(fs::exists(mission / "SCENE2.BIN.sav"));

    writeBytes(mission / "scene2.bin", scene);
    // A file system that ignores letter case holds the two names as one file: no clash is there.
    if (fs::equivalent(mission / "scene2.bin", mission / "SCENE2.BIN"))
        return;
    const Ran clash = mwtool("check " + quoted(mission), dir.path());
    EXPECT_EQ(clash.status, 1);
    EXPECT_NE(clash.out.find((mission / "scene2.bin").lexically_normal().generic_string() +
                             ": error: \"scene2.bin\" and \"SCENE2.BIN\" differ only in letter case: \"scene2.bin\" "
                             "is the scene2.bin checked\n"),
              std::string::npos)
        << clash.out;
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

    // A No that ends the install before anything was written says that nothing was.
    reset();
    writeBytes(mission / "scene2.bin.sav", scene);
    PackageParts patching = parts;
    patching.apply[3] = true;
    patching.patches[3] = {{"nowhere", "NOWHERE"}};
    writeBytes(dir.path() / "patch.QRA", buildPackage(patching));
    const Ran stopped = mwtool("install " + quoted(dir.path() / "patch.QRA") + " " + quoted(mission) + " --no", dir.path());
    EXPECT_EQ(stopped.status, 1);
    EXPECT_TRUE(stopped.out.ends_with("Go on? ** no\nstopped: nothing was changed\n")) << stopped.out;
}

#ifdef MW_MAKE_DEMO
// The demo mission drawn from above, with no display: always on the offscreen platform, whatever
// the environment names, silent on the standard error, and as large as asked.
TEST(MwTool, RenderWritesAPngOfTheDemoMission)
{
    TempFolder dir;
    ASSERT_EQ(std::system((quoted(MW_MAKE_DEMO) + " " + quoted(dir.path()) + " >" + quoted(dir.path() / "out.txt")).c_str()), 0);
    const fs::path demo = dir.path() / "missions" / "demo";
    const fs::path png = dir.path() / "map.png";
    for (const auto& [environment, size] : {std::pair{"", 300}, {"env -u DISPLAY QT_QPA_PLATFORM=xcb ", 16},
                                           {"env -u XDG_RUNTIME_DIR QT_QPA_PLATFORM= ", 17},
                                           {"QT_QPA_PLATFORM=wayland ", 199}}) {
        SCOPED_TRACE(environment);
        fs::remove(png);
        const Ran render = mwtool("render " + quoted(demo) + " " + quoted(png) + " --size " + std::to_string(size),
                                  dir.path(), environment);
        EXPECT_EQ(render.status, 0);
        EXPECT_EQ(render.err, "");
        const QImage image(QString::fromStdString(png.string()));
        EXPECT_EQ(image.size(), QSize(size, size));
        // Not blank: the ground, the objects and the bodies in their colours.
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                colours.insert(image.pixel(x, y));
        EXPECT_GT(colours.size(), 3);
    }

    const Ran word = mwtool("render " + quoted(demo) + " " + quoted(png) + " --size abc", dir.path());
    EXPECT_EQ(word.status, 2);
    EXPECT_NE(word.err.find("\"abc\" is not a number"), std::string::npos) << word.err;

    // A scene its reader refuses is an error, and no picture is written.
    writeBytes(demo / "scene2.bin", {'X', 'X', 0, 0});
    fs::remove(png);
    const Ran refused = mwtool("render " + quoted(demo) + " " + quoted(png), dir.path());
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "mwtool: " + (demo / "scene2.bin").generic_string() +
                               " is not read: ****** No scene2.bin file! ******\n");
    EXPECT_FALSE(fs::exists(png));

    const Ran help = mwtool("", dir.path(), "", quoted(MW_MAKE_DEMO) + " --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("usage: make-demo-mission")) << help.out;
    EXPECT_FALSE(fs::exists(dir.path() / "--help"));
}
#endif

#ifdef MW_EXAMPLE_SCRIPTS
// The example scripts run on the demo mission; a dry run writes nothing and says what the run
// would change; a script that fails writes nothing and says where; a path that cannot be read is 2.
TEST(MwTool, RunRunsScriptsOverAMissionFolder)
{
    TempFolder dir;
    ASSERT_EQ(std::system((quoted(MW_MAKE_DEMO) + " " + quoted(dir.path()) + " >" + quoted(dir.path() / "out.txt")).c_str()), 0);
    const fs::path demo = dir.path() / "missions" / "demo", examples = MW_EXAMPLE_SCRIPTS;
    const auto files = [&] {
        std::vector<std::vector<std::uint8_t>> bytes;
        for (const char* name : {"scene2.bin", "cache.bin", "scene.4ds", "tree.klz"})
            bytes.push_back(readWholeFile(demo / name));
        return bytes;
    };
    const auto before = files();
    const Ran dry = mwtool("run " + quoted(examples / "lift-street-lamps.js") + " " + quoted(demo) + " --dry-run", dir.path());
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_EQ(dry.out, "Lifted 1 street lamps by 2 m\n"
                       "Dry run, nothing written: the script would change scene2.bin: 1 object moved.\n");
    EXPECT_EQ(files(), before);

    writeBytes(dir.path() / "bad.js", {'m', 'o', 'v', 'e', '(', '0', ',', '1', ',', '1', ',', '1', ')', ';', '\n',
                                       'm', 'o', 'v', 'e', '(', '9', '9', '9', '9', '9', ')'});
    const Ran bad = mwtool("run " + quoted(dir.path() / "bad.js") + " " + quoted(demo), dir.path());
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("Stopped at bad.js:2: move: there is no object at objects row 99999. Nothing was changed."),
              std::string::npos) << bad.err;
    EXPECT_EQ(files(), before);
    EXPECT_EQ(mwtool("run " + quoted(dir.path() / "gone.js") + " " + quoted(demo), dir.path()).status, 2);
    EXPECT_EQ(mwtool("run " + quoted(dir.path() / "bad.js") + " " + quoted(dir.path() / "gone"), dir.path()).status, 2);

    for (const char* example : {"list-missing-models.js", "drop-barrels.js", "rename-guards.js", "lift-street-lamps.js"}) {
        SCOPED_TRACE(example);
        const Ran ran = mwtool("run " + quoted(examples / example) + " " + quoted(demo), dir.path());
        EXPECT_EQ(ran.status, 0) << ran.err;
        EXPECT_NE(ran.out.find('\n'), std::string::npos);
    }
    EXPECT_NE(files(), before);
    const Ran listed = mwtool("list " + quoted(demo / "scene2.bin"), dir.path());
    EXPECT_NE(listed.out.find(",Guard01,"), std::string::npos);
    EXPECT_EQ(listed.out.find(",Gangster01,"), std::string::npos);
}
#endif
