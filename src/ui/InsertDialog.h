#pragma once
// The insert dialog ("QRA Insert", objectName insertform): one kind of object at a time, prepared
// by the "&Insert" menu's commands from the object selected in the main window, shown without
// blocking it. "insert" runs the insert engine; several inserts can follow one another.

#include <QWidget>
#include <array>
#include <functional>

#include "commands/insertion/InsertEngine.h"
#include "commands/insertion/InsertKinds.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace mw {

class ColourControls;
class CommandRunner;
class FileChooser;
class Mission;
class Prompter;
class RotationControls;

// What the main window shows of the selected object, for the dialog's fields.
struct InsertSource {
    QString name, model;
    std::array<QString, 3> translation, size;
    std::array<float, 4> rotation{1, 0, 0, 0};
    QString verticalAngle;
    float lightPower = 2.0f;
    std::array<float, 3> lightColour{0.5f, 0.5f, 0.5f};
    std::uint32_t lightKind = 0;
    int doorMaterial = 0;
};

class InsertDialog final : public QWidget {
    Q_OBJECT
public:
    InsertDialog(Mission& mission, Prompter& prompter, FileChooser& files, CommandRunner& runner);

    // A type menu command: sets the kind, shows its fields with their presets and the source's
    // values, and shows the dialog.
    void prepare(const InsertKind& kind, const InsertSource& source);
    const std::string& kind() const { return m_kind; }
    InsertForm form() const;

private:
    QWidget* buildCommon();
    QGroupBox* buildHuman();
    QGroupBox* buildThings();
    QGroupBox* buildLight();
    QGroupBox* buildDoor();
    QGroupBox* buildSound();
    QGroupBox* buildScript();
    void showGroup(InsertGroup group);
    void onSoundList(int index);
    void browseModel();
    void browseSound();
    void insert();

    Mission& m_mission;
    Prompter& m_prompter;
    FileChooser& m_files;
    CommandRunner& m_runner;
    std::string m_kind;
    int m_soundKind = 1;

    QLabel* m_heading;        // Label5
    QLineEdit* m_name;        // Text1
    QLineEdit* m_model;       // Text8
    QPushButton* m_browseModel;
    std::array<QLineEdit*, 3> m_translation; // Text2, Text3, Text4
    std::array<QLineEdit*, 3> m_size;        // Text5, Text6, Text7
    RotationControls* m_rotation;

    QGroupBox* m_humanGroup;  // Frame9
    QLineEdit* m_sex;         // Text23
    QComboBox* m_behaviour;   // Combo3
    QLineEdit* m_aggression;  // Text22
    QLineEdit* m_humanWeight; // Text21

    QGroupBox* m_thingGroup;  // Frame8
    QLineEdit* m_thingWeight; // Text18
    QComboBox* m_thingSound;  // Combo1

    QGroupBox* m_lightGroup;  // Frame2
    QLineEdit* m_brightness;  // Text13
    ColourControls* m_colour;
    QLineEdit* m_lightDistance; // Text24
    QRadioButton* m_style4;   // Option4
    QRadioButton* m_style5;   // Option5

    QGroupBox* m_doorGroup;   // Frame1
    std::array<QRadioButton*, 3> m_doorSound; // Option1 wood, Option2 brass, Option3 glass

    QGroupBox* m_soundGroup;  // Frame6
    QLineEdit* m_soundFile;   // Text20
    QComboBox* m_soundList;   // Combo2
    QLineEdit* m_volume;      // Text29
    QLineEdit* m_soundDistance; // Text34

    QGroupBox* m_scriptGroup; // Frame5
    QCheckBox* m_noScript;    // Check1
};

} // namespace mw
