#include "editing/GuardedWrite.h"

#include "workspace/Prompter.h"

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

WriteOutcome guardedPatch(const std::filesystem::path& path, const std::string& fileName,
                          std::span<const Patch> patches, std::optional<FileStamp>& stamp, Prompter& prompter)
{
    if (!unchangedSince(path, stamp)) {
        prompter.message(changedOnDiskMessage(fileName), "");
        return WriteOutcome::Stale;
    }
    try {
        patchAndRestamp(path, patches, stamp);
    } catch (const IoError& error) {
        prompter.message(error.what(), "");
        return WriteOutcome::Failed;
    }
    return WriteOutcome::Done;
}

} // namespace mw
