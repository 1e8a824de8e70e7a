#pragma once
// Importing an add-in package into the loaded mission: backups, the search-and-replace patches of
// the four mission files, the scene block, and the files it installs into the game's folders. The
// whole import is one undo step.

#include <filesystem>

namespace mw {

class Mission;
class Prompter;

namespace addinmsg {
inline constexpr const char* NotAPackage = "** No QRA ADDin File ** ";
inline constexpr const char* OtherMission = "** This ADDin is for Mission - ";
inline constexpr const char* Complete = " **** complete ****";
inline constexpr const char* Filter = "*(*.qra)|*.qra";
} // namespace addinmsg

enum class ImportResult {
    Complete, // every step ran (questions answered No for single files included)
    Stopped,  // a check failed or the user said No to going on: what was written stays
    Refused,  // nothing was changed
};

ImportResult importAddin(Mission& mission, const std::filesystem::path& package, Prompter& prompter);

} // namespace mw
