#include "ui/ScriptOverviewPage.h"
#include "ui/WidgetNames.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

namespace mw {

ScriptOverviewPage::ScriptOverviewPage(QWidget* parent) : QWidget(parent)
{
    m_listAll = new QCheckBox(QStringLiteral("List all scripts"));
    m_listAll->setObjectName(QStringLiteral("Check1"));
    m_listing = new QPlainTextEdit;
    m_listing->setObjectName(QString::fromLatin1(ids::ScriptPane));
    m_listing->setReadOnly(true);
    m_listing->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_searchText = new QLineEdit;
    m_searchText->setObjectName(QStringLiteral("Text2_3"));
    m_search = new QPushButton(QStringLiteral("Search"));
    m_search->setObjectName(QString::fromLatin1(ids::ScriptSearch));

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(m_searchText, 1);
    searchRow->addWidget(m_search);
    auto* box = new QVBoxLayout(this);
    box->addWidget(m_listAll);
    box->addWidget(m_listing, 1);
    box->addLayout(searchRow);

    connect(m_listAll, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            emit listingRequested();
    });
    connect(m_search, &QPushButton::clicked, this, &ScriptOverviewPage::searchRequested);
    connect(m_searchText, &QLineEdit::returnPressed, this, &ScriptOverviewPage::searchRequested);
}

bool ScriptOverviewPage::listingWanted() const { return m_listAll->isChecked(); }

void ScriptOverviewPage::setListing(const QString& text)
{
    m_listing->setPlainText(text);
    m_searchFrom = 0;
}

void ScriptOverviewPage::clearListing() { setListing(QString()); }

bool ScriptOverviewPage::findNext()
{
    const QString needle = m_searchText->text();
    const QString text = m_listing->toPlainText();
    const auto hit = text.indexOf(needle, m_searchFrom, Qt::CaseInsensitive);
    if (hit < 0)
        return false;
    QTextCursor cursor(m_listing->document());
    cursor.setPosition(static_cast<int>(hit));
    cursor.setPosition(static_cast<int>(hit + needle.size()), QTextCursor::KeepAnchor);
    m_listing->setTextCursor(cursor);
    m_listing->ensureCursorVisible();
    m_searchFrom = static_cast<int>(hit + needle.size());
    return true;
}

} // namespace mw
