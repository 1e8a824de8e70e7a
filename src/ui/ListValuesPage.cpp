#include "ui/ListValuesPage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "foundation/text/NumericText.h"
#include "ui/BoxStarts.h"
#include "ui/QtText.h"
#include "ui/RotationControls.h"
#include "ui/ValueColours.h"

namespace mw {

const std::array<const char*, 47>& collisionMaterialNames()
{
    static const std::array<const char*, 47> names{
        "nosound",          "asfalt",           "pavement ",        "pavement else",
        "beton ",           "grass",            "sand",             "clay",
        "grit",             "rock",             "railroad track",   "leaves",
        "< unused >",       "wood0%",           "wood30%",          "wood70%",
        "parquet",          "marble",           "carpet",           "metal construction",
        "metal surface",    "metal surface 30%", "metal surface 70%", "< unused >",
        "breakable glass",  "bulletproof glass", "< unused >",      "fence wire",
        "fence wood",       "fence mobile",     "< unused >",       "dead water ",
        "< unused >",       "usuall clipp (universal sound)", "< unused >", "body",
        "plaster ",         "foam in a bath",   "brick wall",       "< unused >",
        "death collision",  "crash collision",  "straw",            "M.slovka",
        "alive water",      "mirror",           "dirt road"};
    return names;
}

namespace {

QString floatText(float v) { return QString::fromStdString(formatFloat(v)); }
std::string textOf(const QLineEdit* b) { return b->text().toStdString(); }
QString materialHex(int code) { return QString::number(code, 16).toUpper(); }

} // namespace

ListValuesPage::ListValuesPage(MissionFile list, QWidget* parent) : QWidget(parent), m_list(list)
{
    auto named = [list](const char* name) { return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(indexOf(list)); };
    auto box = [](const QString& name) {
        auto* b = new QLineEdit;
        b->setObjectName(name);
        b->setMaximumWidth(120);
        return b;
    };

    auto* values = new QGroupBox;
    auto* grid = new QGridLayout(values);
    m_name = new QLineEdit;
    m_name->setObjectName(named("Name"));
    m_name->setReadOnly(true);
    grid->addWidget(new QLabel(list == MissionFile::Tree ? QStringLiteral("Link") : QStringLiteral("Name")), 0, 0);
    grid->addWidget(m_name, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Trans")), 1, 0);
    for (int i = 0; i < 3; ++i) {
        m_translation[i] = box(named(QStringLiteral("Text%1").arg(5 + i).toLatin1().constData()));
        grid->addWidget(m_translation[i], 1, 1 + i);
        connect(m_translation[i], &QLineEdit::textEdited, this, [this, i] {
            markIfDiffers(m_translation[i], i == 0 ? m_shown.position.x : i == 1 ? m_shown.position.y : m_shown.position.z);
        });
    }
    int row = 2;
    if (list != MissionFile::Model) {
        grid->addWidget(new QLabel(QStringLiteral("Size")), row, 0);
        for (int i = 0; i < 3; ++i) {
            m_size[i] = box(named(QStringLiteral("Text%1").arg(8 + i).toLatin1().constData()));
            grid->addWidget(m_size[i], row, 1 + i);
            connect(m_size[i], &QLineEdit::textEdited, this, [this, i] {
                markIfDiffers(m_size[i], i == 0 ? m_shown.size.x : i == 1 ? m_shown.size.y : m_shown.size.z);
            });
        }
        ++row;
    }
    if (list == MissionFile::Tree) {
        grid->addWidget(new QLabel(QStringLiteral("Rotation")), row, 0);
        auto* readout = new QHBoxLayout;
        for (int i = 0; i < 4; ++i) {
            m_rotationReadout[i] = box(QStringLiteral("Rotation%1_3").arg(i + 1));
            m_rotationReadout[i]->setReadOnly(true);
            readout->addWidget(m_rotationReadout[i]);
        }
        grid->addLayout(readout, row++, 1, 1, 3);
        m_material = new QComboBox;
        m_material->setObjectName(QStringLiteral("Combo4"));
        for (std::size_t code = 0; code < collisionMaterialNames().size(); ++code)
            m_material->addItem(QString::fromLatin1(collisionMaterialNames()[code]), static_cast<int>(code));
        m_materialCode = box(QStringLiteral("Text51"));
        m_materialCode->setReadOnly(true);
        m_materialCode->setMaximumWidth(50);
        grid->addWidget(new QLabel(QStringLiteral("Material")), row, 0);
        grid->addWidget(m_material, row, 1, 1, 2);
        grid->addWidget(m_materialCode, row++, 3, Qt::AlignLeft);
        connect(m_material, &QComboBox::activated, this, &ListValuesPage::onMaterialChosen);
    }
    grid->setColumnStretch(4, 1);

    // The values scroll when the window is small; the Save row stays in view.
    auto* content = new QWidget;
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(values);
    if (list != MissionFile::Tree) {
        m_rotation = new RotationControls(static_cast<int>(indexOf(list)));
        auto* rotationBox = new QGroupBox;
        auto* rotationLayout = new QVBoxLayout(rotationBox);
        rotationLayout->addWidget(m_rotation);
        column->addWidget(rotationBox);
        connect(m_rotation, &RotationControls::edited, this, &ListValuesPage::edited);
    }
    m_searchArea = new QWidget;
    m_searchArea->setObjectName(named("SearchArea"));
    column->addWidget(m_searchArea);
    column->addStretch(1);
    auto* scroll = new QScrollArea;
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(scroll, 1);

    m_savedMarker = makeSavedMarker(named("SavedMarker"));
    m_save = new QPushButton(QStringLiteral("Save"));
    m_save->setObjectName(named("SaveValue"));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_savedMarker);
    bottom->addStretch(1);
    bottom->addWidget(m_save);
    outer->addLayout(bottom);
    showNothing();
}

void ListValuesPage::setEditGuard(std::function<bool()> guard)
{
    m_guard = std::move(guard);
    if (m_rotation)
        m_rotation->setEditGuard([this] { return canEdit(); });
}

void ListValuesPage::setValueControlsEnabled(bool enabled)
{
    for (QLineEdit* b : m_translation)
        b->setEnabled(enabled);
    for (QLineEdit* b : m_size)
        if (b)
            b->setEnabled(enabled);
    if (m_rotation) {
        m_rotation->setRotationEnabled(enabled);
        m_rotation->setLabelsEnabled(enabled);
    }
    if (m_material)
        m_material->setEnabled(enabled);
    m_save->setEnabled(enabled);
}

void ListValuesPage::showNothing()
{
    m_filling = true;
    m_shown = Values{};
    m_name->clear();
    for (QLineEdit* b : m_translation)
        b->clear();
    for (QLineEdit* b : m_size)
        if (b)
            b->clear();
    for (QLineEdit* b : m_rotationReadout)
        if (b)
            b->clear();
    setValueControlsEnabled(false);
    m_filling = false;
}

void ListValuesPage::showValues(const Values& v)
{
    m_filling = true;
    m_shown = v;
    setValueControlsEnabled(true);
    m_name->setText(fromBytes(v.name));
    m_translation[0]->setText(floatText(v.position.x));
    m_translation[1]->setText(floatText(v.position.y));
    m_translation[2]->setText(floatText(v.position.z));
    if (m_size[0]) {
        m_size[0]->setText(floatText(v.size.x));
        m_size[1]->setText(floatText(v.size.y));
        m_size[2]->setText(floatText(v.size.z));
    }
    if (m_rotation)
        m_rotation->showRotation(v.rotation);
    for (int i = 0; i < 4; ++i)
        if (m_rotationReadout[i])
            m_rotationReadout[i]->setText(floatText(v.rotation[i]));
    if (m_material) {
        m_material->setCurrentIndex(m_material->findData(v.material));
        m_materialCode->setText(materialHex(v.material));
    }
    showBoxesFromTheStart(*this);
    m_filling = false;
}

TransformForm ListValuesPage::form() const
{
    TransformForm f;
    f.translationX = textOf(m_translation[0]);
    f.translationY = textOf(m_translation[1]);
    f.translationZ = textOf(m_translation[2]);
    if (m_size[0]) {
        f.sizeX = textOf(m_size[0]);
        f.sizeY = textOf(m_size[1]);
        f.sizeZ = textOf(m_size[2]);
    }
    if (m_rotation) {
        f.verticalAngle = m_rotation->verticalAngleText().toStdString();
        f.rotation = m_rotation->rotation();
    } else {
        f.rotation = m_shown.rotation;
    }
    return f;
}

std::optional<int> ListValuesPage::material() const
{
    if (!m_material || m_material->currentIndex() < 0)
        return std::nullopt;
    return m_material->currentData().toInt();
}

void ListValuesPage::markIfDiffers(QLineEdit* b, float stored)
{
    if (!canEdit())
        return;
    const auto value = parseNumber(textOf(b));
    if (value && static_cast<float>(*value) == stored)
        return;
    paintEdited(b);
    emit edited();
}

void ListValuesPage::onMaterialChosen(int index)
{
    if (!canEdit())
        return;
    const int code = m_material->itemData(index).toInt();
    if (code != m_shown.material) {
        paintEdited(m_materialCode);
        emit edited();
    }
    m_materialCode->setText(materialHex(code));
}

void ListValuesPage::restoreColours()
{
    for (QLineEdit* b : m_translation)
        paintNormal(b);
    for (QLineEdit* b : m_size)
        if (b)
            paintNormal(b);
    if (m_rotation)
        m_rotation->restoreColours();
    if (m_materialCode)
        paintNormal(m_materialCode);
}

void ListValuesPage::setSavedMarkerVisible(bool visible) { m_savedMarker->setVisible(visible); }

} // namespace mw
