#include "dialogs/local_settings_dlg.h"

#include <iterator>

#include "dialogs/warning_dlg.h"
#include "link/dlt645.h"
#include "link/conversions.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"

namespace {

constexpr const char* kChannelAddress = "000000000000";
constexpr uint8_t kChannelCode = 0x38;
constexpr uint8_t kDataOffset = 0x33;

std::string AddressText(const ByteString& reply) {
    std::string text;
    if (reply.size() >= 7) BytesToHexText(text, reply.substr(1, 6));
    return text;
}

// One whole DL/T 645 frame.
bool IsAnswerFrame(const ByteString& reply) { return !reply.empty() && Dlt645FrameAt(reply, 0) == reply.size(); }

const char* BaudRateText(uint8_t code) {
    static const char* const kRates[] = {"自适应", "1200", "2400", "4800", "9600", "19200"};
    return code < 6 ? kRates[code] : "无效值";
}

}  // namespace

CLocalSettingsDlg::CLocalSettingsDlg(MainWindowPort& window) : Dialog(IDD_LOCAL_SETTINGS), m_window(window) {
    MapCommand(IDC_LOCAL_AUTO_SYNC, Notify::Clicked, [this] { OnAutoSync(); });
    MapCommand(IDC_LOCAL_SET_CHANNEL, Notify::Clicked, [this] { OnSetChannelGroup(); });
    MapCommand(IDC_LOCAL_READ_CHANNEL, Notify::Clicked, [this] { OnReadChannelGroup(); });
}

bool CLocalSettingsDlg::OnInitDialog() {
    Edit(GetDlgItem(IDC_LOCAL_METER_ADDRESS)).SetLimitText(12);
    Edit(GetDlgItem(IDC_LOCAL_CHANNEL)).SetLimitText(2);
    return true;
}

void CLocalSettingsDlg::OnDestroy() {
    m_window.WatchNodeAnswer(false, ByteString());
    WarningBox().Dismiss(*this);
}

ByteString CLocalSettingsDlg::BuildSyncFrame(const std::string& address) {
    return Dlt645Frame(MeterAddressBytes(address), 0x1F, ByteString{0x49, 0x78, 0x3A});
}

ByteString CLocalSettingsDlg::BuildSetChannelFrame(uint8_t channelByte) {
    return Dlt645Frame(ByteString(6, 0), kChannelCode, ByteString(1, channelByte));
}

ByteString CLocalSettingsDlg::BuildReadChannelFrame() { return Dlt645Frame(ByteString(6, 0), kChannelCode, {}); }

bool CLocalSettingsDlg::ReadChannelGroup(const std::string& typed, uint8_t& channel, std::string& refusal) {
    std::string text = WithoutHexBlanks(typed);
    if (text.empty()) {
        refusal = "信道组不能为空";
        return false;
    }
    PadLeftZeros(text, 1);
    if (text.size() > 2 || !IsBcdText(text)) {
        refusal = "信道组只能占一个字节或不是BCD格式";
        return false;
    }
    ByteString bytes;
    HexTextToBytes(text, bytes, 0);
    BcdBytesToBinary(bytes, -1);
    if (bytes.empty() || bytes[0] < 1 || bytes[0] > 32) {
        refusal = "信道范围为1-32";
        return false;
    }
    channel = static_cast<uint8_t>(bytes[0] + kDataOffset);
    return true;
}

