#include "commands/batch_runner.h"

#include <utility>

#include "platform/local_time.h"

BatchRunner::BatchRunner(ModuleLink& link, std::string errorText)
    : m_link(link), m_errorText(std::move(errorText)) {}

BatchRunner::~BatchRunner() { Stop(); }

int BatchRunner::Start(std::vector<BatchStep> steps, BatchPlan plan) {
    Stop();
    m_stop.Reset();
    auto procedure = [this, steps = std::move(steps), plan = std::move(plan)] {
        Run(steps, plan);
        m_worker.RequestStop();
        if (plan.ended) plan.ended();
    };
    return m_link.Workers().Start(m_worker, std::move(procedure), m_errorText);
}

void BatchRunner::Stop() {
    // The flag first: a run that has not looked at it yet ends there, one already waiting wakes.
    m_worker.RequestStop();
    m_stop.Set();
    m_link.Workers().Stop(m_worker);
}

void BatchRunner::Finish() {
    RequestStop();
    m_link.Workers().Stop(m_worker);
}

void BatchRunner::Run(const std::vector<BatchStep>& steps, const BatchPlan& p) {
    for (const BatchStep& step : steps) {
        if (!m_worker.IsRunning()) return;
        if (p.portClosed && !m_link.IsPortOpen()) {
            p.portClosed();
            continue;
        }
        p.queue->Clear();
        *p.arrived = 0;
        if (!step.frame.empty()) m_link.SendFrame(step.frame);
        const SystemTime sendTime = GetLocalTime();
        const uint64_t sendTick = GetTickCountMs();
        if (!step.frame.empty() && p.sent) p.sent(step.frame);
        if (m_stop.Wait(p.waitMs)) return;

        BatchRow row;
        row.address = SwapAddressOrder(step.wire);
        ReplyEntry reply;
        bool answered = false;
        while (*p.arrived == 1 && (!answered || (p.othersGiveWay && row.status == TestStatus::Unchanged)) &&
               p.queue->Pop(reply)) {
            answered = true;
            row.status = p.judge(step.wire, reply.frame);
        }
        if (answered) {
            row.reply = reply.frame;
            if (p.writesTime) row.time = ElapsedMsText(sendTime, reply.time);
        } else {
            row.status = TestStatus::Failure;
            if (p.writesTime) row.time = ElapsedSecondsText(GetTickCountMs() - sendTick);
        }
        if (p.post) p.post(row);
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
