#include "formats/collision/CollisionFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "foundation/bytes/ByteReader.h"
#include "foundation/seams/Progress.h"

namespace mw {

namespace {

struct Kind {
    std::uint8_t code;
    std::string_view tag;
    const char* listPrefix;
    std::size_t recordSize;
};

// Indexed by code - 0x80.
constexpr Kind Kinds[] = {{0x80, "SR", "SRCube-", 184},
                          {0x81, "SC", "SCube-", 32},
                          {0x82, "SP", "spCube-", 24},
                          {0x83, "BI", "biCube-", 160},
                          {0x84, "CY", "cyCube-", 20}};

// The quaternion magnitudes of the rotated-box formula; nothing when a square root would be taken of
// a negative number or w cannot be derived.
std::optional<std::array<double, 4>> mainPath(const std::array<double, 9>& m)
{
    const double m00 = m[0], m02 = m[2], m10 = m[3], m11 = m[4], m21 = m[7], m22 = m[8];
    double a = 0, b = 0, c = 0;
    const double t = 1 + m00 - m11 - m22;
    if (t >= 0) {
        a = 0.5 * std::sqrt(t);
        const double rb = (1 - m22) / 2 - a * a;
        if (rb < 0)
            return std::nullopt;
        b = std::sqrt(rb);
        const double rc = (1 - m00) / 2 - b * b;
        if (rc < 0)
            return std::nullopt;
        c = std::sqrt(rc);
    } else {
        const double t2 = 1 + m11 - m22 - m00;
        if (t2 < 0)
            return std::nullopt;
        b = 0.5 * std::sqrt(t2);
        const double ra = (1 - m22) / 2 - b * b;
        const double rc = (1 - m00) / 2 - b * b;
        if (ra < 0 || rc < 0)
            return std::nullopt;
        a = std::sqrt(ra);
        c = std::sqrt(rc);
    }
    double w;
    if (a != 0)
        w = (m21 / 2 - b * c) / a;
    else if (c != 0)
        w = (m10 / 2 - b * a) / c;
    else if (b != 0)
        w = (m02 / 2 - c * a) / b;
    else
        return std::nullopt;
    return std::array<double, 4>{a, b, c, w};
}

// The standard conversion of a rotation matrix to a unit quaternion (w, x, y, z).
std::array<double, 4> standardQuaternion(const std::array<double, 9>& m)
{
    const double m00 = m[0], m01 = m[1], m02 = m[2], m10 = m[3], m11 = m[4], m12 = m[5], m20 = m[6], m21 = m[7],
                 m22 = m[8];
    double w, x, y, z;
    const double trace = m00 + m11 + m22;
    if (trace > 0) {
        const double s = 0.5 / std::sqrt(trace + 1);
        w = 0.25 / s;
        x = (m21 - m12) * s;
        y = (m02 - m20) * s;
        z = (m10 - m01) * s;
    } else if (m00 > m11 && m00 > m22) {
        const double s = 2 * std::sqrt(1 + m00 - m11 - m22);
        w = (m21 - m12) / s;
        x = 0.25 * s;
        y = (m01 + m10) / s;
        z = (m02 + m20) / s;
    } else if (m11 > m22) {
        const double s = 2 * std::sqrt(1 + m11 - m00 - m22);
        w = (m02 - m20) / s;
        x = (m01 + m10) / s;
        y = 0.25 * s;
        z = (m12 + m21) / s;
    } else {
        const double s = 2 * std::sqrt(1 + m22 - m00 - m11);
        w = (m10 - m01) / s;
        x = (m02 + m20) / s;
        y = (m12 + m21) / s;
        z = 0.25 * s;
    }
    const double length = std::sqrt(w * w + x * x + y * y + z * z);
    if (!std::isfinite(length) || length == 0)
        return {1, 0, 0, 0};
    return {w / length, x / length, y / length, z / length};
}

// Gives each cylinder the translation Y of the first scene row named like its link cut before the
// first "." (a link missing from the table counts as the empty name), or 1 when there is none. The
// rows of all the links are found in one pass over the scene.
void settleCylinderHeights(std::vector<CollisionBody>& bodies, const std::vector<std::string>& linkNames,
                           const SceneCatalogue& scene)
{
    const std::uint32_t none = static_cast<std::uint32_t>(linkNames.size()); // the stem of a missing link
    std::vector<bool> wanted(linkNames.size() + 1, false);
    for (const CollisionBody& b : bodies)
        if (b.CollisionKindTag == "CY")
            wanted[std::min(b.link, none)] = true;
    std::vector<std::string_view> stems;
    std::vector<std::uint32_t> stemOfLink(wanted.size(), 0);
    for (std::uint32_t link = 0; link < wanted.size(); ++link) {
        if (!wanted[link])
            continue;
        const std::string_view name = link < none ? std::string_view(linkNames[link]) : std::string_view();
        stemOfLink[link] = static_cast<std::uint32_t>(stems.size());
        stems.push_back(name.substr(0, name.find('.')));
    }
    if (stems.empty())
        return;
    const std::vector<std::uint32_t> rows = scene.findFirstRows(stems);
    for (CollisionBody& b : bodies) {
        if (b.CollisionKindTag != "CY")
            continue;
        const std::uint32_t owner = rows[stemOfLink[std::min(b.link, none)]];
        b.position.y = owner < scene.entryCount() ? scene.translation(owner).y : 1.0f;
    }
}

// Derives a body's centre, size and rotation in the scene's terms from its record.
void place(CollisionBody& body, std::span<const std::uint8_t> bytes)
{
    const std::size_t pos = body.CollisionItemOffset - 8ull;
    const Kind* found = nullptr;
    for (const Kind& k : Kinds)
        if (k.tag == body.CollisionKindTag)
            found = &k;
    if (!found || body.CollisionItemOffset < 8 || pos + found->recordSize > bytes.size())
        return; // not a body of the file (the load checked every body it listed)
    const Kind& kind = *found;
    const std::uint8_t code = kind.code;
    // The record lies whole inside the file; its fields are read relative to its start.
    const ByteReader record(bytes.subspan(pos, kind.recordSize));
    const auto f32 = [&](std::size_t at) { return record.f32(at); };
    const auto vec = [&](std::size_t at) { return Vec3{f32(at), f32(at + 4), f32(at + 8)}; };
    const std::size_t g = 8; // the geometry
    switch (code) {
    case 0x81: { // axis-aligned box
        const Vec3 min = vec(g), max = vec(g + 12);
        body.size = {max.x - min.x, max.y - min.y, max.z - min.z};
        body.position = {min.x + body.size.x / 2, min.y + body.size.y / 2, min.z + body.size.z / 2};
        break;
    }
    case 0x80: { // rotated box
        const Vec3 min = vec(g), max = vec(g + 12);
        body.size = {max.x - min.x, max.y - min.y, max.z - min.z};
        body.position = vec(104);
        std::array<float, 9> m{};
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                m[row * 3 + col] = f32(56 + 16 * row + 4 * col);
        body.rotation = rotatedBoxRotation(m);
        break;
    }
    case 0x83: { // box rotated about the vertical axis
        const Vec3 e1 = vec(g), e2 = vec(g + 12);
        const float m21 = f32(68);
        const float r = f32(96), w = f32(100);
        body.position = vec(80);
        body.rotation = {r, 0, w, 0};
        if (std::fabs(r) > 0.5f && m21 > 0)
            body.size = {std::fabs(e1.x) + std::fabs(e2.x), std::fabs(e1.z) + std::fabs(e2.z),
                         std::fabs(e1.y) + std::fabs(e2.y)};
        else
            body.size = {std::fabs(e1.y) + std::fabs(e2.y), std::fabs(e1.z) + std::fabs(e2.z),
                         std::fabs(e1.x) + std::fabs(e2.x)};
        break;
    }
    case 0x84: { // cylinder: its height was settled with the scene when the file was read
        const float radius = f32(g + 8);
        body.position = {f32(g), body.position.y, f32(g + 4)};
        body.size = {radius, 20.0f, radius};
        break;
    }
    case 0x82: { // sphere
        const float radius = f32(g + 12);
        body.position = vec(g);
        body.size = {radius, 20.0f, radius};
        break;
    }
    }
}

} // namespace

std::array<float, 4> rotatedBoxRotation(const std::array<float, 9>& matrix)
{
    std::array<double, 9> m{};
    std::copy(matrix.begin(), matrix.end(), m.begin());
    double a, b, c, w;
    if (const auto main = mainPath(m); main && std::isfinite((*main)[3])) {
        a = (*main)[0];
        b = (*main)[1];
        c = (*main)[2];
        w = (*main)[3];
    } else {
        // Where the formula fails, the same four components from the standard conversion.
        const auto q = standardQuaternion(m);
        w = q[0];
        a = std::fabs(q[1]);
        b = std::fabs(q[2]);
        c = std::fabs(q[3]);
    }
    std::array<float, 4> out{static_cast<float>(b), static_cast<float>(c), static_cast<float>(w),
                             static_cast<float>(a)};
    for (float v : out)
        if (!std::isfinite(v))
            return {0, 0, 1, 0}; // what the standard conversion gives for no rotation
    return out;
}

const CollisionBody& CollisionLoadResult::body(std::size_t row) const
{
    CollisionBody& b = m_bodies.at(row);
    if (!b.placed) {
        place(b, spanOf(source));
        b.placed = true;
    }
    return b;
}

CollisionBody& CollisionLoadResult::body(std::size_t row)
{
    return const_cast<CollisionBody&>(static_cast<const CollisionLoadResult&>(*this).body(row));
}

void CollisionLoadResult::addPlacedBody(CollisionBody body)
{
    body.placed = true;
    m_bodies.push_back(body);
}

std::string CollisionLoadResult::listText(std::size_t row) const
{
    const std::string_view tag = m_bodies.at(row).CollisionKindTag;
    for (const Kind& kind : Kinds)
        if (tag == kind.tag)
            return kind.listPrefix + std::to_string(row);
    return std::to_string(row);
}

CollisionLoadResult readCollisionFile(std::span<const std::uint8_t> bytes, const SceneCatalogue& scene,
                                      Progress* progress)
{
    return readCollisionFile(std::make_shared<const std::vector<std::uint8_t>>(bytes.begin(), bytes.end()), scene,
                             progress);
}

CollisionLoadResult readCollisionFile(SharedImage image, const SceneCatalogue& scene, Progress* progress)
{
    CollisionLoadResult result;
    result.source = std::move(image);
    const std::span<const std::uint8_t> bytes = spanOf(result.source);
    if (bytes.empty())
        return result;
    const ByteReader file(bytes);
    if (bytes.size() < 4 || std::memcmp(bytes.data(), "GifC", 4) != 0) {
        result.status = FileReadStatus::WrongSignature;
        result.messages.emplace_back(treemsg::NotATree);
        return result;
    }
    result.status = FileReadStatus::Loaded;
    const auto cutAt = [&](std::uint64_t offset, std::string what) {
        if (!result.cut)
            result.cut = ReadShortfall{offset, std::move(what)};
    };
    if (!file.has(8, 8)) {
        cutAt(bytes.size(), "the file ends inside its header");
        return result;
    }
    const std::size_t dataHeader = file.u32(8);
    const std::uint32_t linkCount = file.u32(12);
    if (!file.has(24, 4ull * linkCount))
        cutAt(bytes.size(), "the link table counts " + std::to_string(linkCount) + " names; the file ends after " +
                                std::to_string(bytes.size() > 24 ? (bytes.size() - 24) / 4 : 0));

    for (std::uint32_t i = 0; i < linkCount && file.has(24 + 4ull * i, 4); ++i) {
        const std::size_t entry = file.u32(24 + 4 * i);
        std::string name;
        if (file.has(entry, 4)) {
            const auto* start = bytes.data() + entry + 4;
            const auto* end = static_cast<const std::uint8_t*>(std::memchr(start, 0, bytes.size() - entry - 4));
            name.assign(reinterpret_cast<const char*>(start),
                        end ? static_cast<std::size_t>(end - start) : bytes.size() - entry - 4);
        }
        result.linkNames.push_back(std::move(name));
    }

    if (!file.has(dataHeader, 104)) {
        cutAt(dataHeader, "the data header of 104 bytes runs past the end of the file");
        return result;
    }
    const std::uint32_t leading = file.u32(dataHeader + 48);
    auto& counts = result.kindCounts;
    counts = {file.u32(dataHeader + 56), file.u32(dataHeader + 64), file.u32(dataHeader + 72),
              file.u32(dataHeader + 80), file.u32(dataHeader + 88)};

    // The bodies follow the "#a->" marker, one further byte and the leading 32-byte records.
    const std::uint8_t marker[] = {'#', 'a', '-', '>'};
    const auto searchFrom = bytes.begin() + static_cast<std::ptrdiff_t>(dataHeader + 104);
    std::uint64_t total = 0;
    for (auto n : counts)
        total += n;
    const auto found = std::search(searchFrom, bytes.end(), std::begin(marker), std::end(marker));
    if (found == bytes.end()) {
        if (total > 0)
            cutAt(bytes.size(), "the data header counts " + std::to_string(total) +
                                    " bodies; the file ends before the \"#a->\" marker that leads to them");
        return result;
    }
    std::size_t pos = static_cast<std::size_t>(found - bytes.begin()) + 5 + 32ull * leading;
    constexpr int Steps = 51;
    const std::uint64_t step = std::max<std::uint64_t>(1, total / 50);
    if (progress)
        progress->start(Steps);

    result.m_bodies.reserve(std::min<std::uint64_t>(total, bytes.size() / 20));
    std::array<std::uint32_t, 5> left = counts;
    bool endsInBody = false; // the file ends inside a body's record
    while (file.has(pos, 1)) {
        const std::uint8_t code = file.u8(pos);
        if (code < 0x80 || code > 0x84 || left[code - 0x80] == 0)
            break; // any other byte, or a kind whose count is used up, ends the scan
        const Kind& kind = Kinds[code - 0x80];
        for (; left[code - 0x80] > 0 && file.has(pos, kind.recordSize); --left[code - 0x80]) {
            CollisionBody& body = result.m_bodies.emplace_back();
            body.CollisionKindTag = kind.tag;
            body.CollisionItemOffset = static_cast<std::uint32_t>(pos + 8);
            body.material = file.u8(pos + 3);
            const std::uint32_t link = file.u32(pos + 4);
            if (link < result.linkNames.size())
                body.link = link;
            if (progress)
                progress->step(static_cast<int>(std::min<std::uint64_t>(Steps, result.m_bodies.size() / step)),
                               result.listText(result.m_bodies.size() - 1));
            pos += kind.recordSize;
        }
        if (left[code - 0x80] > 0) {
            endsInBody = true;
            break; // the count ran past the end of the file
        }
    }
    if (result.m_bodies.size() < total)
        cutAt(pos, "the data header counts " + std::to_string(total) + " bodies; " +
                       std::to_string(result.m_bodies.size()) + " are found before " +
                       (endsInBody || !file.has(pos, 1) ? "the end of the file" : "a byte that is no body"));
    settleCylinderHeights(result.m_bodies, result.linkNames, scene);
    if (progress)
        progress->finish();
    return result;
}

} // namespace mw
