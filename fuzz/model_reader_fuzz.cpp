// Arbitrary bytes to the model-file reader: no crash, no out-of-bounds read, offsets inside the data.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "formats/model/ModelFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto result = mw::readModelFile(std::span<const std::uint8_t>(data, size));
    for (const auto& frame : result.frames)
        if (frame.TranslationOffset + 12ull > size)
            std::abort();
    return 0;
}
