// Reset information read or cleared, and parameter configuration, over the checked devices.

#include <algorithm>

#include "commands/address_jobs.h"
#include "commands/combo_mappers.h"
#include "commands/command_frame.h"
#include "commands/config_params.h"
#include "commands/reset_info.h"
#include "link/module_command.h"
#include "link/sub_commands.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"

namespace {

constexpr int kAddressColumn = 1;
constexpr int kResetColumn = 4;
constexpr int kFirstCountColumn = 6;

}  // namespace

void WriteResetStatisticsRow(ListView list, const std::string& address, const ByteString& frame) {
    ResetStatistics stats;
    if (!ReadResetStatistics(frame, stats)) return;
    const std::string wire = SwapAddressOrder(address);
    for (int r = list.GetItemCount(); r-- > 0;) {
        if (SwapAddressOrder(list.GetItemText(r, kAddressColumn)) != wire) continue;
        list.SetItemText(r, kResetColumn, stats.resetWord);
        for (int k = 0; k < 4; ++k)
            list.SetItemText(r, kFirstCountColumn + k, StrFormat("%u", static_cast<unsigned>(stats.counts[k])));
        return;
    }
}

// ---- Reset information ----

ResetInfoJob::ResetInfoJob(JobWindow& window, ModuleLink& link, int button, uint8_t subCode)
    : AddressListJob(window, link,
                     {link.Queues().resetInfo, link.Queues().pointReadArrived, "启动导入线程失败", {button},
                      LogList::FrameLog, {0, false, true, false}}),
      m_subCode(subCode) {}

void ResetInfoJob::Start() {
    if (!BeginOnOpenChannel("串口未开")) return;
    m_window.Logs()[LogList::FrameLog].Clear();
    Dialog& page = m_window.Page();
    if (!ReadPointReadInterval(page, m_settings.waitMs)) return EnableControls(true);
    GetMulticastFlag(page, m_multicast);
    const std::vector<ResetInfoTarget> targets = GatherResetInfoTargets(m_window.AddressList());
    if (targets.empty()) return EnableControls(true);
    if (m_multicast == 1) {
        const size_t groups = std::count_if(targets.begin(), targets.end(),
                                            [](const ResetInfoTarget& t) { return !t.group.empty(); });
        if (groups == 0) {
            ShowMessageBox("请选择组播地址");
            return EnableControls(true);
        }
        if (groups != targets.size()) {
            ShowMessageBox("组播地址与MAC地址个数不一致");
            return EnableControls(true);
        }
    }
    std::vector<std::string> macs;
    m_groups.clear();
    for (const ResetInfoTarget& target : targets) {
        macs.push_back(target.mac);
        m_groups.push_back(target.group);
    }
    BlankCheckedResults(m_window.AddressList());
    Launch(std::move(macs));
}

StepRequest ResetInfoJob::Request(size_t index, const std::string& mac) {
    StepRequest request;
    const ResetInfoTarget target{mac, m_groups[index]};
    const PagePayload payload = [&](Dialog&, ByteString& out) {
        out = BuildResetInfoPayload(m_subCode, m_multicast, target);
        return true;
    };
    if (!BuildCommandFrame(m_window.Page(), kMainHeaderCombos, CMD_RESET_INFO, payload, request.frame))
        request.frame.clear();
    request.judge = [mac](const ByteString& reply) { return JudgeResetInfoReply(reply, mac); };
    return request;
}

void ResetInfoJob::WriteRow(const BatchRow& row) {
    AddressListJob::WriteRow(row);
    if (m_subCode == RESET_INFO_READ_REMOTE && row.status == TestStatus::Success)
        WriteResetStatisticsRow(m_window.AddressList(), row.address, row.reply);
}

// ---- Parameter configuration ----

ConfigParamsJob::ConfigParamsJob(JobWindow& window, ModuleLink& link)
    : AddressListJob(window, link,
                     {link.Queues().config, link.Queues().configArrived, "启动串口通讯线程失败",
                      {IDC_CONFIG_PARAMS, IDC_CONFIG_INDEX, IDC_CONFIG_DATA}, LogList::FrameLog,
                      {kConfigWaitMs, false, false, false}}) {}

void ConfigParamsJob::Start() {
    if (!BeginOnOpenChannel("串口未开")) return;
    LaunchOverChecked(kMaxDataTestAddresses);
}

StepRequest ConfigParamsJob::Request(size_t, const std::string& wire) {
    // The values sent are the values checked. With an edit empty the device is refused with its
    // message: nothing sent, no wait, its row left blank.
    StepRequest request;
    request.refused = StepRequest::Refused::Skip;
    const std::string indexText = m_window.Page().GetDlgItemText(IDC_CONFIG_INDEX);
    const std::string dataText = m_window.Page().GetDlgItemText(IDC_CONFIG_DATA);
    if (indexText.empty() || dataText.empty()) {
        ShowMessageBox(indexText.empty() ? "请输入index值" : "请输入data值");
        return request;
    }
    const uint8_t index = ConfigIndexValue(indexText);
    const uint32_t data = ConfigDataValue(dataText);
    const PagePayload payload = [&](Dialog&, ByteString& bytes) {
        BuildConfigParamsPayload(wire, index, data, bytes);
        return true;
    };
    if (!BuildCommandFrame(m_window.Page(), kMainHeaderCombos, CMD_CONFIG_PARAMS, payload, request.frame))
        request.frame.clear();
    request.judge = [wire, index, data](const ByteString& reply) { return JudgeConfigReply(reply, wire, index, data); };
    return request;
}
