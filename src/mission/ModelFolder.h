#pragma once
// The files of a mission's models folder by name, letter case ignored: a model's file is found
// whatever case the folder's files were saved in. The folder is listed once, names only, and at
// most as many names as a game's folder holds.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace mw {

class ModelFolder {
public:
    // The models folder of the mission whose scene is `scenePath` (none: an empty index).
    explicit ModelFolder(const std::filesystem::path& scenePath);

    // The file named `fileName` ("crate.4ds"), whatever its letter case; the first listed when
    // several differ only in case.
    std::optional<std::filesystem::path> find(std::string_view fileName) const;

private:
    std::unordered_map<std::string, std::filesystem::path> m_files; // by folded name
};

} // namespace mw
