#pragma once
// Makes the next whole-file replace of a file fail while it lives, as a full disk or another
// program would. On POSIX systems every write past 16 bytes fails (a file-size limit, which stops
// root too); on Windows the file is held open without sharing, so it cannot be replaced.

#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <sys/resource.h>
#endif

namespace mw::build {

class WriteFailure {
public:
    explicit WriteFailure([[maybe_unused]] const std::filesystem::path& file)
    {
#ifdef _WIN32
        m_handle = ::CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
#else
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = 16;
        ::setrlimit(RLIMIT_FSIZE, &limit);
#endif
    }
    ~WriteFailure()
    {
#ifdef _WIN32
        if (m_handle != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_handle);
#else
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        ::signal(SIGXFSZ, m_oldHandler);
#endif
    }
    WriteFailure(const WriteFailure&) = delete;
    WriteFailure& operator=(const WriteFailure&) = delete;

private:
#ifdef _WIN32
    HANDLE m_handle = INVALID_HANDLE_VALUE;
#else
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
#endif
};

} // namespace mw::build
