#pragma once
// The three scene lists over the catalogue: "All" (every entry, check-marked when it carries a
// script), "Scripts" (the check-marked entries) and "Things" (the others). Check marks are shown
// but cannot be changed by the user.

#include "ui/RowLooks.h"

namespace mw {

class SceneCatalogue;

class SceneListModel final : public LookedListModel {
    Q_OBJECT
public:
    enum class Kind { All, Scripts, Things };

    SceneListModel(Kind kind, const SceneCatalogue& catalogue, QObject* parent);

    // A load starts: show no rows until reload() (the catalogue is being refilled).
    void detach();
    // The catalogue changed: show it anew.
    void reload();
    // The "All" row of a row of this list.
    std::uint32_t allRow(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    Kind m_kind;
    const SceneCatalogue& m_catalogue;
    bool m_detached = false;
};

} // namespace mw
