#include "formats/model/ModelFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "foundation/bytes/ByteReader.h"
#include "foundation/seams/Progress.h"

namespace mw {

namespace {

constexpr std::uint8_t FrameStart[] = {0x01, 0x00, 0x00, 0x2A};
constexpr std::uint8_t TwoNameMaterial[] = {0x01, 0x80, 0x84, 0x40};

// Past the material table: flags, 40 bytes, a texture name, and a second name for one kind of
// material. Stops at the end of the file when the count claims more than there is.
std::size_t skipMaterials(const ByteReader& file)
{
    if (!file.has(14, 2))
        return file.size();
    const std::uint16_t count = file.u16(14);
    std::size_t p = 16;
    for (std::uint16_t m = 0; m < count && p < file.size(); ++m) {
        const bool twoNames = file.has(p, 4) && std::memcmp(file.all().data() + p, TwoNameMaterial, 4) == 0;
        p += 44;
        if (!file.has(p, 1))
            return file.size();
        p += 1 + file.u8(p);
        if (twoNames) {
            if (!file.has(p, 1))
                return file.size();
            p += 1 + file.u8(p);
        }
    }
    return std::min(p, file.size());
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
    std::size_t p = skipMaterials(file);
    // A frame start ends with 0x2A: find that byte quickly, then check the rest of the pattern.
    while (p + 4 <= size) {
        const void* hit = std::memchr(data + p + 3, 0x2A, size - (p + 3));
        if (!hit)
            break;
        const std::size_t f = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - data) - 3;
        p = f;
        if (std::memcmp(data + f, FrameStart, 4) != 0 || !file.has(f, 48) || !withinUnit(file.f32(f + 18)) ||
            !withinUnit(file.f32(f + 22)) || !withinUnit(file.f32(f + 26))) {
            ++p;
            continue;
        }
        std::size_t nameLength = file.u8(f + 47);
        if (nameLength > 50)
            nameLength = 15;
        if (!file.has(f + 48, nameLength))
            break; // a name running past the end of the file ends the scan
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
            (data[p + 3] == 1 || data[p + 3] == 2) && file.has(p + 8, 2))
            p = p + 8 + 32ull * file.u16(p + 8);
        if (progress)
            progress->step(static_cast<int>(std::min<std::size_t>(Steps, std::min(p, size) / step)), frame.name);
        result.frames.push_back(std::move(frame));
    }
    if (progress)
        progress->finish();
    return result;
}

} // namespace mw
