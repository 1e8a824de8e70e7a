#include "ui/ColourControls.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>
#include <cmath>

#include "foundation/text/NumericText.h"

namespace mw {

ColourControls::ColourControls(const Names& names, QWidget* parent) : QWidget(parent)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    const char* captions[] = {"Red", "Green", "Blue"};
    for (int i = 0; i < 3; ++i) {
        m_captions[i] = new QLabel(QString::fromLatin1(captions[i]));
        if (names.captions[i])
            m_captions[i]->setObjectName(QString::fromLatin1(names.captions[i]));
        m_sliders[i] = new QSlider(Qt::Horizontal);
        m_sliders[i]->setObjectName(QString::fromLatin1(names.sliders[i]));
        m_sliders[i]->setRange(0, 255);
        m_boxes[i] = new QLineEdit;
        m_boxes[i]->setObjectName(QString::fromLatin1(names.boxes[i]));
        m_boxes[i]->setReadOnly(true);
        m_boxes[i]->setMaximumWidth(70);
        grid->addWidget(m_captions[i], i, 0);
        grid->addWidget(m_sliders[i], i, 1);
        grid->addWidget(m_boxes[i], i, 2);
        connect(m_sliders[i], &QSlider::valueChanged, this, [this, i] {
            if (m_guard && !m_guard())
                return;
            for (int c = 0; c < 3; ++c)
                m_boxes[c]->setText(QString::number(m_sliders[c]->value()));
            paintSwatch();
            emit sliderMoved(i);
        });
    }
    m_swatch = new QLabel;
    m_swatch->setObjectName(QString::fromLatin1(names.swatch));
    m_swatch->setMinimumSize(40, 40);
    m_swatch->setAutoFillBackground(true);
    m_swatch->setFrameShape(QFrame::Box);
    grid->addWidget(m_swatch, 0, 3, 3, 1);
    grid->setColumnStretch(1, 1);
}

void ColourControls::setBoxesVisible(bool visible)
{
    for (QLineEdit* b : m_boxes)
        b->setVisible(visible);
}

void ColourControls::showColour(const std::array<float, 3>& channels)
{
    for (int i = 0; i < 3; ++i) {
        m_boxes[i]->setText(QString::fromStdString(formatFloat(channels[i])));
        const QSignalBlocker block(m_sliders[i]);
        m_sliders[i]->setValue(std::clamp(static_cast<int>(std::nearbyint(channels[i])), 0, 255));
    }
    paintSwatch();
}

std::array<std::string, 3> ColourControls::boxTexts() const
{
    return {m_boxes[0]->text().toStdString(), m_boxes[1]->text().toStdString(), m_boxes[2]->text().toStdString()};
}

void ColourControls::paintSwatch()
{
    auto channel = [](const QLineEdit* b) {
        const auto v = parseNumber(b->text().toStdString());
        return v ? std::clamp(static_cast<int>(std::nearbyint(*v)), 0, 255) : 0;
    };
    QPalette p = m_swatch->palette();
    p.setColor(QPalette::Window, QColor(channel(m_boxes[0]), channel(m_boxes[1]), channel(m_boxes[2])));
    m_swatch->setPalette(p);
}

} // namespace mw
