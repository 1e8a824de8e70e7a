#include "ui/ViewLayers.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

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

namespace {

// A small padlock, drawn: shut and dark when the layer is locked, open and grey when it is not.
QIcon padlockIcon()
{
    QIcon icon;
    for (const bool shut : {false, true}) {
        QPixmap picture(24, 24);
        picture.fill(Qt::transparent);
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor colour = shut ? QColor(40, 40, 40) : QColor(150, 150, 150);
        p.setPen(QPen(colour, 2.5));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(7, shut ? 3 : 1, 10, 12), 0, 180 * 16); // the shackle
        if (shut)
            p.drawLine(QPointF(7, 9), QPointF(7, 12));
        p.drawLine(QPointF(17, shut ? 9 : 7), QPointF(17, 12));
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawRoundedRect(QRectF(4, 11, 16, 11), 2, 2);
        icon.addPixmap(picture, QIcon::Normal, shut ? QIcon::On : QIcon::Off);
    }
    return icon;
}

} // namespace

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
