// Readers of the command pages' edits: each checks its field, shows its message when the field
// cannot be used, and appends the field's bytes to the payload.

#include "app/main_tester_dlg.h"
#include "commands/field_text.h"
#include "platform/text_format.h"

namespace {

// An edit that holds nothing but separators is as empty as one that holds nothing.
bool IsBlank(const std::string& text) { return StripHexSeparators(text).empty(); }

}  // namespace

void CMainTesterDlg::ReverseHexBytes12(std::string& text) { ReverseHexPairs(text, 6); }

void CMainTesterDlg::ReverseHexBytes4(std::string& text) { ReverseHexPairs(text, 2); }

bool CMainTesterDlg::ReadDepth(uint8_t& depth) {
    const std::string text = GetDlgItemText(3005);
    if (text.empty()) {
        ShowMessageBox("depth域不能为空");
        return false;
    }
    depth = DepthFromText(text);
    return true;
}

bool CMainTesterDlg::ReadAddressField(int editId, ByteString& payload, uint8_t targetMode) {
    if (targetMode == 0) return true;
    if (targetMode > 5) return false;
    const std::string text = GetDlgItemText(editId);
    if (IsBlank(text)) {
        ShowMessageBox("地址域不能为空");
        return false;
    }
    AppendAddressText(text, payload);
    return true;
}

bool CMainTesterDlg::ReadMulticastAddress(int editId, ByteString& payload) {
    const std::string text = GetDlgItemText(editId);
    if (IsBlank(text)) {
        ShowMessageBox("请输入组播地址");
        return false;
    }
    AppendMulticastText(text, payload);
    return true;
}

bool CMainTesterDlg::ReadDataEdit(int editId, ByteString& payload) {
    AppendDataText(GetDlgItemText(editId), payload);
    return true;
}

bool CMainTesterDlg::ReadPortNumber(int editId, ByteString& payload) {
    const std::string text = GetDlgItemText(editId);
    // A number beyond 16 bits is no port: refused like an empty field.
    if (text.empty() || !AppendPortText(text, payload)) {
        ShowMessageBox("输入端口号");
        return false;
    }
    return true;
}

bool CMainTesterDlg::ReadIpAddress(int controlId, ByteString& payload) {
    uint32_t address = 0;
    IpAddressEdit(GetDlgItem(controlId)).GetAddress(address);
    for (int shift = 0; shift < 32; shift += 8) payload.push_back(static_cast<unsigned char>(address >> shift));
    return true;
}

bool CMainTesterDlg::ReadPasswordField(int editId, int lengthId, size_t minLength, size_t maxLength,
                                       const char* hexMessage, const char* textMessage, ByteString& payload) {
    const bool hex = Button(GetDlgItem(1009)).GetCheck() == 1;
    const ByteString bytes = PasswordTextToBytes(GetDlgItemText(editId), hex);
    // The whole length is checked, so a long text cannot pass as its length modulo 256.
    if (bytes.size() < minLength || bytes.size() > maxLength) {
        ShowMessageBox(hex ? hexMessage : textMessage);
        return false;
    }
    payload.push_back(static_cast<unsigned char>(bytes.size()));
    payload += bytes;
    SetDlgItemText(lengthId, StrFormat("%d", static_cast<int>(bytes.size())));
    return true;
}
