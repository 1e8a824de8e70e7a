#pragma once
// A prompter for benchmarks: says nothing and gives one answer to every question.

#include <string_view>

#include "foundation/seams/Prompter.h"

namespace mw::bench {

struct QuietPrompter : Prompter {
    void message(std::string_view, std::string_view) override {}
    bool askYesNo(std::string_view, std::string_view) override { return yes; }
    bool yes = false;
};

} // namespace mw::bench
