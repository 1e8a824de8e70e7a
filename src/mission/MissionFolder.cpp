#include "mission/MissionFolder.h"

#include <algorithm>
#include <system_error>

#include "foundation/files/Paths.h"
#include "foundation/text/Latin1Text.h"

namespace mw {

namespace fs = std::filesystem;

namespace {

constexpr std::array<const char*, MissionFileCount> Names{"scene2.bin", "cache.bin", "scene.4ds", "tree.klz", "check.bin"};

} // namespace

const char* missionFileName(MissionFile file) { return Names[indexOf(file)]; }

std::optional<MissionFile> missionFileNamed(std::string_view fileName)
{
    for (const MissionFile file : FolderFiles)
        if (equalIgnoringCase(fileName, missionFileName(file)))
            return file;
    return std::nullopt;
}

fs::path MissionFolderFiles::orDefault(const fs::path& folder, MissionFile file) const
{
    const fs::path& found = (*this)[file];
    return found.empty() ? folder / missionFileName(file) : found;
}

MissionFolderFiles missionFilesIn(const fs::path& folder)
{
    MissionFolderFiles out;
    std::array<std::vector<std::string>, MissionFileCount> named;
    std::error_code ec;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = utf8Of(it->path().filename());
        if (const auto file = missionFileNamed(name))
            named[static_cast<std::size_t>(*file)].push_back(name);
    }
    if (ec) {
        out.problem = ec.message();
        return out;
    }
    for (const MissionFile file : FolderFiles) {
        auto& names = named[static_cast<std::size_t>(file)];
        if (names.empty())
            continue;
        // The exact name first; the others in a fixed order, so every run takes the same one.
        std::sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
            const bool exactA = a == missionFileName(file), exactB = b == missionFileName(file);
            return exactA != exactB ? exactA : a < b;
        });
        out.paths[static_cast<std::size_t>(file)] = folder / pathFromUtf8(names.front());
        if (names.size() > 1)
            out.clashes.push_back({file, names.front(), {names.begin() + 1, names.end()}});
    }
    return out;
}

} // namespace mw
