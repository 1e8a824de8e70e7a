#pragma once
// The fixed-width fields one save stage writes. A field whose recorded offset is 0 is absent from
// the file and is not written.

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "foundation/bytes/ByteWriter.h"
#include "foundation/files/FileAccess.h"

namespace mw {

class PatchList {
public:
    void floats(std::uint64_t offset, std::initializer_list<float> values)
    {
        if (offset == 0)
            return;
        Patch p{offset, {}};
        for (float v : values) {
            const auto b = encodeF32(v);
            p.bytes.insert(p.bytes.end(), b.begin(), b.end());
        }
        m_patches.push_back(std::move(p));
    }
    void u32(std::uint64_t offset, std::uint32_t value)
    {
        if (offset == 0)
            return;
        const auto b = encodeU32(value);
        m_patches.push_back({offset, {b.begin(), b.end()}});
    }
    void u8(std::uint64_t offset, std::uint8_t value)
    {
        if (offset == 0)
            return;
        m_patches.push_back({offset, {value}});
    }
    const std::vector<Patch>& patches() const { return m_patches; }

private:
    std::vector<Patch> m_patches;
};

} // namespace mw
