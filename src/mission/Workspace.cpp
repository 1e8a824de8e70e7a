#include "mission/Workspace.h"

#include <algorithm>
#include <cwctype>

#include "foundation/files/Paths.h"

namespace mw {

std::string missionFolder(const std::filesystem::path& file, const std::string& title)
{
    // The title is the file name part the dialog returned; when it does not end the path (a path
    // typed by hand), everything after the last separator is the file name.
    const std::string path = utf8Of(file);
    if (!title.empty() && path.size() >= title.size() &&
        path.compare(path.size() - title.size(), title.size(), title) == 0)
        return path.substr(0, path.size() - title.size());
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

namespace {

// A folder's text in the form compared. Windows takes both separators and ignores letter case;
// elsewhere the text is compared as it is.
std::wstring comparable(const std::string& folder)
{
    std::wstring text = pathFromUtf8(folder).wstring();
#ifdef _WIN32
    std::replace(text.begin(), text.end(), L'\\', L'/');
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
#endif
    return text;
}

} // namespace

bool sameMission(const std::filesystem::path& pathA, const std::string& titleA, const std::filesystem::path& pathB,
                 const std::string& titleB)
{
    return comparable(missionFolder(pathA, titleA)) == comparable(missionFolder(pathB, titleB));
}

} // namespace mw
