#pragma once
// The inspector pages of the cache, model-file and collision lists: the entry's name, translation,
// size (not for the model file), rotation (sliders for the cache and model file, a read-out for
// collision bodies), the collision material, and the list's Save button.

#include <QWidget>
#include <array>
#include <functional>
#include <optional>

#include "commands/editing/TransformCheck.h"
#include "commands/lists/OtherList.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace mw {

class RotationControls;

class ListValuesPage final : public QWidget {
    Q_OBJECT
public:
    // `list` is MissionFile::Cache, MissionFile::Model or MissionFile::Tree; it names the controls ("Text5_1", ...).
    explicit ListValuesPage(MissionFile list, QWidget* parent = nullptr);

    void setEditGuard(std::function<bool()> guard);

    using Values = ListValues;
    void showValues(const Values& values);
    // A base entry of the cache: nothing to show or save.
    void showNothing();

    TransformForm form() const;
    std::optional<int> material() const;
    void setStoredValues(const Values& values) { m_shown = values; }

    void restoreColours();
    void setSavedMarkerVisible(bool visible);
    QPushButton* saveButton() const { return m_save; }
    // Where the translation search puts its controls.
    QWidget* searchArea() const { return m_searchArea; }

signals:
    void edited();

private:
    bool canEdit() const { return !m_filling && (!m_guard || m_guard()); }
    void markIfDiffers(QLineEdit* box, float stored);
    void onMaterialChosen(int index);
    void setValueControlsEnabled(bool enabled);

    MissionFile m_list;
    std::function<bool()> m_guard;
    bool m_filling = false;
    Values m_shown;

    QLineEdit* m_name;
    std::array<QLineEdit*, 3> m_translation{};
    std::array<QLineEdit*, 3> m_size{};
    RotationControls* m_rotation = nullptr;
    std::array<QLineEdit*, 4> m_rotationReadout{};
    QComboBox* m_material = nullptr;
    QLineEdit* m_materialCode = nullptr;
    QLabel* m_savedMarker;
    QPushButton* m_save;
    QWidget* m_searchArea;
};

// The 47 collision surface names; the position is the material code.
const std::array<const char*, 47>& collisionMaterialNames();

} // namespace mw
