#pragma once
// Which entries the user has hidden or locked in the views: editor state, never mission data. An
// entry is remembered by a key that survives reloads, inserts and deletions elsewhere: its file,
// its name (a scene object's, a cached object's model, a frame's, a collision body's link and kind)
// and its place among the entries of that name in the file (rows move when objects are inserted or
// deleted; names do not). A key whose entry was deleted or renamed stands for nothing.

#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "mission/MissionFile.h"

namespace mw {

class Mission;

struct EntryKey {
    MissionFile file = MissionFile::Scene;
    std::string name;
    std::uint32_t occurrence = 0; // among the file's entries of that name, from 0
    auto operator<=>(const EntryKey&) const = default;
};

// The name a key takes of a row of a loaded file.
std::string entryName(const Mission& mission, MissionFile file, std::uint32_t row);

// The keys of one loaded file, row by row and back.
class EntryKeys {
public:
    EntryKeys(const Mission& mission, MissionFile file);
    std::size_t rows() const { return m_keys.size(); }
    const EntryKey& keyOf(std::uint32_t row) const { return m_keys[row]; }
    std::optional<std::uint32_t> rowOf(const EntryKey& key) const;

private:
    std::vector<EntryKey> m_keys;
    std::unordered_map<std::string, std::vector<std::uint32_t>> m_rowsByName;
};

enum class EntryState { Hidden, Locked };

// The hidden and the locked entries of a mission.
class EntryStates {
public:
    const std::set<EntryKey>& keys(EntryState state) const { return m_keys[index(state)]; }
    bool empty(EntryState state) const { return keys(state).empty(); }
    // The rows of a file's keys: true for each row in the state.
    std::vector<bool> rowsOf(EntryState state, const EntryKeys& file) const;
    // Rows of a file into the state (`on`) or out of it; true when anything changed.
    bool set(EntryState state, const EntryKeys& file, const std::vector<std::uint32_t>& rows, bool on);
    // Every row of a file but `kept` into the state (what "Hide Others" does to each shown layer).
    bool setAllBut(EntryState state, const EntryKeys& file, const std::vector<bool>& kept);
    // Nothing in the state; true when anything was.
    bool clear(EntryState state);
    // Keys of a loaded file that no longer stand for an entry (deleted, renamed) are let go.
    void forgetMissing(const EntryKeys& file, MissionFile which);

    // As text for the user's settings: a line per key ("H" or "L", the file's number, the
    // occurrence, the name's bytes in hex). Lines that are not such are passed over on reading.
    std::string encode() const;
    static EntryStates decode(std::string_view text);

private:
    static std::size_t index(EntryState state) { return state == EntryState::Hidden ? 0 : 1; }
    std::array<std::set<EntryKey>, 2> m_keys;
};

} // namespace mw
