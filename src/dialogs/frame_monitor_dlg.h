#pragma once
// The frame monitor lists every frame of the frame history, sent and received, and explains
// the selected one beside the list; the frame detail viewer shows one long text.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "dialogs/main_window_port.h"
#include "dialogs/sort_list_ctrl.h"
#include "link/byte_string.h"
#include "platform/local_time.h"
#include "platform/ui.h"
#include "res/resource_ids.h"

// A modeless window with one multi-line edit (IDC_DETAIL_TEXT).
class CFrameDetailDlg : public Dialog {
public:
    CFrameDetailDlg() : Dialog(IDD_FRAME_DETAIL) {}
    // Replaces the text of edit IDC_DETAIL_TEXT. Callers show the window first.
    void SetText(std::string text);

protected:
    void OnOK() override {}
    void OnCancel() override { ShowWindow(false); }
    void OnClose() override { ShowWindow(false); }
};

// The first-frame flag: 1 until the next frame becomes the reference for elapsed times.
// Raising it (start-up, the main window's clearing) also begins a new generation of rows, so
// rows recorded before the raise and not yet on the list are dropped.
class FirstFrameFlag {
public:
    FirstFrameFlag& operator=(uint8_t value) {
        if (value) ++m_generation;
        m_value = value;
        return *this;
    }
    operator uint8_t() const { return m_value; }
    uint32_t Generation() const { return m_generation; }

private:
    std::atomic<uint8_t> m_value{1};
    std::atomic<uint32_t> m_generation{0};
};

class CFrameMonitorDlg : public Dialog {
public:
    explicit CFrameMonitorDlg(MainWindowPort& window);

    // Appends one row for a frame; kind '0' sent, '1' received. Called on any thread while the
    // main window holds its frame history still: it only posts to the user-interface thread and
    // never waits for it.
    void AddFrameRow(char kind, const ByteString& frame, const SystemTime& time, uint32_t number);
    // One row for every record of the frame history, numbered by its index from 0.
    void RefillRows();
    // The explanation of one frame: "解析信息：" and the analysis for a 0x79 frame; nothing
    // otherwise (a meter frame 0x68 of more than 16 bytes goes through AnalyzeMeterFrame).
    void BuildParseText(ByteString frame, std::string& text);
    // Places the controls by the window's size.
    void LayoutControls();
    // Text colour of a row by the kind of its frame.
    static ColorRef KindColor(char kind);
    // "%02d:%02d:%02d:%03d" of an elapsed time; a negative one counts as 0.
    static std::string FormatElapsed(int64_t ms);

    void OnItemchangedFrameList();
    void OnRclickFrameList();
    void OnDblclkFrameList();

    Button m_autoRefreshCheck;     // IDC_MONITOR_AUTO_REFRESH "自动刷新"
    RichEdit m_parseEdit;          // IDC_MONITOR_ANALYSIS_PANE
    CSortListCtrl m_frameList{3};  // IDC_MONITOR_LIST
    CFrameDetailDlg m_detailDlg;
    FirstFrameFlag m_firstFrame;
    SystemTime m_referenceTime;  // guarded by the main window's monitor lock

protected:
    void DoDataExchange();
    bool OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnClose() override;
    void OnSize(int width, int height) override;
    void OnTimer(int id) override;
    bool PreTranslateKey(Key key) override;

private:
    // A row as recorded, made into cells when it is shown.
    struct PendingRow {
        ByteString frame;
        SystemTime time;
        int64_t elapsedMs = 0;
        intptr_t position = 0;  // of its record in the history
        uint32_t number = 0;
        uint32_t generation = 0;
        char kind = '0';
        bool hasElapsed = false;
    };
    // A row for position's record, shown with the next showing.
    void QueueRow(char kind, const ByteString& frame, const SystemTime& time, uint32_t number, intptr_t position);
    // User-interface thread: shows the pending rows now, or when kShowIntervalMs have passed
    // since the last time (each showing repaints the list).
    void ScheduleShow();
    // User-interface thread: puts the rows recorded since the last showing on the list.
    void ShowPendingRows();

    // Explains the selected row in the pane. The rows the automatic refresh selects are
    // explained at most every kExplainIntervalMs: a busy line moves the selection ten times a
    // second, faster than anyone reads; the newest is explained when the interval ends.
    void ExplainSelection();

    static constexpr int kShowTimer = 1;
    static constexpr int kExplainTimer = 2;
    static constexpr uint64_t kExplainIntervalMs = 250;
    static constexpr uint64_t kShowIntervalMs = 40;
    static constexpr uint32_t kSettleMs = 12;  // rows from other threads wait this long to gather

    std::mutex m_pendingLock;  // held only to hand rows over, never while waiting
    std::vector<PendingRow> m_pendingRows;
    bool m_showPosted = false;
    uint64_t m_lastShown = 0;  // tick of the last showing
    uint64_t m_lastExplained = 0;    // tick of the last explanation
    bool m_refreshSelecting = false;  // the automatic refresh is moving the selection
    bool m_explainDue = false;        // kExplainTimer runs
    // History position of the next frame recorded, under the history's lock: records come in
    // order, one a row, and start again at 0 with each generation.
    intptr_t m_addPosition = 0;
    uint32_t m_addGeneration = 0;
    // User-interface thread: the generation of the rows listed, and the oldest position they
    // may hold (the history had dropped those before it).
    uint32_t m_listGeneration = 0;
    intptr_t m_firstListed = 0;
    MainWindowPort& m_window;
};
