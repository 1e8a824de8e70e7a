#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "commands/check/CheckTargets.h"
#include "commands/check/MissionCheck.h"
#include "foundation/bytes/ByteWriter.h"
#include "foundation/text/NumericText.h"
#include "support/CircuitBuilder.h"
#include "support/MissionFileBuilders.h"
#include "support/PackageBuilder.h"
#include "support/SceneBuilder.h"
#include "support/SceneChecks.h"
#include "support/TempFolder.h"

using namespace mw;
using namespace mw::build;
namespace fs = std::filesystem;

namespace {

constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

// A small mission with nothing wrong: a sector, a lamp linked to it, a guard with its definition
// and a free-standing script; a cache, a collision body linked to the lamp, a model frame, and a
// route file beside a scene without a circuit.
struct CleanMission {
    std::vector<std::uint8_t> scene, cache, tree, model, route;
    ObjectOffsets lamp, guard;
    ScriptOffsets script;
    DefinitionOffsets definition;
    std::size_t treeBody = 0;

    // `objects` adds objects after the clean ones.
    explicit CleanMission(const std::function<void(SceneBuilder&)>& objects = {},
                     const std::function<void(SceneBuilder&)>& definitions = {})
    {
        SceneBuilder b;
        b.beginObjects();
        b.object({.name = "Primary sector", .translation = Floats3{0, 0, 0}});
        lamp = b.object({.name = "Lamp", .type = 9, .translation = Floats3{1, 2, 3},
                         .rotation = std::array<float, 4>{1, 0, 0, 0}, .size = Floats3{1, 1, 1},
                         .model = "lamp.i3d", .link = "Primary sector"});
        guard = b.object({.name = "Guard", .type = 9, .translation = Floats3{4, 0, 4}, .link = "Signboard"});
        if (objects)
            objects(b);
        b.endObjects();
        b.beginDefinitions();
        definition = b.definition({"Guard", 0x1B, humanData(8, 10, 0.5f, 80, "wait 100\r\n")});
        if (definitions)
            definitions(b);
        b.endDefinitions();
        b.beginScripts();
        script = b.script("Start", "freeride\r\n");
        b.endScripts();
        scene = b.finish();

        CacheBuilder c;
        c.base("block");
        c.object("bench.i3d", {1, 0, 1}, {1, 0, 0, 0}, {1, 1, 1});
        cache = c.finish();

        TreeBuilder t;
        const int link = t.link("Lamp.i3d");
        treeBody = t.box(1, link, {0, 0, 0}, {1, 1, 1});
        t.endMarker();
        tree = t.finish();

        ModelFileBuilder m;
        m.endMaterials();
        m.frame("Signboard", {2, 3, 4}, {1, 0, 0, 0});
        model = m.finish();

        route = routeFile(552);
    }

    std::vector<CheckedFile> files() const
    {
        const auto file = [](CheckedKind kind, const char* name, const std::vector<std::uint8_t>& bytes) {
            return CheckedFile{kind, name, std::make_shared<const std::vector<std::uint8_t>>(bytes)};
        };
        return {file(CheckedKind::Scene, "scene2.bin", scene), file(CheckedKind::Cache, "cache.bin", cache),
                file(CheckedKind::Model, "scene.4ds", model), file(CheckedKind::Tree, "tree.klz", tree),
                file(CheckedKind::Route, "check.bin", route)};
    }
};

std::vector<std::string> linesOf(const CheckReport& report)
{
    std::vector<std::string> lines;
    for (const Problem& p : report.problems)
        lines.push_back(problemLine(p));
    return lines;
}

std::vector<std::string> check(const CleanMission& m) { return linesOf(checkFiles(m.files())); }

std::string at(std::size_t offset) { return hexNumber(offset); }

std::size_t offsetOf(const std::vector<std::uint8_t>& bytes, std::string_view text)
{
    return static_cast<std::size_t>(std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) - bytes.begin());
}

} // namespace

TEST(MissionCheck, ACleanMissionAndItsPackageHaveNoProblem)
{
    const CleanMission m;
    std::vector<CheckedFile> files = m.files();
    files.push_back({CheckedKind::Package, "bridge.qra",
                     std::make_shared<const std::vector<std::uint8_t>>(buildPackage({}))});
    const CheckReport report = checkFiles(files);
    EXPECT_EQ(linesOf(report), std::vector<std::string>{});
    EXPECT_EQ(report.summary(), "0 errors, 0 warnings in 6 files");
}

