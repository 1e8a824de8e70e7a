#include "formats/model/PlaceholderModel.h"

#include "foundation/files/Paths.h"
#include "foundation/text/Latin1Text.h"

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

std::string modelFileNameFor(std::string_view model)
{
    std::string stem(model);
    if (stem.size() >= 4 && equalIgnoringCase(std::string_view(stem).substr(stem.size() - 4), ".i3d"))
        stem.erase(stem.size() - 4);
    return stem + ".4ds";
}

} // namespace mw
