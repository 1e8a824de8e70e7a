#include "workspace/Workspace.h"

namespace mw {

std::string missionFolder(const std::string& path, const std::string& title)
{
    // The title is the file name part the dialog returned; when it does not end the path (a path
    // typed by hand), everything after the last separator is the file name.
    if (!title.empty() && path.size() >= title.size() &&
        path.compare(path.size() - title.size(), title.size(), title) == 0)
        return path.substr(0, path.size() - title.size());
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool sameMission(const std::string& pathA, const std::string& titleA, const std::string& pathB,
                 const std::string& titleB)
{
    return missionFolder(pathA, titleA) == missionFolder(pathB, titleB);
}

} // namespace mw
