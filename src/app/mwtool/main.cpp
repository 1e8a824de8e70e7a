// mwtool, the headless tool for mission folders: check, list, install and (where the window's map
// view is built) render. Arguments are parsed by CLI11; every command prints to the standard output.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <string>

#include "app/mwtool/Commands.h"
#ifdef MW_TOOL_SCRIPT
#include "script/ScriptRun.h"
#endif

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv)
{
#ifdef _WIN32
    // CSV lines end in CR LF of their own; the console must not add a second CR. Both streams
    // print the same bytes as on every other system.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    using namespace mw::tool;
    CLI::App app{"mwtool: checks, lists and installs into mission folders without a window"};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("mwtool ") + MW_VERSION, "Prints the version and exits");

    std::vector<std::filesystem::path> checkPaths;
    bool json = false;
    CLI::App* check = app.add_subcommand(
        "check", "Checks mission folders, mission files or .QRA packages; exit status 0: no errors, 1: errors, "
                 "2: a path could not be checked");
    check->add_option("paths", checkPaths, "Mission folders, files or packages")->required();
    check->add_flag("--json", json, "Print one JSON document instead of lines");
    check->footer("Example: mwtool check missions/demo");

    std::filesystem::path listFile;
    std::string format = "csv";
    CLI::App* list = app.add_subcommand(
        "list", "Lists the entries of a scene2.bin, cache.bin, scene.4ds or tree.klz as CSV or JSON");
    list->add_option("file", listFile, "The mission file")->required();
    list->add_option("--format", format, "csv (the default) or json")->check(CLI::IsMember({"csv", "json"}));
    list->footer("Example: mwtool list missions/demo/scene2.bin --format csv > objects.csv");

    std::filesystem::path package, installFolder;
    bool yes = false, no = false;
    CLI::App* install = app.add_subcommand(
        "install", "Installs a .QRA add-in into a mission folder; without --yes or --no it stops at the first "
                   "question, changes nothing and exits with status 3");
    install->add_option("package", package, "The .QRA package")->required();
    install->add_option("mission", installFolder, "The mission folder (holding scene2.bin)")->required();
    CLI::Option* yesFlag = install->add_flag("--yes", yes, "Answer every question Yes");
    CLI::Option* noFlag = install->add_flag("--no", no, "Answer every question No");
    yesFlag->excludes(noFlag);
    install->footer("Example: mwtool install bridge.qra missions/demo --yes");

#ifdef MW_TOOL_RENDER
    std::filesystem::path renderFolder, png;
    int size = 1024;
    CLI::App* render = app.add_subcommand(
        "render", "Draws the mission from above into a PNG image, as the editor's map shows it; needs no display");
    render->add_option("mission", renderFolder, "The mission folder")->required();
    render->add_option("image", png, "The PNG file to write")->required();
    // Checked as text first, so that "--size abc" is told as what it is.
    const CLI::Validator wholeNumber(
        [](std::string& text) {
            const bool digits = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
            return digits ? std::string() : "\"" + text + "\" is not a number";
        },
        "NUMBER");
    render->add_option("--size", size, "Width and height in pixels, 16 to 16384 (default 1024)")
        ->check(wholeNumber)
        ->check(CLI::Range(16, 16384));
    render->footer("Example: mwtool render missions/demo map.png --size 800");
#endif

#ifdef MW_TOOL_SCRIPT
    std::filesystem::path script, runFolder;
    bool dryRun = false;
    double timeLimit = 30;
    CLI::App* runCommand = app.add_subcommand(
        "run", "Runs a JavaScript file over a mission folder: everything it changes is written once, when it ends "
               "well; exit status 0: done, 1: the script failed or was refused (nothing written), 2: a path "
               "cannot be read");
    runCommand->add_option("script", script, "The script (.js)")->required();
    runCommand->add_option("mission", runFolder, "The mission folder")->required();
    runCommand->add_flag("--dry-run", dryRun, "Run against the files in memory and write nothing");
    runCommand->add_option("--time-limit", timeLimit, "Seconds before the script is stopped (default 30)")
        ->check(CLI::Range(0.001, 86400.0));
    runCommand->footer("The scripting interface:\n" + mw::ScriptRun::reference().toStdString() +
                       "\n\nExample: mwtool run examples/scripts/lift-street-lamps.js missions/demo --dry-run");
#endif

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? Ok : CannotRun;
    }

    if (check->parsed())
        return mw::tool::check(checkPaths, json);
    if (list->parsed())
        return mw::tool::list(listFile, format == "json" ? TableFormat::Json : TableFormat::Csv);
    if (install->parsed())
        return mw::tool::install(package, installFolder, yes ? Answer::Yes : no ? Answer::No : Answer::Ask);
#ifdef MW_TOOL_RENDER
    if (render->parsed())
        return mw::tool::render(renderFolder, png, size);
#endif
#ifdef MW_TOOL_SCRIPT
    if (runCommand->parsed())
        return mw::tool::run(script, runFolder, dryRun, timeLimit);
#endif
    return CannotRun;
}
