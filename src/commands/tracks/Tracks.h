#pragma once
// The race-track commands of the track dialog, on files the user chooses: the transform of a
// circuit's route nodes onto the road's cross-sections, the route points copied into check.bin,
// and a copy of the scene with its edge markers reversed. Every name a command needs is found, and
// every position lies inside the file, before anything is written; each command is one undo step.

#include <filesystem>

#include "commands/Outcome.h"
#include "formats/route/RouteFile.h"
#include "foundation/seams/Progress.h"

namespace mw {

class Progress;
class Prompter;

namespace trackmsg {
inline constexpr const char* SelectSource = "**Select Source file: scene2.bin **";
inline constexpr const char* SelectDestination = "**Select Destination file: check.bin **";
inline constexpr const char* NoStartA = "**Sorry, StartPointA not found! Wrong Source File **";
inline constexpr const char* NoStartB = "**Sorry, StartPointB not found **";
inline constexpr const char* WrongRouteFile = "**Sorry, wrong check.bin! **";
inline constexpr const char* NoScene = "**Sorry, no scene2.bin! **";
inline constexpr const char* Done = "done";
inline constexpr const char* SourceFilter = " (scene2.bin)|*.bin|(*.*)|*.*";
inline constexpr const char* DestinationFilter = "check(*.bin)|*.bin";
} // namespace trackmsg

// Each is done when it wrote its file (a loaded scene it wrote is read again). `progress` counts what is done, with the count as its
// text: the transform's rows 1 ... 110, Put Track's points 0 ... 551, the reversal's markers 1 ... 109.
Outcome transformTrack(Mission& mission, const std::filesystem::path& source, Prompter& prompter,
                       Progress& progress = noProgress());
Outcome putTrack(Mission& mission, const std::filesystem::path& source, const std::filesystem::path& routeFile,
                 Prompter& prompter, Progress& progress = noProgress());
Outcome createReversedCopy(Mission& mission, const std::filesystem::path& source, Prompter& prompter,
                        Progress& progress = noProgress());

} // namespace mw
