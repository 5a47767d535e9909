#include "commands/batch_runner.h"

#include <atomic>
#include <memory>
#include <utility>

#include "platform/local_time.h"

BatchRunner::BatchRunner(ModuleLink& link, UiThread& ui, ReplySource& replies, std::string errorText)
    : m_link(link), m_ui(ui), m_replies(replies), m_errorText(std::move(errorText)) {}

BatchRunner::~BatchRunner() { Stop(); }

int BatchRunner::Start(std::vector<std::string> wires, const BatchSettings& settings, BatchSteps& steps) {
    Stop();
    m_stop.Reset();
    auto procedure = [this, wires = std::move(wires), settings, &steps] {
        Run(wires, settings, steps);
        m_worker.RequestStop();
        steps.Ended();
    };
    return m_link.Workers().Start(m_worker, std::move(procedure), m_errorText);
}

void BatchRunner::Interrupt() {
    // The flag first: a run that has not looked at it yet ends there, one already waiting wakes.
    m_worker.RequestStop();
    m_stop.Set();
}

void BatchRunner::Stop() {
    Interrupt();
    m_link.Workers().Stop(m_worker);
}

void BatchRunner::Finish() {
    RequestStop();
    m_link.Workers().Stop(m_worker);
}

bool BatchRunner::IsActive() const {
    const std::shared_ptr<WorkerThread> thread = m_worker.Thread();
    return thread && !thread->IsFinished();
}

bool BatchRunner::Ask(BatchSteps& steps, size_t index, const std::string& wire, StepRequest& request) {
    // The answer is handed over through this record; a run that stops leaves it cancelled, and a
    // task that runs after that reads nothing.
    struct Pending {
        std::atomic<bool> cancelled{false};
        bool answered = false;
        AutoResetEvent ready;
        StepRequest request;
    };
    const auto pending = std::make_shared<Pending>();
    m_ui.Post([this, pending, &steps, index, wire] {
        if (pending->cancelled) return;
        if (m_worker.IsRunning()) {
            pending->request = steps.Request(index, wire);
            pending->answered = true;
        }
        pending->ready.Set();
    });
    if (WaitForAnyEvent({&m_stop, &pending->ready}, kWaitInfinite) != 1) {
        pending->cancelled = true;
        return false;
    }
    if (!pending->answered || !m_worker.IsRunning()) return false;
    request = std::move(pending->request);
    return true;
}

void BatchRunner::Run(const std::vector<std::string>& wires, const BatchSettings& s, BatchSteps& steps) {
    for (size_t index = 0; index < wires.size(); ++index) {
        const std::string& wire = wires[index];
        if (!m_worker.IsRunning()) return;
        if (s.skipsWithoutPort && !m_link.IsPortOpen()) {
            steps.PortClosed();
            continue;
        }
        StepRequest request;
        if (!Ask(steps, index, wire, request)) return;
        if (request.frame.empty() && request.refused == StepRequest::Refused::Skip) continue;
        if (request.frame.empty() && request.refused == StepRequest::Refused::EndRun) return;
        m_replies.Flush();
        if (!request.frame.empty()) m_link.SendFrame(request.frame);
        const SystemTime sendTime = GetLocalTime();
        const uint64_t sendTick = GetTickCountMs();
        if (!request.frame.empty()) steps.Sent(request.frame);
        if (m_stop.Wait(s.waitMs)) return;

        BatchRow row;
        row.address = SwapAddressOrder(wire);
        ReplyEntry reply;
        bool answered = false;
        while (m_replies.Arrived() && (!answered || (s.othersGiveWay && row.status == TestStatus::Unchanged)) &&
               m_replies.Pop(reply)) {
            answered = true;
            row.status = request.judge ? request.judge(reply.frame) : TestStatus::Failure;
        }
        if (answered) {
            row.reply = reply.frame;
            if (s.writesTime) row.time = ElapsedMsText(sendTime, reply.time);
        } else {
            row.status = TestStatus::Failure;
            if (s.writesTime) row.time = ElapsedSecondsText(GetTickCountMs() - sendTick);
        }
        steps.Done(row);
    }
}

// ---- The rows in the address list ----

void BlankCheckedResults(ListView list) {
    for (int r = list.GetItemCount(); r-- > 0;) {
        if (!list.GetCheck(r)) continue;
        for (int c : {AddressColumn::kResult, AddressColumn::kTime, AddressColumn::kReset})
            list.SetItemText(r, c, kBlankCell);
    }
}

void WriteBatchRow(ListView list, const BatchRow& row) {
    const std::string wire = SwapAddressOrder(row.address);
    const int rows = list.GetItemCount();
    if (row.status != TestStatus::Unchanged) {
        for (int r = rows; r-- > 0;) {
            if (SwapAddressOrder(list.GetItemText(r, AddressColumn::kAddress)) != wire) continue;
            list.SetItemText(r, AddressColumn::kResult, StatusText(row.status));
            break;
        }
    }
    if (row.time.empty()) return;
    for (int r = rows; r-- > 0;) {
        if (list.GetCheck(r) && SwapAddressOrder(list.GetItemText(r, AddressColumn::kAddress)) == wire)
            list.SetItemText(r, AddressColumn::kTime, row.time);
    }
}
