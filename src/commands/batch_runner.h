#pragma once
// The one runner of the batch tests over the address list. The run's thread walks the devices:
// for each it asks the window's thread for the request, read from the page as it stands then,
// empties the reply queue, sends, waits, judges the replies and hands the device's row to its
// job. The one writer of those rows into the address list.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "commands/batch_tests.h"
#include "link/byte_string.h"
#include "link/module_link.h"
#include "link/reply_source.h"
#include "link/workers.h"
#include "platform/sync.h"
#include "platform/ui.h"

// The request of one device, read from the page when the run reaches it.
struct StepRequest {
    // What a refused request does: the device still has its wait and fails, is passed over
    // without a wait or a row, or ends the run.
    enum class Refused { WaitAndFail, Skip, EndRun };
    ByteString frame;  // empty: refused (its message shown), nothing is sent
    Refused refused = Refused::WaitAndFail;
    // Judges a reply that arrived within the wait; set with a frame.
    std::function<TestStatus(const ByteString& reply)> judge;
};

// What a run hands to its job for one device.
struct BatchRow {
    std::string address;  // display form
    TestStatus status = TestStatus::Unchanged;
    std::string time;  // "" leaves the time column as it is
    ByteString reply;  // the reply judged last; empty when none came
};

// Runs tasks later on the window's thread, from any thread.
class UiThread {
public:
    virtual ~UiThread() = default;
    virtual void Post(std::function<void()> task) = 0;
};

// What a run asks of its job.
class BatchSteps {
public:
    virtual ~BatchSteps() = default;
    // On the window's thread, when the run reaches the device (index: its place in the run).
    virtual StepRequest Request(size_t index, const std::string& wire) = 0;
    // The rest on the run's thread. The request went out.
    virtual void Sent(const ByteString& frame) = 0;
    // One device is done.
    virtual void Done(const BatchRow& row) = 0;
    // A device passed over because no channel is open (runs that skip them).
    virtual void PortClosed() {}
    // The run is over, done or stopped.
    virtual void Ended() = 0;
};

// How a run serves its devices.
struct BatchSettings {
    uint32_t waitMs = 1000;
    // Unchanged from the judge (another device's reply) gives way to the next reply; without
    // it only the oldest reply is judged.
    bool othersGiveWay = false;
    // With a time: the reply's milliseconds, or the seconds of a silent device.
    bool writesTime = false;
    // A device that finds no channel open is passed over (no request, no wait, no row).
    bool skipsWithoutPort = false;
};

// A batch test on a thread of its own. Stop ends a wait for the window's answer or for the
// replies at once, and the device in hand gets no row.
class BatchRunner {
public:
    // errorText: what a thread that could not start says.
    BatchRunner(ModuleLink& link, UiThread& ui, ReplySource& replies, std::string errorText);
    ~BatchRunner();
    BatchRunner(const BatchRunner&) = delete;
    BatchRunner& operator=(const BatchRunner&) = delete;

    // Ends a run still going, then starts one over the devices (wire forms). 0 when its
    // thread could not start (Ended is not called then).
    int Start(std::vector<std::string> wires, const BatchSettings& settings, BatchSteps& steps);
    // Ends a run and waits for its thread.
    void Stop();
    // Ends a run's wait and clears its flag without waiting for the thread.
    void Interrupt();
    // Clears the run flag without waiting: the run ends before its next device.
    void RequestStop() { m_worker.RequestStop(); }
    // Clears the run flag and waits for the thread without cutting the wait short: the device in
    // hand still has its wait and its row.
    void Finish();
    bool IsRunning() const { return m_worker.IsRunning(); }
    // Its thread has not ended yet (it may be finishing the device in hand).
    bool IsActive() const;

private:
    void Run(const std::vector<std::string>& wires, const BatchSettings& settings, BatchSteps& steps);
    // The device's request from the window's thread; false when the run was stopped meanwhile.
    bool Ask(BatchSteps& steps, size_t index, const std::string& wire, StepRequest& request);

    ModuleLink& m_link;
    UiThread& m_ui;
    ReplySource& m_replies;
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
