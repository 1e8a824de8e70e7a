#include "editing/GuardedWrite.h"

namespace mw {

bool unchangedSince(const std::filesystem::path& path, const std::optional<FileStamp>& stamp)
{
    return stamp && stampOf(path) == stamp;
}

void patchAndRestamp(const std::filesystem::path& path, std::span<const Patch> patches,
                     std::optional<FileStamp>& stamp)
{
    patchInPlace(path, patches);
    stamp = stampOf(path);
}

std::string changedOnDiskMessage(const std::string& fileName)
{
    return "****** " + fileName + " was changed outside the editor! Nothing saved - the file is read again. ******";
}

} // namespace mw
