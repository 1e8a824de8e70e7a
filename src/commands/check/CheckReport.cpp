#include "commands/check/CheckReport.h"

#include <algorithm>

#include "foundation/text/NumericText.h"

namespace mw {

namespace {

std::string counted(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

std::size_t CheckReport::errors() const
{
    return static_cast<std::size_t>(std::count_if(problems.begin(), problems.end(),
                                                  [](const Problem& p) { return p.severity == Severity::Error; }));
}

std::size_t CheckReport::warnings() const { return problems.size() - errors(); }

std::string CheckReport::summary() const
{
    return counted(errors(), "error", "errors") + ", " + counted(warnings(), "warning", "warnings") + " in " +
           counted(files, "file", "files");
}

void CheckReport::add(CheckReport other)
{
    problems.insert(problems.end(), std::make_move_iterator(other.problems.begin()),
                    std::make_move_iterator(other.problems.end()));
    files += other.files;
}

const char* severityName(Severity severity) { return severity == Severity::Error ? "error" : "warning"; }

std::string problemLine(const Problem& problem)
{
    std::string line = problem.file;
    if (problem.offset)
        line += ":" + hexNumber(*problem.offset);
    return line + ": " + severityName(problem.severity) + ": " + problem.message;
}

} // namespace mw
