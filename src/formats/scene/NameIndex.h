#pragma once
// A small open-addressing table from name hashes to values (rows, keys). The names themselves stay
// where they are, in the file's bytes; a lookup confirms a hash match through the caller's
// predicate. Used to find, for a set of names, the first row bearing each in one pass over the
// rows: the table holds the names looked for, which are far fewer than the rows.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace mw {

class NameIndex {
public:
    static constexpr std::uint32_t NotFound = 0xFFFFFFFFu;

    // Empties the table for `entries` entries, at most half full; keeps its memory where it can.
    void reset(std::size_t entries)
    {
        std::size_t capacity = 16;
        while (capacity < entries * 2)
            capacity *= 2;
        m_slots.assign(capacity, Slot{});
    }

    // Adds `value` under `hash`; the caller has looked for it first.
    void insert(std::uint32_t hash, std::uint32_t value)
    {
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            if (m_slots[i].value == NotFound) {
                m_slots[i] = {hash, value};
                return;
            }
        }
    }

    // The first value stored under `hash` that `matches`, or NotFound.
    template <class Matches>
    std::uint32_t find(std::uint32_t hash, Matches matches) const
    {
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot& slot = m_slots[i];
            if (slot.value == NotFound)
                return NotFound;
            if (slot.hash == hash && matches(slot.value))
                return slot.value;
        }
    }

    // Starts fetching the slot a name of this hash is looked for in.
    void prefetch([[maybe_unused]] std::uint32_t hash) const
    {
#if defined(__GNUC__) || defined(__clang__)
        __builtin_prefetch(&m_slots[hash & (m_slots.size() - 1)]);
#endif // elsewhere a hint less: the lookup is the same
    }

    // Whether two names are equal; names are short, so this is faster than a library compare.
    static bool same(std::string_view a, std::string_view b)
    {
        if (a.size() != b.size())
            return false;
        std::size_t i = 0;
        for (; i + 8 <= a.size(); i += 8) {
            std::uint64_t x, y;
            std::memcpy(&x, a.data() + i, 8);
            std::memcpy(&y, b.data() + i, 8);
            if (x != y)
                return false;
        }
        for (; i < a.size(); ++i)
            if (a[i] != b[i])
                return false;
        return true;
    }

    // A hash of a few multiplications per 8 characters: names are short, and there are many.
    static std::uint32_t hashOf(std::string_view name)
    {
        std::uint64_t h = 0x9E3779B97F4A7C15ull ^ name.size();
        const char* p = name.data();
        std::size_t n = name.size();
        for (; n >= 8; p += 8, n -= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            h = (h ^ word) * 0xFF51AFD7ED558CCDull;
            h ^= h >> 29;
        }
        std::uint64_t tail = 0;
        for (std::size_t i = 0; i < n; ++i)
            tail |= static_cast<std::uint64_t>(static_cast<unsigned char>(p[i])) << (8 * i);
        h ^= tail;
        // A full final mix: names differing only in their last characters must still differ in
        // the low bits that pick a slot.
        h ^= h >> 33;
        h *= 0xFF51AFD7ED558CCDull;
        h ^= h >> 33;
        h *= 0xC4CEB9FE1A85EC53ull;
        h ^= h >> 33;
        return static_cast<std::uint32_t>(h);
    }

private:
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t value = NotFound;
    };
    std::vector<Slot> m_slots;
};

} // namespace mw
