#pragma once
// The write history of a mission: every user command's writes as one step, with each file's
// content before and after, so the step can be undone and redone. Whole-file images are shared
// with the mission's kept bytes and between neighbouring steps; in-place patches keep only their
// ranges.

#include <cstddef>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/bytes/SharedBytes.h"
#include "foundation/files/FileAccess.h"

namespace mw {

// One file's change within a step.
struct FileChange {
    std::filesystem::path path;
    bool whole = false;
    // Whole-file changes: the content before and after; nothing = the file did not exist.
    SharedImage before, after;
    // In-place changes: the ranges before and after, in the order they were written.
    std::vector<Patch> patchesBefore, patchesAfter;
    // While the step is open: a whole change patched since, whose content after is the loaded
    // file's kept bytes when the step ends (the mission sets `after` then).
    bool afterIsKept = false;
    std::size_t storedBytes() const;
};

struct HistoryStep {
    std::string name;
    std::vector<FileChange> changes;
    // Folders the step created, outermost first: undo removes them (when empty), redo makes them.
    std::vector<std::filesystem::path> createdFolders;
    std::size_t storedBytes() const;
    bool empty() const { return changes.empty() && createdFolders.empty(); }
};

class History {
public:
    static constexpr std::size_t DefaultLimit = 256u * 1024u * 1024u;

    // Stored bytes above which the oldest steps are dropped (the newest step is always kept).
    void setLimit(std::size_t bytes);

    // The step that records the writes from open() to close(); one at a time.
    void open(std::string name);
    bool isOpen() const { return m_open.has_value(); }
    // The open step as it stands so far; nothing when none is open.
    const HistoryStep* openStep() const { return m_open ? &*m_open : nullptr; }
    // The open step's record of `path`, made when the step first writes it.
    FileChange* changeOf(const std::filesystem::path& path);
    FileChange& addChange(const std::filesystem::path& path);
    void addCreatedFolders(const std::vector<std::filesystem::path>& folders);
    // The open step as it stands, taken out of the history.
    HistoryStep close();
    // Adds a closed step as the newest to undo (redo is then lost); false for a step that wrote
    // nothing, which is dropped.
    bool record(HistoryStep step);

    const HistoryStep* nextUndo() const { return m_undo.empty() ? nullptr : &m_undo.back(); }
    const HistoryStep* nextRedo() const { return m_redo.empty() ? nullptr : &m_redo.back(); }
    HistoryStep takeUndo();
    HistoryStep takeRedo();
    void pushUndo(HistoryStep step); // after a redo
    void pushRedo(HistoryStep step); // after an undo

    // The file was changed by another program: no step may restore it any more.
    void forget(const std::filesystem::path& path);
    void clear();
    std::size_t undoCount() const { return m_undo.size(); }

private:
    void trim();

    std::deque<HistoryStep> m_undo;
    std::vector<HistoryStep> m_redo;
    std::optional<HistoryStep> m_open;
    std::size_t m_limit = DefaultLimit;
};

} // namespace mw
