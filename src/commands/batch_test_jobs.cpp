// The data test and the version test over the checked addresses.

#include "commands/address_jobs.h"
#include "commands/combo_mappers.h"
#include "commands/command_frame.h"
#include "commands/field_readers.h"
#include "commands/page_payloads.h"
#include "link/conversions.h"
#include "link/module_command.h"
#include "link/word_layouts.h"
#include "platform/gbk.h"
#include "platform/local_time.h"
#include "res/resource_ids.h"

namespace {

constexpr uint32_t kDataTestWaitMs = 1000;
constexpr uint32_t kVersionTestWaitMs = 600;

// The text of a row of the frame log that is not a frame: a blank after every character, as the
// log spaces the digit pairs of a frame.
std::string SpacedText(const std::string& text) {
    std::string spaced;
    const std::string gbk = Utf8ToGbk(text);
    for (size_t i = 0; i < gbk.size();) {
        const size_t width = static_cast<unsigned char>(gbk[i]) >= 0x80 && i + 1 < gbk.size() ? 2 : 1;
        spaced += GbkToUtf8(gbk.substr(i, width)) + " ";
        i += width;
    }
    return spaced;
}

}  // namespace

// ---- Data test ----

DataTestJob::DataTestJob(JobWindow& window, ModuleLink& link)
    : AddressListJob(window, link,
                     {link.Queues().sendData, link.Queues().sendDataArrived, "启动串口通讯线程失败",
                      {IDC_START_DATA_TEST}, LogList::DataLog, {kDataTestWaitMs, false, true, false}}) {}

void DataTestJob::Start() {
    if (!BeginOnOpenChannel("串口未打开")) return;
    m_window.Logs()[LogList::DataLog].Clear();
    LaunchOverChecked(kMaxDataTestAddresses);
}

StepRequest DataTestJob::Request(size_t, const std::string& wire) {
    const PagePayload payload = [&wire](Dialog& page, ByteString& bytes) {
        SendDataFields fields;
        if (!GatherAddressModeFields(page, fields)) return false;
        fields.target = SwapAddressOrder(wire);
        if (!ReadDataEdit(page, IDC_USER_DATA, fields.data)) return false;
        BuildSendDataPayload(fields, bytes);
        return true;
    };
    StepRequest request;
    if (!BuildCommandFrame(m_window.Page(), kMainHeaderCombos, CMD_SEND_DATA, payload, request.frame))
        request.frame.clear();
    request.judge = [](const ByteString& reply) { return JudgeDataReply(reply); };
    return request;
}

// ---- Version test ----

VersionTestJob::VersionTestJob(JobWindow& window, ModuleLink& link)
    : AddressListJob(window, link,
                     {link.Queues().version, link.Queues().versionArrived, "删除报文线程失败",
                      {IDC_UPGRADE_CHOOSE_FILE, IDC_EXPECTED_VERSION, IDC_BAUD_RATE_COMBO, IDC_PARITY_COMBO},
                      LogList::FrameLog, {kVersionTestWaitMs, true, false, true}}) {}

void VersionTestJob::Start() {
    Stop();
    if (WindowClosing()) return;
    BlankCheckedResults(m_window.AddressList());
    std::vector<std::string> addresses;
    GatherCheckedAddresses(m_window.AddressList(), addresses, 0);
    if (Launch(std::move(addresses))) EnableControls(false);
}

StepRequest VersionTestJob::Request(size_t, const std::string& wire) {
    const PagePayload payload = [&wire](Dialog& page, ByteString& bytes) {
        uint8_t parity = 0;
        GetParity(page, parity);
        bytes.push_back(static_cast<unsigned char>(version_type_byte::kVersionType.Put(parity)));
        ByteString address;
        HexTextToBytes(wire, address, 0);
        bytes += address;
        return true;
    };
    StepRequest request;
    if (!BuildCommandFrame(m_window.Page(), kMainHeaderCombos, CMD_REMOTE_READ_VERSION, payload, request.frame))
        request.frame.clear();
    const std::string expected = m_window.Page().GetDlgItemText(IDC_EXPECTED_VERSION);
    request.judge = [wire, expected](const ByteString& reply) { return JudgeVersionReply(reply, wire, expected); };
    return request;
}

void VersionTestJob::PortClosed() {
    FrameLogRow row;
    row.time = FormatTimeStamp(GetLocalTime());
    row.spacedHex = SpacedText("串口未打开");
    m_window.Logs().Add(LogList::FrameLog, std::move(row));
}
