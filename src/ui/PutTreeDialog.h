#pragma once
// The "Put tree.klz" dialog (objectName frmAddIn): which kind of collision bodies to make visible,
// and whether to start from the saved scene. Shown without blocking the main window.

#include <QWidget>
#include <array>

class QCheckBox;
class QRadioButton;

namespace mw {

class PutTreeDialog final : public QWidget {
    Q_OBJECT
public:
    PutTreeDialog();
    // The chosen option, 0 ... 5 (simple, rotation, rotation2, cylinder, sphere, all).
    int chosenKind() const;
    bool useSavedScene() const;

signals:
    void accepted(); // OK: the dialog is hidden, the put is to run

private:
    std::array<QRadioButton*, 6> m_options{};
    QCheckBox* m_useSaved = nullptr;
};

} // namespace mw
