// Arbitrary bytes to the collision reader: no crash, no out-of-bounds read, offsets inside the
// data, no NaN made up by the rotation conversion.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "missionfiles/CollisionFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const mw::SceneCatalogue scene = [] {
        mw::SceneCatalogue c;
        for (const char* name : {"pole", "wall", "a"}) {
            mw::SceneEntry e;
            e.name = name;
            e.translation = {1, 2, 3};
            c.entries.push_back(e);
        }
        return c;
    }();
    const auto result = mw::readCollisionFile(std::span<const std::uint8_t>(data, size), scene);
    for (const auto& body : result.bodies) {
        if (body.CollisionItemOffset < 8 || body.CollisionItemOffset > size)
            std::abort();
        if (body.CollisionKindTag == "SR")
            for (float v : body.rotation)
                if (!std::isfinite(v))
                    std::abort();
    }
    return 0;
}
