#pragma once
// The "Scene" page of the inspector: the selected scene entry's name, model, link, translation,
// size and rotation, the panel of its kind (light, sound, human, physical thing) and its script.
// Edits turn red and report edited(); form() hands the boxes' texts to the value save.

#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "commands/editing/SceneValueSave.h"
#include "formats/scene/SceneCatalogue.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSlider;

namespace mw {

class ColourControls;
class RotationControls;

class ScenePage final : public QWidget {
    Q_OBJECT
public:
    explicit ScenePage(QWidget* parent = nullptr);

    // Edits count only while this says so (not busy, the list not empty).
    void setEditGuard(std::function<bool()> guard);

    // Shows an entry; `script` is its script text when it carries one.
    void showEntry(const SceneEntry& entry, const std::optional<std::string>& script);
    const SceneEntry& shownEntry() const { return m_shown; }
    // After a save: the values edits are compared with, without refilling the boxes.
    void setStoredValues(const SceneEntry& entry) { m_shown = entry; }

    SceneValueForm form() const;

    // Colours back to normal: all edited boxes, or those of one save stage.
    void restoreAllColours();
    void restoreTransformColours();
    void restoreKindColours();
    void setSavedMarkerVisible(bool visible);

    QPushButton* saveButton() const { return m_save; }
    QPushButton* saveScriptButton() const { return m_saveScript; }

    // The script box's text with the line ends the stored script has, as bytes to store.
    std::string scriptToStore() const;
    // The stored length shown beside the script box; nothing when no script is shown.
    std::optional<std::size_t> storedScriptLength() const;
    void clearScript();
    // The shown object moved on the map: x and z go into the translation boxes as typed edits.
    void placeAt(float x, float z);
    // After a save in place: the script the box's text is now stored as.
    void setStoredScript(const std::string& stored) { m_storedScript = stored; }

signals:
    void edited();
    // The script box was changed by the user.
    void scriptEdited();

private:
    QWidget* buildCommon();
    QWidget* buildLightPanel();
    QWidget* buildSoundPanel();
    QWidget* buildHumanPanel();
    QWidget* buildThingPanel();

    bool canEdit() const { return !m_filling && (!m_guard || m_guard()); }
    void markIfDiffers(QLineEdit* box, double stored);
    void markAlways(QWidget* w);
    void onSoundType(int index);
    void setSoundBoxesLocked(bool locked);

    std::function<bool()> m_guard;
    bool m_filling = false;
    SceneEntry m_shown;

    QLineEdit* m_name;
    QLineEdit* m_model;
    QLineEdit* m_link;
    std::array<QLineEdit*, 3> m_translation;
    std::array<QLineEdit*, 3> m_size;
    RotationControls* m_rotation;

    QGroupBox* m_lightPanel;
    QLineEdit* m_brightness;
    ColourControls* m_colour;
    std::array<QLineEdit*, 2> m_distance;
    std::array<QLineEdit*, 2> m_range;

    QGroupBox* m_soundPanel;
    QLineEdit* m_soundFile;
    QLineEdit* m_soundKind;
    QComboBox* m_soundType;
    QLineEdit* m_volume;
    std::array<QLineEdit*, 3> m_soundFields; // Text42, Text41, Text40: fields 3, 4, 5
    QLineEdit* m_soundDistance;

    QGroupBox* m_humanPanel;
    QComboBox* m_behaviour;
    QLineEdit* m_sex;
    QLineEdit* m_aggression;
    QLineEdit* m_humanWeight;

    QGroupBox* m_thingPanel;
    QLineEdit* m_thingWeight;
    QComboBox* m_thingSound;

    QPlainTextEdit* m_script;
    QLineEdit* m_scriptLength;
    QPushButton* m_saveScript;
    std::string m_storedScript; // the shown script as it lies in the file
    QLabel* m_savedMarker;
    QPushButton* m_save;
};

} // namespace mw
