// The file access of POSIX systems: open/pread/pwrite with fsync, mkstemp and rename, and an fsync
// of the folder after a replace.
#include "foundation/files/FileAccess.h"
#include "foundation/files/FileFaults.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mw {

namespace fs = std::filesystem;

namespace {

std::string describe(const std::string& what, const fs::path& path, int error)
{
    return what + " " + path.string() + ": " + std::strerror(error);
}

// Closes a descriptor when it goes out of scope unless released.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor(Descriptor&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Closes now and reports the result, so a failing close is not lost.
    int closeNow()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd);
    }

private:
    int m_fd;
};

// Writes every byte at `offset`, looping over short writes; false on any error.
bool writeAllAt(int fd, const std::uint8_t* data, std::size_t size, off_t offset)
{
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, data, size, offset);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
        offset += n;
    }
    return true;
}

// Opens a regular file without waiting: a FIFO or a device opened for reading can block until
// someone writes to it, so the open does not block and anything but a regular file is refused
// before a byte is read. Back to blocking input and output once it is known to be a file.
Descriptor openRegularFile(const fs::path& path, int flags, std::uint64_t* length = nullptr)
{
    Descriptor fd(::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid())
        throw IoError(describe("cannot open", path, errno));
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        throw IoError(describe("cannot examine", path, errno));
    if (!S_ISREG(info.st_mode))
        throw IoError("not a file: " + path.string());
    const int status = ::fcntl(fd.get(), F_GETFL);
    if (status < 0 || ::fcntl(fd.get(), F_SETFL, status & ~O_NONBLOCK) != 0)
        throw IoError(describe("cannot open", path, errno));
    if (length)
        *length = static_cast<std::uint64_t>(info.st_size);
    return fd;
}

// Opens a file (read-only or for writing) and reports its length. Opening is where a read or an
// in-place write counts as a file operation.
Descriptor openFile(const fs::path& path, int flags, std::uint64_t& length)
{
    if (FileFaults::next(path))
        throw IoError(describe(flags == O_RDONLY ? "cannot read" : "cannot write", path, EIO));
    return openRegularFile(path, flags, &length);
}

void syncFolder(const fs::path& folder)
{
    Descriptor dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY));
    if (dir.valid())
        ::fsync(dir.get()); // best effort: some file systems refuse to sync folders
}

} // namespace

std::vector<std::uint8_t> readWholeFile(const fs::path& path)
{
    std::uint64_t length = 0;
    Descriptor fd = openFile(path, O_RDONLY, length);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw IoError(describe("cannot read", path, errno));
        }
        if (n == 0)
            break; // the file shrank while we read it
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

std::vector<std::uint8_t> readRange(const fs::path& path, std::uint64_t offset, std::uint64_t count)
{
    std::uint64_t length = 0;
    Descriptor fd = openFile(path, O_RDONLY, length);
    if (offset > length || count > length - offset)
        throw IoError("the data asked for lies outside " + path.string());
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pread(fd.get(), bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw IoError(describe("cannot read", path, errno));
        }
        if (n == 0)
            throw IoError("the data asked for lies outside " + path.string());
        done += static_cast<std::size_t>(n);
    }
    return bytes;
}

bool canOpenForReading(const fs::path& path)
{
    try {
        openRegularFile(path, O_RDONLY);
        return true;
    } catch (const IoError&) {
        return false;
    }
}

void patchInPlace(const fs::path& path, std::span<const Patch> patches)
{
    std::uint64_t length = 0;
    Descriptor fd = openFile(path, O_RDWR, length);
    for (const Patch& patch : patches) {
        if (patch.offset > length || patch.bytes.size() > length - patch.offset)
            throw IoError("a field to write lies outside " + path.string());
    }
    for (const Patch& patch : patches) {
        if (!writeAllAt(fd.get(), patch.bytes.data(), patch.bytes.size(), static_cast<off_t>(patch.offset)))
            throw IoError(describe("cannot write", path, errno));
    }
    if (::fsync(fd.get()) != 0)
        throw IoError(describe("cannot flush", path, errno));
    if (fd.closeNow() != 0)
        throw IoError(describe("cannot close", path, errno));
}

void replaceWholeFile(const fs::path& path, std::span<const std::uint8_t> image)
{
    const fs::path folder = path.parent_path();
    std::string tempName(1, '.');
    tempName.append(path.filename().string()).append(".mw-XXXXXX");
    std::string pattern = (folder / tempName).string();
    if (FileFaults::next(path))
        throw IoError(describe("cannot create a temporary file for", path, EIO));
    const int raw = ::mkstemp(pattern.data());
    if (raw < 0)
        throw IoError(describe("cannot create a temporary file for", path, errno));
    Descriptor temp(raw);
    const fs::path tempPath = pattern;

    auto fail = [&](const std::string& what) {
        const int error = errno;
        std::error_code ignored;
        fs::remove(tempPath, ignored);
        throw IoError(describe(what, path, error));
    };

    struct stat original {};
    const mode_t mode = ::stat(path.c_str(), &original) == 0 ? (original.st_mode & 07777) : 0644;
    if (::fchmod(temp.get(), mode) != 0)
        fail("cannot set the permissions of the copy of");
    if (FileFaults::next(path)) {
        errno = EIO;
        fail("cannot write");
    }
    if (!writeAllAt(temp.get(), image.data(), image.size(), 0))
        fail("cannot write");
    if (::fsync(temp.get()) != 0)
        fail("cannot flush");
    if (temp.closeNow() != 0)
        fail("cannot close");
    if (FileFaults::next(path)) {
        errno = EIO;
        fail("cannot replace");
    }
    if (::rename(tempPath.c_str(), path.c_str()) != 0)
        fail("cannot replace");
    syncFolder(folder);
}

} // namespace mw
