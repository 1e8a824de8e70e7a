#pragma once
// The first "All" row of each name, for finding the object a definition belongs to. An open-
// addressing table over views of the names: far fewer cache misses than a node-based map, which
// matters with 30 000 objects and as many definitions.

#include <cstdint>
#include <string_view>
#include <vector>

namespace mw {

class NameIndex {
public:
    static constexpr std::uint32_t NotFound = 0xFFFFFFFFu;

    void reserve(std::size_t names)
    {
        m_names.reserve(names);
        std::size_t capacity = 16;
        while (capacity < names * 2)
            capacity *= 2;
        if (capacity > m_slots.size())
            rehash(capacity);
    }

    // Rows are added in order 0, 1, 2 ...; a name already present keeps its first row.
    void add(std::string_view name)
    {
        const auto row = static_cast<std::uint32_t>(m_names.size());
        m_names.push_back(name);
        if ((m_used + 1) * 2 > m_slots.size())
            rehash(m_slots.empty() ? 16 : m_slots.size() * 2);
        insert(name, hashOf(name), row);
    }

    // Adds many names at once. The slots they land in are fetched ahead of use, which hides most of
    // the cache misses of a large table.
    void addAll(const std::vector<std::string_view>& names)
    {
        reserve(m_names.size() + names.size());
        std::vector<std::uint32_t> hashes(names.size());
        for (std::size_t i = 0; i < names.size(); ++i)
            hashes[i] = hashOf(names[i]);
        constexpr std::size_t Ahead = 16;
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (i + Ahead < names.size())
                __builtin_prefetch(&m_slots[hashes[i + Ahead] & mask]);
            const auto row = static_cast<std::uint32_t>(m_names.size());
            m_names.push_back(names[i]);
            insert(names[i], hashes[i], row);
        }
    }

    std::uint32_t find(std::string_view name) const
    {
        if (m_slots.empty())
            return NotFound;
        const std::uint32_t hash = hashOf(name);
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot& slot = m_slots[i];
            if (slot.row == NotFound)
                return NotFound;
            if (slot.hash == hash && m_names[slot.row] == name)
                return slot.row;
        }
    }

private:
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t row = NotFound;
    };

    static std::uint32_t hashOf(std::string_view name)
    {
        std::uint32_t h = 2166136261u; // FNV-1a
        for (unsigned char c : name)
            h = (h ^ c) * 16777619u;
        return h;
    }

    void insert(std::string_view name, std::uint32_t hash, std::uint32_t row)
    {
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            Slot& slot = m_slots[i];
            if (slot.row == NotFound) {
                slot = {hash, row};
                ++m_used;
                return;
            }
            if (slot.hash == hash && m_names[slot.row] == name)
                return;
        }
    }

    void rehash(std::size_t capacity)
    {
        std::vector<Slot> old = std::move(m_slots);
        m_slots.assign(capacity, Slot{});
        m_used = 0;
        for (const Slot& slot : old)
            if (slot.row != NotFound)
                insert(m_names[slot.row], slot.hash, slot.row);
    }

    std::vector<std::string_view> m_names; // by row
    std::vector<Slot> m_slots;
    std::size_t m_used = 0;
};

} // namespace mw
