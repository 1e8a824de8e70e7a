#pragma once
// How a list draws a row beside its text: a hidden entry in grey, a locked one with a padlock as
// its decoration. Its text and check mark stay as they are.

#include <QAbstractListModel>
#include <QIcon>
#include <QVariant>
#include <cstdint>
#include <functional>

namespace mw {

struct RowLook {
    bool hidden = false, locked = false;
};
// By the row of the list's file.
using RowLookOf = std::function<RowLook(std::uint32_t row)>;

// What a row shows of its look for a role (the text's colour, the decoration); nothing for others.
QVariant lookData(const RowLook& look, int role);

// A list whose rows show their looks beside their texts.
class LookedListModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    // How each row looks beside its text (hidden, locked), by the row of the list's file; every
    // row drawn anew.
    void setLooks(RowLookOf lookOf)
    {
        m_lookOf = std::move(lookOf);
        looksChanged();
    }
    void looksChanged()
    {
        if (rowCount() > 0)
            emit dataChanged(index(0), index(rowCount() - 1), {Qt::ForegroundRole, Qt::DecorationRole});
    }

protected:
    // What a row of the file shows of its look for a role.
    QVariant lookOf(std::uint32_t row, int role) const { return m_lookOf ? lookData(m_lookOf(row), role) : QVariant(); }

private:
    RowLookOf m_lookOf;
};

// A small padlock, drawn: shut and dark for "on", open and grey for "off".
QIcon padlockIcon();

} // namespace mw
