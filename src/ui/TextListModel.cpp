#include "ui/TextListModel.h"

namespace mw {

void TextListModel::setRows(int rows, TextOf textOf)
{
    beginResetModel();
    m_rows = textOf ? rows : 0;
    m_textOf = std::move(textOf);
    endResetModel();
}

void TextListModel::setLooks(RowLookOf lookOf)
{
    m_lookOf = std::move(lookOf);
    looksChanged();
}

void TextListModel::looksChanged()
{
    if (m_rows > 0)
        emit dataChanged(index(0), index(m_rows - 1), {Qt::ForegroundRole, Qt::DecorationRole});
}

QVariant TextListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows)
        return {};
    if (role == Qt::DisplayRole)
        return m_textOf(index.row());
    return m_lookOf ? lookData(m_lookOf(static_cast<std::uint32_t>(index.row())), role) : QVariant();
}

} // namespace mw
