// Arbitrary bytes to the collision reader: no crash, no out-of-bounds read, offsets inside the
// data, no NaN made up by the rotation conversion.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "formats/collision/CollisionFile.h"
#include "formats/scene/ObjectRecord.h"
#include "formats/scene/SceneLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A scene of three objects, for the cylinders' heights.
    static const mw::SceneLoadResult scene = [] {
        mw::ChunkWriter w;
        const auto root = w.open(mw::chunk::SceneHeader);
        const auto objects = w.open(mw::chunk::ObjectsSection);
        for (const char* name : {"pole", "wall", "a"})
            mw::writeModelObject(w, {name, {1, 2, 3}, {1, 0, 0, 0}, {1, 1, 1}, "m.i3d"});
        w.close(objects);
        w.close(root);
        return mw::loadScene(w.out().take());
    }();
    const auto result = mw::readCollisionFile(std::span<const std::uint8_t>(data, size), scene.catalogue);
    for (std::size_t row = 0; row < result.bodyCount(); ++row) {
        const mw::CollisionBody& body = result.body(row); // derives its place from the bytes
        if (body.CollisionItemOffset < 8 || body.CollisionItemOffset > size)
            std::abort();
        if (body.CollisionKindTag == "SR")
            for (float v : body.rotation)
                if (!std::isfinite(v))
                    std::abort();
    }
    return 0;
}
