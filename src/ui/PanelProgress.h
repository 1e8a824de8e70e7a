#pragma once
// Shows a long operation's progress in the window's progress panel and lets pending window events
// through at most every 50 ms, so the window stays responsive without slowing the work down.

#include <QElapsedTimer>

#include "foundation/seams/Progress.h"

class QFrame;
class QLineEdit;
class QProgressBar;

namespace mw {

class PanelProgress final : public Progress {
public:
    PanelProgress(QFrame* panel, QProgressBar* bar, QLineEdit* text) : m_panel(panel), m_bar(bar), m_text(text) {}
    void start(int maximum) override;
    void step(int value, std::string_view text) override;
    void finish() override;

private:
    QFrame* m_panel;
    QProgressBar* m_bar;
    QLineEdit* m_text;
    QElapsedTimer m_sinceYield;
};

} // namespace mw
