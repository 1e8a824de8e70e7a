#include "ui/StatusLine.h"

#include <QApplication>

namespace mw {

void StatusLine::show(const QString& text, const QColor& colour)
{
    m_label->setText(text);
    QPalette p = m_label->palette();
    p.setColor(QPalette::WindowText, colour.isValid() ? colour : QApplication::palette(m_label).color(QPalette::WindowText));
    m_label->setPalette(p);
}

} // namespace mw
