#pragma once
// How a long operation reports how far it is: the window shows it in the progress panel (a bar and
// a line naming the current item) and lets pending events through; tests may record it.

#include <string_view>

namespace mw {

class Progress {
public:
    virtual ~Progress() = default;
    virtual void start(int maximum) = 0;
    // `value` runs from 0 to the maximum given to start(); `text` names the current item.
    virtual void step(int value, std::string_view text) = 0;
    virtual void finish() = 0;
};

// For callers that have nothing to show.
class NoProgress final : public Progress {
public:
    void start(int) override {}
    void step(int, std::string_view) override {}
    void finish() override {}
};

// One NoProgress for every caller that passes none.
inline Progress& noProgress()
{
    static NoProgress none;
    return none;
}

} // namespace mw
