// Automatic point reading over the checked devices, and the one request of "远程点抄".

#include <utility>

#include "commands/address_jobs.h"
#include "commands/combo_mappers.h"
#include "commands/command_frame.h"
#include "commands/field_text.h"
#include "commands/point_reading.h"
#include "dialogs/number_text.h"
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
    length = static_cast<uint16_t>(LeadingWholeNumber(text));
    return true;
}

// Pieces of digits characters each.
std::vector<std::string> Pieces(const std::string& text, size_t digits) {
    std::vector<std::string> pieces;
    for (size_t i = 0; i + digits <= text.size(); i += digits) pieces.push_back(text.substr(i, digits));
    return pieces;
}

}  // namespace

bool RemotePointReadPayload(Dialog& page, ByteString& payload) {
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
}

PointReadingJob::PointReadingJob(JobWindow& window, ModuleLink& link)
    : AddressListJob(window, link,
                     {link.Queues().pointRead, link.Queues().pointReadArrived, "启动串口通讯线程失败",
                      {IDC_AUTO_POINT_READ, IDC_MULTICAST_MODE_COMBO}, LogList::FrameLog, {0, false, true, false}}) {}

void PointReadingJob::Start() {
    if (!BeginOnOpenChannel("串口未开")) return;
    m_window.Logs()[LogList::FrameLog].Clear();
    Dialog& page = m_window.Page();
    ListView list = m_window.AddressList();
    uint16_t length = 0;
    if (!ReadPointReadInterval(page, m_settings.waitMs)) return EnableControls(true);
    GetMulticastFlag(page, m_multicast);
    const std::vector<std::string> macs = Pieces(GatherCheckedColumn(list, kAddressColumn, kMacDigits / 2), kMacDigits);
    if (macs.empty()) {
        ShowMessageBox("请选择MAC地址");
        return EnableControls(true);
    }
    m_groups.assign(macs.size(), kNoGroup);
    if (m_multicast == 1) {
        const std::string gathered = GatherCheckedColumn(list, kGroupColumn, kGroupDigits / 2);
        if (gathered.empty()) {
            ShowMessageBox("请选择组播地址");
            return EnableControls(true);
        }
        m_groups = Pieces(gathered, kGroupDigits);
        if (m_groups.size() != macs.size()) {
            ShowMessageBox("组播地址与MAC地址个数不一致");
            return EnableControls(true);
        }
    }
    // The devices' turn: their rows are blanked before a field of the request can refuse.
    BlankCheckedResults(list);
    if (!ReadPointReadLength(page, length)) return EnableControls(true);
    Launch(macs);
}

StepRequest PointReadingJob::Request(size_t index, const std::string& mac) {
    StepRequest request;
    request.refused = StepRequest::Refused::EndRun;
    request.judge = [mac](const ByteString& reply) { return JudgePointReadReply(reply, mac); };
    PointReadRequest fields;
    fields.multicast = m_multicast;
    fields.mac = mac;
    fields.group = m_groups[index];
    const PagePayload payload = [&fields](Dialog& page, ByteString& out) {
        GetStopBits(page, fields.stopBits);
        if (!ReadPointReadLength(page, fields.length)) return false;
        out = BuildPointReadPayload(fields);
        return true;
    };
    if (!BuildCommandFrame(m_window.Page(), kMainHeaderCombos, CMD_POINT_READ, payload, request.frame))
        request.frame.clear();
    return request;
}
