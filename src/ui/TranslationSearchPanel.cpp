#include "ui/TranslationSearchPanel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace mw {

TranslationSearchPanel::TranslationSearchPanel(const Names& names, QWidget* parent) : QWidget(parent)
{
    auto* group = new QGroupBox(QStringLiteral("Search by translation"));
    auto* grid = new QGridLayout(group);
    const char* axes[] = {"X", "Y", "Z"};
    grid->addWidget(new QLabel(QStringLiteral("Find")), 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Shown")), 2, 0);
    for (int axis = 0; axis < 3; ++axis) {
        m_fields[axis] = new QLineEdit;
        m_fields[axis]->setObjectName(QString::fromLatin1(names.fields[axis]));
        m_fields[axis]->setMaximumWidth(120);
        m_displays[axis] = new QLineEdit;
        m_displays[axis]->setObjectName(QString::fromLatin1(names.displays[axis]));
        m_displays[axis]->setReadOnly(true);
        m_displays[axis]->setMaximumWidth(120);
        auto* button = new QPushButton(QStringLiteral("search Trans %1").arg(QLatin1String(axes[axis])));
        button->setObjectName(QString::fromLatin1(names.buttons[axis]));
        grid->addWidget(button, 0, 1 + axis);
        grid->addWidget(m_fields[axis], 1, 1 + axis);
        grid->addWidget(m_displays[axis], 2, 1 + axis);
        connect(button, &QPushButton::clicked, this, [this, axis] { emit searchAxis(axis); });
    }
    auto* all = new QPushButton(QStringLiteral("search all"));
    all->setObjectName(QString::fromLatin1(names.searchAll));
    auto* stopButton = new QPushButton(QStringLiteral("stop"));
    stopButton->setObjectName(QString::fromLatin1(names.stop));
    grid->addWidget(all, 1, 4);
    grid->addWidget(stopButton, 2, 4);
    grid->setColumnStretch(5, 1);
    connect(all, &QPushButton::clicked, this, &TranslationSearchPanel::searchAll);
    connect(stopButton, &QPushButton::clicked, this, &TranslationSearchPanel::stop);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(group);
}

} // namespace mw
