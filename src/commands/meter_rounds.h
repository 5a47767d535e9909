#pragma once
// Meter reading in rounds: a DL/T 645-2007 read request to every meter address from a start to
// an end address, round after round, each answer waited for and timed. The rounds run on a
// thread of their own; the link's meter pass wakes them when the asked meter answers.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "link/byte_string.h"
#include "link/dlt645.h"
#include "link/module_link.h"
#include "link/reply_queue.h"
#include "link/workers.h"
#include "platform/sync.h"

// The entries of the wait-mode combo box.
constexpr const char* kTimeoutModeText = "超时时间(ms)";
constexpr const char* kIntervalModeText = "间隔时间(ms)";

// A meter address of 12 decimal digits as two numbers: the first four digits and the last
// eight. Each part is read as a leading decimal number (no digits: 0).
struct MeterAddress {
    uint32_t high = 0;
    uint32_t low = 0;
};
bool operator<(const MeterAddress& a, const MeterAddress& b);
MeterAddress MeterAddressFromText(const std::string& text);
// "%04d%08d"
std::string MeterAddressText(const MeterAddress& address);
// The next address: low counts to 99999999, then high goes up.
MeterAddress NextMeterAddress(MeterAddress address);

enum class RoundWaitMode { Timeout, Interval };

struct RoundSettings {
    RoundWaitMode mode = RoundWaitMode::Timeout;
    ByteString identifier;  // four bytes, as the request carries them
    MeterAddress start;
    MeterAddress end;
    uint32_t rounds = 0;       // 0: without end
    uint32_t waitMs = 0;       // time-out, or interval
    uint32_t sendDelayMs = 0;  // pause after each address, time-out mode only
};

// The page's texts as typed.
struct RoundFieldTexts {
    std::string mode;
    std::string identifier;
    std::string start;
    std::string end;
    std::string rounds;
    std::string waitTime;
    std::string sendDelay;
};

// Checks the texts in the page's order. False, with the message to show, for an empty or
// malformed field, an unknown mode, a wait of 0 ms or an end address below the start.
bool ReadRoundSettings(const RoundFieldTexts& texts, RoundSettings& settings, std::string& message);

struct RoundStatistics {
    uint32_t sent = 0;
    uint32_t replies = 0;
    uint32_t timeSum = 0;  // ms
    uint32_t timeAvg = 0;
    uint32_t timeMax = 0;
    uint32_t timeMin = 0xFFFFFFFFu;
    void CountAnswer(uint32_t elapsedMs);
};

// The seven statistics fields as shown.
struct RoundStatisticsTexts {
    std::string average;  // "%.2fs"
    std::string total;
    std::string minimum;
    std::string maximum;
    std::string sent;  // decimal
    std::string replies;
    std::string successRate;  // "%.2f"
};
RoundStatisticsTexts FormatRoundStatistics(const RoundStatistics& stats);

// What the rounds report; called on the rounds thread.
struct RoundReports {
    // A request went out (its bytes).
    std::function<void(const ByteString& request)> requestSent;
    // An answer (valid 1) or a time-out (valid 0, frame = the address bytes in text order), with
    // the statistics after it.
    std::function<void(const MeterReplyEntry& result, const RoundStatistics& stats)> result;
    // The rounds are over: all done or stopped.
    std::function<void()> ended;
};

class MeterRounds {
public:
    MeterRounds(ModuleLink& link, RoundReports reports);
    // Stops and joins a run still going.
    ~MeterRounds();
    MeterRounds(const MeterRounds&) = delete;
    MeterRounds& operator=(const MeterRounds&) = delete;

    // Ends a run still going, then starts the rounds thread. 0 when it could not start (its
    // error text reported by the link's worker set).
    int Start(const RoundSettings& settings);
    // Asks the rounds to stop: a wait in progress ends at once. Returns at once.
    void RequestStop();
    // Stops and waits until the rounds thread has ended.
    void Stop();
    bool IsRunning() const { return m_worker.IsRunning(); }
    const Worker& ThreadWorker() const { return m_worker; }

private:
    // All rounds, on the rounds thread.
    void Run(const RoundSettings& settings);
    // One address; false when the rounds are to end.
    bool ReadOne(const RoundSettings& settings, const MeterAddress& address, RoundStatistics& stats);
    bool Stopping() const { return m_stopRequested.load() || !m_worker.IsRunning(); }

    ModuleLink& m_link;
    RoundReports m_reports;
    std::atomic<bool> m_stopRequested{false};
    AutoResetEvent m_stop;  // wakes the pauses
    Worker m_worker;
};
