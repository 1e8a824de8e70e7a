#pragma once
// What the window keeps of the user's work in its pages between commands: the unsaved edits of
// each list's page (ChangedFlags, by list index) and the stop flags the "stop" buttons set and the
// searches poll. The core never reads them; the commands are called only when the window decides.

#include <array>

#include "mission/Workspace.h"

namespace mw {

struct EditState {
    std::array<bool, 4> ChangedFlags{}; // by ListIndex
    bool NameSearchStop = false;
    bool TranslationSearchStop = false;
};

} // namespace mw