// Each damage made on purpose, and what the check says about it: the file, the offset of the
// damage, the severity and the message. A damaged chunk tree is also refused by the loader.
TEST(MissionCheck, EachDamageIsReportedWhereItLies)
{
    const std::string unreadable = "scene2.bin: error: not read: Cann't read file!!";
    struct Case {
        const char* what;
        std::function<std::vector<std::string>(CleanMission&)> damage; // returns the expected lines
    };
    const Case cases[] = {
        {"a header length beyond the file",
         [](CleanMission& m) {
             putU32(m.scene, 2, static_cast<std::uint32_t>(m.scene.size() + 10));
             return std::vector<std::string>{"scene2.bin:0x2: error: the file header gives the file a length of " +
                                             std::to_string(m.scene.size() + 10) + " bytes, but it has " +
                                             std::to_string(m.scene.size()) + " bytes (10 missing)"};
         }},
        {"bytes beyond the header's length",
         [&](CleanMission& m) {
             const std::size_t end = m.scene.size();
             m.scene.insert(m.scene.end(), 4, 0);
             return std::vector<std::string>{unreadable,
                                             "scene2.bin:" + at(end) +
                                                 ": warning: 4 bytes beyond the length the file header gives (" +
                                                 std::to_string(end) + " bytes)"};
         }},
        {"a field chunk running past its object",
         [&](CleanMission& m) {
             const std::size_t chunk = m.lamp.translation - 6;
             putU32(m.scene, chunk + 2, 200);
             return std::vector<std::string>{unreadable, "scene2.bin:" + at(chunk) + ": error: chunk 0x0020 of 200 bytes runs " +
                                                             std::to_string(200 - (m.lamp.end - chunk)) +
                                                             " bytes past the end of chunk 0x4010 at " + at(m.lamp.object)};
         }},
        {"a chunk smaller than its header",
         [&](CleanMission& m) {
             putU32(m.scene, m.guard.object + 2, 3);
             return std::vector<std::string>{unreadable, "scene2.bin:" + at(m.guard.object) +
                                                             ": error: chunk 0x4010 gives itself a size of 3 bytes, "
                                                             "less than its header: the chunks after it cannot be found"};
         }},
        {"a rotation chunk too small for its four floats",
         [&](CleanMission& m) {
             // The rotation chunk gives its last 6 bytes to an empty chunk of their own.
             const std::size_t chunk = m.lamp.rotation - 6;
             putU32(m.scene, chunk + 2, 16);
             putU16(m.scene, chunk + 16, 0xB401);
             putU32(m.scene, chunk + 18, 6);
             return std::vector<std::string>{unreadable, "scene2.bin:" + at(chunk) +
                                                             ": error: the rotation chunk 0x0022 holds 10 bytes, less "
                                                             "than the 16 it needs"};
         }},
        {"a script longer than its chunk",
         [&](CleanMission& m) {
             putU32(m.scene, m.script.lengthField, 13);
             return std::vector<std::string>{unreadable, "scene2.bin:" + at(m.script.lengthField) +
                                                             ": error: script \"Start\": its script of 13 bytes runs 3 "
                                                             "bytes past the end of its chunk"};
         }},
        {"a human's script longer than its data",
         [&](CleanMission& m) {
             const std::size_t length = m.definition.dataPayload + 79; // behind the marker byte
             putU32(m.scene, length, 1000);
             return std::vector<std::string>{unreadable, "scene2.bin:" + at(length) +
                                                             ": error: definition \"Guard\": its script of 1000 bytes "
                                                             "runs 990 bytes past the end of its data"};
         }},
        {"a route file of the wrong size",
         [](CleanMission& m) {
             m.route = routeFile(551);
             return std::vector<std::string>{
                 "check.bin: error: the route file has 16538 bytes, not 16568 (8 + 30 x 552)",
                 "check.bin:0x4: error: the route file says it holds 551 points, not 552"};
         }},
        {"files their readers refuse",
         [](CleanMission& m) {
             m.cache[0] = 0;
             m.model[0] = 'X';
             m.tree[0] = 'X';
             return std::vector<std::string>{"cache.bin: error: not read: No cache.bin file!",
                                             "scene.4ds: error: not read: No *.4ds file!",
                                             "tree.klz: error: not read: No tree.klz file!"};
         }},
    };
    for (const Case& c : cases) {
        CleanMission m;
        const std::vector<std::string> expected = c.damage(m);
        EXPECT_EQ(check(m), expected) << c.what;
    }
}

