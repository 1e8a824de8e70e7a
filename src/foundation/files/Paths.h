#pragma once
// Paths travel through the program as std::filesystem::path (wide on Windows, so any name works);
// where a path is shown or kept as text, the text is UTF-8.

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace mw {

inline std::filesystem::path pathFromUtf8(std::string_view text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// The path with `suffix` added to its file name ("scene2.bin" and "-save.qra": "scene2.bin-save.qra").
inline std::filesystem::path withSuffix(std::filesystem::path path, std::string_view suffix)
{
    path += pathFromUtf8(suffix);
    return path;
}

inline std::string utf8Of(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// True when the two paths name one file: the same file on disk (through links, or another letter
// case where the file system ignores it), or the same path where neither exists yet.
inline bool isSameFile(const std::filesystem::path& a, const std::filesystem::path& b)
{
    std::error_code ec;
    if (std::filesystem::equivalent(a, b, ec))
        return true;
    return std::filesystem::absolute(a, ec).lexically_normal() == std::filesystem::absolute(b, ec).lexically_normal();
}

} // namespace mw
