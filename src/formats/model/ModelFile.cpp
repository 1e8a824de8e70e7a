#include "formats/model/ModelFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "foundation/bytes/ByteReader.h"
#include "foundation/seams/Progress.h"
#include "foundation/text/Latin1Text.h"

namespace mw {

namespace {

constexpr std::uint8_t FrameStart[] = {0x01, 0x00, 0x00, 0x2A};
constexpr std::uint8_t TwoNameMaterial[] = {0x01, 0x80, 0x84, 0x40};

// Past the material table: flags, 40 bytes, a texture name, and a second name for one kind of
// material. Stops at the end of the file when the count claims more than there is, and says so.
std::size_t skipMaterials(const ByteReader& file, std::optional<ReadShortfall>& cut)
{
    if (!file.has(14, 2))
        return file.size();
    const std::uint16_t count = file.u16(14);
    std::size_t p = 16;
    for (std::uint16_t m = 0; m < count; ++m) {
        const bool twoNames = file.has(p, 4) && std::memcmp(file.all().data() + p, TwoNameMaterial, 4) == 0;
        std::size_t end = p + 44;
        bool whole = file.has(end, 1); // the texture name's length
        if (whole)
            end += 1 + file.u8(end);
        if (whole && twoNames) {
            whole = file.has(end, 1);
            if (whole)
                end += 1 + file.u8(end);
        }
        if (!whole || end > file.size()) {
            cut = ReadShortfall{p, "the material table counts " + std::to_string(count) +
                                       " materials; the file ends in material " + std::to_string(m + 1)};
            return file.size();
        }
        p = end;
    }
    return p;
}

bool withinUnit(float v) { return std::fabs(v) <= 1.0f; } // false for NaN

} // namespace

ModelLoadResult readModelFile(std::span<const std::uint8_t> bytes, Progress* progress)
{
    ModelLoadResult result;
    if (bytes.empty())
        return result;
    const ByteReader file(bytes);
    if (bytes.size() < 3 || std::memcmp(bytes.data(), "4DS", 3) != 0) {
        result.status = FileReadStatus::WrongSignature;
        result.messages.emplace_back(modelmsg::NotAModelFile);
        return result;
    }
    result.status = FileReadStatus::Loaded;

    constexpr int Steps = 51;
    const std::size_t step = std::max<std::size_t>(1, bytes.size() / Steps);
    if (progress)
        progress->start(Steps);

    const std::uint8_t* data = bytes.data();
    const std::size_t size = bytes.size();
    std::size_t p = skipMaterials(file, result.cut);
    // A frame start ends with 0x2A: find that byte quickly, then check the rest of the pattern.
    while (p + 4 <= size) {
        const void* hit = std::memchr(data + p + 3, 0x2A, size - (p + 3));
        if (!hit)
            break;
        const std::size_t f = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - data) - 3;
        p = f;
        if (std::memcmp(data + f, FrameStart, 4) != 0) {
            ++p;
            continue;
        }
        if (!file.has(f, 48)) {
            result.cut = ReadShortfall{f, "a frame needs 48 bytes before its name; the file ends " +
                                              std::to_string(f + 48 - size) + " bytes short"};
            break;
        }
        if (!withinUnit(file.f32(f + 18)) || !withinUnit(file.f32(f + 22)) || !withinUnit(file.f32(f + 26))) {
            ++p;
            continue;
        }
        std::size_t nameLength = file.u8(f + 47);
        if (nameLength > 50)
            nameLength = 15;
        if (!file.has(f + 48, nameLength)) {
            // A name running past the end of the file ends the scan.
            result.cut = ReadShortfall{f, "a frame's name of " + std::to_string(nameLength) +
                                              " bytes runs past the end of the file"};
            break;
        }
        ModelFrame frame;
        frame.TranslationOffset = static_cast<std::uint32_t>(f + 6);
        frame.position = {file.f32(f + 6), file.f32(f + 10), file.f32(f + 14)};
        frame.rotation = {file.f32(f + 18), file.f32(f + 22), file.f32(f + 26), file.f32(f + 30)};
        frame.further = {file.f32(f + 34), file.f32(f + 38), file.f32(f + 42)};
        frame.name = file.text(f + 48, nameLength);
        p = f + 48 + nameLength;
        // A mesh follows: its 32-byte records are skipped whole. The scan goes on from the position
        // reached, so a frame that starts right there is not missed.
        if (file.has(p, 4) && data[p] == 0 && data[p + 1] == 0 && data[p + 2] == 0 &&
            (data[p + 3] == 1 || data[p + 3] == 2) && file.has(p + 8, 2)) {
            const std::size_t records = file.u16(p + 8);
            const std::size_t meshEnd = p + 8 + 32 * records;
            if (meshEnd > size && !result.cut)
                result.cut = ReadShortfall{p, "the mesh of frame \"" + shownText(frame.name) + "\" counts " +
                                                  std::to_string(records) + " records of 32 bytes; the file ends " +
                                                  std::to_string(meshEnd - size) + " bytes short"};
            p = meshEnd;
        }
        if (progress)
            progress->step(static_cast<int>(std::min<std::size_t>(Steps, std::min(p, size) / step)), frame.name);
        result.frames.push_back(std::move(frame));
    }
    if (progress)
        progress->finish();
    return result;
}

} // namespace mw
