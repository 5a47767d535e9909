#pragma once
// The answers of the broadcast reply test: one row per answer, the last answer explained beside
// the list, a count per device of the answers to one sequence number, export and import.

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "dialogs/color_list_ctrl.h"
#include "dialogs/main_window_port.h"
#include "link/byte_string.h"
#include "platform/ui.h"

// The cells of one answer row (as far as the answer reached) and its MAC address bytes in
// display order.
struct BroadcastReplyRow {
    static constexpr int kColumns = 12;
    std::string cells[kColumns];
    ByteString mac;
};

class CBroadcastReplyTestDlg : public Dialog {
public:
    // Most rows the list holds; devices and distinct answer numbers one statistic counts.
    static constexpr uint32_t kMaxRows = 10000;
    static constexpr size_t kMaxDevices = 300;
    static constexpr size_t kMaxCounts = 100;

    explicit CBroadcastReplyTestDlg(MainWindowPort& window);

    // A received answer (command 0xF5, sub-command 1); any thread. The frame is explained on the
    // calling thread; rows and pane change on the user-interface thread.
    void OnBroadcastReplyFrame(ByteString frame);
    // Reads the answer's fields from start (the frame's first byte) into row; returns the position
    // after the data length, or -1 when a field runs past the frame (the cells before it stay).
    static int ReadReplyRow(const ByteString& frame, int start, BroadcastReplyRow& row);
    // Appends the rows (user-interface thread); rows beyond the list's size are dropped and counted.
    void AppendReplyRows(std::vector<BroadcastReplyRow>& rows);

    void ClearList();
    void OnStatistics();
    // A file that could not be written whole leaves any earlier file of that name.
    void OnExportData();
    // Reads what the export writes and the narrower fixed layout; lines that fit neither are
    // skipped and counted in one message.
    void OnImportData();
    static std::string ExportHeader();

    CColorListCtrl m_replyList;
    uint32_t m_rowCount = 0;
    std::vector<ByteString> m_macRecords;  // per row: the source address in display order
    uint32_t m_droppedRows = 0;

protected:
    bool OnInitDialog() override;
    void OnOK() override {}
    // Esc and the close box hide it; the rows stay.
    void OnCancel() override { ShowWindow(false); }
    void OnClose() override { ShowWindow(false); }

private:
    MainWindowPort& m_window;
    // Answers taken in on the receiving thread and not yet in the list, with the last pane text.
    std::mutex m_pendingLock;
    std::vector<BroadcastReplyRow> m_pendingRows;
    std::string m_pendingPane;
    bool m_flushPosted = false;
    void FlushPending();
};
