#pragma once
// A Progress for tests: keeps the maximum, every step's value and text, and whether it finished.

#include <string>
#include <vector>

#include "foundation/seams/Progress.h"

namespace mw::build {

class RecordingProgress : public Progress {
public:
    void start(int maximum) override { this->maximum = maximum; }
    void step(int value, std::string_view text) override
    {
        values.push_back(value);
        if (!text.empty())
            texts.emplace_back(text);
    }
    void finish() override { finished = true; }
    int maximum = 0;
    std::vector<int> values;
    std::vector<std::string> texts;
    bool finished = false;
};

} // namespace mw::build
