#pragma once
// Times a batch run address by address: each request's send, its answer filed in its queue (the
// frame log hears of it right after), and its row posted. Also opens the link on a simulated
// module's pseudo-terminal, and the median and worst of a series.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "commands/batch_runner.h"
#include "link/module_link.h"
#include "sim/sim_module.h"
#include "support/quiet_link_listener.h"

namespace bench {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

struct BatchTurn {
    Clock::time_point sent;
    Clock::time_point filed;
    Clock::time_point posted;
    std::string time;
    TestStatus status = TestStatus::Unchanged;
};

// Also the run's job: it serves the devices' requests as given, answering on the run's thread.
class BatchTurns : public testsupport::QuietLinkListener, public UiThread, public BatchSteps {
public:
    // answerCommand: the command byte of the module's answer that the run waits for.
    explicit BatchTurns(uint8_t answerCommand) : m_answerCommand(answerCommand) {}

    // The devices of the run, their requests and the judge of their replies.
    std::vector<std::string> wires;
    std::vector<ByteString> frames;
    std::function<TestStatus(const std::string& wire, const ByteString& reply)> judge;

    void Post(std::function<void()> task) override { task(); }
    StepRequest Request(size_t index, const std::string& wire) override {
        StepRequest request;
        request.frame = frames[index];
        request.judge = [this, wire](const ByteString& reply) { return judge(wire, reply); };
        return request;
    }
    void Sent(const ByteString&) override { RecordSent(); }
    void Done(const BatchRow& row) override { Posted(row); }
    void Ended() override {}

    void RecordSent() {
        const Clock::time_point now = Clock::now();
        std::lock_guard<std::mutex> lock(m_lock);
        m_sends.push_back(now);
        m_current = BatchTurn{};
        m_current.sent = now;
    }
    void Posted(const BatchRow& row) {
        const Clock::time_point now = Clock::now();
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_current.posted = now;
            m_current.time = row.time;
            m_current.status = row.status;
            m_done.push_back(m_current);
        }
        m_changed.notify_all();
    }
    bool Next(BatchTurn& turn) {
        std::unique_lock<std::mutex> lock(m_lock);
        if (!m_changed.wait_for(lock, std::chrono::seconds(5), [this] { return !m_done.empty(); })) return false;
        turn = m_done.front();
        m_done.pop_front();
        return true;
    }
    // The next row, when it is a success whose answer was filed.
    bool NextAnswered(BatchTurn& turn) {
        return Next(turn) && turn.status == TestStatus::Success && turn.filed != Clock::time_point();
    }
    std::vector<Clock::time_point> Sends() {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_sends;
    }
    void OnLogFrame(LogList, const ByteString& frame) override {
        const Clock::time_point now = Clock::now();
        if (frame.size() < 6 || frame[4] != m_answerCommand || (frame[3] & 0x80) == 0) return;
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_current.filed == Clock::time_point()) m_current.filed = now;
    }

private:
    const uint8_t m_answerCommand;
    std::mutex m_lock;
    std::condition_variable m_changed;
    BatchTurn m_current;
    std::deque<BatchTurn> m_done;
    std::vector<Clock::time_point> m_sends;
};

// Opens COM<port> of the link on the simulated module's pseudo-terminal at 115200 baud, as the
// serial channel. False when it did not open.
inline bool OpenOnSim(ModuleLink& link, const kvtsim::SimModule& sim, int port) {
    ::setenv(("KVT_COM" + std::to_string(port)).c_str(), sim.SlavePath().c_str(), 1);
    link.CreateSerialComm();
    link.SerialComm()->SetSettings(SerialSettings{port, 115200, 8, 0, "1"});
    if (link.SerialComm()->Open() != SERIAL_OK || !link.StartGatherThread()) return false;
    link.SetChannelMode(CHANNEL_SERIAL);
    link.SetPortOpen(true);
    return true;
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline double Worst(const std::vector<double>& values) { return *std::max_element(values.begin(), values.end()); }

// Counters <name>_ms and <name>_max_ms: the series' median and worst.
inline void ReportSeries(benchmark::State& state, const std::string& name, const std::vector<double>& values) {
    state.counters[name + "_ms"] = Median(values);
    state.counters[name + "_max_ms"] = Worst(values);
}

}  // namespace bench
