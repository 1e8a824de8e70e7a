#include "ui/ScenePage.h"

#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>
#include <cmath>

#include "commands/editing/Scripts.h"
#include "formats/scene/ValueTables.h"
#include "foundation/text/NumericText.h"
#include "ui/BoxStarts.h"
#include "ui/ColourControls.h"
#include "ui/QtText.h"
#include "ui/RotationControls.h"
#include "ui/ValueColours.h"
#include "ui/WidgetNames.h"

namespace mw {

namespace {

QLineEdit* box(const QString& name, int width = 110)
{
    auto* b = new QLineEdit;
    b->setObjectName(name);
    b->setMaximumWidth(width);
    return b;
}

QGroupBox* panel(const char* name, const char* title)
{
    auto* frame = new QGroupBox(QString::fromLatin1(title));
    frame->setObjectName(QString::fromLatin1(name));
    return frame;
}

QString floatText(float v) { return QString::fromStdString(formatFloat(v)); }
std::string textOf(const QLineEdit* b) { return b->text().toStdString(); }

} // namespace

ScenePage::ScenePage(QWidget* parent) : QWidget(parent)
{
    auto* content = new QWidget;
    auto* grid = new QGridLayout(content);
    grid->addWidget(buildCommon(), 0, 0);
    m_rotation = new RotationControls(0);
    auto* rotationBox = new QGroupBox;
    auto* rotationLayout = new QVBoxLayout(rotationBox);
    rotationLayout->addWidget(m_rotation);
    grid->addWidget(rotationBox, 0, 1, 2, 1);

    auto* panels = new QVBoxLayout;
    panels->addWidget(buildLightPanel());
    panels->addWidget(buildSoundPanel());
    panels->addWidget(buildHumanPanel());
    panels->addWidget(buildThingPanel());
    panels->addStretch(1);
    grid->addLayout(panels, 1, 0);

    auto* scriptBox = new QGroupBox(QStringLiteral("Script"));
    auto* scriptLayout = new QGridLayout(scriptBox);
    m_script = new QPlainTextEdit;
    m_script->setObjectName(QString::fromLatin1(ids::ScriptBox));
    m_script->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_script->setMinimumHeight(90);
    m_scriptLength = box(QString::fromLatin1(ids::ScriptLength), 80);
    m_scriptLength->setReadOnly(true);
    m_saveScript = new QPushButton(QStringLiteral("Save"));
    m_saveScript->setObjectName(QStringLiteral("SaveScript"));
    scriptLayout->addWidget(m_script, 0, 0, 3, 1);
    scriptLayout->addWidget(new QLabel(QStringLiteral("Length")), 0, 1);
    scriptLayout->addWidget(m_scriptLength, 1, 1, Qt::AlignTop);
    scriptLayout->addWidget(m_saveScript, 2, 1, Qt::AlignBottom);
    connect(m_script, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_filling)
            emit scriptEdited();
    });
    grid->addWidget(scriptBox, 2, 0, 1, 2);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);

    auto* scroll = new QScrollArea;
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);

    m_savedMarker = makeSavedMarker(QStringLiteral("SavedMarker_0"));
    m_save = new QPushButton(QStringLiteral("Save"));
    m_save->setObjectName(QStringLiteral("SaveValue_0"));

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_savedMarker);
    bottom->addStretch(1);
    bottom->addWidget(m_save);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(scroll, 1);
    outer->addLayout(bottom);

    connect(m_rotation, &RotationControls::edited, this, &ScenePage::edited);
    showEntry(SceneEntry{}, std::nullopt);
}

