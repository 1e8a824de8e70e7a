#pragma once
// Edited values are shown in red until saved or reloaded; saving restores the normal text colour.

#include <QApplication>
#include <QColor>
#include <QLabel>
#include <QPalette>
#include <QWidget>

namespace mw {

inline const QColor EditedColour(255, 0, 0);
inline const QColor SavedColour(0, 128, 0);
inline const QColor SavedScriptColour(0, 192, 0); // " **** Saved ****" after a script save

inline void paintEdited(QWidget* w)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Text, EditedColour);
    p.setColor(QPalette::WindowText, EditedColour);
    p.setColor(QPalette::ButtonText, EditedColour);
    w->setPalette(p);
}

// Back to the application's text colours; other roles (a locked box's background) stay.
inline void paintNormal(QWidget* w)
{
    QPalette p = w->palette();
    const QPalette normal = QApplication::palette(w);
    for (auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        p.setColor(role, normal.color(role));
    w->setPalette(p);
}

// The green "SAVED" marker a page shows after a successful save; hidden at first.
inline QLabel* makeSavedMarker(const QString& objectName)
{
    auto* marker = new QLabel(QStringLiteral("SAVED"));
    marker->setObjectName(objectName);
    QPalette green = marker->palette();
    green.setColor(QPalette::WindowText, SavedColour);
    marker->setPalette(green);
    QFont bold = marker->font();
    bold.setBold(true);
    marker->setFont(bold);
    marker->hide();
    return marker;
}

inline bool isPaintedEdited(const QWidget* w) { return w->palette().color(QPalette::Text) == EditedColour; }

} // namespace mw
