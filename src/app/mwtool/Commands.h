#pragma once
// The commands of mwtool, the headless tool for mission folders. Each prints its report to the
// standard output (problems to the standard error) and returns the process's exit status.

#include <filesystem>
#include <string>
#include <vector>

namespace mw::tool {

// Exit statuses shared by the commands.
inline constexpr int Ok = 0;
inline constexpr int Problems = 1;   // the check found errors; the install did not complete
inline constexpr int CannotRun = 2;  // bad arguments, a path that cannot be read or written
inline constexpr int Unanswered = 3; // the install met a question no flag answers

// Mission folders, mission files or packages; each folder's files are checked together.
int check(const std::vector<std::filesystem::path>& paths, bool json);

enum class TableFormat { Csv, Json };
int list(const std::filesystem::path& file, TableFormat format);

enum class Answer { Ask, Yes, No };
int install(const std::filesystem::path& package, const std::filesystem::path& missionFolder, Answer answer);

// Only where the tool is built with the window's map view.
int render(const std::filesystem::path& missionFolder, const std::filesystem::path& png, int size);

// Only where the tool is built with the scripting layer: a script over a mission folder, written
// as one step (exit 0), refused or failed with nothing written (1); 2 when a path cannot be read.
int run(const std::filesystem::path& script, const std::filesystem::path& missionFolder, bool dryRun, double timeLimit);

} // namespace mw::tool
