// Reading and clearing the reset information of the checked devices of the address list.

#include <algorithm>
#include <cstdlib>

#include "app/main_tester_dlg.h"
#include "commands/combo_mappers.h"
#include "commands/reset_info.h"
#include "dialogs/frame_log.h"
#include "link/module_command.h"
#include "link/sub_commands.h"
#include "res/resource_ids.h"

void CMainTesterDlg::MapResetInfoHandlers() {
    MapCommand(IDC_READ_RESET_INFO, Notify::Clicked, [this] { OnReadResetInfo(); });
    MapCommand(IDC_AUTO_CLEAR_RESET, Notify::Clicked, [this] { OnAutoClearReset(); });
}

void CMainTesterDlg::OnReadResetInfo() { StartResetInfoRun(m_resetReadRun, IDC_READ_RESET_INFO, RESET_INFO_READ_REMOTE); }

void CMainTesterDlg::OnAutoClearReset() {
    StartResetInfoRun(m_resetClearRun, IDC_AUTO_CLEAR_RESET, RESET_INFO_CLEAR_REMOTE);
}

void CMainTesterDlg::StartResetInfoRun(BatchRunner& run, int button, uint8_t subCode) {
    run.Stop();
    GetDlgItem(button).Enable(false);
    if (!m_link.IsPortOpen()) {
        ShowMessageBox("串口未开");
        GetDlgItem(button).Enable(true);
        return;
    }
    m_frameLogs[LogList::FrameLog].Clear();
    std::vector<BatchStep> steps;
    uint32_t intervalMs = 0;
    if (!PrepareResetInfoSteps(subCode, steps, intervalMs)) {
        GetDlgItem(button).Enable(true);
        return;
    }

    BatchPlan plan;
    plan.queue = &m_link.Queues().resetInfo;
    plan.arrived = &m_link.Queues().pointReadArrived;
    plan.waitMs = intervalMs;
    plan.writesTime = true;
    plan.judge = [](const std::string& mac, const ByteString& reply) { return JudgeResetInfoReply(reply, mac); };
    plan.sent = LogSentFrame(LogList::FrameLog);
    const bool statistics = subCode == RESET_INFO_READ_REMOTE;
    plan.post = [this, statistics](const BatchRow& row) {
        PostTask([this, statistics, row] {
            WriteBatchRow(m_addressList, row);
            if (statistics && row.status == TestStatus::Success) SetResetStatisticsRow(row.address, row.reply);
        });
    };
    plan.ended = [this, button] { PostTask([this, button] { GetDlgItem(button).Enable(true); }); };
    if (run.Start(std::move(steps), std::move(plan)) == 0) GetDlgItem(button).Enable(true);
}

bool CMainTesterDlg::PrepareResetInfoSteps(uint8_t subCode, std::vector<BatchStep>& steps, uint32_t& intervalMs) {
    if (!ReadPointReadInterval(intervalMs)) return false;

    uint8_t multicast = 0;
    GetMulticastFlag(*this, multicast);
    const std::vector<ResetInfoTarget> targets = GatherResetInfoTargets(m_addressList);
    if (targets.empty()) return false;
    if (multicast == 1) {
        const size_t groups = std::count_if(targets.begin(), targets.end(),
                                            [](const ResetInfoTarget& t) { return !t.group.empty(); });
        if (groups == 0) {
            ShowMessageBox("请选择组播地址");
            return false;
        }
        if (groups != targets.size()) {
            ShowMessageBox("组播地址与MAC地址个数不一致");
            return false;
        }
    }
    for (const ResetInfoTarget& target : targets) {
        BatchStep step;
        step.wire = target.mac;
        const PagePayload payload = [&](Dialog&, ByteString& out) {
            out = BuildResetInfoPayload(subCode, multicast, target);
            return true;
        };
        if (!BuildCommandFrame(*this, kMainHeaderCombos, CMD_RESET_INFO, payload, step.frame)) return false;
        steps.push_back(std::move(step));
    }
    ClearCheckedResults();
    return true;
}
