// Payloads of the send-data, execution-state, search and device-report commands.

#include "commands/combo_mappers.h"
#include "commands/field_readers.h"
#include "commands/field_text.h"
#include "commands/page_payloads.h"
#include "link/word_layouts.h"
#include "res/resource_ids.h"

// ---- Send data (0x14) ----

bool GatherAddressModeFields(Dialog& page, SendDataFields& fields) {
    GetDeviceMode2(page, fields.sourceMode);
    GetDeviceMode(page, fields.targetMode);
    GetPasswordType(page, fields.passwordType);
    return ReadDepth(page, fields.depth);
}

bool GatherSendDataFields(Dialog& page, SendDataFields& fields) {
    if (!GatherAddressModeFields(page, fields)) return false;
    fields.target = page.GetDlgItemText(IDC_SEND_DST_ADDR);
    if (IsBlankField(fields.target)) {
        ShowMessageBox("地址域不能为空");
        return false;
    }
    return ReadDataEdit(page, IDC_USER_DATA, fields.data);
}

void PackAddressModeWord(const SendDataFields& fields, ByteString& payload) {
    using namespace send_data_word;
    AppendWord16(payload, static_cast<uint16_t>(kSourceMode.Put(fields.sourceMode) |
                                                kTargetMode.Put(fields.targetMode) |
                                                kPasswordMode.Put(fields.passwordType) | kDepth.Put(fields.depth)));
}

void AppendTargetAndData(const SendDataFields& fields, ByteString& payload) {
    AppendAddressText(fields.target, payload);
    payload += fields.data;
}

void BuildSendDataPayload(const SendDataFields& fields, ByteString& payload) {
    PackAddressModeWord(fields, payload);
    AppendTargetAndData(fields, payload);
}

// ---- Execution-state report (0x10) ----

bool GatherExecStateFields(Dialog& page, ExecStateFields& fields) {
    GetDeviceMode2(page, fields.sourceMode);
    GetDeviceMode(page, fields.targetMode);
    if (!ReadAddressField(page, IDC_DST_ADDR, fields.targetMode, fields.address)) return false;
    fields.first = page.GetDlgItemText(IDC_EXEC_STATE_DATA1);
    fields.second = page.GetDlgItemText(IDC_EXEC_STATE_DATA2);
    return true;
}

void AppendExecStateAddress(const ExecStateFields& fields, ByteString& payload) {
    if (CarriesAddress(fields.targetMode)) AppendAddressText(fields.address, payload);
    payload += HexFieldBytes(fields.first);
    payload += HexFieldBytes(fields.second);
}

void BuildExecStatePayload(const ExecStateFields& fields, ByteString& payload) {
    payload.push_back(static_cast<unsigned char>(exec_state_modes::kSourceMode.Put(fields.sourceMode) |
                                                 exec_state_modes::kTargetMode.Put(fields.targetMode)));
    AppendExecStateAddress(fields, payload);
}

// ---- Start search (0x17) ----

bool GatherSearchFields(Dialog& page, SearchFields& fields) {
    GetDeviceMode2(page, fields.sourceMode);
    GetDeviceMode(page, fields.targetMode);
    fields.radius = page.GetDlgItemText(IDC_SEARCH_DEPTH);
    GetSearchScope(page, fields.scope);
    GetMulticastFlag(page, fields.multicast);
    if (fields.multicast == 1 && !ReadMulticastAddress(page, IDC_MULTICAST_ADDR, fields.group)) return false;
    fields.attribute = page.GetDlgItemText(IDC_USER_DATA);
    return true;
}

void BuildSearchPayload(const SearchFields& fields, ByteString& payload) {
    const uint8_t radius = BcdFieldByte(fields.radius);
    using namespace search_param_word;
    AppendWord16(payload, static_cast<uint16_t>(kSourceMode.Put(fields.sourceMode) |
                                                kTargetMode.Put(fields.targetMode) | kRadius.Put(radius) |
                                                kRange.Put(fields.scope) | kMulticast.Put(fields.multicast)));
    if (fields.multicast == 1) AppendMulticastText(fields.group, payload);
    // The length byte counts the attribute bytes that follow it, whatever blanks were typed.
    AppendLengthAndBytes(HexFieldBytes(fields.attribute), payload);
}

// ---- Device report (0x19) ----

void BuildDeviceReportPayload(const std::string& count, const std::string& devices, ByteString& payload) {
    // An empty count still carries its byte, so the device records stay in their place.
    payload.push_back(BcdFieldByte(count));
    payload += HexFieldBytes(devices);
}

uint8_t ReadDeviceLimit(Dialog& page) {
    const ByteString limit = ReadHexEdit(page, IDC_DEVICE_COUNT);
    return limit.empty() ? 0 : limit[0];
}
