#include "ui/ViewLayers.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QToolButton>

#include "ui/RowLooks.h"

namespace mw {

void ViewLayers::setShown(ViewLayer layer, bool shown)
{
    bool& slot = m_shown[indexOf(layer)];
    if (slot == shown)
        return;
    slot = shown;
    emit changed();
}

void ViewLayers::setLocked(ViewLayer layer, bool locked)
{
    bool& slot = m_locked[indexOf(layer)];
    if (slot == locked)
        return;
    slot = locked;
    emit changed();
}

LayerSwitches ViewLayers::pickable() const
{
    LayerSwitches reach{};
    for (std::size_t i = 0; i < ViewLayerCount; ++i)
        reach[i] = m_shown[i] && !m_locked[i];
    return reach;
}

void ViewLayers::addSwitches(QBoxLayout* row, const char* prefix, const char* lockPrefix)
{
    // Short captions, so that the switches and their locks fit a narrow dock; the whole name as a tip.
    const char* captions[ViewLayerCount] = {"Objects", "Cached", "Bodies", "Frames", "Route"};
    const char* names[ViewLayerCount] = {"Scene objects", "Cached objects", "Collision bodies", "Model frames", "Route"};
    for (std::size_t i = 0; i < ViewLayerCount; ++i) {
        auto* box = new QCheckBox(QString::fromLatin1(captions[i]));
        box->setToolTip(QStringLiteral("Show %1").arg(QString::fromLatin1(names[i]).toLower()));
        box->setObjectName(QLatin1String(prefix) + QString::number(i));
        box->setChecked(m_shown[i]);
        auto* lock = new QToolButton;
        lock->setObjectName(QLatin1String(lockPrefix) + QString::number(i));
        lock->setCheckable(true);
        lock->setChecked(m_locked[i]);
        lock->setAutoRaise(true);
        lock->setIcon(padlockIcon());
        lock->setIconSize(QSize(12, 12));
        lock->setFixedSize(18, 18);
        lock->setToolTip(QStringLiteral("Lock %1: drawn, never picked, dragged or banded").arg(QString::fromLatin1(names[i]).toLower()));
        connect(box, &QCheckBox::toggled, this, [this, i](bool on) { setShown(static_cast<ViewLayer>(i), on); });
        connect(lock, &QToolButton::toggled, this, [this, i](bool on) { setLocked(static_cast<ViewLayer>(i), on); });
        connect(this, &ViewLayers::changed, box, [this, box, lock, i] {
            const QSignalBlocker blockBox(box), blockLock(lock);
            box->setChecked(m_shown[i]);
            lock->setChecked(m_locked[i]);
        });
        row->addWidget(box);
        row->addWidget(lock);
    }
}

} // namespace mw