bool CLocalSettingsDlg::DecodeNodeParameters(const ByteString& reply, const std::string& addressText,
                                             std::string& text, uint8_t& channelGroup) {
    text = "抄读GPIB信息:\r\n";
    // The 26 parameters lie in the data, before the check sum.
    if (!IsAnswerFrame(reply) || reply[8] != 0x9F || reply[12] != 0x3A || reply.size() < 39 + 2) return false;
    if (AddressText(reply) != addressText) {
        text += "地址错误";
        return false;
    }
    unsigned char q[26];
    for (int i = 0; i < 26; ++i) q[i] = static_cast<unsigned char>(reply[static_cast<size_t>(13 + i)] - kDataOffset);
    text += "长地址: ";
    for (int i = 5; i >= 0; --i) AppendFormat(text, "%02X", q[i]);
    text += "\r\n";
    AppendFormat(text, "短地址:    0x%02X%02X\r\n", q[7], q[6]);
    AppendFormat(text, "PanID: 0x%02X%02X\r\n", q[9], q[8]);
    AppendFormat(text, "slot:  %02d%02d\r\n", q[11], q[10]);
    text += "RTLID:  ";
    for (int i = 12; i < 18; ++i) AppendFormat(text, "%02X", q[i]);
    text += "\r\n";
    AppendFormat(text, "depth: %02d\r\n", q[18]);
    AppendFormat(text, "wkchgp:    %02d\r\n", q[19]);
    AppendFormat(text, "power: %02d\r\n", q[20]);
    AppendFormat(text, "thresd:    %02d\r\n", q[21]);
    text += std::string("波特率:  ") + BaudRateText(q[22]) + "\r\n";
    AppendFormat(text, "ndmt:  %02d\r\n", q[23]);
    AppendFormat(text, "event: %02d\r\n", q[24]);
    AppendFormat(text, "cap:   %02d\r\n", q[25]);
    channelGroup = q[19];
    return true;
}

bool CLocalSettingsDlg::DecodeSetChannelResult(const ByteString& reply, const std::string& addressText,
                                               std::string& text) {
    text = "设置信道信息:\r\n";
    const bool done = IsAnswerFrame(reply) && AddressText(reply) == addressText &&
                      (reply[8] & 0x3F) == kChannelCode && (reply[8] & 0x40) == 0;
    text += done ? "设置信道成功" : "设置信道失败";
    return done;
}

bool CLocalSettingsDlg::DecodeReadChannelResult(const ByteString& reply, const std::string& addressText,
                                                std::string& text) {
    text = "读取信道信息:\r\n";
    const bool done = IsAnswerFrame(reply) && AddressText(reply) == addressText && reply[9] == 4;
    if (done)
        AppendFormat(text, "%02d", static_cast<uint8_t>(reply[13] - kDataOffset));
    else
        text += "读取信道失败";
    return done;
}

void CLocalSettingsDlg::AppendSyncResult(const std::string& text) {
    SetDlgItemText(IDC_LOCAL_SYNC_RESULT, text + "\r\n");
}

void CLocalSettingsDlg::AppendChannelResult(const std::string& text) {
    SetDlgItemText(IDC_LOCAL_CHANNEL_RESULT, text + "\r\n");
}

void CLocalSettingsDlg::SendRequest(ByteString frame, const std::string& addressText, int timer) {
    m_frameAddress = addressText;
    ByteString address;
    HexTextToBytes(addressText, address, 0);
    m_window.WatchNodeAnswer(true, address);
    m_ticks[timer] = 0;
    m_window.SendFrame(std::move(frame));  // recorded once, as sent
    SetTimer(timer, 100);
}

bool CLocalSettingsDlg::SendSyncFrame() {
    const std::string typed = GetDlgItemText(IDC_LOCAL_METER_ADDRESS);
    std::string padded = typed;
    PadLeftZeros(padded, 11);
    ByteString bytes;
    HexTextToBytes(padded, bytes, 0);
    // An address that is not 12 BCD digits at most is not sent.
    if (typed.size() > 12 || padded.find_first_not_of("0123456789") != std::string::npos ||
        !IsBcdBytes(bytes, 0, -1)) {
        WarningBox().Raise(*this, "表地址地址过长或不是BCD格式");
        return false;
    }
    std::string wire = padded;
    ReverseHexBytes12(wire);
    SendRequest(BuildSyncFrame(padded), wire, LOCAL_TIMER_SYNC_REPLY);
    return true;
}

