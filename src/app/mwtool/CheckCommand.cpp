// mwtool check: the mission check over folders, files and packages, as lines or one JSON document.
#include <iostream>
#include <nlohmann/json.hpp>

#include "app/mwtool/Commands.h"
#include "commands/check/CheckTargets.h"

namespace mw::tool {

namespace {

nlohmann::ordered_json jsonOf(const Problem& p)
{
    nlohmann::ordered_json j;
    j["file"] = p.file;
    j["severity"] = severityName(p.severity);
    j["offset"] = p.offset ? nlohmann::ordered_json(*p.offset) : nlohmann::ordered_json(nullptr);
    j["row"] = p.row ? nlohmann::ordered_json(*p.row) : nlohmann::ordered_json(nullptr);
    j["message"] = p.message;
    return j;
}

} // namespace

int check(const std::vector<std::filesystem::path>& paths, bool json)
{
    CheckReport report;
    std::vector<std::string> unreadable;
    for (const auto& path : paths) {
        CheckTarget target = filesToCheck(path);
        if (!target.problem.empty())
            unreadable.push_back(std::move(target.problem));
        else {
            CheckReport found = checkFiles(target.files);
            found.problems.insert(found.problems.begin(), target.problems.begin(), target.problems.end());
            report.add(std::move(found));
        }
    }
    if (json) {
        nlohmann::ordered_json doc;
        doc["files"] = report.files;
        doc["errors"] = report.errors();
        doc["warnings"] = report.warnings();
        doc["summary"] = report.summary();
        doc["problems"] = nlohmann::ordered_json::array();
        for (const Problem& p : report.problems)
            doc["problems"].push_back(jsonOf(p));
        doc["unreadable"] = unreadable;
        // Paths the system gives in another encoding must not stop the report.
        std::cout << doc.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
    } else {
        for (const Problem& p : report.problems)
            std::cout << problemLine(p) << '\n';
        std::cout << report.summary() << '\n';
    }
    for (const std::string& u : unreadable)
        std::cerr << "mwtool: " << u << '\n';
    if (!unreadable.empty())
        return CannotRun;
    return report.errors() > 0 ? Problems : Ok;
}

} // namespace mw::tool
