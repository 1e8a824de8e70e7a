#include "ui/InsertDialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "commands/insertion/InsertChoices.h"
#include "formats/scene/ValueTables.h"
#include "foundation/seams/FileChooser.h"
#include "foundation/text/NumericText.h"
#include "mission/Mission.h"
#include "ui/ColourControls.h"
#include "ui/CommandRunner.h"
#include "ui/QtText.h"
#include "ui/ValueColours.h"
#include "ui/RotationControls.h"

namespace mw {

namespace {

QLineEdit* field(const char* name, int width = 110)
{
    auto* box = new QLineEdit;
    box->setObjectName(QString::fromLatin1(name));
    box->setMaximumWidth(width);
    return box;
}

QGroupBox* group(const char* name, const char* title)
{
    auto* g = new QGroupBox(QString::fromLatin1(title));
    g->setObjectName(QString::fromLatin1(name));
    return g;
}

std::string textOf(const QLineEdit* box) { return box->text().toLatin1().toStdString(); }

} // namespace

InsertDialog::InsertDialog(Mission& mission, Prompter& prompter, FileChooser& files, CommandRunner& runner)
    : QWidget(nullptr, Qt::Window), m_mission(mission), m_prompter(prompter), m_files(files), m_runner(runner)
{
    setObjectName(QStringLiteral("insertform"));
    setWindowTitle(QStringLiteral("QRA Insert"));

    auto* groups = new QVBoxLayout;
    for (QGroupBox* g : {buildHuman(), buildThings(), buildLight(), buildDoor(), buildSound(), buildScript()})
        groups->addWidget(g);
    groups->addStretch(1);

    auto* insert = new QPushButton(QStringLiteral("insert"));
    insert->setObjectName(QStringLiteral("InsertButton"));
    auto* cancel = new QPushButton(QStringLiteral("cancel"));
    cancel->setObjectName(QStringLiteral("CancelButton"));
    connect(insert, &QPushButton::clicked, this, &InsertDialog::insert);
    connect(cancel, &QPushButton::clicked, this, [this] {
        m_lightGroup->hide();
        m_doorGroup->hide();
        hide();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(insert);
    buttons->addWidget(cancel);

    auto* columns = new QHBoxLayout;
    columns->addWidget(buildCommon(), 1);
    columns->addLayout(groups, 1);
    auto* outer = new QVBoxLayout(this);
    m_heading = new QLabel;
    m_heading->setObjectName(QStringLiteral("Label5"));
    outer->addWidget(m_heading);
    outer->addLayout(columns, 1);
    outer->addLayout(buttons);
    showGroup(InsertGroup::None);
}

QWidget* InsertDialog::buildCommon()
{
    auto* common = new QWidget;
    auto* grid = new QGridLayout(common);
    grid->setContentsMargins(0, 0, 0, 0);
    m_name = field("Text1", 16777215);
    m_model = field("Text8", 16777215);
    m_browseModel = new QPushButton(QStringLiteral("Browse"));
    m_browseModel->setObjectName(QStringLiteral("BrowseModel"));
    connect(m_browseModel, &QPushButton::clicked, this, &InsertDialog::browseModel);
    grid->addWidget(new QLabel(QStringLiteral("Name")), 0, 0);
    grid->addWidget(m_name, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Model")), 1, 0);
    grid->addWidget(m_model, 1, 1, 1, 2);
    grid->addWidget(m_browseModel, 1, 3);
    const char* translation[] = {"Text2", "Text3", "Text4"};
    const char* size[] = {"Text5", "Text6", "Text7"};
    grid->addWidget(new QLabel(QStringLiteral("Trans")), 2, 0);
    grid->addWidget(new QLabel(QStringLiteral("Size")), 3, 0);
    for (int i = 0; i < 3; ++i) {
        m_translation[i] = field(translation[i]);
        m_size[i] = field(size[i]);
        grid->addWidget(m_translation[i], 2, 1 + i);
        grid->addWidget(m_size[i], 3, 1 + i);
    }
    m_rotation = new RotationControls(RotationControls::Names{"Text9", "Text10", "Text12", "Horz", "Vert"});
    m_rotation->setComponentsVisible(false);
    grid->addWidget(m_rotation, 4, 0, 1, 4);
    grid->setRowStretch(5, 1);
    return common;
}

QGroupBox* InsertDialog::buildHuman()
{
    m_humanGroup = group("Frame9", "Human");
    auto* grid = new QGridLayout(m_humanGroup);
    m_sex = field("Text23", 60);
    m_behaviour = new QComboBox;
    m_behaviour->setObjectName(QStringLiteral("Combo3"));
    for (const CodedCaption& behaviour : HumanBehaviours)
        m_behaviour->addItem(QString::fromLatin1(behaviour.insertCaption), behaviour.code);
    m_aggression = field("Text22");
    m_humanWeight = field("Text21");
    grid->addWidget(new QLabel(QStringLiteral("Sex")), 0, 0);
    grid->addWidget(m_sex, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("(0 to 28 male\n29 to 31 female)")), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Behaviour")), 1, 0);
    grid->addWidget(m_behaviour, 1, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Aggression")), 2, 0);
    grid->addWidget(m_aggression, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("(0 ...1)")), 2, 2);
    grid->addWidget(new QLabel(QStringLiteral("Weight")), 3, 0);
    grid->addWidget(m_humanWeight, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("kg")), 3, 2);
    return m_humanGroup;
}

QGroupBox* InsertDialog::buildThings()
{
    m_thingGroup = group("Frame8", "Things");
    auto* grid = new QGridLayout(m_thingGroup);
    m_thingWeight = field("Text18");
    m_thingSound = new QComboBox;
    m_thingSound->setObjectName(QStringLiteral("Combo1"));
    for (const CodedCaption& sound : ThingSounds)
        m_thingSound->addItem(QString::fromLatin1(sound.insertCaption), sound.code);
    grid->addWidget(new QLabel(QStringLiteral("Weight")), 0, 0);
    grid->addWidget(m_thingWeight, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("kg")), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Sound")), 1, 0);
    grid->addWidget(m_thingSound, 1, 1, 1, 2);
    return m_thingGroup;
}

QGroupBox* InsertDialog::buildLight()
{
    m_lightGroup = group("Frame2", "Light");
    auto* grid = new QGridLayout(m_lightGroup);
    m_brightness = field("Text13");
    grid->addWidget(new QLabel(QStringLiteral("Brightness:")), 0, 0);
    grid->addWidget(m_brightness, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("(1...5)")), 0, 2);
    m_colour = new ColourControls({{nullptr, nullptr, nullptr}, {"Slider3", "Slider4", "Slider5"},
                                   {"Text14", "Text15", "Text16"}, "Picture1"});
    m_colour->setBoxesVisible(false);
    grid->addWidget(m_colour, 1, 0, 1, 3);
    m_lightDistance = field("Text24");
    m_lightDistance->setText(QStringLiteral("25"));
    grid->addWidget(new QLabel(QStringLiteral("Distance")), 2, 0);
    grid->addWidget(m_lightDistance, 2, 1);
    // The two light styles: a lamp that lights around it, and a spot with a narrow cone.
    m_style4 = new QRadioButton(QStringLiteral("Spot"));
    m_style4->setObjectName(QStringLiteral("Option4"));
    m_style5 = new QRadioButton(QStringLiteral("Lamp"));
    m_style5->setObjectName(QStringLiteral("Option5"));
    m_style5->setChecked(true);
    auto* styles = new QHBoxLayout;
    styles->addWidget(m_style4);
    styles->addWidget(m_style5);
    grid->addLayout(styles, 3, 0, 1, 3);
    return m_lightGroup;
}

QGroupBox* InsertDialog::buildDoor()
{
    m_doorGroup = group("Frame1", "Door");
    auto* row = new QHBoxLayout(m_doorGroup);
    row->addWidget(new QLabel(QStringLiteral("Sound:")));
    const char* captions[] = {"wood", "brass", "glass"};
    for (int i = 0; i < 3; ++i) {
        m_doorSound[i] = new QRadioButton(QString::fromLatin1(captions[i]));
        m_doorSound[i]->setObjectName(QStringLiteral("Option%1").arg(1 + i));
        row->addWidget(m_doorSound[i]);
    }
    m_doorSound[0]->setChecked(true);
    return m_doorGroup;
}

QGroupBox* InsertDialog::buildSound()
{
    m_soundGroup = group("Frame6", "Sound");
    auto* grid = new QGridLayout(m_soundGroup);
    m_soundFile = field("Text20", 16777215);
    auto* browse = new QPushButton(QStringLiteral("Browse"));
    browse->setObjectName(QStringLiteral("Command3"));
    connect(browse, &QPushButton::clicked, this, &InsertDialog::browseSound);
    m_soundList = new QComboBox;
    m_soundList->setObjectName(QStringLiteral("Combo2"));
    m_soundList->addItem(QStringLiteral("general"), 3);
    m_soundList->addItem(QStringLiteral("distance"), 1);
    connect(m_soundList, &QComboBox::activated, this, &InsertDialog::onSoundList);
    m_volume = field("Text29");
    m_soundDistance = field("Text34");
    grid->addWidget(new QLabel(QStringLiteral("Sound File")), 0, 0);
    grid->addWidget(m_soundFile, 0, 1);
    grid->addWidget(browse, 0, 2);
    grid->addWidget(m_soundList, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Volume")), 2, 0);
    grid->addWidget(m_volume, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Distance")), 3, 0);
    grid->addWidget(m_soundDistance, 3, 1);
    return m_soundGroup;
}

QGroupBox* InsertDialog::buildScript()
{
    m_scriptGroup = group("Frame5", "Script");
    auto* row = new QHBoxLayout(m_scriptGroup);
    m_noScript = new QCheckBox(QStringLiteral("no script"));
    m_noScript->setObjectName(QStringLiteral("Check1"));
    row->addWidget(m_noScript);
    return m_scriptGroup;
}

void InsertDialog::showGroup(InsertGroup shown)
{
    const std::pair<QGroupBox*, InsertGroup> all[] = {{m_humanGroup, InsertGroup::Human}, {m_thingGroup, InsertGroup::Things},
                                                      {m_lightGroup, InsertGroup::Light}, {m_doorGroup, InsertGroup::Door},
                                                      {m_soundGroup, InsertGroup::Sound}, {m_scriptGroup, InsertGroup::Script}};
    for (const auto& [box, g] : all)
        box->setVisible(g == shown);
}

void InsertDialog::onSoundList(int index)
{
    const bool general = m_soundList->itemData(index).toInt() == 3;
    m_soundKind = general ? 3 : 1;
    for (QLineEdit* box : {m_volume, m_soundDistance}) {
        box->setReadOnly(general);
        QPalette p = box->palette();
        const QPalette normal = QApplication::palette(box);
        p.setColor(QPalette::Base, general ? normal.color(QPalette::Window) : normal.color(QPalette::Base));
        box->setPalette(p);
    }
    if (general) {
        if (m_volume->text().isEmpty())
            m_volume->setText(QStringLiteral("1"));
        if (m_soundDistance->text().isEmpty())
            m_soundDistance->setText(QStringLiteral("100"));
    }
}

void InsertDialog::prepare(const InsertKind& kind, const InsertSource& source)
{
    m_heading->setText(QString::fromLatin1(kind.heading.data(), static_cast<qsizetype>(kind.heading.size())));
    m_kind = std::string(kind.kind);

    m_model->setReadOnly(!kind.hasModel());
    m_model->setEnabled(kind.hasModel());
    m_browseModel->setEnabled(kind.hasModel());
    if (kind.hasModel())
        m_model->setText(source.model.isEmpty()
                             ? QString::fromLatin1(kind.defaultModel.data(), static_cast<qsizetype>(kind.defaultModel.size()))
                             : source.model);
    else
        m_model->clear();
    showGroup(kind.group);

    switch (kind.group) {
    case InsertGroup::Human:
        m_sex->setText(QStringLiteral("17"));
        m_aggression->setText(QStringLiteral("0.5"));
        m_humanWeight->setText(QStringLiteral("80"));
        m_behaviour->setCurrentIndex(4);
        break;
    case InsertGroup::Things:
        m_thingSound->setCurrentIndex(3);
        m_thingWeight->setText(QStringLiteral("80"));
        break;
    case InsertGroup::Sound:
        m_soundList->setCurrentIndex(1);
        onSoundList(1);
        break;
    case InsertGroup::Door:
        m_doorSound[source.doorMaterial >= 2 ? source.doorMaterial - 1 : 0]->setChecked(true);
        break;
    case InsertGroup::Light:
        m_brightness->setText(QString::fromStdString(formatFloat(source.lightPower)));
        m_colour->showColour({source.lightColour[0] * 255.0f, source.lightColour[1] * 255.0f,
                              source.lightColour[2] * 255.0f});
        (source.lightKind == 2 ? m_style4 : m_style5)->setChecked(true);
        break;
    case InsertGroup::Script:
    case InsertGroup::None:
        break;
    }

    // The selected object's values, to start from.
    m_name->setText(source.name);
    for (int i = 0; i < 3; ++i) {
        m_translation[i]->setText(source.translation[i]);
        m_size[i]->setText(source.size[i]);
    }
    m_rotation->showRotation(source.rotation);
    m_rotation->setVerticalAngleText(source.verticalAngle);
    show();
    raise();
    activateWindow();
}

InsertForm InsertDialog::form() const
{
    InsertForm f;
    f.kind = m_kind;
    f.name = textOf(m_name);
    f.model = textOf(m_model);
    f.translationX = textOf(m_translation[0]);
    f.translationY = textOf(m_translation[1]);
    f.translationZ = textOf(m_translation[2]);
    f.sizeX = textOf(m_size[0]);
    f.sizeY = textOf(m_size[1]);
    f.sizeZ = textOf(m_size[2]);
    const auto& q = m_rotation->rotation();
    f.q1 = q[0];
    f.q3 = q[2];
    f.q4 = q[3];
    f.verticalAngle = m_rotation->verticalAngleText().toStdString();
    f.brightness = textOf(m_brightness);
    f.lightDistance = textOf(m_lightDistance);
    f.colour = m_colour->boxTexts(); // the sliders only show the colour
    f.lightStyle5 = m_style5->isChecked();
    f.thingWeight = textOf(m_thingWeight);
    f.thingSound = m_thingSound->currentIndex();
    f.aggression = textOf(m_aggression);
    f.humanWeight = textOf(m_humanWeight);
    f.sex = textOf(m_sex);
    f.behaviour = m_behaviour->currentData().toInt();
    f.soundFile = textOf(m_soundFile);
    f.volume = textOf(m_volume);
    f.soundDistance = textOf(m_soundDistance);
    f.soundKind = m_soundKind;
    f.doorSound = m_doorSound[2]->isChecked() ? 3 : m_doorSound[1]->isChecked() ? 2 : 1;
    f.noScript = m_noScript->isChecked();
    return f;
}

void InsertDialog::browseModel()
{
    if (m_model->isReadOnly())
        return;
    if (const auto path = m_files.openFile(insertfilters::Model))
        if (const auto model = modelFieldFor(*path, m_prompter))
            m_model->setText(fromBytes(*model));
}

void InsertDialog::browseSound()
{
    if (const auto path = m_files.openFile(insertfilters::Sound))
        if (const auto sound = soundFieldFor(*path, m_prompter))
            m_soundFile->setText(fromBytes(*sound));
}

void InsertDialog::insert()
{
    m_runner.run([this] {
        if (m_mission.sceneCatalogue().empty())
            return CommandResult::refused();
        // The stored components follow the sliders, as the dialog shows them; an empty angle is 0.
        m_rotation->takeComponentsFromSliders();
        m_rotation->setVerticalAngleText(
            QString::fromStdString(rotationFieldText(m_rotation->verticalAngleText().toStdString(), "Text11")));
        return CommandResult(insertObject(m_mission, form(), m_prompter), QStringLiteral(" **** Saved ****"), SavedColour);
    });
}

} // namespace mw
