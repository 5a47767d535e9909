#pragma once
// The batch tests over the address list: the checked addresses in the wire form, one exchange
// with the module per address (flush, send, wait, pop, judge, post), and the judgement of each
// reply. Nothing here touches a window: the main window sends on its own thread and takes the rows.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "link/byte_string.h"
#include "link/reply_queue.h"
#include "link/workers.h"
#include "platform/local_time.h"
#include "platform/sync.h"

// ---- Addresses ----

// An address typed most significant byte first turned into the wire order, or back: '0' put in
// front up to 12 digits, the first 12 digits used, the six byte pairs reversed, upper-cased.
// An empty text stays empty.
std::string SwapAddressOrder(std::string text);

// Most checked addresses the data test takes at once, and what it says beyond them.
constexpr size_t kMaxDataTestAddresses = 35;
constexpr const char* kTooManyAddressesText = "最大允许升级表数目为35";

// ---- Outcomes ----

enum class TestStatus { Unchanged, Success, Failure, VersionMismatch };
// "成功", "失败", "版本不一致"; "" for Unchanged.
const char* StatusText(TestStatus status);

// A data-test reply: an answer (direction bit set), not abnormal, with no data is a success;
// anything else, a frame too short for its header included, is a failure.
TestStatus JudgeDataReply(const ByteString& frame);

// A version reply for the device at wire (12 hexadecimal digits): a failure when it is not a
// normal answer or its data end before the address or the version; Unchanged when it comes from
// another device; else a success when the version (last data byte first, from data byte 12 on)
// reads exactly as expected, a mismatch when not. Addresses compare without regard to case.
TestStatus JudgeVersionReply(const ByteString& frame, const std::string& wire, const std::string& expected);

// "%02d 秒" of the whole seconds in ms.
std::string ElapsedSecondsText(uint64_t ms);
// "%02d ms" of the time from sent to arrived; never negative.
std::string ElapsedMsText(const SystemTime& sent, const SystemTime& arrived);

// A reset-information reply: the reset word (frame bytes 15 down to 12 as hexadecimal) and the
// soft, watchdog, power-down and external reset counts (32-bit little-endian from byte 16).
struct ResetStatistics {
    std::string resetWord;
    uint32_t counts[4] = {0, 0, 0, 0};
};
// False, out untouched, when the frame ends before its last count.
bool ReadResetStatistics(const ByteString& frame, ResetStatistics& out);

// ---- One run over the addresses ----

// What a run hands to the window for one address.
struct BatchRow {
    std::string address;  // display form
    TestStatus status = TestStatus::Unchanged;
    std::string time;  // "" leaves the time column as it is
};

enum class SendOutcome {
    Sent,     // the frame went out: wait for its reply
    Refused,  // nothing went out (a field was refused): wait all the same, then judge as silent
    Skipped,  // nothing to do for this address: no wait, no row
};

// How each address of a run is served.
struct BatchExchange {
    ReplyQueue<ReplyEntry>* queue = nullptr;
    ArrivedFlag* arrived = nullptr;
    uint32_t waitMs = 1000;
    // Sends the frame for the address (wire form). Called on the run's thread.
    std::function<SendOutcome(const std::string& wire)> send;
    // Judges a reply that arrived within the wait, the oldest first; Unchanged passes on to the
    // next one.
    std::function<TestStatus(const std::string& wire, const ByteString& reply)> judge;
    // With a time: the reply's milliseconds, or the seconds of a silent address.
    bool writesTime = false;
    // Takes one finished address; any thread.
    std::function<void(const BatchRow& row)> post;
};

// A batch test: its worker thread runs the exchange over the addresses, one after the other,
// and ends at once when stopped, between addresses or within a wait.
class BatchTest {
public:
    // Starts the thread (see WorkerSet::Start); finished runs on it when the run ends, stopped
    // or not. Returns 0 when the thread could not start (finished does not run then).
    int Start(WorkerSet& workers, Worker& worker, std::vector<std::string> wireAddresses, BatchExchange exchange,
              std::function<void()> finished, const std::string& errorText);
    // Ends a run and waits for its thread. An address whose wait is cut short gets no row.
    void Stop(WorkerSet& workers, Worker& worker);

    // The run itself, on the calling thread, while running() holds.
    void Run(const std::vector<std::string>& wireAddresses, const BatchExchange& exchange,
             const std::function<bool()>& running);

private:
    AutoResetEvent m_stop;
};
