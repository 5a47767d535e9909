// Text files of the main window: the received records (export, and import on its own thread),
// the frame logs (export and import) and the repeated search's log.

#include <cstdio>
#include <utility>
#include <vector>

#include "app/main_tester_dlg.h"
#include "commands/TestDlg/test_dlg.h"
#include "dialogs/text_export.h"
#include "link/conversions.h"
#include "platform/text_file.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"

namespace {

constexpr const char* kExportFailedText = "导出失败！";
constexpr const char* kOpenFailedText = "打开文件失败";
constexpr size_t kStampLength = 23;  // "2024-03-05 06:07:08:009"
constexpr const char* kColumnGap = "    ";

std::string Padded(std::string text, int width) {
    PadRightBlanks(text, width);
    return text;
}

TextFileDialog OpenDialog() {
    TextFileDialog dialog;
    dialog.open = true;
    return dialog;
}

// A save dialog proposing the name.
TextFileDialog SaveDialog(std::string fileName) {
    TextFileDialog dialog;
    dialog.fileName = std::move(fileName);
    return dialog;
}

// The time stamp at the start of a line, as the logs write it; false when the line does not start
// with one.
bool ReadTimeStamp(const std::string& line, SystemTime& time) {
    if (line.size() < kStampLength) return false;
    int v[7];
    // The stamps the logs write are read digit by digit; any other text as the format reads it.
    static const char kShape[] = "dddd-dd-dd dd:dd:dd:ddd";
    bool written = true;
    for (size_t i = 0; i < kStampLength && written; ++i)
        written = kShape[i] == 'd' ? line[i] >= '0' && line[i] <= '9' : line[i] == kShape[i];
    if (written) {
        static const size_t kFields[7][2] = {{0, 4}, {5, 2}, {8, 2}, {11, 2}, {14, 2}, {17, 2}, {20, 3}};
        for (int f = 0; f < 7; ++f) {
            v[f] = 0;
            for (size_t i = kFields[f][0]; i < kFields[f][0] + kFields[f][1]; ++i) v[f] = v[f] * 10 + (line[i] - '0');
        }
    } else {
        char tail = 0;
        const std::string stamp = line.substr(0, kStampLength);
        if (std::sscanf(stamp.c_str(), "%4d-%2d-%2d %2d:%2d:%2d:%3d%c", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5],
                        &v[6], &tail) != 7)
            return false;
    }
    auto u = [](int x) { return static_cast<uint16_t>(x); };
    time = SystemTime{u(v[0]), u(v[1]), 0, u(v[2]), u(v[3]), u(v[4]), u(v[5]), u(v[6])};
    return true;
}

bool IsBlankLine(const std::string& line) { return line.find_first_not_of(" \t") == std::string::npos; }

enum class LineFit { Blank, Bad, Good };

// A record line: time stamp, blanks, then the frame's bytes as hexadecimal digit pairs, not all
// zero. A frame wrapped behind twelve 'E' digits is taken from digit 20 to four digits before its
// end. Any frame the export writes reads back, the shortest included.
LineFit ReadRecordLine(const std::string& line, SystemTime& time, ByteString& frame) {
    if (IsBlankLine(line)) return LineFit::Blank;
    if (!ReadTimeStamp(line, time)) return LineFit::Bad;
    std::string hex;
    for (char c : line.substr(kStampLength))
        if (c != ' ') hex += c;
    if (hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos || hex.size() % 2 != 0)
        return LineFit::Bad;
    if (hex.find_first_not_of('0') == std::string::npos) return LineFit::Bad;
    if (hex.size() > 14 && hex.compare(2, 12, "EEEEEEEEEEEE") == 0) {
        if (hex.size() <= 24) return LineFit::Bad;
        hex = hex.substr(20, hex.size() - 24);
    }
    HexTextToBytes(hex, frame, 0);
    return LineFit::Good;
}

std::string SkippedLinesText(int count) { return StrFormat("%d行格式错误，已跳过", count); }

// The frame log's row bound took rows that were there, or lines of the file.
std::string LogFullText(size_t removedRows, size_t notImported) {
    std::string text = "列表已满";
    if (removedRows > 0) AppendFormat(text, "，已删除原有的%zu行", removedRows);
    if (notImported > 0) AppendFormat(text, "，有%zu行未导入", notImported);
    return text;
}

}  // namespace

void CMainTesterDlg::MapRecordFileHandlers() {
    MapCommand(IDC_EXPORT_RECORDS, Notify::Clicked, [this] { OnExportRecords(); });
    MapCommand(IDM_EXPORT_FRAMES, Notify::Clicked, [this] { OnExportFrameLog(); });
    MapCommand(IDM_IMPORT_FRAMES, Notify::Clicked, [this] { OnImportFrameLog(); });
}

// ---- Received records ----

void CMainTesterDlg::OnExportRecords() {
    const std::string name = StrFormat("Log COM%u", static_cast<unsigned>(m_serialSettings.comPort)) +
                             FileNameStamp(GetLocalTime()) + ".txt";
    // A copy taken under the history's lock: recording goes on while the file is written.
    const std::vector<MonitorRecord> records = m_link.History().Snapshot();
    ExportTextFile(SaveDialog(name), kExportFailedText, [&records](std::string& text) {
        if (records.empty()) return false;
        for (const MonitorRecord& r : records) {
            if (r.frame.empty()) continue;
            std::string hex;
            BytesToHexTextSpaced(hex, r.frame, 0);
            text += FormatTimeStamp(r.time) + "  " + hex + "\n";
        }
        return true;
    });
}

