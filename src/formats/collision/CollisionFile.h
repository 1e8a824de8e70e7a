#pragma once
// tree.klz: the "GifC" header, the link-name table, the data header with a count per body kind, the
// "#a->" marker, leading records to skip, then groups of collision bodies of five kinds in any
// order. For each body the reader derives a centre, a size and a rotation in the scene's terms.

#include <array>
#include <optional>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/geometry/Vec3.h"
#include "formats/common/ReadStatus.h"
#include "formats/scene/SceneCatalogue.h"
#include "foundation/bytes/SharedBytes.h"

namespace mw {

class Progress;

namespace treemsg {
inline constexpr const char* NotATree = "****** No tree.klz file! ******";
inline constexpr const char* FirstLoadScene = "First load scene2.bin";
inline constexpr const char* DifferentMissions = "Different Missions! Use same Mission for tree and scene2!";
inline constexpr const char* NoMissionsFolder = "**Sorry, can't extract tree.klz!! Directory - missions - missing! **";
} // namespace treemsg

struct CollisionBody {
    static constexpr std::uint32_t NoLink = 0xFFFFFFFFu;
    std::string_view CollisionKindTag; // "SC", "SR", "BI", "CY" or "SP" (static texts)
    std::uint32_t CollisionItemOffset = 0; // the body's first geometry byte (record start + 8)
    std::uint8_t material = 0;
    std::uint32_t link = NoLink; // its row in the link-name table, when the table has it
    Vec3 position; // a cylinder's height (Y) is settled when the file is read
    std::array<float, 4> rotation{1, 0, 0, 0};
    Vec3 size;
    bool placed = false; // position, rotation and size are derived
};

class CollisionLoadResult {
public:
    FileReadStatus status = FileReadStatus::Empty;
    std::vector<std::string> messages;
    std::vector<std::string> linkNames;
    std::array<std::uint32_t, 5> kindCounts{}; // kinds 0x80 ... 0x84, from the data header
    SharedImage source;                        // the bytes the bodies were read from
    // The file holds fewer bodies or names than it counts: the bodies before are listed.
    std::optional<ReadShortfall> cut;

    std::size_t bodyCount() const { return m_bodies.size(); }
    // The body in `row`, its centre, size and rotation derived from the bytes when first asked
    // for: a load only lists the bodies.
    const CollisionBody& body(std::size_t row) const;
    // The same, for a save that writes the body and keeps what it wrote.
    CollisionBody& body(std::size_t row);
    // Adds a body whose place is given.
    void addPlacedBody(CollisionBody body);

    std::string_view kindTag(std::size_t row) const { return m_bodies.at(row).CollisionKindTag; }
    std::string_view linkName(std::size_t row) const
    {
        const std::uint32_t link = m_bodies.at(row).link;
        return link < linkNames.size() ? std::string_view(linkNames[link]) : std::string_view();
    }
    // The body's list row: "SCube-0", "spCube-7", ... (the number is its row).
    std::string listText(std::size_t row) const;

private:
    friend CollisionLoadResult readCollisionFile(SharedImage bytes, const SceneCatalogue& scene, Progress* progress);
    mutable std::vector<CollisionBody> m_bodies;
};

// `scene` gives cylinders their height: the translation Y of the first scene entry named like the
// body's link name cut before its first ".".
CollisionLoadResult readCollisionFile(SharedImage bytes, const SceneCatalogue& scene, Progress* progress = nullptr);
// The same over a copy of `bytes`.
CollisionLoadResult readCollisionFile(std::span<const std::uint8_t> bytes, const SceneCatalogue& scene,
                                      Progress* progress = nullptr);

// The rotation of a rotated box from its 3x3 matrix (rows m00 m01 m02, m10 ..., m20 ...), as the four
// components the scene's rotation chunk holds: |y|, |z|, w, |x| of the matching quaternion.
std::array<float, 4> rotatedBoxRotation(const std::array<float, 9>& m);

} // namespace mw
