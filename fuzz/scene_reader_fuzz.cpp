// Feeds arbitrary bytes to the scene reader and to the check's walk of the whole chunk tree: neither
// may crash, hang or read out of bounds; what the reader loads must point inside the data, and
// every place the walk reports must lie inside it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "formats/scene/SceneLoader.h"
#include "formats/scene/SceneStructure.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto result = mw::loadScene(std::span<const std::uint8_t>(data, size));
    const auto& catalogue = result.catalogue;
    for (std::size_t row = 0; row < catalogue.entryCount(); ++row) {
        const mw::SceneEntry entry = catalogue.entry(row); // reads every value and name from the bytes
        if (entry.TranslationOffset && entry.TranslationOffset + 12ull > size)
            std::abort();
        if (entry.ScriptOffset && entry.ScriptOffset + 4ull > size)
            std::abort();
        if (entry.ObjectChunkOffset >= size && !entry.isScript)
            std::abort();
        const std::string_view name[] = {entry.name};
        if (catalogue.findFirstRows(name)[0] > row)
            std::abort(); // the first row of each name is found
    }
    if (result.status != mw::SceneLoadStatus::Loaded && !result.catalogue.empty())
        std::abort();
    for (const mw::StructureFinding& finding : mw::walkSceneStructure(std::span<const std::uint8_t>(data, size)).findings)
        if (finding.offset > size)
            std::abort();
    return 0;
}
