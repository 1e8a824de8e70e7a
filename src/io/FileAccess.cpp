// The parts of file access that the standard library does the same on every platform; the reads
// and the two writes are in FileAccessPosix.cpp and FileAccessWindows.cpp.
#include "io/FileAccess.h"

namespace mw {

namespace fs = std::filesystem;

std::optional<FileStamp> stampOf(const fs::path& path)
{
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (ec)
        return std::nullopt;
    const auto modified = fs::last_write_time(path, ec);
    if (ec)
        return std::nullopt;
    return FileStamp{size, modified};
}

bool fileExists(const fs::path& path)
{
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

} // namespace mw
