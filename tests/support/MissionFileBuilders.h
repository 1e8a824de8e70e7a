#pragma once
// Builders for the other mission files: cache.bin, tree.klz, scene.4ds and check.bin. Each reports
// the offsets it wrote so tests can compare a reader's recorded offsets with the writer's own.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/bytes/ByteWriter.h"

namespace mw::build {

using F3 = std::array<float, 3>;
using F4 = std::array<float, 4>;

// cache.bin: a 10-byte header, then base records and object records.
class CacheBuilder {
public:
    CacheBuilder(); // header id 0x01F4 and 8 further bytes
    // Returns the record's start offset.
    std::size_t base(const std::string& name);
    // Returns the offset of the translation (the recorded TranslationOffset).
    std::size_t object(const std::string& name, F3 position, F4 rotation, F3 size);
    ByteWriter& raw() { return m_out; }
    std::vector<std::uint8_t> finish() { return m_out.take(); }

private:
    ByteWriter m_out;
};

// tree.klz: header, link names, data header with the counts, the "#a->" marker, leading records
// and groups of bodies. Bodies of one kind must be added one after the other.
class TreeBuilder {
public:
    struct Matrix {
        std::array<float, 12> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0}; // rows m00..m03, m10..m13, m20..m23
    };

    int link(const std::string& name); // returns the link index
    void leadingRecords(int count) { m_leading = count; }

    // Each returns the body's geometry offset (record start + 8) in the finished file.
    std::size_t box(std::uint8_t material, int link, F3 min, F3 max);                               // 0x81
    std::size_t rotatedBox(std::uint8_t material, int link, F3 min, F3 max, Matrix m, F3 position);  // 0x80
    std::size_t verticalBox(std::uint8_t material, int link, F3 e1, F3 e2, Matrix m, F3 position, float r,
                            float w);                                                                 // 0x83
    std::size_t cylinder(std::uint8_t material, int link, float x, float z, float radius);            // 0x84
    std::size_t sphere(std::uint8_t material, int link, F3 centre, float radius);                      // 0x82
    // A byte that ends the body scan.
    void endMarker(std::uint8_t kind = 0x00) { m_trailer.push_back(kind); }

    std::vector<std::uint8_t> finish();
    // Offsets are known once finish() has laid out the header: bodies start here.
    std::size_t bodiesStart() const { return m_bodiesStart; }

private:
    std::size_t body(std::uint8_t kind, std::uint8_t material, int link);

    std::vector<std::string> m_links;
    int m_leading = 0;
    ByteWriter m_bodies;
    std::array<std::uint32_t, 5> m_counts{}; // 0x80 ... 0x84
    std::vector<std::uint8_t> m_trailer;
    std::size_t m_bodiesStart = 0;
};

// scene.4ds: signature, version, materials, then mesh frames.
class ModelFileBuilder {
public:
    ModelFileBuilder(); // "4DS", NUL, u16 version 29, header up to offset 14
    void material(const std::string& texture, bool twoNames = false, const std::string& second = "");
    // Writes the material count; call once after the materials.
    void endMaterials();
    // Returns the frame's TranslationOffset (frame start + 6).
    std::size_t frame(const std::string& name, F3 position, F4 rotation, F3 further = {1, 1, 1},
                      int meshCount = -1);
    ByteWriter& raw() { return m_out; }
    std::vector<std::uint8_t> finish() { return m_out.take(); }

private:
    ByteWriter m_out;
    std::uint16_t m_materials = 0;
};

// check.bin: 4 bytes, the point count, 30-byte records.
std::vector<std::uint8_t> routeFile(std::uint32_t points);

} // namespace mw::build