bool CLocalSettingsDlg::SendChannelFrame() {
    uint8_t channel = 0;
    std::string refusal;
    if (!ReadChannelGroup(GetDlgItemText(IDC_LOCAL_CHANNEL), channel, refusal)) {
        WarningBox().Raise(*this, refusal);
        return false;
    }
    SendRequest(BuildSetChannelFrame(channel), kChannelAddress, LOCAL_TIMER_SET_CHANNEL);
    return true;
}

void CLocalSettingsDlg::OnAutoSync() {
    m_syncDone = m_channelDone = false;
    m_channelGroupText.clear();
    if (!SendSyncFrame()) return;
    m_ticks[LOCAL_TIMER_AUTO_SYNC] = 0;
    SetTimer(LOCAL_TIMER_AUTO_SYNC, 100);
}

void CLocalSettingsDlg::OnSetChannelGroup() { SendChannelFrame(); }

void CLocalSettingsDlg::OnReadChannelGroup() {
    SendRequest(BuildReadChannelFrame(), kChannelAddress, LOCAL_TIMER_READ_CHANNEL);
}

bool CLocalSettingsDlg::TakeReply(ByteString& reply, int timer, bool syncPane) {
    reply = m_window.TakeNodeAnswer();
    if (reply.size() < 9) return false;
    if (reply[8] & 0x40) {  // the node's abnormal answer
        KillTimer(timer);
        if (syncPane)
            AppendSyncResult("异常回复");
        else
            AppendChannelResult("异常回复");
        return false;
    }
    return true;
}

void CLocalSettingsDlg::OnTimer(int id) {
    if (id < 0 || id >= static_cast<int>(std::size(m_ticks))) return;
    const int ticks = ++m_ticks[id];
    ByteString reply;
    std::string text;
    switch (id) {
        case LOCAL_TIMER_AUTO_SYNC:
            if (m_syncDone) {
                KillTimer(id);
                SetDlgItemText(IDC_LOCAL_CHANNEL, m_channelGroupText);
                if (!SendChannelFrame()) {
                    AppendSyncResult("同步失败");
                    return;
                }
                m_ticks[LOCAL_TIMER_SYNC_CHANNEL] = 0;
                SetTimer(LOCAL_TIMER_SYNC_CHANNEL, 100);
            } else if (ticks >= kSyncStepTicks) {
                KillTimer(id);
                AppendSyncResult("同步失败");
            }
            break;
        case LOCAL_TIMER_SYNC_CHANNEL:
            if (m_channelDone) {
                KillTimer(id);
                AppendSyncResult("同步成功");
            } else if (ticks >= kSyncStepTicks) {
                KillTimer(id);
                AppendSyncResult("同步失败");
            }
            break;
        case LOCAL_TIMER_SYNC_REPLY: {
            uint8_t group = 0;
            if (TakeReply(reply, id, true)) {
                const bool done = DecodeNodeParameters(reply, m_frameAddress, text, group);
                AppendSyncResult(text);
                if (done) {
                    KillTimer(id);
                    m_channelGroupText = StrFormat("%02d", group);
                    m_syncDone = true;
                    break;
                }
            }
            if (IsTimerRunning(id) && ticks >= kReplyTicks) {
                KillTimer(id);
                AppendSyncResult("超时");
            }
            break;
        }
        case LOCAL_TIMER_SET_CHANNEL:
        case LOCAL_TIMER_READ_CHANNEL:
            if (TakeReply(reply, id, false)) {
                const bool done = id == LOCAL_TIMER_SET_CHANNEL ? DecodeSetChannelResult(reply, m_frameAddress, text)
                                                                 : DecodeReadChannelResult(reply, m_frameAddress, text);
                AppendChannelResult(text);
                if (done) {
                    KillTimer(id);
                    if (id == LOCAL_TIMER_SET_CHANNEL) m_channelDone = true;
                    break;
                }
            }
            if (IsTimerRunning(id) && ticks >= kReplyTicks) {
                KillTimer(id);
                AppendChannelResult("超时");
            }
            break;
        default: break;
    }
}
