#pragma once
// Scripts of scene2.bin: the text of an object's definition or of a free-standing script entry,
// saved in place when its length is unchanged and through the length-changing scene writer when
// it is not; the listing of every script for the overview pane.

#include <cstdint>
#include <optional>
#include <string>

#include "commands/Outcome.h"

namespace mw {

class Prompter;

namespace scriptmsg {
inline constexpr const char* NotSaved = "--- Not Saved! ---";
inline constexpr const char* Saved = " **** Saved ****";
inline constexpr const char* CloseFile = "****** Close File ******";
inline constexpr const char* Damaged = "****** The script is longer than its chunk - scene2.bin is damaged! Nothing saved. ******";
inline constexpr const char* SearchAgain = "Start search again?";
inline constexpr const char* SearchAgainTitle = "end of Scripts!";
} // namespace scriptmsg

// Scripts usually end their lines in CR LF, which an editor shows as plain line breaks. The text to
// edit has single "\n" line ends; the text to store gets back the line ends the stored script had,
// and an unedited script is stored byte for byte as it was.
std::string scriptForEditing(const std::string& stored);
std::string scriptForStoring(const std::string& edited, const std::string& stored);

// The stored script of an "All" row, read from the mission's bytes; nothing when it has none, or the
// loaded bytes do not hold it where it was recorded.
std::optional<std::string> storedScript(const Mission& mission, std::uint32_t row);

// What a script save did: written in place (same length, no reload), or the file rewritten and the
// scene reloaded with the selections kept (a new length; the unsaved values of the page are let
// go, as the reload shows the file again).
struct ScriptSaved {
    bool newLength = false;
};

// Saves `text` (bytes as stored) as the script of row `row`. A new length reloads the scene keeping
// `keep` (the remembered rows when not given).
Result<ScriptSaved> saveScript(Mission& mission, std::uint32_t row, const std::string& text, Prompter& prompter,
                               const std::optional<KeptRows>& keep = {});

// Every check-marked entry's script under a heading "** -- name -- **", lines ended by CR LF.
std::string scriptListing(const Mission& mission);

} // namespace mw
