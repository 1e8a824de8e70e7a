#include "ui/RotationControls.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>

#include "commands/editing/Rotation.h"
#include "foundation/text/NumericText.h"
#include "ui/OrientationView.h"
#include "ui/QtText.h"
#include "ui/ValueColours.h"

namespace mw {

namespace {

QString named(const char* name, const QString& suffix) { return QLatin1String(name) + suffix; }

QLineEdit* readOnlyBox(const char* name, const QString& suffix)
{
    auto* box = new QLineEdit;
    box->setObjectName(named(name, suffix));
    box->setReadOnly(true);
    box->setMinimumWidth(90);
    box->setMaximumWidth(110);
    return box;
}

QString floatText(float v) { return QString::fromStdString(formatFloat(v)); }

} // namespace

RotationControls::RotationControls(int list, QWidget* parent)
    : RotationControls(list, QStringLiteral("_%1").arg(list), Names{"Text3", "Text4", "Text12"}, parent)
{
}

RotationControls::RotationControls(const Names& names, QWidget* parent) : RotationControls(0, QString(), names, parent)
{
    m_marksEdits = false;
}

void RotationControls::takeComponentsFromSliders()
{
    setFirstComponents(m_slider1->value());
    setFourthComponent(m_slider2->value());
}

void RotationControls::setComponentsVisible(bool visible)
{
    for (QLineEdit* box : {m_text3, m_text4, m_text12})
        box->setVisible(visible);
}

RotationControls::RotationControls(int list, const QString& suffix, const Names& names, QWidget* parent)
    : QWidget(parent), m_list(list)
{
    m_slider1 = new QSlider(Qt::Vertical);
    m_slider1->setObjectName(named("Slider1", suffix));
    m_slider1->setRange(0, 180);
    m_slider1->setSingleStep(1);
    m_slider1->setPageStep(5);
    m_slider1->setMinimumHeight(90);
    m_slider2 = new QSlider(Qt::Horizontal);
    m_slider2->setObjectName(named("Slider2", suffix));
    m_slider2->setRange(-90, 90);
    m_slider2->setSingleStep(1);
    m_slider2->setPageStep(5);
    m_text3 = readOnlyBox(names.first, suffix);
    m_text4 = readOnlyBox(names.second, suffix);
    m_text12 = readOnlyBox(names.fourth, suffix);
    m_text11 = new QLineEdit;
    m_text11->setObjectName(named("Text11", suffix));
    m_text11->setMaximumWidth(110);
    m_label30 = new QLabel(QString::fromLatin1(names.firstCaption));
    m_label30->setObjectName(named("Label30", suffix));
    m_label3 = new QLabel(QString::fromLatin1(names.secondCaption));
    m_label3->setObjectName(named("Label3", suffix));
    m_view1 = new OrientationView(OrientationView::Figure::First);
    m_view1->setObjectName(named("FirstView", suffix));
    m_view2 = new OrientationView(OrientationView::Figure::Second);
    m_view2->setObjectName(named("SecondView", suffix));
    for (OrientationView* view : {m_view1, m_view2})
        view->setFixedSize(110, 110);
    m_slider2->setFixedWidth(110);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Rotation")), 0, 0);
    grid->addWidget(m_text11, 0, 1);
    grid->addWidget(m_label30, 1, 0, Qt::AlignTop);
    auto* first = new QHBoxLayout;
    first->addWidget(m_slider1);
    first->addWidget(m_view1);
    grid->addLayout(first, 1, 1);
    auto* firstComponents = new QVBoxLayout;
    firstComponents->addWidget(m_text3);
    firstComponents->addWidget(m_text4);
    firstComponents->addStretch(1);
    grid->addLayout(firstComponents, 1, 2);
    grid->addWidget(m_label3, 2, 0, Qt::AlignTop);
    auto* second = new QVBoxLayout;
    second->addWidget(m_view2);
    second->addWidget(m_slider2);
    grid->addLayout(second, 2, 1);
    auto* secondComponents = new QVBoxLayout;
    secondComponents->addWidget(m_text12);
    secondComponents->addStretch(1);
    grid->addLayout(secondComponents, 2, 2);
    grid->setColumnStretch(3, 1);

    connect(m_slider1, &QSlider::valueChanged, this, &RotationControls::onFirstSlider);
    connect(m_slider2, &QSlider::valueChanged, this, &RotationControls::onSecondSlider);
    connect(m_text11, &QLineEdit::textEdited, this, &RotationControls::markVerticalAngle);
    // A click marks the vertical rotation as edited too, with no comparison.
    m_text11->installEventFilter(this);
}

bool RotationControls::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_text11 && event->type() == QEvent::MouseButtonPress && m_text11->isEnabled())
        markVerticalAngle();
    return QWidget::eventFilter(watched, event);
}

