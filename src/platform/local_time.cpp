#include "platform/local_time.h"

#include <atomic>
#include <chrono>
#include <ctime>
#include <mutex>

namespace {

std::mutex g_sourceMutex;
std::function<SystemTime()> g_source;
std::atomic<bool> g_hasSource{false};  // lets the clock skip the lock when no test set a source

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

SystemTime RealLocalTime() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count();
    const std::time_t secs = static_cast<std::time_t>(ms / 1000);
    // Every stamp within one second has the same date and time of day: the lookup, which takes
    // the C library's time-zone lock, is made once a second on each thread.
    thread_local std::time_t cachedSecs = -1;
    thread_local std::tm tm{};
    if (secs != cachedSecs) {
        localtime_r(&secs, &tm);
        cachedSecs = secs;
    }
    SystemTime t;
    t.year = static_cast<uint16_t>(tm.tm_year + 1900);
    t.month = static_cast<uint16_t>(tm.tm_mon + 1);
    t.dayOfWeek = static_cast<uint16_t>(tm.tm_wday);
    t.day = static_cast<uint16_t>(tm.tm_mday);
    t.hour = static_cast<uint16_t>(tm.tm_hour);
    t.minute = static_cast<uint16_t>(tm.tm_min);
    t.second = static_cast<uint16_t>(tm.tm_sec);
    t.milliseconds = static_cast<uint16_t>(ms % 1000);
    return t;
}

}  // namespace

bool operator==(const SystemTime& a, const SystemTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute && a.second == b.second && a.milliseconds == b.milliseconds;
}

SystemTime GetLocalTime() {
    if (g_hasSource.load(std::memory_order_acquire)) {
        std::lock_guard<std::mutex> lock(g_sourceMutex);
        if (g_source) return g_source();
    }
    return RealLocalTime();
}

void SetLocalTimeSource(std::function<SystemTime()> source) {
    std::lock_guard<std::mutex> lock(g_sourceMutex);
    g_source = std::move(source);
    g_hasSource.store(static_cast<bool>(g_source), std::memory_order_release);
}

uint64_t GetTickCountMs() {
    using namespace std::chrono;
    return static_cast<uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

int64_t SystemTimeToEpochMs(const SystemTime& t) {
    const int64_t days = DaysFromCivil(t.year, t.month, t.day);
    const int64_t secs = days * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
    return secs * 1000 + t.milliseconds;
}
