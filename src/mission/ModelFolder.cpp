#include "mission/ModelFolder.h"

#include <system_error>

#include "formats/model/PlaceholderModel.h"
#include "foundation/files/Paths.h"
#include "foundation/text/Latin1Text.h"

namespace mw {

ModelFolder::ModelFolder(const std::filesystem::path& scenePath)
{
    constexpr std::size_t MostFiles = 200'000;
    const auto folder = modelsFolderOf(scenePath);
    if (!folder)
        return;
    std::error_code error;
    for (auto it = std::filesystem::directory_iterator(*folder, error);
         !error && it != std::filesystem::directory_iterator() && m_files.size() < MostFiles; it.increment(error))
        if (it->is_regular_file(error))
            m_files.emplace(foldedCase(utf8Of(it->path().filename())), it->path());
}

std::optional<std::filesystem::path> ModelFolder::find(std::string_view fileName) const
{
    const auto it = m_files.find(foldedCase(fileName));
    if (it == m_files.end())
        return std::nullopt;
    return it->second;
}

} // namespace mw
