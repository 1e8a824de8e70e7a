// Feeds arbitrary bytes to the scene reader: it must never crash, hang or read out of bounds, and
// what it loads must point inside the data.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "scene/SceneLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto result = mw::loadScene(std::span<const std::uint8_t>(data, size));
    for (const auto& entry : result.catalogue.entries) {
        if (entry.TranslationOffset && entry.TranslationOffset + 12ull > size)
            std::abort();
        if (entry.ScriptOffset && entry.ScriptOffset + 4ull > size)
            std::abort();
        if (entry.ObjectChunkOffset >= size && !entry.isScript)
            std::abort();
    }
    if (result.status != mw::SceneLoadStatus::Loaded && !result.catalogue.entries.empty())
        std::abort();
    return 0;
}
