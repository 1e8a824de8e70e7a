#pragma once
// The commands on the objects selected in "All": copy, cut, paste, duplicate, move and delete, and
// the 3D view's move, turn and drop to ground. The
// clipboard holds the objects as an add-in package (scene block only) under the type
// application/x-mission-workshop-objects, beside their names as plain text, so they travel between
// missions and between running editors.

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

#include "commands/placing/Placing.h"
#include "formats/scene/SceneCatalogue.h"

namespace mw {

class CommandRunner;
class Mission;
class MoveSelectionDialog;
class Prompter;
class ScenePanel;
class Selection;
class StatusLine;

inline constexpr const char* ObjectsMimeType = "application/x-mission-workshop-objects";

class SelectionCommands final : public QObject {
    Q_OBJECT
public:
    SelectionCommands(Mission& mission, Selection& selection, Prompter& prompter, CommandRunner& runner,
                      StatusLine& status, ScenePanel& scene);
    ~SelectionCommands() override;

    bool clipboardHoldsObjects() const;
    // The move dialog, once "Move Selection…" has opened it.
    MoveSelectionDialog* moveDialog() const { return m_moveDialog.get(); }

    void copy();
    void cut();
    void paste();
    void duplicate();
    void openMoveDialog();
    void moveBy(Vec3 offset);
    // The 3D view's placing commands, on the items it places (one step each).
    void moveItemsBy(const PlacedItems& items, Vec3 offset);
    void turnItemsBy(const PlacedItems& items, double degrees);
    // `locked`: how many selected items were left out for they are locked (told with the counts).
    void dropItemsToGround(const PlacedItems& items, std::size_t locked = 0);
    // One selected row: the deletion of one object as it always was; several: asked once.
    void deleteSelected();

signals:
    void clipboardChanged();

private:
    // Tells in the status line how many selected script entries a command left out.
    void tellScriptsLeftOut(std::size_t count);
    // The selected objects onto the clipboard; how many went (0: none, and nothing was put there).
    std::size_t copyToClipboard();

    Mission& m_mission;
    Selection& m_selection;
    Prompter& m_prompter;
    CommandRunner& m_runner;
    StatusLine& m_status;
    ScenePanel& m_scene;
    std::unique_ptr<MoveSelectionDialog> m_moveDialog;
};

} // namespace mw
