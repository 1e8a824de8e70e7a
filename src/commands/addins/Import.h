#pragma once
// Importing an add-in package into the loaded mission: backups, the search-and-replace patches of
// the four mission files, the scene block, and the files it installs into the game's folders. The
// whole import is one undo step, and all or nothing: every file it needs is read before the first
// write, and a write that fails takes back everything the import wrote.

#include <filesystem>
#include <optional>

#include "commands/Outcome.h"

namespace mw {

class Prompter;

namespace addinmsg {
inline constexpr const char* NotAPackage = "** No QRA ADDin File ** ";
inline constexpr const char* OtherMission = "** This ADDin is for Mission - ";
inline constexpr const char* Complete = " **** complete ****";
inline constexpr const char* Filter = "*(*.qra)|*.qra";
} // namespace addinmsg

// How an import that was done ended: every part ran (questions answered No for single files
// included), or the user said No to going on, and what was written stays, as one undo step.
struct Imported {
    bool stopped = false;
};

// The scene is read again keeping `keep` (the remembered rows when not given).
Result<Imported> importAddin(Mission& mission, const std::filesystem::path& package, Prompter& prompter,
                             const std::optional<KeptRows>& keep = {});

} // namespace mw
