#include "missionfiles/PlaceholderModel.h"

#include "insertion/BuiltinResources.h"
#include "io/FileAccess.h"

namespace mw {

std::optional<std::filesystem::path> placeholderModelPath(const std::string& missionFilePath)
{
    const auto at = missionFilePath.find("mission");
    if (at == std::string::npos)
        return std::nullopt;
    return std::filesystem::path(missionFilePath.substr(0, at)) / "models" / PlaceholderModelName;
}

void ensurePlaceholderModel(const std::filesystem::path& target)
{
    if (fileExists(target))
        return;
    std::error_code ec;
    std::filesystem::create_directories(target.parent_path(), ec);
    if (ec)
        throw IoError("cannot create " + target.parent_path().string() + ": " + ec.message());
    replaceWholeFile(target, loadBuiltinResource("Cube1"));
}

} // namespace mw
