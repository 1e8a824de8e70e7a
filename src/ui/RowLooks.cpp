#include "ui/RowLooks.h"

#include <QBrush>
#include <QColor>
#include <QPainter>
#include <QPixmap>

namespace mw {

QIcon padlockIcon()
{
    static const QIcon icon = [] {
        QIcon made;
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
            made.addPixmap(picture, QIcon::Normal, shut ? QIcon::On : QIcon::Off);
        }
        return made;
    }();
    return icon;
}

QVariant lookData(const RowLook& look, int role)
{
    if (role == Qt::ForegroundRole && look.hidden)
        return QBrush(QColor(150, 150, 150));
    if (role == Qt::DecorationRole && look.locked)
        return padlockIcon().pixmap(QSize(12, 12), QIcon::Normal, QIcon::On);
    return {};
}

} // namespace mw
