#pragma once
// Writes through offsets recorded by a load only while the file on disk is still the one that was
// loaded (or last written by us): same size and modification time. After a write the stamp is
// taken anew, so our own writes do not count as foreign changes.

#include <filesystem>
#include <optional>
#include <span>

#include "io/FileAccess.h"

namespace mw {

bool unchangedSince(const std::filesystem::path& path, const std::optional<FileStamp>& stamp);

// Patches in place and takes the new stamp; throws IoError when the write fails.
void patchAndRestamp(const std::filesystem::path& path, std::span<const Patch> patches,
                     std::optional<FileStamp>& stamp);

// The message shown when a file changed behind our back; nothing was written.
std::string changedOnDiskMessage(const std::string& fileName);

class Prompter;

enum class WriteOutcome { Done, Stale, Failed };

// Writes the patches when the file is still the one loaded; otherwise, or when the write fails,
// tells the user (naming `fileName`) and writes nothing.
WriteOutcome guardedPatch(const std::filesystem::path& path, const std::string& fileName,
                          std::span<const Patch> patches, std::optional<FileStamp>& stamp, Prompter& prompter);

} // namespace mw
