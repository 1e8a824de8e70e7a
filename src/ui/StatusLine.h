#pragma once
// The status line (objectName Status): completed writes are announced in it in green, unsaved
// script changes in red; an empty text shows in the normal colour.

#include <QColor>
#include <QLabel>

namespace mw {

class StatusLine {
public:
    explicit StatusLine(QLabel* label) : m_label(label) {}
    void show(const QString& text, const QColor& colour);
    void clear() { show(QString(), QColor()); }
    QLabel* label() const { return m_label; }

private:
    QLabel* m_label;
};

} // namespace mw
