#include "dialogs/add_device_dlg.h"

#include <cctype>
#include <iterator>

#include "dialogs/warning_dlg.h"
#include "link/code_text.h"
#include "link/conversions.h"
#include "link/field_tables.h"
#include "link/word_layouts.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"

namespace {

bool IsHexDigits(const std::string& text) {
    for (unsigned char c : text)
        if (!std::isxdigit(c)) return false;
    return true;
}

// The code of the combo's chosen entry; the fallback when nothing known is chosen.
uint8_t ChosenCode(const Dialog& dlg, int id, const CodeText* table, size_t size, uint8_t fallback) {
    uint8_t code = fallback;
    CodeOfText(table, size, ComboBox(dlg.GetDlgItem(id)).GetSelectedText(), code);
    return code;
}

template <size_t N>
void FillCombo(const Dialog& dlg, int id, const CodeText (&table)[N], uint8_t selected, uint8_t leaveOut = 0xFF) {
    ComboBox combo(dlg.GetDlgItem(id));
    for (const CodeText& entry : table)
        if (entry.code != leaveOut) combo.AddString(ChoiceText(entry));
    combo.SetCurSel(combo.FindStringExact(ChoiceText(table[selected])));
}

constexpr uint8_t kGatewayMode = 1;  // a device reported by the module is never the gateway

}  // namespace

CAddDeviceDlg::CAddDeviceDlg(int maxDevices) : Dialog(IDD_ADD_DEVICE), m_maxDevices(maxDevices) {
    MapCommand(IDC_ADD_DEVICE_ADD, Notify::Clicked, [this] { OnAdd(); });
    MapCommand(IDC_ADD_DEVICE_CONFIRM, Notify::Clicked, [this] { OnConfirmAdd(); });
    MapCommand(IDC_ADD_DEVICE_SELECT_ALL, Notify::Clicked, [this] { OnSelectAll(); });
    MapCommand(IDC_ADD_DEVICE_DELETE, Notify::Clicked, [this] { OnDeleteDevices(); });
}

bool CAddDeviceDlg::OnInitDialog() {
    m_deviceList = ListView(GetDlgItem(IDC_ADD_DEVICE_LIST));
    m_deviceList.SetExtendedStyle(ListView::kExGridLines | ListView::kExCheckBoxes | ListView::kExFullRowSelect);
    m_deviceList.InsertColumn(0, "序号", 60, ListView::kLeft);
    m_deviceList.InsertColumn(1, "设备信息", 560, ListView::kLeft);
    Edit(GetDlgItem(IDC_ADD_DEVICE_MAC)).SetLimitText(12);
    FillCombo(*this, IDC_ADD_DEVICE_NET_STATE, kNetStateNames, 0);
    FillCombo(*this, IDC_ADD_DEVICE_TYPE, kDeviceModeNames, 0, kGatewayMode);
    FillCombo(*this, IDC_ADD_DEVICE_ADDRESS_MODE, kMulticastFlagNames, 0);
    m_rowCount = 0;
    return true;
}

void CAddDeviceDlg::OnDestroy() { WarningBox().Dismiss(*this); }

void CAddDeviceDlg::PackDeviceInfoWord(ByteString& out, const DeviceInfoFields& fields) {
    using namespace device_info_word;
    const uint32_t word = kDepth.Put(fields.depth) | kNetState.Put(fields.netState) |
                          kDeviceType.Put(fields.deviceType) | kMulticast.Put(fields.multicastFlag) |
                          kReserved.Put(fields.topBits);
    AppendWord16(out, static_cast<uint16_t>(word));
}

