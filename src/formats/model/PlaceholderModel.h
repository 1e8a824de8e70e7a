#pragma once
// The placeholder cube model that makes collision bodies visible: "!!Testklz.4DS" in the game's
// models folder, which lies beside "missions" (the game root is the path before its first
// "mission").

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace mw {

inline constexpr const char* PlaceholderModelName = "!!Testklz.4DS";

// The game's models folder for a file of the mission; nothing when the path holds no "mission".
std::optional<std::filesystem::path> modelsFolderOf(const std::filesystem::path& missionFile);

// The file in the models folder that an object's model ("crate.i3d") stands for: "crate.4ds".
std::string modelFileNameFor(std::string_view model);

// Where the placeholder model belongs for a file of the mission; nothing when the path holds no
// "mission".
std::optional<std::filesystem::path> placeholderModelPath(const std::filesystem::path& missionFile);

} // namespace mw
