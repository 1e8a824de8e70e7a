#pragma once
// The "Selection" dock: the fields every selected scene or cached object has, grouped as the
// inspector groups them, each showing the value all share or, where they differ, an empty box with
// the smallest and largest as its placeholder. Enter in a box writes that field into every selected
// object (one step); "Apply" writes every field typed into. The dock follows the selection and the
// files as they now are, and shows no fields for one item or none: the inspector edits those.

#include <QObject>
#include <QString>
#include <array>
#include <functional>

#include "commands/editing/FieldEdit.h"
#include "mission/Mission.h"

class QComboBox;
class QDockWidget;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QPushButton;

namespace mw {

class CommandRunner;
class Prompter;
class Selection;

class SelectionDock final : public QObject, private MissionListener {
    Q_OBJECT
public:
    SelectionDock(Mission& mission, Selection& selection, CommandRunner& runner, Prompter& prompter, QMainWindow* window);
    ~SelectionDock() override;

    QDockWidget* dock() const { return m_dock; }
    // Asked before a field is written, with the objects it goes into: the inspector's unsaved edits
    // of one of them saved or let go first (false: the edit does not go ahead).
    void setBeforeEdit(std::function<bool(const PlacedItems&)> settle) { m_beforeEdit = std::move(settle); }

    // Writes what `field`'s box holds into every selected object (what Enter in the box does).
    void apply(Field field);
    // Writes every field typed into since the dock last showed the files, as one step (the
    // "Apply" button).
    void applyEdited();

private:
    struct Row {
        QLabel* label = nullptr;
        QLineEdit* box = nullptr;  // a number
        QComboBox* list = nullptr; // a code chosen from a list
        bool edited = false;
    };

    void buildRows();
    void missionChanged(const MissionChange& change) override;
    // The fields as the selection and the files now are.
    void refresh();
    void clear();
    void showRow(Field field, bool shown);
    // The fields' texts written into every selected object as one step; true when they were.
    bool write(const std::vector<FieldText>& edits);
    void setTypedText(Field field, const QString& text);
    void showSummary(const FieldSummary& summary);
    void markEdited(Field field);
    PlacedItems editedItems() const;
    QString typedText(Field field) const;

    Mission& m_mission;
    Selection& m_selection;
    CommandRunner& m_runner;
    Prompter& m_prompter;
    QDockWidget* m_dock = nullptr;
    QLabel* m_heading = nullptr;
    QPushButton* m_apply = nullptr;
    std::vector<QGroupBox*> m_groups;
    std::array<Row, FieldCount> m_rows{};
    std::function<bool(const PlacedItems&)> m_beforeEdit;
};

} // namespace mw
