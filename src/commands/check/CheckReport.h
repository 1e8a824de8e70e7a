#pragma once
// What a mission check found: each problem with its file, severity, and where it applies the
// offset in the file and the row of the entry in that file's list; and the report's summary.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mw {

enum class Severity { Error, Warning };

struct Problem {
    Severity severity = Severity::Error;
    std::string file; // as the report names it ("scene2.bin", "missions/demo/scene2.bin")
    std::optional<std::uint64_t> offset;
    std::optional<std::uint32_t> row;
    std::string message; // UTF-8
};

struct CheckReport {
    std::vector<Problem> problems;
    std::size_t files = 0; // how many files were checked

    std::size_t errors() const;
    std::size_t warnings() const;
    // "2 errors, 5 warnings in 4 files".
    std::string summary() const;
    // Another report's problems and files added to this one's.
    void add(CheckReport other);
};

// The problem as one line, as compilers print theirs: "scene2.bin:0x1A2B: warning: two objects
// named "lamp" (rows 4 and 17)" (without an offset: "check.bin: error: ...").
std::string problemLine(const Problem& problem);

const char* severityName(Severity severity); // "error", "warning"

} // namespace mw
