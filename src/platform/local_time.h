#pragma once
// Local calendar time with milliseconds, and a clock tests can replace.

#include <cstdint>
#include <functional>

struct SystemTime {
    uint16_t year = 0;
    uint16_t month = 0;      // 1-12
    uint16_t dayOfWeek = 0;  // 0 = Sunday
    uint16_t day = 0;        // 1-31
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
    uint16_t milliseconds = 0;
};

bool operator==(const SystemTime& a, const SystemTime& b);
inline bool operator!=(const SystemTime& a, const SystemTime& b) { return !(a == b); }

// The current local time (or the test clock's time when one is installed).
SystemTime GetLocalTime();

// Installs a replacement clock; an empty function restores the real one.
void SetLocalTimeSource(std::function<SystemTime()> source);

// Milliseconds since some fixed point, monotonic.
uint64_t GetTickCountMs();

// Milliseconds from the proleptic calendar epoch 1970-01-01 for the given calendar fields.
int64_t SystemTimeToEpochMs(const SystemTime& t);
