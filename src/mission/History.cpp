#include "mission/History.h"

#include <algorithm>

namespace mw {

std::size_t FileChange::storedBytes() const
{
    std::size_t n = (before ? before->size() : 0) + (after ? after->size() : 0);
    for (const auto* list : {&patchesBefore, &patchesAfter})
        for (const Patch& p : *list)
            n += p.bytes.size();
    return n;
}

std::size_t HistoryStep::storedBytes() const
{
    std::size_t n = 0;
    for (const FileChange& c : changes)
        n += c.storedBytes();
    return n;
}

void History::setLimit(std::size_t bytes)
{
    m_limit = bytes;
    trim();
}

void History::open(std::string name) { m_open = HistoryStep{std::move(name), {}, {}}; }

HistoryStep History::close()
{
    HistoryStep step = std::move(*m_open);
    m_open.reset();
    return step;
}

bool History::record(HistoryStep step)
{
    if (step.empty())
        return false; // nothing was written: nothing to undo
    m_redo.clear();
    m_undo.push_back(std::move(step));
    trim();
    return true;
}

FileChange* History::changeOf(const std::filesystem::path& path)
{
    if (!m_open)
        return nullptr;
    for (FileChange& c : m_open->changes)
        if (c.path == path)
            return &c;
    return nullptr;
}

FileChange& History::addChange(const std::filesystem::path& path)
{
    m_open->changes.push_back(FileChange{path});
    return m_open->changes.back();
}

void History::addCreatedFolders(const std::vector<std::filesystem::path>& folders)
{
    m_open->createdFolders.insert(m_open->createdFolders.end(), folders.begin(), folders.end());
}

HistoryStep History::takeUndo()
{
    HistoryStep step = std::move(m_undo.back());
    m_undo.pop_back();
    return step;
}

HistoryStep History::takeRedo()
{
    HistoryStep step = std::move(m_redo.back());
    m_redo.pop_back();
    return step;
}

void History::pushUndo(HistoryStep step)
{
    m_undo.push_back(std::move(step));
    trim();
}

void History::pushRedo(HistoryStep step) { m_redo.push_back(std::move(step)); }

void History::forget(const std::filesystem::path& path)
{
    auto touches = [&](const HistoryStep& s) {
        return std::any_of(s.changes.begin(), s.changes.end(), [&](const FileChange& c) { return c.path == path; });
    };
    // A step that cannot restore one of its files cannot be undone as a whole, and neither can any
    // step before it (undo goes back in order).
    const auto last = std::find_if(m_undo.rbegin(), m_undo.rend(), touches);
    if (last != m_undo.rend())
        m_undo.erase(m_undo.begin(), last.base());
    if (std::any_of(m_redo.begin(), m_redo.end(), touches))
        m_redo.clear();
}

void History::clear()
{
    m_undo.clear();
    m_redo.clear();
}

void History::trim()
{
    std::size_t total = 0;
    for (const auto& s : m_undo)
        total += s.storedBytes();
    for (const auto& s : m_redo)
        total += s.storedBytes();
    while (m_undo.size() > 1 && total > m_limit) {
        total -= m_undo.front().storedBytes();
        m_undo.pop_front();
    }
}

} // namespace mw
