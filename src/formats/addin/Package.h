#pragma once
// ".QRA" add-in packages: a header naming the add-in and its mission, search-and-replace patch
// records for tree.klz, cache.bin, scene.4ds and scene2.bin, a block of object and definition
// chunks for scene2.bin, and six groups of files to install. The reader is a pure function over
// the package's bytes and checks all of it, so an import never starts on a damaged package; the
// writer lays out what the reader reads.

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace mw {

// The four files a package patches, in the package's order.
enum class PatchTarget { Tree = 0, Cache = 1, Model = 2, Scene = 3 };
// The six file groups, in the package's order.
enum class FileGroup { Models = 0, Sounds = 1, Maps = 2, Tables = 3, MoreTables = 4, MissionFiles = 5 };

inline constexpr std::size_t PackageHeaderSize = 274;

// A patch record: the pattern's length n (one byte), the replacement's length m (one byte), then
// the pattern in a field of 17 bytes and the replacement in a field of 257 bytes.
inline constexpr std::size_t PatchRecordSize = 276;
inline constexpr std::size_t PatternAt = 2, PatternField = 17;
inline constexpr std::size_t ReplacementAt = 19, ReplacementField = 257;
static_assert(PatternAt + PatternField == ReplacementAt && ReplacementAt + ReplacementField == PatchRecordSize);
// m is one byte: every length it can say fits the replacement's field, so no m is ever refused.
static_assert(std::numeric_limits<std::uint8_t>::max() <= ReplacementField);

struct PatchRecord {
    std::vector<std::uint8_t> pattern;     // 1 ... 17 bytes
    std::vector<std::uint8_t> replacement; // 0 ... 255 bytes (the length is one byte)
    bool operator==(const PatchRecord&) const = default;
};

struct PackageFile {
    std::string name; // trailing blanks removed
    std::vector<std::uint8_t> content;
    bool operator==(const PackageFile&) const = default;
};

struct Package {
    std::string title;       // trailing blanks removed
    std::string missionName; // trailing blanks removed
    std::array<bool, 4> apply{};
    std::array<std::vector<PatchRecord>, 4> patches;
    std::string blockName; // trailing blanks removed
    std::vector<std::uint8_t> objects;     // whole 0x4010 chunks
    std::vector<std::uint8_t> definitions; // whole 0xAE21 chunks
    std::array<std::vector<PackageFile>, 6> groups;
    bool operator==(const Package&) const = default;
};

struct PackageReadResult {
    std::optional<Package> package;
    std::string problem; // why the package was refused; empty when it was read
};

PackageReadResult readPackage(std::span<const std::uint8_t> bytes);

struct PackageWriteResult {
    std::vector<std::uint8_t> bytes;
    std::string problem; // why the package cannot be written; empty when it was
};

// The package's bytes: text fields padded with blanks, the header's uninterpreted bytes and the
// unused bytes of patch records zero. Refused, with the reason, when the layout cannot hold it: a
// text longer than its 20 bytes or ending in a blank, a pattern of 0 or more than 17 bytes, a
// replacement of more than 255 (its field has 257 bytes, but its length is one byte), more than 255
// records for a file, a scene block that is not whole
// object and definition chunks, a file name that is not a plain name.
PackageWriteResult writePackage(const Package& package);

// True when `name` names a file inside its target folder on every platform: not empty, no path
// separator, drive, "." or "..", and no character a file system forbids.
bool isPlainFileName(const std::string& name);

} // namespace mw