QWidget* ScenePage::buildCommon()
{
    auto* group = new QWidget;
    auto* form = new QGridLayout(group);
    form->setContentsMargins(0, 0, 0, 0);
    m_name = box(QString::fromLatin1(ids::EntryName), 16777215);
    m_name->setReadOnly(true);
    m_model = box(QStringLiteral("Text2_12"), 16777215);
    m_model->setReadOnly(true);
    m_link = box(QStringLiteral("Text26"), 16777215);
    m_link->setReadOnly(true);
    form->addWidget(new QLabel(QStringLiteral("Name")), 0, 0);
    form->addWidget(m_name, 0, 1, 1, 3);
    form->addWidget(new QLabel(QStringLiteral("Model")), 1, 0);
    form->addWidget(m_model, 1, 1, 1, 3);
    form->addWidget(new QLabel(QStringLiteral("Link to")), 2, 0);
    form->addWidget(m_link, 2, 1, 1, 3);

    form->addWidget(new QLabel(QStringLiteral("Trans")), 3, 0);
    form->addWidget(new QLabel(QStringLiteral("Size")), 4, 0);
    for (int i = 0; i < 3; ++i) {
        m_translation[i] = box(QStringLiteral("Text%1_0").arg(5 + i));
        m_size[i] = box(QStringLiteral("Text%1_0").arg(8 + i));
        form->addWidget(m_translation[i], 3, 1 + i);
        form->addWidget(m_size[i], 4, 1 + i);
        connect(m_translation[i], &QLineEdit::textEdited, this,
                [this, i] { markIfDiffers(m_translation[i], i == 0 ? m_shown.translation.x
                                                           : i == 1 ? m_shown.translation.y
                                                                    : m_shown.translation.z); });
        connect(m_size[i], &QLineEdit::textEdited, this,
                [this, i] { markIfDiffers(m_size[i], i == 0 ? m_shown.size.x : i == 1 ? m_shown.size.y : m_shown.size.z); });
    }
    form->setRowStretch(5, 1);
    return group;
}

QWidget* ScenePage::buildLightPanel()
{
    m_lightPanel = panel("Frame5", "Light");
    auto* grid = new QGridLayout(m_lightPanel);
    m_brightness = box(QStringLiteral("Text32"));
    grid->addWidget(new QLabel(QStringLiteral("Brightness:")), 0, 0);
    grid->addWidget(m_brightness, 0, 1);
    connect(m_brightness, &QLineEdit::textEdited, this, [this] { markIfDiffers(m_brightness, m_shown.lightPower); });

    m_colour = new ColourControls({{"Label9", "Label16", "Label14"},
                                   {"Slider3", "Slider4", "Slider5"},
                                   {"Text33", "Text34", "Text35"},
                                   "Picture4_1"});
    m_colour->setGuard([this] { return canEdit(); });
    connect(m_colour, &ColourControls::sliderMoved, this, [this](int channel) {
        paintEdited(m_colour->caption(channel));
        emit edited();
    });
    grid->addWidget(m_colour, 1, 0, 3, 5);

    grid->addWidget(new QLabel(QStringLiteral("Dist.")), 4, 0);
    grid->addWidget(new QLabel(QStringLiteral("Range")), 5, 0);
    for (int i = 0; i < 2; ++i) {
        m_distance[i] = box(QStringLiteral("Text%1").arg(56 + i));
        m_range[i] = box(QStringLiteral("Text%1").arg(58 + i));
        grid->addWidget(m_distance[i], 4, 1 + i);
        grid->addWidget(m_range[i], 5, 1 + i);
        connect(m_distance[i], &QLineEdit::textEdited, this,
                [this, i] { markIfDiffers(m_distance[i], m_shown.lightDistance[i]); });
        connect(m_range[i], &QLineEdit::textEdited, this, [this, i] { markIfDiffers(m_range[i], m_shown.lightRange[i]); });
    }
    return m_lightPanel;
}

