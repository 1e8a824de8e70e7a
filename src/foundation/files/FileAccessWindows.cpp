// The file access of Windows: wide-character paths, ReadFile/WriteFile at offsets, FlushFileBuffers,
// and a replace through a temporary file in the same folder, given the original's attributes and
// moved over it with MoveFileExW (replace existing, write through). ReplaceFileW would keep a few
// more properties, but where it fails it can leave a file of its own behind.
#include "foundation/files/FileAccess.h"
#include "foundation/files/FileFaults.h"
#include "foundation/files/Paths.h"

#include <windows.h>

#include <string>
#include <system_error>

namespace mw {

namespace fs = std::filesystem;

namespace {

std::string describe(const std::string& what, const fs::path& path, DWORD error)
{
    return what + " " + utf8Of(path) + ": " + std::system_category().message(static_cast<int>(error));
}

// Closes a handle when it goes out of scope unless closed before.
class Handle {
public:
    explicit Handle(HANDLE h) : m_h(h) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle(Handle&& other) noexcept : m_h(other.m_h) { other.m_h = INVALID_HANDLE_VALUE; }
    ~Handle()
    {
        if (valid())
            ::CloseHandle(m_h);
    }
    HANDLE get() const { return m_h; }
    bool valid() const { return m_h != INVALID_HANDLE_VALUE && m_h != nullptr; }
    // Closes now and reports the result, so a failing close is not lost.
    bool closeNow()
    {
        const HANDLE h = m_h;
        m_h = INVALID_HANDLE_VALUE;
        return ::CloseHandle(h) != 0;
    }

private:
    HANDLE m_h;
};

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD MaxChunk = 1u << 30; // ReadFile and WriteFile take 32-bit counts

OVERLAPPED at(std::uint64_t offset)
{
    OVERLAPPED o{};
    o.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    o.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return o;
}

// Writes every byte at `offset`, looping over short writes; false (with the error set) on failure.
bool writeAllAt(HANDLE h, const std::uint8_t* data, std::size_t size, std::uint64_t offset)
{
    while (size > 0) {
        const DWORD chunk = size > MaxChunk ? MaxChunk : static_cast<DWORD>(size);
        OVERLAPPED o = at(offset);
        DWORD written = 0;
        if (!::WriteFile(h, data, chunk, &written, &o))
            return false;
        if (written == 0) {
            ::SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        data += written;
        size -= written;
        offset += written;
    }
    return true;
}

// Reads up to `size` bytes at `offset`; the count read (short at the end of the file).
std::size_t readAt(HANDLE h, std::uint8_t* data, std::size_t size, std::uint64_t offset, const fs::path& path)
{
    std::size_t done = 0;
    while (done < size) {
        const DWORD chunk = size - done > MaxChunk ? MaxChunk : static_cast<DWORD>(size - done);
        OVERLAPPED o = at(offset + done);
        DWORD read = 0;
        if (!::ReadFile(h, data + done, chunk, &read, &o)) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_HANDLE_EOF)
                break;
            throw IoError(describe("cannot read", path, error));
        }
        if (read == 0)
            break; // the file shrank while we read it
        done += read;
    }
    return done;
}

// Opens an existing file (for reading, or reading and writing) and reports its length.
Handle openFile(const fs::path& path, DWORD access, std::uint64_t& length)
{
    // Opening is where a read or an in-place write counts as a file operation.
    if (FileFaults::next(path))
        throw IoError(describe(access == GENERIC_READ ? "cannot read" : "cannot write", path, ERROR_IO_DEVICE));
    Handle h(::CreateFileW(path.c_str(), access, ShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid())
        throw IoError(describe("cannot open", path, ::GetLastError()));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(h.get(), &info))
        throw IoError(describe("cannot examine", path, ::GetLastError()));
    // A pipe or a device (a console, a serial port) could keep a read waiting for ever.
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || ::GetFileType(h.get()) != FILE_TYPE_DISK)
        throw IoError("not a file: " + utf8Of(path));
    length = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    return h;
}