void RotationControls::markVerticalAngle()
{
    if (m_guard && !m_guard())
        return;
    setRed(m_text11);
    emit edited();
}

void RotationControls::showRotation(const std::array<float, 4>& q)
{
    m_q = q;
    const QSignalBlocker block1(m_slider1);
    const QSignalBlocker block2(m_slider2);
    // q1 exactly at -1 or 1 leaves the first slider where it is.
    if (const auto v = firstSliderFromQ1(q[0]))
        m_slider1->setValue(*v);
    m_view1->setAngle(m_slider1->value());
    m_slider2->setValue(secondSliderFromQ4(q[3]));
    m_view2->setAngle(m_slider2->value());
    m_text11->setText(QString::fromStdString(formatDouble(verticalAngleFromQ2(q[1]))));
    m_text3->setText(floatText(q[0]));
    m_text4->setText(floatText(m_list == 0 ? q[2] : q[1]));
    m_text12->setText(floatText(q[3]));
}

QString RotationControls::verticalAngleText() const { return m_text11->text(); }
void RotationControls::setVerticalAngleText(const QString& text) { m_text11->setText(text); }

void RotationControls::setRotationEnabled(bool enabled)
{
    m_text11->setEnabled(enabled);
    m_slider1->setEnabled(enabled);
    m_slider2->setEnabled(enabled);
}

void RotationControls::setLabelsEnabled(bool enabled)
{
    m_label3->setEnabled(enabled);
    m_label30->setEnabled(enabled);
}

void RotationControls::restoreColours()
{
    for (QWidget* w : {static_cast<QWidget*>(m_text11), static_cast<QWidget*>(m_label30),
                       static_cast<QWidget*>(m_label3)})
        paintNormal(w);
}

void RotationControls::setRed(QWidget* w)
{
    if (m_marksEdits)
        paintEdited(w);
}

void RotationControls::setFirstComponents(int angle)
{
    const auto c = firstSliderComponents(angle);
    m_text3->setText(floatText(c[0]));
    m_text4->setText(floatText(c[1]));
    // The stored components are the boxes' texts read back as 32-bit floats.
    m_q[0] = parseFloat32(m_text3->text().toStdString()).value_or(c[0]);
    m_q[m_list == 0 ? 2 : 1] = parseFloat32(m_text4->text().toStdString()).value_or(c[1]);
}

void RotationControls::setFourthComponent(int angle)
{
    m_text12->setText(floatText(secondSliderComponent(angle)));
    m_q[3] = parseFloat32(m_text12->text().toStdString()).value_or(secondSliderComponent(angle));
}

void RotationControls::onFirstSlider(int angle)
{
    m_view1->setAngle(angle);
    if (m_guard && !m_guard())
        return;
    setFirstComponents(angle);
    setRed(m_label30);
    emit edited();
}

void RotationControls::onSecondSlider(int angle)
{
    m_view2->setAngle(angle);
    if (m_guard && !m_guard())
        return;
    setFourthComponent(angle);
    if (const auto vertical = parseNumber(m_text11->text().toStdString()))
        m_q[1] = q2FromVerticalAngle(*vertical);
    setRed(m_label3);
    emit edited();
}

} // namespace mw
