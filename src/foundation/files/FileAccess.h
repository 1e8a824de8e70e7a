#pragma once
// Whole-file reads and the two ways this program writes a mission file: fixed-width patches in
// place (the length never changes) and an atomic replace of the whole file. Every write to a
// mission file goes through the two functions below.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace mw {

class IoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What identifies a file's content as the one we loaded or last wrote ourselves.
struct FileStamp {
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified{};
    bool operator==(const FileStamp&) const = default;
};

std::optional<FileStamp> stampOf(const std::filesystem::path& path);

// Reads a whole file; throws IoError when it cannot be opened or read.
std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& path);

// `count` bytes from `offset`; throws IoError when the file cannot be read or is shorter.
std::vector<std::uint8_t> readRange(const std::filesystem::path& path, std::uint64_t offset, std::uint64_t count);

// True when the file can be opened for reading.
bool canOpenForReading(const std::filesystem::path& path);

// True when a regular file can be found at `path` (any error counts as false).
bool fileExists(const std::filesystem::path& path);

struct Patch {
    std::uint64_t offset = 0;
    std::vector<std::uint8_t> bytes;
};

// Writes every patch into the existing file at its offset and flushes it to disk. All patches are
// checked against the file's length before the first byte is written; one that would reach past
// the end throws IoError and nothing is written. The file's length never changes.
void patchInPlace(const std::filesystem::path& path, std::span<const Patch> patches);

// Removes the file; a missing file is no error. Throws IoError when it cannot be removed.
void removeFile(const std::filesystem::path& path);

// Creates the folder and every missing folder above it; returns the folders it created, outermost
// first. Throws IoError (after removing what it created) when one cannot be created.
std::vector<std::filesystem::path> createFolders(const std::filesystem::path& folder);

// Removes an empty folder; a missing one is no error. Throws IoError when it cannot be removed
// (or is not empty).
void removeFolder(const std::filesystem::path& folder);

// Replaces the file's whole content with `image`: a temporary file in the same folder is written
// completely, flushed, given the original's permissions (attributes on Windows) and renamed over
// the original (the folder is flushed too, where the system allows it). On any failure the
// temporary file is removed, the original is untouched and IoError is thrown.
void replaceWholeFile(const std::filesystem::path& path, std::span<const std::uint8_t> image);

} // namespace mw