TEST(MissionCheck, WarningsNameTheEntriesTheyConcern)
{
    ObjectOffsets lamp, tilted;
    DefinitionOffsets ghost;
    CleanMission m(
        [&](SceneBuilder& b) {
            lamp = b.object({.name = "LAMP", .translation = Floats3{NaN, 0, 0}, .link = "Nowhere"});
            tilted = b.object({.name = "Tilted", .rotation = std::array<float, 4>{1, 0.75f, 0, 0}});
        },
        [&](SceneBuilder& b) { ghost = b.definition({"Ghost.0", 4, std::vector<std::uint8_t>(8, 0)}); });
    CacheBuilder c;
    const std::size_t crate = c.object("crate.i3d", {0, 0, 0}, {1, 0, 0, 0}, {1, NaN, 1});
    m.cache = c.finish();
    TreeBuilder t;
    const int link = t.link("Barrel.i3d");
    const std::size_t body = t.box(1, link, {0, 0, 0}, {1, 1, 1});
    t.endMarker();
    m.tree = t.finish();

    EXPECT_EQ(check(m),
              (std::vector<std::string>{
                  "scene2.bin:" + at(lamp.object) + ": warning: two objects named \"LAMP\" (rows 1 and 3)",
                  "scene2.bin:" + at(lamp.object) + ": warning: \"LAMP\" (row 3): its translation is not finite",
                  "scene2.bin:" + at(offsetOf(m.scene, "Nowhere")) +
                      ": warning: \"LAMP\" (row 3) links to \"Nowhere\", which names nothing in the files checked",
                  "scene2.bin:" + at(tilted.object) + ": warning: \"Tilted\" (row 4): its rotation has length 1.2500, not 1",
                  "scene2.bin:" + at(ghost.definition) + ": warning: definition \"Ghost.0\" belongs to no object",
                  "cache.bin:" + at(crate) +
                      ": warning: cached object \"crate.i3d\" (row 0): its size is not finite",
                  "tree.klz:" + at(body + t.bodiesStart()) +
                      ": warning: collision body SCube-0 links to \"Barrel.i3d\", which names nothing in the files checked",
              }));
}

// A route point whose object is missing is said only of a scene that has a circuit.
TEST(MissionCheck, RoutePointsAreJudgedAgainstASceneWithACircuit)
{
    const CleanMission without;
    EXPECT_EQ(check(without), std::vector<std::string>{});
    const CleanMission with([](SceneBuilder& b) { addCircuit(b, "TR17"); });
    EXPECT_EQ(check(with), std::vector<std::string>{"check.bin:" + at(8 + 30 * 17) +
                                                    ": warning: route point 17 names the object \"TR17\", which "
                                                    "scene2.bin does not hold"});
}

TEST(MissionCheck, TheSummaryCountsInSingularAndPlural)
{
    CheckReport report;
    report.files = 1;
    report.problems.push_back({Severity::Error, "a", {}, {}, "x"});
    report.problems.push_back({Severity::Warning, "a", {}, {}, "y"});
    EXPECT_EQ(report.summary(), "1 error, 1 warning in 1 file");
    report.problems.push_back({Severity::Warning, "a", {}, {}, "z"});
    report.files = 4;
    EXPECT_EQ(report.summary(), "1 error, 2 warnings in 4 files");
}

TEST(MissionCheck, AFolderIsCheckedByItsMissionFilesWhateverTheirLetterCase)
{
    TempFolder dir;
    const CleanMission m;
    writeBytes(dir.path() / "SCENE2.BIN", m.scene);
    writeBytes(dir.path() / "Tree.klz", m.tree);
    writeBytes(dir.path() / "notes.txt", {'h', 'i'});
    const CheckTarget target = filesToCheck(dir.path());
    ASSERT_EQ(target.problem, "");
    ASSERT_EQ(target.files.size(), 2u);
    EXPECT_EQ(target.files[0].kind, CheckedKind::Scene);
    EXPECT_EQ(target.files[0].name, (dir.path() / "SCENE2.BIN").generic_string());
    EXPECT_EQ(target.files[1].kind, CheckedKind::Tree);

    EXPECT_EQ(filesToCheck(dir.path() / "notes.txt").problem,
              "cannot tell which mission file " + (dir.path() / "notes.txt").generic_string() + " is");
    EXPECT_EQ(filesToCheck(dir.path() / "gone").problem, "no such file or folder: " + (dir.path() / "gone").generic_string());
    // A reversed copy of a scene is known by its first bytes.
    EXPECT_EQ(kindOfFile("scene2.rev", m.scene), CheckedKind::Scene);
    EXPECT_EQ(kindOfFile("Bridge.QRA", {}), CheckedKind::Package);
}

TEST(MissionCheck, ANestingTooDeepIsAnErrorWhereTheLimitIsPassed)
{
    const NestedScene deep = nestedLightScene(200000);
    const CheckedFile scene{CheckedKind::Scene, "scene2.bin", std::make_shared<const std::vector<std::uint8_t>>(deep.bytes)};
    EXPECT_EQ(linesOf(checkFiles({&scene, 1})),
              (std::vector<std::string>{"scene2.bin: error: not read: Cann't read file!!",
                                        "scene2.bin:" + at(deep.lightStarts[62]) +
                                            ": error: chunks nest deeper than 64 levels here, in chunk 0x4040 at " +
                                            at(deep.lightStarts[61]) + ": the walk goes no deeper"}));
}

