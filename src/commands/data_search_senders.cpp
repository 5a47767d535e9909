// Send-data, execution-state, search and device-report commands of the main window, and the
// start of continuous data sending.

#include "app/main_tester_dlg.h"
#include "commands/field_text.h"
#include "link/conversions.h"
#include "link/module_command.h"
#include "platform/text_format.h"

// ---- Send data (0x14) ----

bool CMainTesterDlg::GatherAddressModeFields(AddressModeFields& fields) {
    GetDeviceMode2(fields.sourceMode);
    GetDeviceMode(fields.targetMode);
    GetPasswordType(fields.passwordType);
    return ReadDepth(fields.depth);
}

bool CMainTesterDlg::PackAddressModeWord(ByteString& payload) {
    AddressModeFields fields;
    if (!GatherAddressModeFields(fields)) return false;
    const uint16_t word = static_cast<uint16_t>((fields.sourceMode & 0x0F) | (fields.targetMode & 0x0F) << 4 |
                                                (fields.passwordType & 0x01) << 11 | (fields.depth & 0x0F) << 12);
    AppendWord16(payload, word);
    return true;
}

bool CMainTesterDlg::AppendTargetAndData(ByteString& payload) {
    if (!PackAddressModeWord(payload)) return false;
    const std::string target = GetDlgItemText(1638);
    if (StripHexSeparators(target).empty()) {
        ShowMessageBox("地址域不能为空");
        return false;
    }
    AppendAddressText(target, payload);
    return ReadDataEdit(1639, payload);
}

bool CMainTesterDlg::BuildSendDataPayload(ByteString& payload) { return AppendTargetAndData(payload); }

void CMainTesterDlg::OnSendData() {
    SendModuleCommand(CMD_SEND_DATA, [this](ByteString& p) { return BuildSendDataPayload(p); },
                      &CMainTesterDlg::AddDataLogRow);
}

// ---- Execution-state report (0x10) ----

bool CMainTesterDlg::GatherExecStateFields(ByteString& payload, uint8_t& targetMode) {
    uint8_t sourceMode = 0;
    GetDeviceMode2(sourceMode);
    GetDeviceMode(targetMode);
    payload.push_back(static_cast<unsigned char>((sourceMode & 0x0F) | (targetMode & 0x0F) << 4));
    return true;
}

bool CMainTesterDlg::AppendExecStateAddress(ByteString& payload, uint8_t targetMode) {
    if (!ReadAddressField(1546, payload, targetMode)) return false;
    for (int id : {1548, 1550}) {
        ByteString bytes;
        ReadHexBytes(id, bytes);
        payload += bytes;
    }
    return true;
}

bool CMainTesterDlg::BuildExecStatePayload(ByteString& payload) {
    uint8_t targetMode = 0;
    if (!GatherExecStateFields(payload, targetMode)) return false;
    return AppendExecStateAddress(payload, targetMode);
}

void CMainTesterDlg::OnExecStateReport() {
    SendModuleCommand(CMD_EXEC_STATE_REPORT, [this](ByteString& p) { return BuildExecStatePayload(p); },
                      &CMainTesterDlg::AddFrameLogRow);
}

// ---- Start and stop search (0x17, 0x18) ----

void CMainTesterDlg::GatherSearchFields(SearchFields& fields) {
    GetDeviceMode2(fields.sourceMode);
    GetDeviceMode(fields.targetMode);
    ByteString radius;
    ReadHexBytes(1604, radius);
    BcdBytesToBinary(radius, -1);
    if (!radius.empty()) fields.radius = radius[0];
    GetSearchScope(fields.scope);
    GetMulticastFlag(fields.multicast);
}

bool CMainTesterDlg::BuildSearchPayload(ByteString& payload) {
    SearchFields fields;
    GatherSearchFields(fields);
    const uint16_t word = static_cast<uint16_t>((fields.sourceMode & 0x0F) | (fields.targetMode & 0x0F) << 4 |
                                                (fields.radius & 0x0F) << 8 | (fields.scope & 0x07) << 12 |
                                                (fields.multicast & 0x01) << 15);
    AppendWord16(payload, word);
    if (fields.multicast == 1 && !ReadMulticastAddress(1640, payload)) return false;
    // The length byte counts the attribute bytes that follow it, whatever blanks were typed.
    ByteString attribute;
    ReadHexBytes(1639, attribute);
    payload.push_back(static_cast<unsigned char>(attribute.size()));
    payload += attribute;
    return true;
}

void CMainTesterDlg::OnStartSearch() {
    SendModuleCommand(CMD_START_SEARCH, [this](ByteString& p) { return BuildSearchPayload(p); },
                      &CMainTesterDlg::AddSearchLogRow);
}

void CMainTesterDlg::OnStopSearch() { SendModuleCommand(CMD_STOP_SEARCH, nullptr, &CMainTesterDlg::AddFrameLogRow); }

// ---- Device report (0x19) ----

void CMainTesterDlg::OnDeviceReport() {
    SendModuleCommand(
        CMD_SEARCH_REPORT,
        [this](ByteString& payload) {
            // The device count, typed as decimal digits: 12 is the count 12. An empty edit
            // still carries the count byte, so the device records stay in their place.
            ByteString count;
            ReadHexBytes(1563, count);
            BcdBytesToBinary(count, -1);
            payload.push_back(count.empty() ? 0 : count[0]);
            ByteString devices;
            HexTextToBytes(m_addDeviceText, devices, 0);
            payload += devices;
            return true;
        },
        &CMainTesterDlg::AddFrameLogRow);
}

void CMainTesterDlg::OnAddReportDevice() {
    // The limit reads the same digits as hexadecimal: 12 allows 18 devices.
    ByteString limit;
    ReadHexBytes(1563, limit);
    m_maxDevices = limit.empty() ? 0 : limit[0];
    // The add-device dialog (template 217) plugs in here: run modally as a local object, it
    // refuses rows beyond m_maxDevices and leaves the checked devices in m_addDeviceText.
}

// ---- Continuous sending of the send-data frame ----

void CMainTesterDlg::OnContinuousSendData() {
    // The continuous-send settings dialog (template 214) plugs in here: run modally as a local
    // object (its result ignored), it sets m_contSendEnabled and m_contSendTicks and may zero
    // the counts.
    if (m_contSendEnabled != 1) return;
    m_sendDataArrived = 0;
    m_contReplySeen = 0;
    StartContinuousSend();
}

void CMainTesterDlg::StartContinuousSend() {
    SendContinuousStep();
    m_contSendFresh = 1;
    m_contSendTick = 0;
    SetTimer(TIMER_CONTINUOUS_SEND, 200);
}

void CMainTesterDlg::SendContinuousStep() {
    FlushSendDataReplies();
    OnSendData();
    ++m_contSendCount;
    SetDlgItemText(1500, StrFormat("第%d次发送", static_cast<int>(m_contSendCount)));
}
