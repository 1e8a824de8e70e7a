// The parts of file access that the standard library does the same on every platform; the reads
// and the two writes are in FileAccessPosix.cpp and FileAccessWindows.cpp.
#include "foundation/files/FileAccess.h"

#include "foundation/files/FileFaults.h"
#include "foundation/files/Paths.h"

namespace mw {

namespace fs = std::filesystem;

namespace {

std::size_t operations = 0;
std::size_t failingOperation = 0; // 0: none
fs::path failingPath;             // empty: none

IoError failure(const char* what, const fs::path& path, const std::error_code& ec)
{
    return IoError(std::string(what) + " " + utf8Of(path) + ": " + ec.message());
}

// A failure a test asked for, told as the system tells an input/output error.
std::error_code injected() { return std::make_error_code(std::errc::io_error); }

} // namespace

void FileFaults::failOperation(std::size_t k) { failingOperation = k == 0 ? 0 : operations + k; }
void FileFaults::failOperationOn(const fs::path& path) { failingPath = path; }
std::size_t FileFaults::operationCount() { return operations; }
bool FileFaults::next(const fs::path& path)
{
    ++operations;
    if (operations == failingOperation) {
        failingOperation = 0;
        return true;
    }
    if (!failingPath.empty() && path == failingPath) {
        failingPath.clear();
        return true;
    }
    return false;
}

void removeFile(const fs::path& path)
{
    std::error_code ec;
    if (FileFaults::next(path))
        ec = injected();
    else if (!fs::remove(path, ec) && !ec)
        return; // nothing to remove
    if (ec)
        throw failure("cannot remove", path, ec);
}

std::vector<fs::path> createFolders(const fs::path& folder)
{
    // The missing folders, outermost first.
    std::vector<fs::path> missing;
    std::error_code ec;
    for (fs::path f = folder; !f.empty() && !fs::exists(f, ec); f = f.parent_path()) {
        missing.insert(missing.begin(), f);
        if (f == f.parent_path())
            break;
    }
    std::vector<fs::path> created;
    for (const fs::path& f : missing) {
        if (FileFaults::next(f))
            ec = injected();
        else
            fs::create_directory(f, ec);
        if (ec) {
            for (auto c = created.rbegin(); c != created.rend(); ++c) {
                std::error_code ignored;
                fs::remove(*c, ignored);
            }
            throw failure("cannot create", f, ec);
        }
        created.push_back(f);
    }
    return created;
}

void removeFolder(const fs::path& folder)
{
    std::error_code ec;
    if (FileFaults::next(folder))
        ec = injected();
    else if (!fs::remove(folder, ec) && !ec)
        return;
    if (ec)
        throw failure("cannot remove", folder, ec);
}

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
