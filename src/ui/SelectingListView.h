#pragma once
// A list whose selection changes are told once per gesture. Qt's selection model changes a list's
// selection and its current row in two steps, each with its signal, and a window that shows the
// selection in four places would redraw them twice, once with a selection that never was. Here a
// click (from the press to the release: a press on a selected row moves the current row and leaves
// the selection to the release), a key, a drag over rows or a row selected by the program (Batch)
// ends in one `settled()`.

#include <QListView>

namespace mw {

class SelectingListView final : public QListView {
    Q_OBJECT
public:
    explicit SelectingListView(QWidget* parent = nullptr);
    void setModel(QAbstractItemModel* model) override;

    // While one lives, the list's changes wait: `settled()` comes once when the last one ends.
    class Batch {
    public:
        explicit Batch(QListView* list);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        SelectingListView* m_list;
    };

signals:
    // What the list selects, or its current row, changed.
    void settled();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void touched();
    void hold();
    void letGo();
    int m_batches = 0;
    bool m_touched = false;
    bool m_pressed = false; // a click's batch is open from its press to its release
};

} // namespace mw
