#pragma once
// What the window keeps of the user's work in its pages between commands: the unsaved edits of
// each list's page (ChangedFlags, by the list's file) and the stop flags the "stop" buttons set and the
// searches poll. The core never reads them; the commands are called only when the window decides.

#include <algorithm>
#include <array>

#include "mission/MissionFile.h"

namespace mw {

// A flag for each of the four lists.
class ListFlags {
public:
    bool& operator[](MissionFile file) { return m_flags[indexOf(file)]; }
    bool operator[](MissionFile file) const { return m_flags[indexOf(file)]; }
    bool any() const { return std::find(m_flags.begin(), m_flags.end(), true) != m_flags.end(); }

private:
    std::array<bool, 4> m_flags{};
};

struct EditState {
    ListFlags ChangedFlags;
    bool NameSearchStop = false;
    bool TranslationSearchStop = false;
};

} // namespace mw
