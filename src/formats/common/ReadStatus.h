#pragma once
// How a reader of the cache, model or collision file ended, and where a file turned out shorter
// than its own counts say. The scene has its own statuses (its loader refuses a damaged tree whole).

#include <cstdint>
#include <optional>
#include <string>

namespace mw {

enum class FileReadStatus {
    Empty,          // 0 bytes: nothing listed, nothing said
    WrongSignature, // not this kind of file: nothing listed
    Loaded,
    Stopped,        // a record could not be read: the records before it are listed
};

// A file that ends before what its header or a record promises: where the reading stopped, what
// was missing, and how much was read before. The entries before it are listed as usual.
struct ReadShortfall {
    std::uint64_t offset = 0;
    std::string what; // "the data header counts 6 bodies, the file holds 2"
};

} // namespace mw
