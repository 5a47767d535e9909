// Readers of the command pages' edits.

#include "commands/field_readers.h"

#include "commands/field_text.h"
#include "dialogs/number_text.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"

ByteString ReadHexEdit(Dialog& page, int editId) { return HexFieldBytes(page.GetDlgItemText(editId)); }

bool ReadDataEdit(Dialog& page, int editId, ByteString& payload) {
    if (AppendDataText(page.GetDlgItemText(editId), payload)) return true;
    ShowMessageBox(kTooLongForLength16);
    return false;
}

bool ReadDepth(Dialog& page, uint8_t& depth) {
    const std::string text = page.GetDlgItemText(IDC_DEPTH);
    if (text.empty()) {
        ShowMessageBox("depth域不能为空");
        return false;
    }
    depth = DepthFromText(text);
    return true;
}

bool ReadAddressField(Dialog& page, int editId, uint8_t targetMode, std::string& address) {
    if (targetMode == 0) return true;
    if (!CarriesAddress(targetMode)) return false;
    address = page.GetDlgItemText(editId);
    if (IsBlankField(address)) {
        ShowMessageBox("地址域不能为空");
        return false;
    }
    return true;
}

bool ReadMulticastAddress(Dialog& page, int editId, std::string& address) {
    address = page.GetDlgItemText(editId);
    if (IsBlankField(address)) {
        ShowMessageBox("请输入组播地址");
        return false;
    }
    return true;
}

bool ReadPortNumber(Dialog& page, int editId, ByteString& payload) {
    const std::string text = page.GetDlgItemText(editId);
    if (AppendPortText(text, payload)) return true;
    ShowMessageBox(RefusedNumberText(text, "端口号", 0, 0xFFFF));
    return false;
}

bool ReadIpAddress(Dialog& page, int controlId, ByteString& payload) {
    uint32_t address = 0;
    if (!ParseIpText(page.GetDlgItemText(controlId), address)) {
        ShowMessageBox(kBadIpAddress);
        return false;
    }
    for (int shift = 0; shift < 32; shift += 8) payload.push_back(static_cast<unsigned char>(address >> shift));
    return true;
}

bool ReadDomainName(Dialog& page, int editId, ByteString& payload) {
    const std::string text = page.GetDlgItemText(editId);
    if (text.empty()) return false;
    if (AppendDomainName(text, payload)) return true;
    ShowMessageBox(kDomainNameTooLong);
    return false;
}

bool ReadPasswordField(Dialog& page, int editId, int lengthId, size_t minLength, size_t maxLength,
                       const char* hexMessage, const char* textMessage, ByteString& password) {
    const bool hex = Button(page.GetDlgItem(IDC_PASSWORD_HEX)).GetCheck() == 1;
    password = PasswordTextToBytes(page.GetDlgItemText(editId), hex);
    // The whole length is checked, so a long text cannot pass as its length modulo 256.
    if (password.size() < minLength || password.size() > maxLength) {
        ShowMessageBox(hex ? hexMessage : textMessage);
        return false;
    }
    page.SetDlgItemText(lengthId, StrFormat("%d", static_cast<int>(password.size())));
    return true;
}
