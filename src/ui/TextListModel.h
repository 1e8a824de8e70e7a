#pragma once
// A list of rows whose texts are read from the loaded file only when a row is drawn: filling a
// list of 30 000 rows costs nothing beyond telling the view how many there are.

#include <functional>

#include "ui/RowLooks.h"

namespace mw {

class TextListModel final : public LookedListModel {
    Q_OBJECT
public:
    using TextOf = std::function<QString(int row)>;

    explicit TextListModel(QObject* parent) : LookedListModel(parent) {}

    // Shows `rows` rows, each as `textOf(row)`; no rows and no texts with 0.
    void setRows(int rows, TextOf textOf);

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : m_rows; }
    QVariant data(const QModelIndex& index, int role) const override;

private:
    int m_rows = 0;
    TextOf m_textOf;
};

} // namespace mw