void CMainTesterDlg::ImportWorker() {
    if (!m_import.IsRunning()) return;
    std::string path;
    SendTask([&path] { path = AskTextFilePath(OpenDialog()); });
    if (!path.empty()) ImportRecordFile(path);
}

void CMainTesterDlg::ImportRecordFile(const std::string& path) {
    TextFile file;
    if (!file.Open(path, TextFile::kRead)) {
        SendTask([] { ShowMessageBox(kOpenFailedText); });
        return;
    }
    int bad = 0;
    std::string line;
    // Recorded a slice at a time: between slices the monitor thread records what arrived.
    constexpr size_t kSlice = 1000;
    std::vector<FrameHistory::Received> slice;
    slice.reserve(kSlice);
    // A stopped import (the window closing) reads no further and records no more.
    while (m_import.IsRunning() && file.ReadLine(line)) {
        FrameHistory::Received record;
        if (file.LineTooLong()) {
            ++bad;
            continue;
        }
        switch (ReadRecordLine(line, record.arrival, record.frame)) {
            case LineFit::Blank: break;
            case LineFit::Bad: ++bad; break;
            case LineFit::Good: slice.push_back(std::move(record)); break;
        }
        if (slice.size() == kSlice) {
            m_link.History().RecordReceivedFrames('1', slice);
            slice.clear();
        }
    }
    if (m_import.IsRunning()) m_link.History().RecordReceivedFrames('1', slice);
    file.Close();
    if (bad > 0 && m_import.IsRunning()) SendTask([bad] { ShowMessageBox(SkippedLinesText(bad)); });
}

// ---- Frame logs ----

void CMainTesterDlg::OnExportFrameLog() {
    struct LogColumns {
        ListView list;
        bool resultColumns;         // columns 3 and 4 follow the frame
        const char* emptyFrame;     // written for an empty frame column
    };
    const std::string sixtyBlanks(60, ' ');
    const LogColumns logs[] = {
        {m_meterReadList, true, sixtyBlanks.c_str()},
        {m_frameLogList, false, ""},
        {ListView(m_testPanel->GetDlgItem(IDC_PANEL_LOG_LIST)), false, ""},
        {m_passThroughList, true, "      "},
        {m_searchLogList, false, ""},
    };
    const std::string name = "ROUTEREXPORT, " + FileNameStamp(GetLocalTime()) + ".txt";
    ExportTextFile(SaveDialog(name), kExportFailedText, [&logs](std::string& text) {
        bool any = false;
        for (const LogColumns& log : logs) any = any || log.list.GetItemCount() > 0;
        if (!any) return false;
        text = Padded("时间", 12) + std::string(15, ' ') + Padded("报文", 12) + "\n";
        for (const LogColumns& log : logs) {
            const int rows = log.list.GetItemCount();
            for (int r = 0; r < rows; ++r) {
                std::string frame = log.list.GetItemText(r, 2);
                if (frame.empty()) frame = log.emptyFrame;
                text += log.list.GetItemText(r, 0) + kColumnGap + frame + kColumnGap;
                if (log.resultColumns)
                    text += log.list.GetItemText(r, 3) + kColumnGap + log.list.GetItemText(r, 4) + kColumnGap;
                text += "\n";
            }
        }
        return true;
    });
}

void CMainTesterDlg::OnImportFrameLog() {
    TextFile file;
    if (OpenTextImport(file, OpenDialog(), kOpenFailedText).empty()) return;
    // The header goes first; the rows go to the top of the frame log in file order, unnumbered.
    // A block as long as the log's bound stops the reading: the lines left are only counted.
    std::string line;
    file.ReadLine(line);
    ListRows rows(m_frameLogList);
    int bad = 0;
    while (!rows.Full() && file.ReadLine(line)) {
        SystemTime time;
        if (file.LineTooLong()) {
            ++bad;
            continue;
        }
        if (IsBlankLine(line)) {
            rows.Add(nullptr, 0);
            continue;
        }
        if (!ReadTimeStamp(line, time)) {
            ++bad;
            continue;
        }
        const std::string_view text(line);
        const ListCell cells[] = {ListCell::Text(text.substr(0, kStampLength)), ListCell::Text({}),
                                  ListCell::Text(text.substr(kStampLength))};
        rows.Add(cells, 3);
    }
    const size_t unread = rows.Full() ? file.SkipRemainingLines() : 0;
    file.Close();
    m_frameLogList.InsertRows(0, rows);
    std::string message;
    if (bad > 0) message = SkippedLinesText(bad);
    const size_t notImported = unread + rows.RefusedRows();
    if (rows.RemovedRows() > 0 || notImported > 0) {
        if (!message.empty()) message += "\n";
        message += LogFullText(rows.RemovedRows(), notImported);
    }
    if (!message.empty()) ShowMessageBox(message);
}

// ---- The repeated search's log ----

void CMainTesterDlg::SaveSearchLog() {
    const std::string path = " frame, " + FileNameStamp(GetLocalTime()) + ".txt";
    TextFile file;
    if (!file.Open(path, TextFile::kReplace)) return;
    const int rows = m_searchLogList.GetItemCount();
    bool written = true;
    if (rows > 0) written = file.WriteString(Padded("时间", 12) + std::string(6, ' ') + Padded("报文", 12) + "\n");
    for (int r = 0; r < rows && written; ++r) {
        written = file.WriteString(m_searchLogList.GetItemText(r, 0) + kColumnGap + m_searchLogList.GetItemText(r, 2) +
                                   kColumnGap + "\n");
    }
    if (!file.Close() || !written) ShowMessageBox(kExportFailedText);
}
