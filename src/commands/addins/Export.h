#pragma once
// Making an add-in from the selected objects: the package holds them with their recorded
// definitions in its scene block (as the clipboard does), and, when asked, the model file of each
// object's model ("NAME.i3d" brings "NAME.4ds" of the game's models folder, found whatever its
// letter case) in its models group. The package is the user's own file outside the mission: it is
// written all or nothing (a temporary file renamed over it) but is no step of the mission's history,
// so undo never removes it. A model that cannot come along is named, never silently dropped.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "commands/Outcome.h"

namespace mw {

class Prompter;

struct ExportChoices {
    std::string title;
    std::string missionName;
    std::string blockName;
    bool includeModels = true;
};

// The dialog's defaults: the first selected object's name as the title, the mission folder's name,
// the first selected object's name that fits the 20 bytes of the block name.
ExportChoices defaultExportChoices(const Mission& mission, std::span<const std::uint32_t> rows);

struct Exported {
    std::size_t objects = 0;
    std::vector<std::string> modelFiles;    // put into the models group
    std::vector<std::string> missingModels; // each with why it was left out
};

namespace exportmsg {
inline constexpr const char* Exported = " **** exported ****";
inline constexpr const char* Filter = " (add-in package)|*.qra|(*.*)|*.*";
inline constexpr const char* Suffix = "qra";
} // namespace exportmsg

// Why the title, mission name or block name cannot stand in a package (empty: they can), so the
// dialog says so before it asks for a file.
std::string exportChoicesProblem(const ExportChoices& choices);

Result<Exported> exportAddin(Mission& mission, std::span<const std::uint32_t> rows, const ExportChoices& choices,
                         const std::filesystem::path& package, Prompter& prompter);

} // namespace mw
