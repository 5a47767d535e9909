#pragma once
// What the benchmark programs read of their own process.

#include <time.h>

// User and system time of the whole process, in seconds (to the nanosecond, where the kernel's
// own accounting in /proc counts whole clock ticks of 10 ms).
inline double ProcessCpuSeconds() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}
