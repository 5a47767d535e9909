// The address list of the main window: its commands, the results file, and the data and version
// tests that run over its checked rows.

#include "app/main_tester_dlg.h"
#include "commands/combo_mappers.h"
#include "commands/field_readers.h"
#include "commands/page_payloads.h"
#include "dialogs/frame_log.h"
#include "dialogs/text_export.h"
#include "link/conversions.h"
#include "link/module_command.h"
#include "link/word_layouts.h"
#include "platform/gbk.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"

namespace {

constexpr int kAddressColumn = 1;
constexpr int kResultColumn = 2;
constexpr int kTimeColumn = 3;
constexpr int kResetColumn = 4;
constexpr int kFirstCountColumn = 6;

constexpr uint32_t kDataTestWaitMs = 1000;
constexpr uint32_t kVersionTestWaitMs = 600;

constexpr int kVersionTestControls[] = {IDC_UPGRADE_CHOOSE_FILE, IDC_EXPECTED_VERSION, IDC_BAUD_RATE_COMBO,
                                        IDC_PARITY_COMBO};

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

void CMainTesterDlg::MapAddressListHandlers() {
    MapCommand(IDC_ADD_ADDRESS, Notify::Clicked, [this] { OnAddAddress(); });
    MapCommand(IDC_CLEAR_TEST_RESULTS, Notify::Clicked, [this] { OnClearTestResults(); });
    MapCommand(IDC_DELETE_ADDRESSES, Notify::Clicked, [this] { OnDeleteAddresses(); });
    MapCommand(IDC_INVERT_CHECKS, Notify::Clicked, [this] { OnInvertChecks(); });
    MapCommand(IDC_SELECT_FAILED, Notify::Clicked, [this] { OnSelectFailedRows(); });
    MapCommand(IDC_ADDRESS_LIST, Notify::Click, [this] { OnAddressListClick(); });
    MapCommand(IDC_EXPORT_RESULTS, Notify::Clicked, [this] { OnExportResults(); });
    MapCommand(IDC_START_DATA_TEST, Notify::Clicked, [this] { OnStartTest(); });
    MapCommand(IDC_VERSION_TEST, Notify::Clicked, [this] { OnVersionTest(); });
    MapCommand(IDC_CONFIG_PARAMS, Notify::Clicked, [this] { OnConfigParams(); });
}

// ---- Commands of the list ----

void CMainTesterDlg::OnAddAddress() {
    CMeterManageDlg meters(m_addressList);
    meters.DoModal();
}

void CMainTesterDlg::OnClearTestResults() {
    if (ShowMessageBox("确认要清除选中地址的测试结果吗？", "提示", kMbOkCancel | kMbIconInformation) != kIdOk) return;
    ClearCheckedResults();
}

void CMainTesterDlg::ClearCheckedResults() { BlankCheckedResults(m_addressList); }

void CMainTesterDlg::OnDeleteAddresses() {
    if (ShowMessageBox("确认要清除选中表地址吗？", "提示", kMbOkCancel | kMbIconInformation) != kIdOk) return;
    for (int r = m_addressList.GetItemCount(); r-- > 0;) {
        if (m_addressList.GetCheck(r)) m_addressList.DeleteItem(r);
    }
}

void CMainTesterDlg::OnInvertChecks() {
    for (int r = m_addressList.GetItemCount(); r-- > 0;) m_addressList.SetCheck(r, !m_addressList.GetCheck(r));
}

void CMainTesterDlg::OnSelectFailedRows() {
    for (int r = m_addressList.GetItemCount(); r-- > 0;)
        m_addressList.SetCheck(r, m_addressList.GetItemText(r, kResultColumn) == StatusText(TestStatus::Failure));
}

void CMainTesterDlg::OnAddressListClick() {
    const int rows = m_addressList.GetItemCount();
    for (int r = 0; r < rows; ++r) {
        if (m_addressList.GetItemState(r, ListView::kStateSelected) != 0)
            m_addressList.SetCheck(r, !m_addressList.GetCheck(r));
    }
}

void CMainTesterDlg::OnExportResults() {
    TextFileDialog dialog;
    dialog.fileName = "ResultExport, " + FileNameStamp(GetLocalTime()) + ".txt";
    ExportTextFile(dialog, "导出失败！", [this](std::string& text) {
        const int rows = m_addressList.GetItemCount();
        if (rows == 0) return false;
        auto padded = [](std::string cell, int width) {
            PadRightBlanks(cell, width);
            return cell;
        };
        text = padded("地址", 12) + "    " + padded("结果", 6) + "  " + padded("时间", 6) + "\n";
        for (int r = 0; r < rows; ++r) {
            for (int c : {kAddressColumn, kResultColumn, kTimeColumn}) text += m_addressList.GetItemText(r, c) + "    ";
            text += "\n";
        }
        return true;
    });
}

// ---- Rows of the tests ----

bool CMainTesterDlg::GatherCheckedAddresses(std::vector<std::string>& wireAddresses, size_t limit) {
    const int rows = m_addressList.GetItemCount();
    for (int r = 0; r < rows; ++r) {
        if (!m_addressList.GetCheck(r)) continue;
        const std::string wire = SwapAddressOrder(m_addressList.GetItemText(r, kAddressColumn));
        if (!wire.empty()) wireAddresses.push_back(wire);
    }
    if (wireAddresses.empty()) return false;
    if (limit != 0 && wireAddresses.size() > limit) {
        ShowMessageBox(kTooManyAddressesText);
        return false;
    }
    return true;
}

void CMainTesterDlg::PostBatchRow(const BatchRow& row) {
    PostTask([this, row] { WriteBatchRow(m_addressList, row); });
}

std::function<void(const ByteString&)> CMainTesterDlg::LogSentFrame(LogList list) {
    return [this, list](const ByteString& frame) {
        std::string hex;
        BytesToHexText(hex, frame, 0);
        m_frameLogs.Add(list, std::move(hex));
    };
}

void CMainTesterDlg::SetResetStatisticsRow(const std::string& address, const ByteString& frame) {
    ResetStatistics stats;
    if (!ReadResetStatistics(frame, stats)) return;
    const std::string wire = SwapAddressOrder(address);
    for (int r = m_addressList.GetItemCount(); r-- > 0;) {
        if (SwapAddressOrder(m_addressList.GetItemText(r, kAddressColumn)) != wire) continue;
        m_addressList.SetItemText(r, kResetColumn, stats.resetWord);
        for (int k = 0; k < 4; ++k)
            m_addressList.SetItemText(r, kFirstCountColumn + k, StrFormat("%u", static_cast<unsigned>(stats.counts[k])));
        return;
    }
}

void CMainTesterDlg::StopBatchTests() {
    m_addressTestRun.Stop();
    m_versionTestRun.Stop();
    m_resetReadRun.Stop();
    m_resetClearRun.Stop();
}

// ---- Data test: one send-data frame per checked address ----

void CMainTesterDlg::OnStartTest() {
    m_addressTestRun.Stop();
    Window button = GetDlgItem(IDC_START_DATA_TEST);
    button.Enable(false);
    if (!m_link.IsPortOpen()) {
        ShowMessageBox("串口未打开");
        button.Enable(true);
        return;
    }
    m_frameLogs[LogList::DataLog].Clear();
    std::vector<std::string> addresses;
    if (!GatherCheckedAddresses(addresses, kMaxDataTestAddresses)) {
        button.Enable(true);
        return;
    }
    ClearCheckedResults();
    std::vector<BatchStep> steps;
    for (const std::string& wire : addresses) steps.push_back({wire, BuildTestDataFrame(wire)});

    BatchPlan plan;
    plan.queue = &m_link.Queues().sendData;
    plan.arrived = &m_link.Queues().sendDataArrived;
    plan.waitMs = kDataTestWaitMs;
    plan.writesTime = true;
    plan.judge = [](const std::string&, const ByteString& reply) { return JudgeDataReply(reply); };
    plan.sent = LogSentFrame(LogList::DataLog);
    plan.post = [this](const BatchRow& row) { PostBatchRow(row); };
    plan.ended = [this] { PostTask([this] { GetDlgItem(IDC_START_DATA_TEST).Enable(true); }); };
    if (!m_addressTestRun.Start(std::move(steps), std::move(plan))) button.Enable(true);
}

ByteString CMainTesterDlg::BuildTestDataFrame(const std::string& wire) {
    const PagePayload payload = [&wire](Dialog& page, ByteString& bytes) {
        SendDataFields fields;
        if (!GatherAddressModeFields(page, fields)) return false;
        fields.target = SwapAddressOrder(wire);
        if (!ReadDataEdit(page, IDC_USER_DATA, fields.data)) return false;
        BuildSendDataPayload(fields, bytes);
        return true;
    };
    ByteString frame;
    if (!BuildCommandFrame(*this, kMainHeaderCombos, CMD_SEND_DATA, payload, frame)) frame.clear();
    return frame;
}

// ---- Version test: the remote version of every checked address ----

void CMainTesterDlg::OnVersionTest() {
    m_versionTestRun.Stop();
    ClearCheckedResults();
    std::vector<std::string> addresses;
    GatherCheckedAddresses(addresses, 0);
    std::vector<BatchStep> steps;
    for (const std::string& wire : addresses) steps.push_back({wire, BuildVersionQueryFrame(wire)});
    const std::string expected = GetDlgItemText(IDC_EXPECTED_VERSION);

    BatchPlan plan;
    plan.queue = &m_link.Queues().version;
    plan.arrived = &m_link.Queues().versionArrived;
    plan.waitMs = kVersionTestWaitMs;
    plan.othersGiveWay = true;
    plan.judge = [expected](const std::string& wire, const ByteString& reply) {
        return JudgeVersionReply(reply, wire, expected);
    };
    plan.portClosed = [this] {
        FrameLogRow row;
        row.time = FormatTimeStamp(GetLocalTime());
        row.spacedHex = SpacedText("串口未打开");
        m_frameLogs.Add(LogList::FrameLog, std::move(row));
    };
    plan.sent = LogSentFrame(LogList::FrameLog);
    plan.post = [this](const BatchRow& row) { PostBatchRow(row); };
    plan.ended = [this] { PostTask([this] { EnableVersionTestControls(true); }); };
    if (m_versionTestRun.Start(std::move(steps), std::move(plan))) EnableVersionTestControls(false);
}

void CMainTesterDlg::EnableVersionTestControls(bool enable) {
    for (int id : kVersionTestControls) GetDlgItem(id).Enable(enable);
}

ByteString CMainTesterDlg::BuildVersionQueryFrame(const std::string& wire) {
    const PagePayload payload = [&wire](Dialog& page, ByteString& bytes) {
        uint8_t parity = 0;
        GetParity(page, parity);
        bytes.push_back(static_cast<unsigned char>(version_type_byte::kVersionType.Put(parity)));
        ByteString address;
        HexTextToBytes(wire, address, 0);
        bytes += address;
        return true;
    };
    ByteString frame;
    if (!BuildCommandFrame(*this, kMainHeaderCombos, CMD_REMOTE_READ_VERSION, payload, frame)) frame.clear();
    return frame;
}
