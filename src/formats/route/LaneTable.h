#pragma once
// The circuit's 552 route nodes on 110 cross-sections of the road: seven lanes per row (999: no node
// in that lane) and a code "NNNLd" / "NNNRd" that places one further node at the left or right edge
// raised by d units ("99999": none). Lanes and codes name every node 0 ... 551 once.

#include <array>
#include <string_view>

namespace mw {

inline constexpr int NoNode = 999;
inline constexpr std::string_view NoCode = "99999";

struct LaneRow {
    std::array<int, 7> lanes;
    std::string_view code;
};

const std::array<LaneRow, 110>& laneTable();

} // namespace mw
