#include "formats/model/PlaceholderModel.h"

#include "foundation/files/Paths.h"

namespace mw {

std::optional<std::filesystem::path> modelsFolderOf(const std::filesystem::path& missionFile)
{
    // Everything before "mission" is the game folder, whichever separators the path uses.
    const std::string path = utf8Of(missionFile);
    const auto at = path.find("mission");
    if (at == std::string::npos)
        return std::nullopt;
    return pathFromUtf8(path.substr(0, at)) / "models";
}

std::optional<std::filesystem::path> placeholderModelPath(const std::filesystem::path& missionFile)
{
    const auto models = modelsFolderOf(missionFile);
    if (!models)
        return std::nullopt;
    return *models / PlaceholderModelName;
}

} // namespace mw
