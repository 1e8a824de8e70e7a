#include "ui/SceneListModel.h"

#include "formats/scene/SceneCatalogue.h"
#include "ui/QtText.h"

namespace mw {

SceneListModel::SceneListModel(Kind kind, const SceneCatalogue& catalogue, QObject* parent)
    : LookedListModel(parent), m_kind(kind), m_catalogue(catalogue)
{
}

void SceneListModel::detach()
{
    beginResetModel();
    m_detached = true;
    endResetModel();
}

void SceneListModel::reload()
{
    beginResetModel();
    m_detached = false;
    endResetModel();
}

std::uint32_t SceneListModel::allRow(int row) const
{
    switch (m_kind) {
    case Kind::Scripts:
        return m_catalogue.scriptRows.at(static_cast<std::size_t>(row));
    case Kind::Things:
        return m_catalogue.plainRows.at(static_cast<std::size_t>(row));
    case Kind::All:
        break;
    }
    return static_cast<std::uint32_t>(row);
}

int SceneListModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || m_detached)
        return 0;
    switch (m_kind) {
    case Kind::Scripts:
        return static_cast<int>(m_catalogue.scriptRows.size());
    case Kind::Things:
        return static_cast<int>(m_catalogue.plainRows.size());
    case Kind::All:
        break;
    }
    return static_cast<int>(m_catalogue.entryCount());
}

QVariant SceneListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const std::uint32_t row = allRow(index.row());
    if (role == Qt::DisplayRole)
        return fromBytes(m_catalogue.name(row)); // read from the file's bytes as the row is drawn
    if (role == Qt::CheckStateRole && m_kind != Kind::Things)
        return m_catalogue.records[row].hasScript ? Qt::Checked : Qt::Unchecked;
    return lookOf(row, role);
}

Qt::ItemFlags SceneListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    // Not user-checkable: the check mark says whether the entry carries a script.
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

} // namespace mw
