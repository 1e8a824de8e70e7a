#pragma once
// How the core asks and tells the user. The window answers with message boxes; tests answer with
// scripted replies and keep a transcript, so the exact texts and titles can be asserted.

#include <string_view>

namespace mw {

class Prompter {
public:
    virtual ~Prompter() = default;
    // A message box with an OK button. An empty title means a box without a title.
    virtual void message(std::string_view text, std::string_view title) = 0;
    // A question with Yes and No buttons; true for Yes.
    virtual bool askYesNo(std::string_view text, std::string_view title) = 0;
};

} // namespace mw
