#pragma once

#include <sys/resource.h>

namespace bench {

// The process's peak resident memory so far, in KB.
inline long PeakKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace bench
