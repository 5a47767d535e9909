// Parameter configuration over the checked addresses of the address list.

#include "app/main_tester_dlg.h"
#include "commands/config_params.h"
#include "link/module_command.h"

namespace {

constexpr int kConfigControls[] = {IDC_CONFIG_PARAMS, IDC_CONFIG_INDEX, IDC_CONFIG_DATA};

}  // namespace

void CMainTesterDlg::EnableConfigControls(bool enable) {
    for (int id : kConfigControls) GetDlgItem(id).Enable(enable);
}

void CMainTesterDlg::OnConfigParams() {
    m_configRun.Stop();
    EnableConfigControls(false);
    if (!m_link.IsPortOpen()) {
        ShowMessageBox("串口未开");
        EnableConfigControls(true);
        return;
    }
    std::vector<std::string> addresses;
    if (!GatherCheckedAddresses(addresses, kMaxDataTestAddresses)) {
        EnableConfigControls(true);
        return;
    }
    ClearCheckedResults();
    // The fields are read once, before the run: the same values are sent and checked. With one
    // empty, each address is refused in turn with its message: nothing sent, its row left blank.
    const std::string indexText = GetDlgItemText(IDC_CONFIG_INDEX);
    const std::string dataText = GetDlgItemText(IDC_CONFIG_DATA);
    if (indexText.empty() || dataText.empty()) {
        for (size_t i = 0; i < addresses.size(); ++i)
            ShowMessageBox(indexText.empty() ? "请输入index值" : "请输入data值");
        EnableConfigControls(true);
        return;
    }
    const uint8_t index = ConfigIndexValue(indexText);
    const uint32_t data = ConfigDataValue(dataText);
    std::vector<BatchStep> steps;
    for (const std::string& wire : addresses) {
        const PagePayload payload = [&](Dialog&, ByteString& bytes) {
            BuildConfigParamsPayload(wire, index, data, bytes);
            return true;
        };
        ByteString frame;
        BuildCommandFrame(*this, kMainHeaderCombos, CMD_CONFIG_PARAMS, payload, frame);
        steps.push_back({wire, std::move(frame)});
    }

    BatchPlan plan;
    plan.queue = &m_link.Queues().config;
    plan.arrived = &m_link.Queues().configArrived;
    plan.waitMs = kConfigWaitMs;
    plan.judge = [index, data](const std::string& wire, const ByteString& reply) {
        return JudgeConfigReply(reply, wire, index, data);
    };
    plan.sent = LogSentFrame(LogList::FrameLog);
    plan.post = [this](const BatchRow& row) { PostBatchRow(row); };
    plan.ended = [this] { PostTask([this] { EnableConfigControls(true); }); };
    if (!m_configRun.Start(std::move(steps), std::move(plan))) EnableConfigControls(true);
}
