#pragma once
// The insert dialog's rules that are not layout: the files its "Browse" buttons accept and what the
// fields then receive, and the door material of a selected door.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace mw {

class Mission;
class Prompter;

namespace insertfilters {
inline constexpr const char* Model = " (*.4ds)|*.4ds|(*.*)|*.*";
inline constexpr const char* Sound = " (*.wav)|*.wav|(*.*)|*.*";
} // namespace insertfilters

// The model field for a chosen model file: its name with "4ds" (any letter case of "ds") replaced
// by "i3d"; otherwise "****** Select *.4ds file ******" and nothing.
std::optional<std::string> modelFieldFor(const std::filesystem::path& chosenPath, Prompter& prompter);

// The sound file field for a chosen sound file: its name when it ends in "wav", "WAV", "Wav" or
// "WAv"; otherwise "****** Select *.wav file ******" and nothing.
std::optional<std::string> soundFieldFor(const std::filesystem::path& chosenPath, Prompter& prompter);

// The sound material of a door's definition: 1 wood, 2 brass, 3 glass, 0 none found. Its sound
// names are searched for glass first, then brass, then wood (a glass door closes like wood).
int doorMaterialOf(const Mission& mission, std::uint32_t row);

} // namespace mw