// A file shorter than its own counts is an error where the reading stopped, the entries before it
// still checked; the check used to call such files clean.
TEST(MissionCheck, FilesShorterThanTheirCountsAreErrorsWhereTheyEnd)
{
    const auto cutTo = [](std::vector<std::uint8_t> bytes, std::size_t size) {
        bytes.resize(size);
        return bytes;
    };
    TreeBuilder t;
    const int wall = t.link("wall");
    for (int i = 0; i < 6; ++i)
        t.box(1, wall, {0, 0, 0}, {1, 1, 1});
    const std::vector<std::uint8_t> tree = t.finish();
    const std::size_t twoBodies = t.bodiesStart() + 2 * 32;

    ModelFileBuilder m;
    m.endMaterials();
    m.frame("wall", {0, 0, 0}, {1, 0, 0, 0}, {1, 1, 1}, 10);
    const std::size_t second = m.raw().size();
    m.frame("door", {0, 0, 0}, {1, 0, 0, 0}, {1, 1, 1}, 10);
    const std::vector<std::uint8_t> model = m.finish();
    const std::size_t mesh = second + 48 + 4; // the mesh marker behind the name "door"

    ModelFileBuilder few;
    few.material("brick.bmp");
    few.endMaterials();
    std::vector<std::uint8_t> materials = few.finish();
    putU16(materials, 14, 3);

    CacheBuilder c;
    c.object("bench.i3d", {1, 0, 1}, {1, 0, 0, 0}, {1, 1, 1});
    const std::size_t lastRecord = c.raw().size();
    c.object("chair.i3d", {1, 0, 1}, {1, 0, 0, 0}, {1, 1, 1});
    const std::vector<std::uint8_t> cache = c.finish();

    const struct {
        CheckedKind kind;
        const char* name;
        std::vector<std::uint8_t> bytes;
        std::string line;
    } cases[] = {
        {CheckedKind::Tree, "tree.klz", cutTo(tree, twoBodies),
         "tree.klz:" + at(twoBodies) +
             ": error: read only in part: the data header counts 6 bodies; 2 are found before the end of the file"},
        {CheckedKind::Model, "scene.4ds", cutTo(model, mesh + 100),
         "scene.4ds:" + at(mesh) + ": error: read only in part: the mesh of frame \"door\" counts 10 records of 32 "
                                   "bytes; the file ends 228 bytes short"},
        {CheckedKind::Model, "scene.4ds", materials,
         "scene.4ds:" + at(16 + 54) + ": error: read only in part: the material table counts 3 materials; the file ends in material 2"},
        {CheckedKind::Cache, "cache.bin", cutTo(cache, cache.size() - 5),
         "cache.bin:" + at(lastRecord) + ": error: read only in part: a record needs 75 bytes; the file ends 5 bytes short"},
    };
    for (const auto& c : cases) {
        const CheckedFile file{c.kind, c.name, std::make_shared<const std::vector<std::uint8_t>>(c.bytes)};
        EXPECT_EQ(linesOf(checkFiles({&file, 1})), std::vector<std::string>{c.line});
    }
}

// A package its reader refuses is an error naming why, said as what the damage is.
TEST(MissionCheck, ADamagedPackageIsAnErrorSayingWhy)
{
    const auto problemOf = [](const std::vector<std::uint8_t>& bytes) {
        const CheckedFile file{CheckedKind::Package, "bridge.qra", std::make_shared<const std::vector<std::uint8_t>>(bytes)};
        return linesOf(checkFiles({&file, 1}));
    };
    PackageParts padded;
    padded.groups[0] = {{std::string("a.4ds") + std::string(15, '\0'), {1}}};
    EXPECT_EQ(problemOf(buildPackage(padded)),
              std::vector<std::string>{"bridge.qra: error: not read: a file name is padded with NUL bytes, not blanks: \"a.4ds\""});
    PackageParts control;
    control.groups[0] = {{"a\x1b[2J.4ds", {1}}};
    EXPECT_EQ(problemOf(buildPackage(control)),
              std::vector<std::string>{"bridge.qra: error: not read: a file name holds control bytes: \"a\\x1B[2J.4ds\""});
    std::vector<std::uint8_t> cut = buildPackage({});
    cut.resize(100);
    EXPECT_EQ(problemOf(cut), std::vector<std::string>{"bridge.qra: error: not read: it is shorter than its header"});
}
