#pragma once
// "Move Selection" (objectName MoveSelection): the offsets in metres (MoveX, MoveY, MoveZ) that
// MoveOK adds to the translation of every selected object; MoveCancel closes. Shown without
// blocking the main window.

#include <QDialog>
#include <array>

#include "formats/scene/SceneCatalogue.h"

class QLineEdit;

namespace mw {

class Prompter;

class MoveSelectionDialog final : public QDialog {
    Q_OBJECT
public:
    explicit MoveSelectionDialog(Prompter& prompter, QWidget* parent = nullptr);

signals:
    // MoveOK with three numbers: the dialog is closed, the move is to run.
    void moveBy(Vec3 offset);

private:
    void ok();

    Prompter& m_prompter;
    std::array<QLineEdit*, 3> m_fields{};
};

} // namespace mw
