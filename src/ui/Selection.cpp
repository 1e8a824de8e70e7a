#include "ui/Selection.h"

#include <algorithm>

namespace mw {

std::vector<std::uint32_t> Selection::sceneRows() const
{
    std::vector<std::uint32_t> rows = m_scene.more;
    if (m_scene.all)
        rows.push_back(*m_scene.all);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

std::optional<std::uint32_t> Selection::current(MissionFile file) const
{
    if (file == MissionFile::Scene)
        return m_scene.all;
    return m_others[static_cast<std::size_t>(file) - 1];
}

void Selection::setScene(SceneSelection selection)
{
    // The rows beside the current one, each once, in order.
    auto& more = selection.more;
    std::sort(more.begin(), more.end());
    more.erase(std::unique(more.begin(), more.end()), more.end());
    if (selection.all)
        more.erase(std::remove(more.begin(), more.end(), *selection.all), more.end());
    if (selection == m_scene)
        return;
    m_scene = std::move(selection);
    tell(MissionFile::Scene);
}

void Selection::tell(MissionFile file, bool chosen)
{
    if (chosen)
        m_lastChanged = file;
    else if (m_lastChanged == file)
        m_lastChanged = MissionFile::Scene;
    emit changed(file);
}

void Selection::selectSceneRows(const std::vector<std::uint32_t>& rows, bool add)
{
    if (rows.empty() && add)
        return;
    SceneSelection s = add ? m_scene : SceneSelection{std::nullopt, m_scene.scripts, m_scene.things, {}};
    for (const std::uint32_t row : rows)
        s.more.push_back(row);
    if (!s.all && !rows.empty())
        s.all = rows.front();
    setScene(std::move(s));
}

void Selection::toggleSceneRow(std::uint32_t row)
{
    SceneSelection s = m_scene;
    if (s.all == row) {
        // The current row leaves; another selected one, if any, becomes current.
        s.all.reset();
        if (!s.more.empty()) {
            s.all = s.more.front();
            s.more.erase(s.more.begin());
        }
    } else if (const auto it = std::find(s.more.begin(), s.more.end(), row); it != s.more.end()) {
        s.more.erase(it);
    } else if (!s.all) {
        s.all = row;
    } else {
        s.more.push_back(row);
    }
    setScene(std::move(s));
}

void Selection::setCurrent(MissionFile file, std::optional<std::uint32_t> row, bool chosen)
{
    if (file == MissionFile::Scene) {
        if (row)
            selectSceneRow(*row);
        else
            clear(file);
        return;
    }
    auto& current = m_others[static_cast<std::size_t>(file) - 1];
    if (current == row)
        return;
    current = row;
    tell(file, chosen);
}

void Selection::clear(MissionFile file)
{
    if (file == MissionFile::Scene)
        setScene({});
    else
        setCurrent(file, std::nullopt, false);
}

PlacedItems Selection::placedItems() const
{
    PlacedItems items;
    items.scene = sceneRows();
    if (const auto row = current(m_lastChanged)) {
        if (m_lastChanged == MissionFile::Cache)
            items.cache.push_back(*row);
        else if (m_lastChanged == MissionFile::Model)
            items.frames.push_back(*row);
    }
    return items;
}

KeptRows Selection::keptRows(KeptRows remembered) const
{
    remembered.all = m_scene.all.value_or(0);
    remembered.scripts = m_scene.scripts.value_or(0);
    remembered.things = m_scene.things.value_or(0);
    return remembered;
}

} // namespace mw
