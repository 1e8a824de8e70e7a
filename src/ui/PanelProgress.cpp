#include "ui/PanelProgress.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLineEdit>
#include <QProgressBar>

#include "ui/QtText.h"

namespace mw {

void PanelProgress::start(int maximum)
{
    m_bar->setRange(0, maximum);
    m_bar->setValue(0);
    m_text->clear();
    m_panel->show();
    m_sinceYield.start();
}

void PanelProgress::step(int value, std::string_view text)
{
    if (m_sinceYield.elapsed() < 50)
        return;
    m_bar->setValue(value);
    if (!text.empty())
        m_text->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    QCoreApplication::processEvents();
    m_sinceYield.restart();
}

void PanelProgress::finish()
{
    m_bar->setValue(m_bar->maximum());
    m_panel->hide();
    m_text->clear();
}

} // namespace mw
