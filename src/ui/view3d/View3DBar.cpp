#include "ui/view3d/View3DBar.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "ui/ViewLayers.h"
#include "ui/WidgetNames.h"

namespace mw {

View3DBar::View3DBar(ViewLayers& layers, QWidget* parent) : QWidget(parent)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    layers.addSwitches(row, "View3DLayer_", "View3DLock_");
    row->addStretch(1);
    auto* grid = new QComboBox;
    grid->setObjectName(QString::fromLatin1(ids::View3DGridStep));
    grid->setToolTip(QStringLiteral("Grid step: a move with Ctrl held snaps to it"));
    for (const float step : {0.1f, 0.5f, 1.0f, 5.0f})
        grid->addItem(QStringLiteral("%1 m").arg(static_cast<double>(step)), static_cast<double>(step));
    grid->setCurrentIndex(2);
    row->addWidget(new QLabel(QStringLiteral("Grid")));
    row->addWidget(grid);
    m_frameAll = new QPushButton(QStringLiteral("Frame all"));
    m_frameAll->setObjectName(QStringLiteral("View3DFrameAll"));
    row->addWidget(m_frameAll);
    connect(grid, &QComboBox::currentIndexChanged, this,
            [this, grid](int) { emit gridStepChosen(static_cast<float>(grid->currentData().toDouble())); });
    connect(m_frameAll, &QPushButton::clicked, this, &View3DBar::frameAllClicked);
}

void View3DBar::setViewless() { m_frameAll->setEnabled(false); }

} // namespace mw
