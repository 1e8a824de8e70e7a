#pragma once
// The page faults this process has taken so far: the cost of touching fresh memory, which a plain
// copy of a file (done inside the kernel) does not pay and a command that builds a file does.

#if defined(__unix__) || defined(__APPLE__)
#include <sys/resource.h>
#endif

namespace mw::bench {

inline double minorFaults()
{
#if defined(__unix__) || defined(__APPLE__)
    rusage used{};
    getrusage(RUSAGE_SELF, &used);
    return static_cast<double>(used.ru_minflt);
#else
    return 0;
#endif
}

} // namespace mw::bench
