#pragma once
// Every file operation of io/ counts itself here: a read, the creation of a temporary file, a write,
// a rename, the removal of a file, the creation or removal of a folder. A test makes the k-th one
// fail, as a full disk or a bad sector would, to find out what a command does then. Nothing fails
// unless a test asks for it.

#include <cstddef>
#include <filesystem>

namespace mw {

class FileFaults {
public:
    // The k-th operation from now fails (1: the next one); 0: none does.
    static void failOperation(std::size_t k);
    // The next operation on this file or folder fails; an empty path: none does.
    static void failOperationOn(const std::filesystem::path& path);
    // How many operations ran since the program started.
    static std::size_t operationCount();
    // Counts one operation on `path`; true when it is the one that must fail.
    static bool next(const std::filesystem::path& path);
};

} // namespace mw
