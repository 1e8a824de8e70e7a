#include "ui/TextListModel.h"

namespace mw {

void TextListModel::setRows(int rows, TextOf textOf)
{
    beginResetModel();
    m_rows = textOf ? rows : 0;
    m_textOf = std::move(textOf);
    endResetModel();
}

QVariant TextListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows)
        return {};
    if (role == Qt::DisplayRole)
        return m_textOf(index.row());
    return lookOf(static_cast<std::uint32_t>(index.row()), role);
}

} // namespace mw
