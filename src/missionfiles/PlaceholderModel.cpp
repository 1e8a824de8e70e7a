#include "missionfiles/PlaceholderModel.h"

namespace mw {

std::optional<std::filesystem::path> placeholderModelPath(const std::string& missionFilePath)
{
    const auto at = missionFilePath.find("mission");
    if (at == std::string::npos)
        return std::nullopt;
    return std::filesystem::path(missionFilePath.substr(0, at)) / "models" / PlaceholderModelName;
}

} // namespace mw
