#include "ui/ItemStates.h"

#include <QCryptographicHash>
#include <QSettings>
#include <algorithm>
#include <system_error>

#include "ui/QtText.h"

namespace mw {

namespace {

// Where a folder's states are in the settings: a group named by a hash of its canonical path.
QString groupOf(const std::filesystem::path& folder)
{
    const QByteArray hash = QCryptographicHash::hash(fromPath(folder).toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStringLiteral("itemStates/") + QString::fromLatin1(hash);
}

} // namespace

ItemStates::ItemStates(Mission& mission) : m_mission(mission) { mission.addListener(this); }

ItemStates::~ItemStates() { m_mission.removeListener(this); }

void ItemStates::keepIn(QSettings* settings)
{
    m_settings = settings;
    load();
    resolve();
}

bool ItemStates::is(EntryState state, ItemRef item) const
{
    if (item.layer == ViewLayer::Route)
        return false;
    const auto& rows = this->rows(state, fileOf(item.layer));
    return item.row < rows.size() && rows[item.row];
}

std::filesystem::path ItemStates::folder() const
{
    const std::filesystem::path folder = m_mission.folder();
    std::error_code ec;
    const auto canonical = folder.empty() ? folder : std::filesystem::weakly_canonical(folder, ec);
    return ec ? folder : canonical;
}

void ItemStates::load()
{
    m_folder = folder();
    m_states = {};
    if (!m_settings || m_folder.empty())
        return;
    const QString group = groupOf(m_folder);
    // A damaged or foreign entry (another path under the same hash, a value of another kind) is
    // passed over.
    if (m_settings->value(group + QStringLiteral("/folder")).toString() != fromPath(m_folder))
        return;
    m_states = EntryStates::decode(m_settings->value(group + QStringLiteral("/states")).toString().toStdString());
}

void ItemStates::save() const
{
    if (!m_settings || m_folder.empty())
        return;
    const QString group = groupOf(m_folder);
    if (m_states.empty(EntryState::Hidden) && m_states.empty(EntryState::Locked)) {
        m_settings->remove(group);
    } else {
        m_settings->setValue(group + QStringLiteral("/folder"), fromPath(m_folder));
        m_settings->setValue(group + QStringLiteral("/states"), QString::fromStdString(m_states.encode()));
    }
    m_settings->sync();
}

const EntryKeys& ItemStates::keysOf(MissionFile file)
{
    auto& keys = m_keys[indexOf(file)];
    if (!keys)
        keys.emplace(m_mission, file);
    return *keys;
}

void ItemStates::missionChanged(const MissionChange& change)
{
    if (change.kind == MissionChange::Kind::AboutToLoad) {
        m_keys[indexOf(change.file)].reset();
        return;
    }
    for (const FileChanged& f : change.files)
        m_keys[indexOf(f.file)].reset(); // a name written in place changes a key too
    if (std::none_of(change.files.begin(), change.files.end(), [](const FileChanged& f) { return f.read(); }))
        return; // values written in place: no row moved
    if (folder() != m_folder)
        load(); // another mission
    resolve();
}

void ItemStates::resolve()
{
    std::array<std::array<std::vector<bool>, 4>, 2> rows;
    std::array<std::size_t, 2> counts{};
    for (const MissionFile file : MissionFiles) {
        if (!m_mission.isLoaded(file) || (m_states.empty(EntryState::Hidden) && m_states.empty(EntryState::Locked)))
            continue;
        const EntryKeys& keys = keysOf(file);
        m_states.forgetMissing(keys, file); // deleted or renamed entries drop out
        for (const EntryState state : {EntryState::Hidden, EntryState::Locked}) {
            auto& resolved = rows[index(state)][indexOf(file)];
            resolved = m_states.rowsOf(state, keys);
            counts[index(state)] += static_cast<std::size_t>(std::count(resolved.begin(), resolved.end(), true));
        }
    }
    if (rows == m_rows)
        return;
    m_rows = std::move(rows);
    m_counts = counts;
    emit changed();
}

void ItemStates::changedByUser()
{
    save();
    resolve();
}

void ItemStates::set(EntryState state, const std::vector<ItemRef>& items)
{
    bool any = false;
    for (const MissionFile file : MissionFiles) {
        std::vector<std::uint32_t> rows;
        for (const ItemRef& item : items)
            if (item.layer != ViewLayer::Route && fileOf(item.layer) == file)
                rows.push_back(item.row);
        if (!rows.empty())
            any = m_states.set(state, keysOf(file), rows, true) || any;
    }
    if (any)
        changedByUser();
}

void ItemStates::hideOthers(const std::vector<ItemRef>& kept)
{
    bool any = false;
    for (const MissionFile file : MissionFiles) {
        std::vector<bool> keep;
        for (const ItemRef& item : kept)
            if (item.layer != ViewLayer::Route && fileOf(item.layer) == file) {
                keep.resize(std::max<std::size_t>(keep.size(), item.row + 1), false);
                keep[item.row] = true;
            }
        if (!keep.empty())
            any = m_states.setAllBut(EntryState::Hidden, keysOf(file), keep) || any;
    }
    if (any)
        changedByUser();
}

void ItemStates::clear(EntryState state)
{
    if (m_states.clear(state))
        changedByUser();
}

PlacedItems ItemStates::unlocked(const PlacedItems& items, std::size_t& locked) const
{
    PlacedItems free;
    locked = 0;
    const auto keep = [&](const std::vector<std::uint32_t>& rows, MissionFile file, std::vector<std::uint32_t>& into) {
        for (const std::uint32_t row : rows) {
            if (is(EntryState::Locked, {layerOf(file), row}))
                ++locked;
            else
                into.push_back(row);
        }
    };
    keep(items.scene, MissionFile::Scene, free.scene);
    keep(items.cache, MissionFile::Cache, free.cache);
    keep(items.frames, MissionFile::Model, free.frames);
    return free;
}

} // namespace mw
