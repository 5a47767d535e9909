// What the tool adds to a meter's reply time. The meter-reading rounds read a meter behind the
// simulated module over a pseudo-terminal; the meter answers the moment its request is read.
// Each iteration is one reply, timed from the send to the moment the rounds record the answer.
// That time holds the gather's quiet time (the line must be quiet this long before a block is
// taken); the counters give it, the time beyond it that the tool adds, and the reply time the
// rounds record (whole milliseconds, as the page shows it).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <string>

#include "commands/meter_rounds.h"
#include "link/module_link.h"
#include "link/receive_gatherer.h"
#include "sim/dlt645_meter.h"
#include "sim/sim_module.h"
#include "support/quiet_link_listener.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPort = 96;
constexpr char kMeter[] = "201708180001";

// One answer: when its request went out, when the rounds recorded it, what they recorded.
struct Reply {
    Clock::time_point sent;
    Clock::time_point recorded;
    uint32_t recordedMs = 0;
};

class Replies {
public:
    void Sent() {
        std::lock_guard<std::mutex> lock(m_lock);
        m_sent = Clock::now();
    }
    void Recorded(const MeterReplyEntry& entry) {
        const Clock::time_point now = Clock::now();
        if (entry.valid != 1) return;
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_replies.push_back({m_sent, now, entry.elapsedMs});
        }
        m_changed.notify_all();
    }
    bool Next(Reply& reply) {
        std::unique_lock<std::mutex> lock(m_lock);
        if (!m_changed.wait_for(lock, std::chrono::seconds(5), [this] { return !m_replies.empty(); })) return false;
        reply = m_replies.front();
        m_replies.pop_front();
        return true;
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    Clock::time_point m_sent;
    std::deque<Reply> m_replies;
};

void BM_MeterReplyOverhead(benchmark::State& state) {
    kvtsim::SimModule sim;
    if (!sim.Start()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    kvtsim::Dlt645Meters meters(sim);
    meters.Add(kMeter);
    ::setenv(("KVT_COM" + std::to_string(kPort)).c_str(), sim.SlavePath().c_str(), 1);

    testsupport::QuietLinkListener listener;
    ModuleLink link(listener);
    link.CreateSerialComm();
    link.SerialComm()->SetSettings(SerialSettings{kPort, 115200, 8, 0, "1"});
    if (link.SerialComm()->Open() != SERIAL_OK || !link.StartGatherThread()) {
        state.SkipWithError("cannot open the port");
        return;
    }
    link.SetChannelMode(CHANNEL_SERIAL);
    link.SetPortOpen(true);

    Replies replies;
    RoundReports reports;
    reports.requestSent = [&replies](const ByteString&) { replies.Sent(); };
    reports.result = [&replies](const MeterReplyEntry& entry, const RoundStatistics&) { replies.Recorded(entry); };
    MeterRounds rounds(link, reports);
    RoundSettings settings;
    settings.mode = RoundWaitMode::Timeout;
    settings.identifier = DataIdentifierBytes("00010000");
    settings.start = settings.end = MeterAddressFromText(kMeter);
    settings.rounds = 0;
    settings.waitMs = 1000;
    settings.sendDelayMs = 0;
    rounds.Start(settings);

    using Ms = std::chrono::duration<double, std::milli>;
    const double quietMs = Ms(ReceiveGatherer::kQuietTime).count();
    double totalMs = 0;
    double recordedMs = 0;
    double worstMs = 0;
    for (auto _ : state) {
        Reply reply;
        if (!replies.Next(reply)) {
            state.SkipWithError("no answer");
            break;
        }
        const double ms = Ms(reply.recorded - reply.sent).count();
        state.SetIterationTime(ms / 1000.0);
        totalMs += ms;
        recordedMs += reply.recordedMs;
        worstMs = std::max(worstMs, ms);
    }
    rounds.Stop();
    link.Shutdown();

    const double n = static_cast<double>(state.iterations());
    if (n > 0) {
        state.counters["quiet_ms"] = quietMs;
        state.counters["reply_ms"] = totalMs / n;
        state.counters["added_ms"] = totalMs / n - quietMs;
        state.counters["worst_added_ms"] = worstMs - quietMs;
        state.counters["recorded_ms"] = recordedMs / n;
    }
}
BENCHMARK(BM_MeterReplyOverhead)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);

}  // namespace

BENCHMARK_MAIN();
