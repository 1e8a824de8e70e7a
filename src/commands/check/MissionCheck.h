#pragma once
// The check of a mission before it is released: every file read with the editor's own readers, and
// what would break the game or surprise a modder reported as errors and warnings. Errors: a file a
// reader refuses, a scene whose chunks do not tile, nest too deep or run past a header length
// longer than the file, a script longer than its chunk, a file shorter than its own counts, a
// route file of the wrong size, a damaged add-in package. Warnings: bytes beyond the length a
// scene's header gives (the game ignores them), two objects of one name, a definition no object
// owns, a link that names nothing in the files checked, a position, rotation or size that is not
// finite, a rotation that is no unit rotation, a route point whose object is missing from a scene
// that has a circuit. A pure function of the files' bytes.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "commands/check/CheckReport.h"
#include "foundation/bytes/SharedBytes.h"

namespace mw {

// The kinds of file the check reads.
enum class CheckedKind { Scene, Cache, Model, Tree, Route, Package };

struct CheckedFile {
    CheckedKind kind = CheckedKind::Scene;
    std::string name; // how the report names it
    SharedImage bytes;
};

// The files of one mission checked together: each on its own, and the links between them (an
// object's link may name a scene object or a frame of the model file; a route point names a scene
// object).
CheckReport checkFiles(std::span<const CheckedFile> files);

// The kind of a mission file by its name (letter case ignored): scene2.bin, cache.bin, tree.klz,
// scene.4ds, check.bin, and any *.klz, *.4ds or *.qra; another name by its first bytes ("SL": a
// scene, such as the reversed copy scene2.rev). Nothing when neither tells.
std::optional<CheckedKind> kindOfFile(std::string_view fileName, std::span<const std::uint8_t> bytes);

} // namespace mw
