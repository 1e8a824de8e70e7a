#include "mission/EntryStates.h"

#include <charconv>

#include "mission/Mission.h"

namespace mw {

std::string entryName(const Mission& mission, MissionFile file, std::uint32_t row)
{
    switch (file) {
    case MissionFile::Scene:
        return std::string(mission.sceneCatalogue().name(row));
    case MissionFile::Cache:
        return std::string(mission.cache().name(row));
    case MissionFile::Model:
        return mission.model().frames[row].name;
    case MissionFile::Tree: {
        // A body is known by the object it belongs to and its kind; its list text counts rows.
        const CollisionLoadResult& tree = mission.tree();
        return std::string(tree.linkName(row)) + "/" + std::string(tree.body(row).CollisionKindTag);
    }
    case MissionFile::Route:
        break;
    }
    return {};
}

namespace {

std::uint32_t rowCount(const Mission& mission, MissionFile file)
{
    switch (file) {
    case MissionFile::Scene: return static_cast<std::uint32_t>(mission.sceneCatalogue().entryCount());
    case MissionFile::Cache: return static_cast<std::uint32_t>(mission.cache().records.size());
    case MissionFile::Model: return static_cast<std::uint32_t>(mission.model().frames.size());
    case MissionFile::Tree: return static_cast<std::uint32_t>(mission.tree().bodyCount());
    case MissionFile::Route: break;
    }
    return 0;
}

} // namespace

EntryKeys::EntryKeys(const Mission& mission, MissionFile file)
{
    const std::uint32_t rows = mission.isLoaded(file) ? rowCount(mission, file) : 0;
    m_keys.reserve(rows);
    for (std::uint32_t row = 0; row < rows; ++row) {
        std::string name = entryName(mission, file, row);
        auto& same = m_rowsByName[name];
        m_keys.push_back({file, std::move(name), static_cast<std::uint32_t>(same.size())});
        same.push_back(row);
    }
}

std::optional<std::uint32_t> EntryKeys::rowOf(const EntryKey& key) const
{
    const auto it = m_rowsByName.find(key.name);
    if (it == m_rowsByName.end() || key.occurrence >= it->second.size() || m_keys.empty() || key.file != m_keys.front().file)
        return std::nullopt;
    return it->second[key.occurrence];
}

std::vector<bool> EntryStates::rowsOf(EntryState state, const EntryKeys& file) const
{
    std::vector<bool> rows(file.rows(), false);
    for (const EntryKey& key : keys(state))
        if (const auto row = file.rowOf(key))
            rows[*row] = true;
    return rows;
}

bool EntryStates::set(EntryState state, const EntryKeys& file, const std::vector<std::uint32_t>& rows, bool on)
{
    auto& keys = m_keys[index(state)];
    const std::size_t before = keys.size();
    for (const std::uint32_t row : rows) {
        if (row >= file.rows())
            continue;
        if (on)
            keys.insert(file.keyOf(row));
        else
            keys.erase(file.keyOf(row));
    }
    return keys.size() != before;
}

bool EntryStates::setAllBut(EntryState state, const EntryKeys& file, const std::vector<bool>& kept)
{
    std::vector<std::uint32_t> rows;
    for (std::uint32_t row = 0; row < file.rows(); ++row)
        if (row >= kept.size() || !kept[row])
            rows.push_back(row);
    return set(state, file, rows, true);
}

bool EntryStates::clear(EntryState state)
{
    auto& keys = m_keys[index(state)];
    const bool any = !keys.empty();
    keys.clear();
    return any;
}

void EntryStates::forgetMissing(const EntryKeys& file, MissionFile which)
{
    for (auto& keys : m_keys)
        std::erase_if(keys, [&](const EntryKey& key) { return key.file == which && !file.rowOf(key); });
}

std::string EntryStates::encode() const
{
    static const char* hex = "0123456789abcdef";
    std::string text;
    for (const EntryState state : {EntryState::Hidden, EntryState::Locked})
        for (const EntryKey& key : keys(state)) {
            text += state == EntryState::Hidden ? 'H' : 'L';
            text += ' ' + std::to_string(indexOf(key.file)) + ' ' + std::to_string(key.occurrence) + ' ';
            for (const unsigned char c : key.name)
                text += {hex[c >> 4], hex[c & 15]};
            text += '\n';
        }
    return text;
}

namespace {

std::optional<std::uint32_t> numberAt(std::string_view& text)
{
    std::uint32_t n = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (error != std::errc() || end == text.data() || end == text.data() + text.size() || *end != ' ')
        return std::nullopt;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()) + 1);
    return n;
}

std::optional<std::string> bytesOfHex(std::string_view hex)
{
    if (hex.size() % 2)
        return std::nullopt;
    std::string bytes;
    for (std::size_t k = 0; k < hex.size(); k += 2) {
        unsigned value = 0;
        const auto [end, error] = std::from_chars(hex.data() + k, hex.data() + k + 2, value, 16);
        if (error != std::errc() || end != hex.data() + k + 2)
            return std::nullopt;
        bytes += static_cast<char>(value);
    }
    return bytes;
}

} // namespace

EntryStates EntryStates::decode(std::string_view text)
{
    EntryStates states;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.size() < 2 || (line[0] != 'H' && line[0] != 'L') || line[1] != ' ')
            continue;
        const EntryState state = line[0] == 'H' ? EntryState::Hidden : EntryState::Locked;
        line.remove_prefix(2);
        const auto file = numberAt(line);
        const auto occurrence = numberAt(line);
        const auto name = bytesOfHex(line);
        if (!file || *file >= 4 || !occurrence || !name)
            continue;
        states.m_keys[index(state)].insert({static_cast<MissionFile>(*file), *name, *occurrence});
    }
    return states;
}

} // namespace mw
