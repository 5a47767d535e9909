#include "dialogs/radio_config_dlg.h"

#include "platform/text_format.h"
#include "res/resource_ids.h"

namespace {
constexpr const char* kPowerLevels[] = {"最高发射功率:16dBm", "次高发射功率:10dBm", "次低发射功率:4dBm",
                                        "最低发射功率:-2dBm"};
constexpr const char* kCutShort = "\nError:报文不完整\n";
}  // namespace

CRadioConfigDlg::CRadioConfigDlg() : Dialog(IDD_RADIO_CONFIG) {}

const char* CRadioConfigDlg::PowerLevelText(unsigned level) { return level < 4 ? kPowerLevels[level] : ""; }

bool CRadioConfigDlg::OnInitDialog() {
    Button(GetDlgItem(IDC_RADIO_READ)).SetCheck(1);
    Edit(GetDlgItem(IDC_RADIO_CHANNEL)).SetLimitText(2);
    ComboBox power(GetDlgItem(IDC_RADIO_POWER));
    for (const char* level : kPowerLevels) power.AddString(level);
    power.SetCurSel(0);
    return true;
}

int CRadioConfigDlg::ParseLocalConfigReply(std::string& text, const ByteString& data, size_t position) {
    if (position >= data.size()) return -1;
    const unsigned char code = data[position++];
    const size_t left = data.size() - position;
    switch (code) {
        case 0x10:
            text += "读取本地配置\n";
            if (left == 0) {
                text += kCutShort;
                return -1;
            }
            if (left == 1) {
                text += "\n";
                return static_cast<int>(position + 1);
            }
            AppendFormat(text, "信道组号：%d  ", data[position]);
            text += std::string("发射功率：") + PowerLevelText(data[position + 1]) + "\n";
            return static_cast<int>(position + 2);
        case 0x11:
            text += "设置信道组号  ";
            if (left == 0) {
                text += kCutShort;
                return -1;
            }
            AppendFormat(text, "信道组号：%d\n", data[position]);
            return static_cast<int>(position + 1);
        case 0x12:
            text += "设置发射功率  ";
            if (left == 0) {
                text += kCutShort;
                return -1;
            }
            text += std::string("发射功率：") + PowerLevelText(data[position]) + "\n";
            return static_cast<int>(position + 1);
        case 0xFF:
            // A missing answer byte reads as 0.
            if (left == 0) {
                text += "否认\n";
                return static_cast<int>(position);
            }
            text += std::string(data[position] != 0 ? "确认" : "否认") + "\n";
            return static_cast<int>(position + 1);
        default: return static_cast<int>(position);
    }
}

void CRadioConfigDlg::OnReceiveFrame(const ByteString& data) {
    std::string text = "接收<----：";
    for (unsigned char b : data) AppendFormat(text, "%02X ", b);
    text += "\n";
    if (ParseLocalConfigReply(text, data, 0) == -1) text += "报文解析失败\n";
    text += "---------------------------------------------\n";
    Edit(GetDlgItem(IDC_RADIO_LOG)).AppendText(text);
}
