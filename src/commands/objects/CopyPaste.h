#pragma once
// Copying scene objects into an add-in package (the clipboard's form: a header, no patch records,
// the scene block with the objects and their definitions, no files) and pasting such a package into
// a scene: every object and definition appended in one rewrite, checked by the loader before it is
// written, as one undo step. Names that the scene has already are made free ("name-2", "name-3",
// ...), their definitions and the links of pasted objects to them following; every other byte stays
// as it was.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "commands/Outcome.h"
#include "formats/addin/Package.h"

namespace mw {

class Prompter;

struct CopiedObjects {
    Package package;
    std::vector<std::string> names; // of the copied objects
    std::size_t scriptsLeftOut = 0; // free-standing scripts among the rows
};

// The objects of `rows` with the definitions the loader recorded for them. The title and the block
// name are the first object's name (cut to 20 bytes), the mission name the mission folder's.
CopiedObjects copyObjects(const Mission& mission, std::span<const std::uint32_t> rows);

// The mission's folder name, as a package names its mission.
std::string missionNameOf(const Mission& mission);

// What a paste added; the outcome selects the pasted objects, the first of them current.
struct Pasted {
    std::uint32_t firstRow = 0;     // the first pasted object's row after the reload
    std::size_t count = 0;          // objects pasted
    std::size_t missingParents = 0; // links to an object the scene does not have
};

struct PasteOptions {
    float moveX = 0;       // added to each pasted object's translation X
    std::string stepName;  // default "Paste N objects"
};

Result<Pasted> pasteObjects(Mission& mission, const Package& package, Prompter& prompter, const PasteOptions& options = {});

} // namespace mw
