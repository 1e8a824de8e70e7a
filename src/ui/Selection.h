#pragma once
// The one selection of the window: what is selected of each of the four lists (scene objects,
// cached objects, model frames, collision bodies), each list's current row (the entry its page
// shows, selected or not), and the current rows of the scene's "Scripts" and "Things". The lists,
// the map, the 3D view, the check report and the commands set it; everything that shows it
// observes it. Each change (a click, a band, Select All, a list's own selection, the rows a
// command selects) is told once, naming the lists whose part of it changed.

#include <QObject>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "commands/placing/Placing.h"
#include "mission/Mission.h"
#include "render/common/Layers.h"

namespace mw {

// What is selected of one list, and its current row.
struct ListSelection {
    std::optional<std::uint32_t> current;
    std::vector<std::uint32_t> rows; // sorted, each once
    bool operator==(const ListSelection&) const = default;
};

// The lists whose selection a change touched.
struct SelectionChange {
    std::array<bool, 4> files{}; // by MissionFile
    bool has(MissionFile file) const { return indexOf(file) < files.size() && files[indexOf(file)]; }
};

class Selection final : public QObject {
    Q_OBJECT
public:
    // The selected rows of a list, in order.
    const std::vector<std::uint32_t>& rows(MissionFile file) const { return list(file).rows; }
    const std::vector<std::uint32_t>& sceneRows() const { return rows(MissionFile::Scene); }
    // The current row of a list (for the scene, of "All").
    std::optional<std::uint32_t> current(MissionFile file) const { return list(file).current; }
    bool contains(ItemRef item) const;
    // How many items are selected, of every list together.
    std::size_t size() const;
    // Every selected item, list by list.
    std::vector<ItemRef> items() const;
    // The current rows of "Scripts" and "Things".
    std::optional<std::uint32_t> scriptsRow() const { return m_scripts; }
    std::optional<std::uint32_t> thingsRow() const { return m_things; }
    // What the placing commands (the 3D view's handles, Drop to Ground) act on: the selected scene
    // objects, cached objects and frames.
    PlacedItems placedItems() const;
    // The rows a command that reloads the scene keeps: the selection's (0 for a list without one),
    // and the remembered fallback.
    KeptRows keptRows(KeptRows remembered) const;

    // A click on an item in a view: it alone is selected of every list, and current in its own.
    void pick(ItemRef item);
    // One item into the selection, or out of it.
    void toggle(ItemRef item);
    // The items selected, beside what is (`add`) or instead of it.
    void selectItems(const std::vector<ItemRef>& items, bool add);
    // Nothing selected; each list keeps its current row.
    void clearAll();
    // The scene's lists as a command or a load names them ("All"'s current row selected with the rows beside it).
    void setScene(const SceneSelection& selection);
    // What the scene's lists themselves show.
    void setSceneLists(ListSelection all, std::optional<std::uint32_t> scripts, std::optional<std::uint32_t> things);
    // What another list itself shows.
    void setList(MissionFile file, ListSelection selection);
    // A list's current row, selected alone in it when `chosen` (a load's first row is not chosen:
    // nothing of the list is selected then); the other lists keep theirs.
    void setCurrent(MissionFile file, std::optional<std::uint32_t> row, bool chosen = true);
    // Nothing of the list, not even a current row (its rows are being read anew).
    void clear(MissionFile file);
    // The scene's rows: one alone and current; several, beside the selection (`add`) or instead of
    // it, the first current; one in or out.
    void selectSceneRow(std::uint32_t row) { setScene({row, m_scripts, m_things, {}}); }
    void selectSceneRows(const std::vector<std::uint32_t>& rows, bool add);
    void toggleSceneRow(std::uint32_t row) { toggle({ViewLayer::Scene, row}); }

signals:
    void changed(SelectionChange change);

private:
    struct State {
        std::array<ListSelection, 4> lists; // by MissionFile
        std::optional<std::uint32_t> scripts, things;
    };
    const ListSelection& list(MissionFile file) const;
    State state() const { return {m_lists, m_scripts, m_things}; }
    // Makes `next` the selection and tells what changed, once.
    void become(State next);

    std::array<ListSelection, 4> m_lists;
    std::optional<std::uint32_t> m_scripts, m_things;
};

// Sorts the rows and keeps each once.
void sortRows(std::vector<std::uint32_t>& rows);

} // namespace mw
