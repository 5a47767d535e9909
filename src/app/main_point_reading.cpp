// Point reading from the main window: one request from the page's fields, automatic point
// reading over the checked rows of the address list, and the totals of its verdicts.

#include <cstdlib>
#include <utility>

#include "app/main_tester_dlg.h"
#include "commands/combo_mappers.h"
#include "commands/field_text.h"
#include "dialogs/frame_log.h"
#include "link/conversions.h"
#include "link/module_command.h"
#include "res/resource_ids.h"

namespace {

constexpr int kAddressColumn = 1;
constexpr int kGroupColumn = 5;
constexpr int kMacDigits = 12;
constexpr int kGroupDigits = 4;
constexpr char kNoGroup[] = "FFFF";

// The data length edit as 16 bits; false (said) when it is empty.
bool ReadPointReadLength(Dialog& page, uint16_t& length) {
    const std::string text = page.GetDlgItemText(IDC_POINT_READ_LENGTH);
    if (text.empty()) {
        ShowMessageBox("输入数据长度");
        return false;
    }
    length = static_cast<uint16_t>(std::atoi(text.c_str()));
    return true;
}

// Pieces of digits characters each.
std::vector<std::string> Pieces(const std::string& text, size_t digits) {
    std::vector<std::string> pieces;
    for (size_t i = 0; i + digits <= text.size(); i += digits) pieces.push_back(text.substr(i, digits));
    return pieces;
}

}  // namespace

void CMainTesterDlg::MapPointReadHandlers() {
    MapCommand(IDC_REMOTE_POINT_READ, Notify::Clicked, [this] { OnRemotePointRead(); });
    MapCommand(IDC_AUTO_POINT_READ, Notify::Clicked, [this] { OnAutoPointRead(); });
    MapCommand(IDC_STOP_POINT_READ, Notify::Clicked, [this] { OnStopPointRead(); });
    MapCommand(IDC_POINT_READ_STATISTICS, Notify::Clicked, [this] { OnStatistics(); });
}

BatchPlan CMainTesterDlg::MakePointReadPlan(uint32_t intervalMs) {
    BatchPlan plan;
    plan.queue = &m_link.Queues().pointRead;
    plan.arrived = &m_link.Queues().pointReadArrived;
    plan.waitMs = intervalMs;
    plan.writesTime = true;
    plan.judge = [](const std::string& mac, const ByteString& reply) { return JudgePointReadReply(reply, mac); };
    plan.sent = LogSentFrame(LogList::FrameLog);
    plan.post = [this](const BatchRow& row) { PostBatchRow(row); };
    plan.ended = [this] { PostTask([this] { EnablePointReadControls(); }); };
    return plan;
}

void CMainTesterDlg::OnRemotePointRead() {
    SendModuleCommand(
        CMD_POINT_READ,
        [](Dialog& page, ByteString& payload) {
            PointReadRequest request;
            GetMulticastFlag(page, request.multicast);
            GetStopBits(page, request.stopBits);
            if (request.multicast == 1) {
                request.group = page.GetDlgItemText(IDC_POINT_READ_MULTICAST);
                if (IsBlankField(request.group)) {
                    ShowMessageBox("请输入组播地址");
                    return false;
                }
                request.group = StripHexSeparators(request.group);
                ReverseHexBytes4(request.group);
            }
            request.mac = StripHexSeparators(page.GetDlgItemText(IDC_DST_ADDR));
            if (request.mac.empty()) {
                ShowMessageBox("地址域不能为空");
                return false;
            }
            ReverseHexBytes12(request.mac);
            if (!ReadPointReadLength(page, request.length)) return false;
            payload = BuildPointReadPayload(request);
            return true;
        },
        LogList::FrameLog);
}

void CMainTesterDlg::OnAutoPointRead() {
    m_pointReading.Stop();
    GetDlgItem(IDC_AUTO_POINT_READ).Enable(false);
    GetDlgItem(IDC_MULTICAST_MODE_COMBO).Enable(false);
    if (!m_link.IsPortOpen()) {
        ShowMessageBox("串口未开");
        EnablePointReadControls();
        return;
    }
    m_frameLogs[LogList::FrameLog].Clear();
    std::vector<BatchStep> steps;
    uint32_t intervalMs = 0;
    if (!PreparePointReadSteps(steps, intervalMs) ||
        m_pointReading.Start(std::move(steps), MakePointReadPlan(intervalMs)) == 0) {
        EnablePointReadControls();
    }
}

bool CMainTesterDlg::ReadPointReadInterval(uint32_t& intervalMs) {
    if (PointReadIntervalMs(GetDlgItemText(IDC_POINT_READ_INTERVAL), intervalMs)) return true;
    ShowMessageBox("输入点抄间隔");
    return false;
}

bool CMainTesterDlg::PreparePointReadSteps(std::vector<BatchStep>& steps, uint32_t& intervalMs) {
    if (!ReadPointReadInterval(intervalMs)) return false;

    PointReadRequest request;
    GetMulticastFlag(*this, request.multicast);
    GetStopBits(*this, request.stopBits);
    const std::vector<std::string> macs =
        Pieces(GatherCheckedColumn(m_addressList, kAddressColumn, kMacDigits / 2), kMacDigits);
    if (macs.empty()) {
        ShowMessageBox("请选择MAC地址");
        return false;
    }
    std::vector<std::string> groups(macs.size(), kNoGroup);
    if (request.multicast == 1) {
        const std::string gathered = GatherCheckedColumn(m_addressList, kGroupColumn, kGroupDigits / 2);
        if (gathered.empty()) {
            ShowMessageBox("请选择组播地址");
            return false;
        }
        groups = Pieces(gathered, kGroupDigits);
        if (groups.size() != macs.size()) {
            ShowMessageBox("组播地址与MAC地址个数不一致");
            return false;
        }
    }
    // The devices' turn: their rows are blanked before a field of the request can refuse.
    ClearCheckedResults();
    if (!ReadPointReadLength(*this, request.length)) return false;

    // Every frame is built here, on this thread, from the page as it stands at the start.
    for (size_t i = 0; i < macs.size(); ++i) {
        request.mac = macs[i];
        request.group = groups[i];
        BatchStep step;
        step.wire = macs[i];
        const PagePayload payload = [&request](Dialog&, ByteString& out) {
            out = BuildPointReadPayload(request);
            return true;
        };
        if (!BuildCommandFrame(*this, kMainHeaderCombos, CMD_POINT_READ, payload, step.frame)) return false;
        steps.push_back(std::move(step));
    }
    return true;
}

void CMainTesterDlg::EnablePointReadControls() {
    GetDlgItem(IDC_AUTO_POINT_READ).Enable(true);
    GetDlgItem(IDC_MULTICAST_MODE_COMBO).Enable(true);
}

void CMainTesterDlg::OnStopPointRead() {
    if (ShowMessageBox("确认要停止点抄吗？", "提示", kMbOkCancel | kMbIconInformation) != kIdOk) return;
    // Every run still records the device it waits for, then sends no more. The reset runs are
    // told first: one started while this waits goes on.
    m_resetReadRun.RequestStop();
    m_resetClearRun.RequestStop();
    m_pointReading.Finish();
    PumpMessages();  // the last row it posted is written before the buttons come back
    EnablePointReadControls();
    GetDlgItem(IDC_READ_RESET_INFO).Enable(true);
}

void CMainTesterDlg::OnStatistics() { ShowMessageBox(PointReadTotalsText(m_addressList), "统计"); }
