#pragma once
// The one runner of the batch tests over the address list: the steps are built before the run,
// on the user-interface thread; the run's thread sends each one, waits, judges the reply and
// hands the device's row to the window. The one writer of those rows into the address list.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "commands/batch_tests.h"
#include "link/byte_string.h"
#include "link/module_link.h"
#include "link/reply_queue.h"
#include "link/workers.h"
#include "platform/sync.h"
#include "platform/ui.h"

// One device of a run.
struct BatchStep {
    std::string wire;  // the device's address, wire form
    // The request. Empty when a field was refused as it was built: nothing is sent, the wait
    // and the judgement run all the same.
    ByteString frame;
};

// What a run hands to the window for one device.
struct BatchRow {
    std::string address;  // display form
    TestStatus status = TestStatus::Unchanged;
    std::string time;  // "" leaves the time column as it is
    ByteString reply;  // the reply judged last; empty when none came
};

// How a test's steps are served.
struct BatchPlan {
    ReplyQueue<ReplyEntry>* queue = nullptr;
    ArrivedFlag* arrived = nullptr;
    uint32_t waitMs = 1000;
    // Judges a reply that arrived within the wait, the oldest first.
    std::function<TestStatus(const std::string& wire, const ByteString& reply)> judge;
    // Unchanged from the judge (another device's reply) gives way to the next reply; without
    // it only the oldest reply is judged.
    bool othersGiveWay = false;
    // With a time: the reply's milliseconds, or the seconds of a silent device.
    bool writesTime = false;
    // Set: a step that finds no channel open is skipped (no send, no wait, no row) after this ran.
    std::function<void()> portClosed;
    // The request went out.
    std::function<void(const ByteString& frame)> sent;
    // One device is done.
    std::function<void(const BatchRow& row)> post;
    // The run is over, done or stopped.
    std::function<void()> ended;
};

// A batch test on a thread of its own; the plan's calls come from that thread. For each step
// the reply queue is emptied and its flag cleared, the request sent, the wait waited (Stop ends
// it at once, and the device gets no row), and the replies judged.
class BatchRunner {
public:
    // errorText: what a thread that could not start says.
    BatchRunner(ModuleLink& link, std::string errorText);
    ~BatchRunner();
    BatchRunner(const BatchRunner&) = delete;
    BatchRunner& operator=(const BatchRunner&) = delete;

    // Ends a run still going, then starts one. 0 when its thread could not start (ended does
    // not run then).
    int Start(std::vector<BatchStep> steps, BatchPlan plan);
    // Ends a run and waits for its thread.
    void Stop();
    // Clears the run flag without waiting: the run ends before its next step.
    void RequestStop() { m_worker.RequestStop(); }
    // Clears the run flag and waits for the thread without cutting the wait short: the device in
    // hand still has its wait and its row.
    void Finish();
    bool IsRunning() const { return m_worker.IsRunning(); }
    const Worker& ThreadWorker() const { return m_worker; }

private:
    void Run(const std::vector<BatchStep>& steps, const BatchPlan& plan);

    ModuleLink& m_link;
    std::string m_errorText;
    AutoResetEvent m_stop;
    Worker m_worker;
};

// ---- The rows in the address list ----

// Columns of the address list that the batch tests read and write.
namespace AddressColumn {
constexpr int kAddress = 1;
constexpr int kResult = 2;
constexpr int kTime = 3;
constexpr int kReset = 4;
}  // namespace AddressColumn

// The blank that the start of a test writes into a result cell.
constexpr const char* kBlankCell = " ";

// kBlankCell into the result, time and reset columns of every checked row.
void BlankCheckedResults(ListView list);
// A row's status, unless Unchanged, into the result column of the last row (checked or not)
// whose address is the row's; its time, unless empty, into the time column of every checked
// row with that address. Addresses compare as the tests send them: padded, upper-cased.
void WriteBatchRow(ListView list, const BatchRow& row);