bool CAddDeviceDlg::BuildDeviceRecord(const DeviceRecordInput& input, std::string& record, std::string& refusal,
                                      bool& plainBox) {
    plainBox = false;
    if (input.mac.empty() || input.mac.size() > 12 || !IsHexDigits(input.mac)) {
        refusal = "Mac地址应为1-12位十六进制数";
        return false;
    }
    std::string text = input.mac;
    ReverseHexBytes12(text);
    ByteString word;
    PackDeviceInfoWord(word, input.info);
    std::string wordText;
    BytesToHexText(wordText, word);
    text += wordText;
    if (input.info.multicastFlag & 1) {
        if (input.group.empty()) {
            refusal = "请输入组播地址";
            plainBox = true;
            return false;
        }
        if (input.group.size() > 4 || !IsHexDigits(input.group)) {
            refusal = "组播地址应为1-4位十六进制数";
            return false;
        }
        std::string group = input.group;
        ReverseHexBytes4(group);
        text += group;
    }
    if (!IsHexDigits(input.attribute)) {
        refusal = "属性应为十六进制数";
        return false;
    }
    // The length byte counts the bytes that follow it.
    ByteString attribute;
    if (!input.attribute.empty()) HexTextToBytes(input.attribute, attribute, 0);
    if (attribute.size() > kMaxAttributeBytes) {
        refusal = "属性不能超过255字节";
        return false;
    }
    std::string attributeText;
    BytesToHexText(attributeText, attribute);
    AppendFormat(text, "%02X", static_cast<unsigned>(attribute.size()));
    record = text + attributeText;
    return true;
}

DeviceRecordInput CAddDeviceDlg::ReadInputs() const {
    DeviceRecordInput input;
    input.mac = GetDlgItemText(IDC_ADD_DEVICE_MAC);
    input.group = GetDlgItemText(IDC_ADD_DEVICE_GROUP);
    input.attribute = GetDlgItemText(IDC_ADD_DEVICE_ATTRIBUTE);
    // Depth and the top bits have no field: they stay 0.
    input.info.netState = ChosenCode(*this, IDC_ADD_DEVICE_NET_STATE, kNetStateNames, std::size(kNetStateNames), 0);
    input.info.deviceType = ChosenCode(*this, IDC_ADD_DEVICE_TYPE, kDeviceModeNames, std::size(kDeviceModeNames), 0);
    input.info.multicastFlag =
        ChosenCode(*this, IDC_ADD_DEVICE_ADDRESS_MODE, kMulticastFlagNames, std::size(kMulticastFlagNames), 0);
    return input;
}

void CAddDeviceDlg::OnAdd() {
    m_rowCount = m_deviceList.GetItemCount();
    if (m_rowCount >= m_maxDevices) {
        WarningBox().Raise(*this, "已达到添加设备数目");
        return;
    }
    std::string record, refusal;
    bool plainBox = false;
    if (!BuildDeviceRecord(ReadInputs(), record, refusal, plainBox)) {
        if (plainBox)
            ShowMessageBox(refusal);
        else
            WarningBox().Raise(*this, refusal);
        return;
    }
    m_deviceList.AppendRow({StrFormat("%d", m_rowCount + 1), record});
    ++m_rowCount;
}

void CAddDeviceDlg::OnSelectAll() {
    const bool check = Button(GetDlgItem(IDC_ADD_DEVICE_SELECT_ALL)).GetCheck() == 1;
    for (int r = m_deviceList.GetItemCount() - 1; r >= 0; --r) m_deviceList.SetCheck(r, check);
}

void CAddDeviceDlg::OnDeleteDevices() {
    if (ShowMessageBox("确认要清除选中设备信息吗？", "提示", kMbOkCancel | kMbIconInformation) != kIdOk) return;
    for (int r = m_deviceList.GetItemCount() - 1; r >= 0; --r) {
        if (!m_deviceList.GetCheck(r)) continue;
        m_deviceList.DeleteItem(r);
        --m_rowCount;
    }
}

void CAddDeviceDlg::OnConfirmAdd() {
    m_deviceText.clear();
    const int rows = m_deviceList.GetItemCount();
    for (int r = 0; r < rows; ++r)
        if (m_deviceList.GetCheck(r)) m_deviceText += m_deviceList.GetItemText(r, 1);
    m_confirmed = true;
    EndDialog(kIdOk);
}
