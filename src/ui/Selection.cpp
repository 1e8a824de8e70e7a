#include "ui/Selection.h"

#include <algorithm>

namespace mw {

namespace {

bool listed(MissionFile file) { return indexOf(file) < 4; }
bool listed(ItemRef item) { return item.layer != ViewLayer::Route; }

} // namespace

void sortRows(std::vector<std::uint32_t>& rows)
{
    if (!std::is_sorted(rows.begin(), rows.end()))
        std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
}

const ListSelection& Selection::list(MissionFile file) const
{
    static const ListSelection none;
    return listed(file) ? m_lists[indexOf(file)] : none;
}

bool Selection::contains(ItemRef item) const
{
    if (!listed(item))
        return false;
    const auto& rows = list(fileOf(item.layer)).rows;
    return std::binary_search(rows.begin(), rows.end(), item.row);
}

std::size_t Selection::size() const
{
    std::size_t n = 0;
    for (const ListSelection& l : m_lists)
        n += l.rows.size();
    return n;
}

std::vector<ItemRef> Selection::items() const
{
    std::vector<ItemRef> items;
    items.reserve(size());
    for (const MissionFile file : MissionFiles)
        for (const std::uint32_t row : rows(file))
            items.push_back({layerOf(file), row});
    return items;
}

PlacedItems Selection::placedItems() const
{
    return {rows(MissionFile::Scene), rows(MissionFile::Cache), rows(MissionFile::Model)};
}

KeptRows Selection::keptRows(KeptRows remembered) const
{
    remembered.all = current(MissionFile::Scene).value_or(0);
    remembered.scripts = m_scripts.value_or(0);
    remembered.things = m_things.value_or(0);
    return remembered;
}

void Selection::become(State next)
{
    SelectionChange change;
    for (std::size_t k = 0; k < next.lists.size(); ++k) {
        sortRows(next.lists[k].rows);
        change.files[k] = next.lists[k] != m_lists[k];
    }
    // The rows "Scripts" and "Things" stand on follow the entry shown; they select nothing, and
    // are kept without a word.
    m_scripts = next.scripts;
    m_things = next.things;
    if (std::none_of(change.files.begin(), change.files.end(), [](bool c) { return c; }))
        return;
    m_lists = std::move(next.lists);
    emit changed(change);
}

void Selection::pick(ItemRef item)
{
    if (!listed(item))
        return;
    State next = state();
    for (ListSelection& l : next.lists)
        l.rows.clear();
    ListSelection& mine = next.lists[indexOf(fileOf(item.layer))];
    mine = {item.row, {item.row}};
    become(std::move(next));
}

void Selection::toggle(ItemRef item)
{
    if (!listed(item))
        return;
    State next = state();
    ListSelection& mine = next.lists[indexOf(fileOf(item.layer))];
    const auto at = std::lower_bound(mine.rows.begin(), mine.rows.end(), item.row);
    if (at != mine.rows.end() && *at == item.row) {
        mine.rows.erase(at);
    } else {
        mine.rows.insert(at, item.row);
        mine.current = item.row;
    }
    become(std::move(next));
}

void Selection::selectItems(const std::vector<ItemRef>& items, bool add)
{
    State next = state();
    if (!add)
        for (ListSelection& l : next.lists)
            l.rows.clear();
    // The first item of a list becomes its current row, unless the list had a selected one.
    std::array<bool, 4> placed{};
    for (std::size_t k = 0; k < placed.size(); ++k)
        placed[k] = add && next.lists[k].current &&
                    std::binary_search(next.lists[k].rows.begin(), next.lists[k].rows.end(), *next.lists[k].current);
    for (const ItemRef& item : items)
        if (listed(item)) {
            const std::size_t k = indexOf(fileOf(item.layer));
            next.lists[k].rows.push_back(item.row);
            if (!placed[k])
                next.lists[k].current = item.row;
            placed[k] = true;
        }
    become(std::move(next));
}

void Selection::clearAll()
{
    State next = state();
    for (ListSelection& l : next.lists)
        l.rows.clear();
    become(std::move(next));
}

void Selection::setScene(const SceneSelection& s)
{
    State next = state();
    ListSelection& all = next.lists[indexOf(MissionFile::Scene)];
    all.rows = s.more;
    if (s.all)
        all.rows.push_back(*s.all);
    all.current = s.all ? s.all : (s.more.empty() ? std::nullopt : std::optional(s.more.front()));
    next.scripts = s.scripts;
    next.things = s.things;
    become(std::move(next));
}

void Selection::setSceneLists(ListSelection all, std::optional<std::uint32_t> scripts, std::optional<std::uint32_t> things)
{
    State next = state();
    next.lists[indexOf(MissionFile::Scene)] = std::move(all);
    next.scripts = scripts;
    next.things = things;
    become(std::move(next));
}

void Selection::setList(MissionFile file, ListSelection selection)
{
    if (!listed(file))
        return;
    State next = state();
    next.lists[indexOf(file)] = std::move(selection);
    become(std::move(next));
}

void Selection::setCurrent(MissionFile file, std::optional<std::uint32_t> row, bool chosen)
{
    if (!listed(file))
        return;
    State next = state();
    ListSelection& l = next.lists[indexOf(file)];
    l.current = row;
    l.rows.clear();
    if (row && chosen)
        l.rows.push_back(*row);
    become(std::move(next));
}

void Selection::clear(MissionFile file)
{
    if (file == MissionFile::Scene) {
        setScene({});
        return;
    }
    setList(file, {});
}

void Selection::selectSceneRows(const std::vector<std::uint32_t>& rows, bool add)
{
    if (rows.empty() && add)
        return;
    State next = state();
    ListSelection& all = next.lists[indexOf(MissionFile::Scene)];
    if (!add)
        all.rows.clear();
    all.rows.insert(all.rows.end(), rows.begin(), rows.end());
    if (!rows.empty() && (!add || !all.current))
        all.current = rows.front();
    if (rows.empty() && !add)
        all.current.reset();
    become(std::move(next));
}

} // namespace mw