// A new, empty file beside `path` whose name no other file has.
Handle createTemporaryBeside(const fs::path& path, fs::path& tempPath)
{
    if (FileFaults::next(path))
        throw IoError(describe("cannot create a temporary file for", path, ERROR_IO_DEVICE));
    const fs::path folder = path.parent_path();
    const std::wstring stem = L"." + path.filename().wstring() + L".mw-";
    DWORD seed = ::GetTickCount() ^ ::GetCurrentProcessId();
    for (int attempt = 0; attempt < 100; ++attempt) {
        seed = seed * 1664525u + 1013904223u;
        tempPath = folder / (stem + std::to_wstring(seed % 1000000u));
        Handle h(::CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (h.valid())
            return h;
        if (::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    throw IoError(describe("cannot create a temporary file for", path, ::GetLastError()));
}

} // namespace

std::vector<std::uint8_t> readWholeFile(const fs::path& path)
{
    std::uint64_t length = 0;
    Handle h = openFile(path, GENERIC_READ, length);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    bytes.resize(readAt(h.get(), bytes.data(), bytes.size(), 0, path));
    return bytes;
}

std::vector<std::uint8_t> readRange(const fs::path& path, std::uint64_t offset, std::uint64_t count)
{
    std::uint64_t length = 0;
    Handle h = openFile(path, GENERIC_READ, length);
    if (offset > length || count > length - offset)
        throw IoError("the data asked for lies outside " + utf8Of(path));
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
    if (readAt(h.get(), bytes.data(), bytes.size(), offset, path) != bytes.size())
        throw IoError("the data asked for lies outside " + utf8Of(path));
    return bytes;
}

bool canOpenForReading(const fs::path& path)
{
    Handle h(::CreateFileW(path.c_str(), GENERIC_READ, ShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return h.valid() && ::GetFileType(h.get()) == FILE_TYPE_DISK;
}

void patchInPlace(const fs::path& path, std::span<const Patch> patches)
{
    std::uint64_t length = 0;
    Handle h = openFile(path, GENERIC_READ | GENERIC_WRITE, length);
    for (const Patch& patch : patches) {
        if (patch.offset > length || patch.bytes.size() > length - patch.offset)
            throw IoError("a field to write lies outside " + utf8Of(path));
    }
    for (const Patch& patch : patches) {
        if (!writeAllAt(h.get(), patch.bytes.data(), patch.bytes.size(), patch.offset))
            throw IoError(describe("cannot write", path, ::GetLastError()));
    }
    if (!::FlushFileBuffers(h.get()))
        throw IoError(describe("cannot flush", path, ::GetLastError()));
    if (!h.closeNow())
        throw IoError(describe("cannot close", path, ::GetLastError()));
}

void replaceWholeFile(const fs::path& path, std::span<const std::uint8_t> image)
{
    fs::path tempPath;
    Handle temp = createTemporaryBeside(path, tempPath);

    auto fail = [&](const std::string& what, DWORD error) {
        if (temp.valid())
            temp.closeNow();
        ::SetFileAttributesW(tempPath.c_str(), FILE_ATTRIBUTE_NORMAL); // a hidden or system file is deleted too
        ::DeleteFileW(tempPath.c_str());
        throw IoError(describe(what, path, error));
    };

    if (FileFaults::next(path))
        fail("cannot write", ERROR_IO_DEVICE);
    if (!writeAllAt(temp.get(), image.data(), image.size(), 0))
        fail("cannot write", ::GetLastError());
    if (!::FlushFileBuffers(temp.get()))
        fail("cannot flush", ::GetLastError());
    if (!temp.closeNow())
        fail("cannot close", ::GetLastError());

    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            fail("cannot replace", ERROR_ACCESS_DENIED);
        // The copy takes the original's attributes (hidden, archive, ...); a read-only original
        // is not replaced (the move below is refused).
        const DWORD kept = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                         FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
        if (!::SetFileAttributesW(tempPath.c_str(), kept ? kept : FILE_ATTRIBUTE_NORMAL))
            fail("cannot set the attributes of the copy of", ::GetLastError());
    }
    if (FileFaults::next(path))
        fail("cannot replace", ERROR_IO_DEVICE);
    if (!::MoveFileExW(tempPath.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        fail("cannot replace", ::GetLastError());
}

} // namespace mw
