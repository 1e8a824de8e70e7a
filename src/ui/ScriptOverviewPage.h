#pragma once
// The "S. Ovv." page: every script of the scene listed in one pane when "List all scripts" is
// ticked, and a search through that pane that goes on from the last hit.

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace mw {

class ScriptOverviewPage final : public QWidget {
    Q_OBJECT
public:
    explicit ScriptOverviewPage(QWidget* parent = nullptr);

    bool listingWanted() const;
    void setListing(const QString& text);
    void clearListing();

    // Selects the next occurrence of the search box's text (letter case ignored) after the last
    // hit; false when there is none.
    bool findNext();
    // The next search starts at the top of the pane.
    void restartSearch() { m_searchFrom = 0; }

signals:
    void listingRequested(); // "List all scripts" became ticked
    void searchRequested();

private:
    QCheckBox* m_listAll;      // Check1
    QPlainTextEdit* m_listing; // RichTextBox1
    QLineEdit* m_searchText;   // Text2_3
    QPushButton* m_search;     // search2
    int m_searchFrom = 0;
};

} // namespace mw