QWidget* ScenePage::buildSoundPanel()
{
    m_soundPanel = panel("Frame10", "Sound");
    auto* grid = new QGridLayout(m_soundPanel);
    m_soundFile = box(QStringLiteral("Text45"), 16777215);
    m_soundFile->setReadOnly(true);
    m_soundKind = box(QStringLiteral("Text44"), 70);
    m_soundType = new QComboBox;
    m_soundType->setObjectName(QStringLiteral("Combo2"));
    m_soundType->addItem(QStringLiteral("general"), 3);
    m_soundType->addItem(QStringLiteral("distance"), 1);
    m_volume = box(QStringLiteral("Text43"));
    m_soundDistance = box(QStringLiteral("Text39"));
    const char* fieldNames[] = {"Text42", "Text41", "Text40"};
    for (int i = 0; i < 3; ++i)
        m_soundFields[i] = box(QString::fromLatin1(fieldNames[i]));

    grid->addWidget(new QLabel(QStringLiteral("Sound File")), 0, 0);
    grid->addWidget(m_soundFile, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Type")), 1, 0);
    grid->addWidget(m_soundKind, 1, 1);
    grid->addWidget(m_soundType, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Volume")), 2, 0);
    grid->addWidget(m_volume, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Cone")), 3, 0);
    grid->addWidget(m_soundFields[0], 3, 1);
    grid->addWidget(m_soundFields[1], 3, 2);
    grid->addWidget(new QLabel(QStringLiteral("Near")), 4, 0);
    grid->addWidget(m_soundFields[2], 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("Distance")), 5, 0);
    grid->addWidget(m_soundDistance, 5, 1);

    connect(m_soundKind, &QLineEdit::textEdited, this, [this] { markIfDiffers(m_soundKind, m_shown.soundKind); });
    connect(m_volume, &QLineEdit::textEdited, this, [this] { markAlways(m_volume); });
    connect(m_soundDistance, &QLineEdit::textEdited, this, [this] { markAlways(m_soundDistance); });
    for (int i = 0; i < 3; ++i)
        connect(m_soundFields[i], &QLineEdit::textEdited, this,
                [this, i] { markIfDiffers(m_soundFields[i], m_shown.soundField[3 + i]); });
    connect(m_soundType, &QComboBox::activated, this, &ScenePage::onSoundType);
    return m_soundPanel;
}

QWidget* ScenePage::buildHumanPanel()
{
    m_humanPanel = panel("Frame9", "Human");
    auto* grid = new QGridLayout(m_humanPanel);
    m_behaviour = new QComboBox;
    m_behaviour->setObjectName(QStringLiteral("Combo3"));
    for (const CodedCaption& behaviour : HumanBehaviours)
        m_behaviour->addItem(QString::fromLatin1(behaviour.inspectorCaption), behaviour.code);
    m_sex = box(QStringLiteral("Text36"), 60);
    m_aggression = box(QStringLiteral("Text37"));
    m_humanWeight = box(QStringLiteral("Text38"));
    grid->addWidget(new QLabel(QStringLiteral("Behaviour")), 0, 0);
    grid->addWidget(m_behaviour, 0, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Sex")), 1, 0);
    grid->addWidget(m_sex, 1, 1);
    auto* sexHint = new QVBoxLayout;
    sexHint->setSpacing(0);
    sexHint->addWidget(new QLabel(QStringLiteral("(0 to 28 male")));
    sexHint->addWidget(new QLabel(QStringLiteral("29 to 31 female)")));
    grid->addLayout(sexHint, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Aggression")), 2, 0);
    grid->addWidget(m_aggression, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Weight")), 3, 0);
    grid->addWidget(m_humanWeight, 3, 1);

    connect(m_sex, &QLineEdit::textEdited, this, [this] { markIfDiffers(m_sex, m_shown.sex); });
    connect(m_aggression, &QLineEdit::textEdited, this, [this] { markIfDiffers(m_aggression, m_shown.aggression); });
    connect(m_humanWeight, &QLineEdit::textEdited, this, [this] { markIfDiffers(m_humanWeight, m_shown.weight); });
    connect(m_behaviour, &QComboBox::activated, this, [this] { markAlways(m_behaviour); });
    return m_humanPanel;
}

QWidget* ScenePage::buildThingPanel()
{
    m_thingPanel = panel("Frame8", "Physical thing");
    auto* grid = new QGridLayout(m_thingPanel);
    m_thingWeight = box(QStringLiteral("Text46"));
    m_thingSound = new QComboBox;
    m_thingSound->setObjectName(QStringLiteral("Combo1"));
    for (const CodedCaption& sound : ThingSounds)
        m_thingSound->addItem(QString::fromLatin1(sound.inspectorCaption), sound.code);
    grid->addWidget(new QLabel(QStringLiteral("Weight")), 0, 0);
    grid->addWidget(m_thingWeight, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Sound")), 1, 0);
    grid->addWidget(m_thingSound, 1, 1);
    connect(m_thingWeight, &QLineEdit::textEdited, this, [this] { markAlways(m_thingWeight); });
    connect(m_thingSound, &QComboBox::activated, this, [this] { markAlways(m_thingSound); });
    return m_thingPanel;
}

void ScenePage::setEditGuard(std::function<bool()> guard)
{
    m_guard = guard;
    m_rotation->setEditGuard([this] { return canEdit(); });
}

void ScenePage::markIfDiffers(QLineEdit* b, double stored)
{
    if (!canEdit())
        return;
    // A box that holds no number (being cleared, a lone minus sign) counts as edited.
    const auto value = parseNumber(textOf(b));
    if (value && static_cast<float>(*value) == static_cast<float>(stored))
        return;
    paintEdited(b);
    emit edited();
}

void ScenePage::placeAt(float x, float z)
{
    if (!canEdit() || !m_translation[0]->isEnabled())
        return;
    m_translation[0]->setText(floatText(x));
    m_translation[2]->setText(floatText(z));
    markIfDiffers(m_translation[0], m_shown.translation.x);
    markIfDiffers(m_translation[2], m_shown.translation.z);
}

void ScenePage::markAlways(QWidget* w)
{
    if (!canEdit())
        return;
    paintEdited(w);
    emit edited();
}

void ScenePage::onSoundType(int index)
{
    if (!canEdit())
        return;
    paintEdited(m_soundType);
    const QString before = m_soundKind->text();
    if (index == 0) { // "general"
        m_soundKind->setText(QStringLiteral("3"));
        setSoundBoxesLocked(true);
        if (m_volume->text().isEmpty())
            m_volume->setText(QStringLiteral("1"));
        if (m_soundDistance->text().isEmpty())
            m_soundDistance->setText(QStringLiteral("100"));
    } else {
        m_soundKind->setText(QStringLiteral("1"));
        setSoundBoxesLocked(false);
    }
    if (m_soundKind->text() != before)
        emit edited();
}

void ScenePage::setSoundBoxesLocked(bool locked)
{
    for (QLineEdit* b : {m_volume, m_soundDistance}) {
        b->setReadOnly(locked);
        QPalette p = b->palette();
        const QPalette normal = QApplication::palette(b);
        p.setColor(QPalette::Base, locked ? normal.color(QPalette::Window) : normal.color(QPalette::Base));
        b->setPalette(p);
    }
}

void ScenePage::showEntry(const SceneEntry& e, const std::optional<std::string>& script)
{
    m_filling = true;
    m_shown = e;

    for (QLineEdit* b : m_translation)
        b->setEnabled(!e.noTranslation);
    for (QLineEdit* b : m_size)
        b->setEnabled(!e.noSize);
    m_rotation->setRotationEnabled(!e.noRotation);

    m_lightPanel->setVisible(e.typeCode == typecode::Light);
    m_soundPanel->setVisible(e.typeCode == typecode::Sound && !e.soundFileName.empty());
    m_humanPanel->setVisible(e.typeCode == typecode::Human);
    m_thingPanel->setVisible(e.typeCode == typecode::PhysicalThing);

    if (e.typeCode == typecode::Light) {
        m_brightness->setText(floatText(e.lightPower));
        m_colour->showColour({e.lightColour[0] * 255.0f, e.lightColour[1] * 255.0f, e.lightColour[2] * 255.0f});
        for (int i = 0; i < 2; ++i) {
            m_distance[i]->setText(floatText(e.lightDistance[i]));
            m_range[i]->setText(floatText(e.lightRange[i]));
        }
    }
    if (e.typeCode == typecode::Sound) {
        m_soundFile->setText(fromBytes(e.soundFileName));
        m_soundKind->setText(QString::number(e.soundKind));
        m_soundType->setCurrentIndex(e.soundKind == 3 ? 0 : 1);
        setSoundBoxesLocked(e.soundKind == 3);
        m_volume->setText(floatText(e.soundField[2]));
        for (int i = 0; i < 3; ++i)
            m_soundFields[i]->setText(floatText(e.soundField[3 + i]));
        m_soundDistance->setText(floatText(e.soundField[6]));
    }
    if (e.typeCode == typecode::Human) {
        // A behaviour code that is not in the list shows no entry, so a save never writes a
        // behaviour the user did not choose.
        m_behaviour->setCurrentIndex(m_behaviour->findData(e.behaviour));
        m_sex->setText(QString::number(e.sex));
        m_aggression->setText(floatText(e.aggression));
        m_humanWeight->setText(floatText(e.weight));
    }
    if (e.typeCode == typecode::PhysicalThing) {
        m_thingWeight->setText(floatText(e.weight));
        // A sound not in the list shows the first entry, whose item data a save writes.
        const int sound = m_thingSound->findData(static_cast<int>(e.thingSound));
        m_thingSound->setCurrentIndex(sound >= 0 ? sound : 0);
    }

    m_model->setText(fromBytes(e.model));
    m_name->setText(fromBytes(e.name));
    m_translation[0]->setText(floatText(e.translation.x));
    m_translation[1]->setText(floatText(e.translation.y));
    m_translation[2]->setText(floatText(e.translation.z));
    m_size[0]->setText(floatText(e.size.x));
    m_size[1]->setText(floatText(e.size.y));
    m_size[2]->setText(floatText(e.size.z));
    m_link->setText(fromBytes(e.linkName));
    m_rotation->showRotation(e.rotation);

    m_storedScript = script.value_or(std::string());
    m_script->setEnabled(script.has_value());
    m_script->setPlainText(fromBytes(scriptForEditing(m_storedScript)));
    m_scriptLength->setText(script ? QString::number(script->size()) : QString());
    showBoxesFromTheStart(*this);
    m_filling = false;
}

std::string ScenePage::scriptToStore() const
{
    return scriptForStoring(m_script->toPlainText().toLatin1().toStdString(), m_storedScript);
}

std::optional<std::size_t> ScenePage::storedScriptLength() const
{
    const auto length = parseInteger(m_scriptLength->text().toStdString(), 0, 0xFFFFFFFFll);
    if (!length)
        return std::nullopt;
    return static_cast<std::size_t>(*length);
}

void ScenePage::clearScript()
{
    m_filling = true;
    m_script->clear();
    m_filling = false;
}

SceneValueForm ScenePage::form() const
{
    SceneValueForm f;
    f.translationX = textOf(m_translation[0]);
    f.translationY = textOf(m_translation[1]);
    f.translationZ = textOf(m_translation[2]);
    f.sizeX = textOf(m_size[0]);
    f.sizeY = textOf(m_size[1]);
    f.sizeZ = textOf(m_size[2]);
    f.verticalAngle = m_rotation->verticalAngleText().toStdString();
    f.rotation = m_rotation->rotation();
    f.brightness = textOf(m_brightness);
    const auto colour = m_colour->boxTexts();
    f.red = colour[0];
    f.green = colour[1];
    f.blue = colour[2];
    f.distance1 = textOf(m_distance[0]);
    f.distance2 = textOf(m_distance[1]);
    f.range1 = textOf(m_range[0]);
    f.range2 = textOf(m_range[1]);
    f.sex = textOf(m_sex);
    f.aggression = textOf(m_aggression);
    f.humanWeight = textOf(m_humanWeight);
    if (m_behaviour->currentIndex() >= 0)
        f.behaviour = m_behaviour->currentData().toInt();
    f.thingWeight = textOf(m_thingWeight);
    if (m_thingSound->currentIndex() >= 0)
        f.thingSound = m_thingSound->currentData().toInt();
    f.soundKind = textOf(m_soundKind);
    f.volume = textOf(m_volume);
    f.soundField3 = textOf(m_soundFields[0]);
    f.soundField4 = textOf(m_soundFields[1]);
    f.soundField5 = textOf(m_soundFields[2]);
    f.soundDistance = textOf(m_soundDistance);
    return f;
}

void ScenePage::restoreTransformColours()
{
    for (QLineEdit* b : m_translation)
        paintNormal(b);
    for (QLineEdit* b : m_size)
        paintNormal(b);
    m_rotation->restoreColours();
}

void ScenePage::restoreKindColours()
{
    for (QWidget* w : std::initializer_list<QWidget*>{m_brightness, m_distance[0], m_distance[1], m_range[0], m_range[1],
                                                      m_colour->caption(0), m_colour->caption(1), m_colour->caption(2),
                                                      m_volume, m_soundDistance, m_soundKind, m_soundType,
                                                      m_soundFields[0], m_soundFields[1], m_soundFields[2], m_sex,
                                                      m_aggression, m_humanWeight, m_behaviour, m_thingWeight,
                                                      m_thingSound})
        paintNormal(w);
}

void ScenePage::restoreAllColours()
{
    restoreTransformColours();
    restoreKindColours();
}

void ScenePage::setSavedMarkerVisible(bool visible) { m_savedMarker->setVisible(visible); }

} // namespace mw
