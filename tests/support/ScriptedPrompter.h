#pragma once
// A Prompter for tests: records every message and question with its title, and answers questions
// from a script (No when the script has run out).

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "foundation/files/Paths.h"
#include "foundation/seams/FileChooser.h"
#include "foundation/seams/Prompter.h"

namespace mw::build {

struct Said {
    std::string kind; // "message" or "question"
    std::string text;
    std::string title;
    bool operator==(const Said&) const = default;
};

class ScriptedPrompter final : public Prompter {
public:
    void message(std::string_view text, std::string_view title) override
    {
        said.push_back({"message", std::string(text), std::string(title)});
        if (onSay)
            onSay(said.back());
    }
    bool askYesNo(std::string_view text, std::string_view title) override
    {
        said.push_back({"question", std::string(text), std::string(title)});
        if (onSay)
            onSay(said.back());
        if (answers.empty())
            return false;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    std::vector<std::string> messages() const
    {
        std::vector<std::string> out;
        for (const auto& s : said)
            if (s.kind == "message")
                out.push_back(s.text);
        return out;
    }

    std::vector<Said> said;
    std::deque<bool> answers;
    // Called as each message or question is shown, to look at the window at that moment.
    std::function<void(const Said&)> onSay;
};

// A FileChooser for tests: returns scripted paths (nothing = cancel) and records the filters.
class ScriptedFiles final : public FileChooser {
public:
    std::optional<std::filesystem::path> saveFile(std::string_view filter, const std::filesystem::path& folder,
                                                  std::string_view) override
    {
        folders.push_back(folder);
        return openFile(filter);
    }
    std::optional<std::filesystem::path> openFile(std::string_view filter) override
    {
        filters.emplace_back(filter);
        if (answers.empty())
            return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        if (!answer)
            return std::nullopt;
        return pathFromUtf8(*answer);
    }
    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> filters;
    std::vector<std::filesystem::path> folders; // where each save dialog opened
};

} // namespace mw::build
