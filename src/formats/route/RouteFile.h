#pragma once
// check.bin, the route file, as far as the editor reads and writes it: 4 bytes it leaves alone, the
// u32 number of route points, then one 30-byte record per point whose first 12 bytes are the
// point's X, Y, Z. And how a circuit's objects are found in a scene file's bytes: by the first
// occurrence of their name's characters, with the translation right behind the name.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace mw {

inline constexpr std::uint32_t RoutePoints = 552;
inline constexpr std::size_t RouteRecordSize = 30;

// Where route point `i`'s record starts.
inline constexpr std::size_t routePointOffset(std::size_t i) { return 8 + RouteRecordSize * i; }

// True when the file says it holds the 552 points and holds them all.
bool holdsRoutePoints(std::span<const std::uint8_t> file);

// The offset of the translation of the object named `name`: with `caseSensitive` (the transform)
// the name chunk's length before the match decides where its next chunk starts; otherwise the
// translation is taken 7 bytes behind the name. Nothing when the name is not found or the
// translation does not lie inside the file.
std::optional<std::size_t> translationOf(std::span<const std::uint8_t> file, const std::string& name,
                                         bool caseSensitive);

} // namespace mw
