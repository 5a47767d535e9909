// The meter-reading page of the main window: the rounds, the wait-mode rule, the raw send and
// the frame text generation.

#include "app/main_tester_dlg.h"
#include "commands/meter_page_tools.h"
#include "link/conversions.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"

namespace {

// The inputs that stay disabled while the rounds run.
constexpr int kRoundInputs[] = {IDC_ROUND_START,   IDC_ROUND_START_ADDR,     IDC_ROUND_END_ADDR,
                                IDC_ROUND_COUNT,   IDC_ROUND_WAIT_TIME,      IDC_ROUND_SEND_DELAY,
                                IDC_ROUND_DATA_ID, IDC_ROUND_WAIT_MODE_COMBO};

// A round's result row: the reply's frame, "成功" and the seconds, or the request's hex text
// padded and "超时".
FrameLogRow MeterResultRow(const MeterReplyEntry& entry) {
    FrameLogRow row;
    row.stamp = GetLocalTime();
    row.hasStamp = true;
    if (entry.valid == 1) {
        row.frame = entry.frame;
        row.hasFrame = true;
        row.extra = {"成功", StrFormat("%.2f", entry.elapsedMs / 1000.0)};
    } else {
        BytesToHexText(row.spacedHex, entry.frame);
        row.spacedHex += std::string(48, ' ');
        row.extra = {"超时", ""};
    }
    return row;
}

}  // namespace

void CMainTesterDlg::MapMeterPageHandlers() {
    MapCommand(IDC_ROUND_START, Notify::Clicked, [this] { OnStartRoundReading(); });
    MapCommand(IDC_ROUND_STOP, Notify::Clicked, [this] { OnStopRoundReading(); });
    MapCommand(IDC_ROUND_END_ADDR, Notify::SetFocus, [this] { OnSetfocusEndAddress(); });
    MapCommand(IDC_ROUND_WAIT_MODE_COMBO, Notify::SelChange, [this] { OnSelchangeReadMode(); });
    MapCommand(IDC_PASS_THROUGH_SEND, Notify::Clicked, [this] { OnMeterSend(); });
    MapCommand(IDC_FRAME_GEN_BUILD, Notify::Clicked, [this] { OnGenerateArray(); });
}

RoundReports CMainTesterDlg::MakeRoundReports() {
    RoundReports reports;
    // On the rounds thread: the row writers post to the list, the rest is posted here.
    reports.requestSent = [this](const ByteString& request) {
        std::string hex;
        BytesToHexText(hex, request);
        m_frameLogs.Add(LogList::MeterRead, std::move(hex));
    };
    reports.result = [this](const MeterReplyEntry& result, const RoundStatistics& stats) {
        m_frameLogs.Add(LogList::MeterRead, MeterResultRow(result));
        PostTask([this, stats] { ShowRoundStatistics(stats); });
    };
    reports.ended = [this] { PostTask([this] { EnableRoundInputs(true); }); };
    return reports;
}

void CMainTesterDlg::OnStartRoundReading() {
    RoundFieldTexts texts;
    texts.mode = m_waitModeCombo.GetSelectedText();
    texts.identifier = GetDlgItemText(IDC_ROUND_DATA_ID);
    texts.start = GetDlgItemText(IDC_ROUND_START_ADDR);
    texts.end = GetDlgItemText(IDC_ROUND_END_ADDR);
    texts.rounds = GetDlgItemText(IDC_ROUND_COUNT);
    texts.waitTime = GetDlgItemText(IDC_ROUND_WAIT_TIME);
    texts.sendDelay = GetDlgItemText(IDC_ROUND_SEND_DELAY);
    RoundSettings settings;
    std::string refusal;
    if (!ReadRoundSettings(texts, settings, refusal)) {
        ShowMessageBox(refusal);
        return;
    }
    EnableRoundInputs(false);
    // No channel open: the requests go nowhere and every meter times out, as on a silent line.
    if (m_meterRounds.Start(settings) == 0) EnableRoundInputs(true);
}

void CMainTesterDlg::OnStopRoundReading() { m_meterRounds.RequestStop(); }

void CMainTesterDlg::OnSetfocusEndAddress() {
    SetDlgItemText(IDC_ROUND_END_ADDR, GetDlgItemText(IDC_ROUND_START_ADDR));
}

void CMainTesterDlg::OnSelchangeReadMode() { SetTimer(TIMER_WAIT_MODE_REFRESH, 100); }

void CMainTesterDlg::EnableRoundInputs(bool enable) {
    for (int id : kRoundInputs) GetDlgItem(id).Enable(enable);
    // The send delay serves the time-out mode alone.
    if (enable && m_waitModeCombo.GetSelectedText() != kTimeoutModeText) GetDlgItem(IDC_ROUND_SEND_DELAY).Enable(false);
}

void CMainTesterDlg::ShowRoundStatistics(const RoundStatistics& stats) {
    const RoundStatisticsTexts texts = FormatRoundStatistics(stats);
    SetDlgItemText(IDC_ROUND_AVG_TIME, texts.average);
    SetDlgItemText(IDC_ROUND_TOTAL_TIME, texts.total);
    SetDlgItemText(IDC_ROUND_MIN_TIME, texts.minimum);
    SetDlgItemText(IDC_ROUND_MAX_TIME, texts.maximum);
    SetDlgItemText(IDC_ROUND_SENT, texts.sent);
    SetDlgItemText(IDC_ROUND_REPLIES, texts.replies);
    SetDlgItemText(IDC_ROUND_SUCCESS_RATE, texts.successRate);
}

void CMainTesterDlg::OnMeterSend() {
    std::string digits;
    if (!RawSendDigits(GetDlgItemText(IDC_PASS_THROUGH_DATA), digits)) {
        ShowMessageBox(kHexDigitsOnlyText);
        return;
    }
    ByteString bytes;
    HexTextToBytes(digits, bytes, 0);
    m_frameLogs.Add(LogList::PassThrough, PassThroughRow(digits, false));
    SendFrame(bytes);
}

void CMainTesterDlg::OnGenerateArray() {
    const std::string command = GetDlgItemText(IDC_FRAME_GEN_CMD);
    if (command.find_first_not_of(' ') == std::string::npos) {
        ShowMessageBox("命令为空");
        return;
    }
    const ByteString data = FrameDataFromText(GetDlgItemText(IDC_FRAME_GEN_DATA));
    ByteString frame;
    const auto payload = [&data](Dialog&, ByteString& out) {
        out = data;
        return true;
    };
    if (!BuildCommandFrame(*this, kMainHeaderCombos, CommandByteFromText(command), payload, frame)) return;
    SetDlgItemText(IDC_FRAME_GEN_OUTPUT, FrameTextLines(frame));
}

void CMainTesterDlg::StopMeterRuns() {
    m_meterRounds.Stop();
}
