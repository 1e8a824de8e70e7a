#pragma once
// How commands ask the user for a file: the window shows the standard open-file dialog, tests
// return scripted answers. Filters are given in the system's "description|pattern|..." form.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace mw {

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The chosen existing file's full path, or nothing when the user cancelled.
    virtual std::optional<std::filesystem::path> openFile(std::string_view filter) = 0;
    // The full path of a file to write (new, or one the user agreed to replace), or nothing. The
    // dialog opens in `folder` (when given); a name typed without an extension gets `defaultSuffix`.
    virtual std::optional<std::filesystem::path> saveFile(std::string_view filter, const std::filesystem::path& folder,
                                                          std::string_view defaultSuffix) = 0;
};

namespace filters {
inline constexpr const char* Scene = " (scene2.bin)|*.bin|(*.*)|*.*";
inline constexpr const char* Cache = " (cache.bin)|*.bin|(*.*)|*.*";
inline constexpr const char* Model = " (scene.4ds)|*.4ds|(*.*)|*.*";
inline constexpr const char* Tree = " (tree.klz)|*.klz|(*.*)|*.*";
} // namespace filters

} // namespace mw
