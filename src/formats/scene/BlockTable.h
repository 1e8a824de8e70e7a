#pragma once
// A table of rows kept in fixed-size blocks: it grows without moving a row (no copy of megabytes
// when a large scene outgrows its guess, and no pass to count the rows first), wastes at most one
// block, and keeps its blocks when cleared, so a reload fills the same memory again.

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <vector>

namespace mw {

template <class Row, std::size_t BlockRows = 1024>
class BlockTable {
public:
    BlockTable() = default;
    BlockTable(BlockTable&&) noexcept = default;
    BlockTable& operator=(BlockTable&&) noexcept = default;
    BlockTable(const BlockTable& other) { *this = other; }
    BlockTable& operator=(const BlockTable& other)
    {
        if (this != &other) {
            clear();
            for (std::size_t row = 0; row < other.size(); ++row)
                emplace_back() = other[row];
        }
        return *this;
    }

    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }

    Row& operator[](std::size_t row) { return m_blocks[row / BlockRows][row % BlockRows]; }
    const Row& operator[](std::size_t row) const { return m_blocks[row / BlockRows][row % BlockRows]; }

    Row& at(std::size_t row)
    {
        if (row >= m_size)
            throw std::out_of_range("no such row");
        return (*this)[row];
    }
    const Row& at(std::size_t row) const
    {
        if (row >= m_size)
            throw std::out_of_range("no such row");
        return (*this)[row];
    }

    // A new row at the end, as a default-constructed Row.
    Row& emplace_back()
    {
        if (m_size == m_blocks.size() * BlockRows)
            m_blocks.push_back(std::make_unique<Row[]>(BlockRows));
        Row& row = (*this)[m_size++];
        row = Row{};
        return row;
    }

    void clear() { m_size = 0; }

    std::size_t memoryBytes() const
    {
        return m_blocks.size() * BlockRows * sizeof(Row) + m_blocks.capacity() * sizeof(std::unique_ptr<Row[]>);
    }

private:
    std::vector<std::unique_ptr<Row[]>> m_blocks;
    std::size_t m_size = 0;
};

} // namespace mw
