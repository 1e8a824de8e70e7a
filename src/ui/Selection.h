#pragma once
// The one selection of the window: the rows of the scene's lists (the current row of "All", the
// rows selected beside it, the current rows of "Scripts" and "Things") and the current row of each
// of the other three lists. The lists, the map, the check report and every later view set it and
// observe it; it says once, for the file concerned, when it changed. Commands hand the rows they
// want selected to the command runner, which sets them here once the command is done.

#include <QObject>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "commands/placing/Placing.h"
#include "mission/Mission.h"

namespace mw {

class Selection final : public QObject {
    Q_OBJECT
public:
    const SceneSelection& scene() const { return m_scene; }
    // The selected rows of "All", the current one among them, in order.
    std::vector<std::uint32_t> sceneRows() const;
    // The current row of a list (for the scene, of "All").
    std::optional<std::uint32_t> current(MissionFile file) const;
    // The list whose selection changed last: the entry the inspector shows. A cached object or a
    // frame chosen last is placed (moved, turned, dropped) with the selected scene objects.
    MissionFile lastChanged() const { return m_lastChanged; }
    // What the 3D view's handles and Drop to Ground act on: the selected scene objects, and the
    // cached object or frame chosen last.
    PlacedItems placedItems() const;

    void setScene(SceneSelection selection);
    // One scene row, the current one, alone.
    void selectSceneRow(std::uint32_t row) { setScene({row, m_scene.scripts, m_scene.things, {}}); }
    // Rows put into the scene's selection (`add`) or made it, the first of them current.
    void selectSceneRows(const std::vector<std::uint32_t>& rows, bool add);
    // A scene row into the selection, or out of it.
    void toggleSceneRow(std::uint32_t row);
    // `chosen`: the user chose it (a load's first row is not chosen: it is not placed, nor marked
    // as the entry chosen last).
    void setCurrent(MissionFile file, std::optional<std::uint32_t> row, bool chosen = true);
    // Nothing selected of the file (its rows are being read anew).
    void clear(MissionFile file);

    // The rows a command that reloads the scene keeps: the selection's (0 for a list without one),
    // and the remembered fallback.
    KeptRows keptRows(KeptRows remembered) const;

signals:
    void changed(MissionFile file);

private:
    void tell(MissionFile file, bool chosen = true);

    SceneSelection m_scene;
    MissionFile m_lastChanged = MissionFile::Scene;
    std::array<std::optional<std::uint32_t>, 3> m_others; // cache, model file, collision file
};

} // namespace mw
