// Report lists against the line's worst case: at 115200 baud about 1,650 of the smallest (7-byte)
// frames a second reach the frame monitor. Measures the cost and the memory of a row in lists of
// the monitor's shape (time, number, frame text, a colour per cell), and the longest stall of the
// event loop while rows arrive from another thread at that rate, and while a burst of rows is
// written on the window's own thread.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/main_tester_dlg.h"
#include "dialogs/broadcast_reply_test_dlg.h"
#include "dialogs/frame_monitor_dlg.h"
#include "platform/ui.h"
#include "res/resource_ids.h"
#include "res/resources.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kLineFramesPerSecond = 1650;
constexpr int kTrafficSeconds = 3;

const unsigned char kSmallestFrame[] = {0x79, 0x00, 0x00, 0x40, 0x02, 0x42, 0x42};

size_t HeapInUse() {
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

size_t ResidentBytes() {
    long pages = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        long size = 0;
        if (std::fscanf(f, "%ld %ld", &size, &pages) != 2) pages = 0;
        std::fclose(f);
    }
    return static_cast<size_t>(pages) * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

// Resident pages not backed by a file (heap, stacks): code and fonts paged in do not count.
size_t ResidentAnonymousBytes() {
    long size = 0, pages = 0, shared = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld %ld", &size, &pages, &shared) != 3) pages = shared = 0;
        std::fclose(f);
    }
    return static_cast<size_t>(pages - shared) * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// A window of the monitor's template with its list made the monitor's shape.
class ListWindow : public Dialog {
public:
    ListWindow() : Dialog(IDD_FRAME_MONITOR) {}
    ListView list;

protected:
    bool OnInitDialog() override {
        list = ListView(GetDlgItem(IDC_MONITOR_LIST));
        list.InsertColumn(0, "时间", 150);
        list.InsertColumn(1, "序号", 50);
        list.InsertColumn(2, "报文", 600);
        return true;
    }
};

std::vector<std::string> MonitorCells() { return {"2024-03-05 06:07:08:009", "", "79 00 00 40 02 42 42 "}; }

// One frame row as the monitor writes it: the cells, then the kind's colour on each cell.
int WriteRow(ListView& list, std::vector<std::string>& cells, int number) {
    cells[1] = std::to_string(number);
    const int row = list.AppendRow(cells);
    for (int c = 0; c < 3; ++c) list.SetCellTextColor(row, c, 0x0000F0);
    return row;
}

void Prefill(ListView& list, int rows) {
    std::vector<std::string> cells = MonitorCells();
    for (int i = 0; i < rows; ++i) {
        WriteRow(list, cells, i);
        if (i % 1000 == 999) PumpMessages();
    }
    PumpMessages();
}

// Appending rows in live-sized batches: the event loop runs after every 100 rows.
void BM_AppendRows(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    double heapPerRow = 0;
    double rssPerRow = 0;
    for (auto _ : state) {
        state.PauseTiming();
        malloc_trim(0);
        auto w = std::make_unique<ListWindow>();
        w->Create();
        w->ShowWindow(true);
        PumpMessages();
        const size_t heap0 = HeapInUse();
        const size_t rss0 = ResidentBytes();
        std::vector<std::string> cells = MonitorCells();
        state.ResumeTiming();
        for (int i = 0; i < rows; ++i) {
            WriteRow(w->list, cells, i);
            if (i % 100 == 99) PumpMessages();
        }
        PumpMessages();
        state.PauseTiming();
        if (w->list.GetItemCount() != rows) state.SkipWithError("rows lost");
        heapPerRow = static_cast<double>(HeapInUse() - heap0) / rows;
        rssPerRow = static_cast<double>(ResidentBytes() - rss0) / rows;
        w.reset();
        PumpMessages();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * rows);
    state.counters["time_per_row"] =
        benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsIterationInvariantRate |
                                                          benchmark::Counter::kInvert);
    state.counters["heap_bytes_per_row"] = heapPerRow;
    state.counters["rss_bytes_per_row"] = rssPerRow;
    state.counters["rss_MB_total"] = rssPerRow * rows / 1e6;
}
BENCHMARK(BM_AppendRows)->Arg(100000)->Arg(1000000)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

struct TrafficResult {
    double longestStallMs = 0;
    double longestRowWaitMs = 0;
    int rowsShown = 0;
};

// Runs the event loop on this thread while produce() sends kLineFramesPerSecond rows a second
// from another thread for kTrafficSeconds; the stall is the longest single pass of the loop.
template <typename Produce, typename Shown>
TrafficResult RunTraffic(Produce produce, Shown shown, int seconds = kTrafficSeconds) {
    const int total = kLineFramesPerSecond * seconds;
    std::atomic<bool> done{false};
    std::thread producer([&] {
        const auto start = Clock::now();
        for (int i = 0; i < total; ++i) {
            std::this_thread::sleep_until(start + std::chrono::microseconds(1000000LL * i / kLineFramesPerSecond));
            produce(i);
        }
        done = true;
    });
    TrafficResult r;
    const auto deadline = Clock::now() + std::chrono::seconds(seconds + 10);
    while (Clock::now() < deadline) {
        const auto t0 = Clock::now();
        PumpMessages();
        r.longestStallMs = std::max(r.longestStallMs, Ms(Clock::now() - t0));
        if (done && shown() >= total) break;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    producer.join();
    PumpMessages();
    r.rowsShown = shown();
    return r;
}

void Report(benchmark::State& state, const TrafficResult& r) {
    state.counters["longest_stall_ms"] = r.longestStallMs;
    state.counters["longest_row_wait_ms"] = r.longestRowWaitMs;
    state.counters["rows_shown"] = r.rowsShown;
    if (r.rowsShown < kLineFramesPerSecond * kTrafficSeconds) state.SkipWithError("rows lost or late");
}

// Each row posted on its own from another thread and appended; when follow is set, it is also
// scrolled to and made the only selection at once, as a list with automatic update does per row.
void ListAtLineRate(benchmark::State& state, bool follow) {
    const int prefill = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto w = std::make_unique<ListWindow>();
        w->Create();
        w->ShowWindow(true);
        Prefill(w->list, prefill);
        std::vector<std::string> cells = MonitorCells();
        std::atomic<int> shown{0};
        std::atomic<int64_t> longestWaitUs{0};
        state.ResumeTiming();
        TrafficResult r = RunTraffic(
            [&](int i) {
                const auto posted = Clock::now();
                w->PostTask([&, i, posted] {
                    const int row = WriteRow(w->list, cells, i);
                    if (follow) {
                        w->list.EnsureVisible(row);
                        w->list.SetItemState(row, ListView::kStateSelected | ListView::kStateFocused,
                                             ListView::kStateSelected | ListView::kStateFocused);
                    }
                    const int64_t us =
                        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - posted).count();
                    if (us > longestWaitUs) longestWaitUs = us;
                    ++shown;
                });
            },
            [&] { return shown.load(); });
        state.PauseTiming();
        r.longestRowWaitMs = longestWaitUs / 1000.0;
        Report(state, r);
        w.reset();
        PumpMessages();
        state.ResumeTiming();
    }
}

void BM_ListAtLineRate(benchmark::State& state) { ListAtLineRate(state, false); }
BENCHMARK(BM_ListAtLineRate)
    ->Arg(0)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BM_ListFollowingEachRowAtLineRate(benchmark::State& state) { ListAtLineRate(state, true); }
BENCHMARK(BM_ListFollowingEachRowAtLineRate)
    ->Arg(0)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The monitor alone: no main window and an empty frame history behind it.
class NoMainWindow : public MainWindowPort {
public:
    void SendFrame(ByteString) override {}
    void EnableControl(int) override {}
    void ShowRowDetail(ListView) override {}
    void VisitHistory(const std::function<void(uint32_t, const MonitorRecord&)>&) override {}
    RecordView ViewHistoryRecord(intptr_t, SystemTime&, SystemTime&) override { return RecordView::Missing; }
    void ViewHistoryRecords(intptr_t, intptr_t) override {}
};

// The frame monitor itself: AddFrameRow from a recording thread with the automatic refresh on,
// so the newest row is selected and explained as it comes.
void BM_MonitorAtLineRate(benchmark::State& state) {
    NoMainWindow window;
    const int prefill = static_cast<int>(state.range(0));
    const ByteString frame(kSmallestFrame, kSmallestFrame + sizeof(kSmallestFrame));
    SystemTime t;
    t.year = 2024;
    t.month = 3;
    t.day = 5;
    for (auto _ : state) {
        state.PauseTiming();
        auto monitor = std::make_unique<CFrameMonitorDlg>(window);
        monitor->Create();
        monitor->ShowWindow(true);
        for (int i = 0; i < prefill; ++i) monitor->AddFrameRow('1', frame, t, static_cast<uint32_t>(i));
        const CSortListCtrl& list = monitor->m_frameList;
        WaitPumping([&] { return list.GetItemCount() >= prefill; }, 600000);
        state.ResumeTiming();
        TrafficResult r = RunTraffic(
            [&](int i) { monitor->AddFrameRow(i % 2 ? '1' : '0', frame, t, static_cast<uint32_t>(i)); },
            [&] { return list.GetItemCount() - prefill; });
        state.PauseTiming();
        Report(state, r);
        monitor.reset();
        PumpMessages();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MonitorAtLineRate)
    ->Arg(0)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The monitor behind a frame history of its own, wired as the main window wires them.
class HistoryWindow : public NoMainWindow {
public:
    explicit HistoryWindow(CFrameMonitorDlg*& monitor) {
        history.SetRowSink([&monitor](char kind, const ByteString& frame, const SystemTime& time, uint32_t number) {
            monitor->AddFrameRow(kind, frame, time, number);
        });
    }
    intptr_t FirstHistoryPosition() override { return static_cast<intptr_t>(history.FirstPosition()); }
    FrameHistory history;
};

// A smallest frame of its own: a header sort scatters the records' rows over the list.
ByteString ScatteredFrame(uint32_t i) {
    const uint32_t h = i * 2654435761u;
    return ByteString{0x79, static_cast<unsigned char>(h >> 24), static_cast<unsigned char>(h >> 16),
                      static_cast<unsigned char>(h >> 8), static_cast<unsigned char>(h), 0x42, 0x42};
}

// A monitor shown with a full history (range(1) records short of the bound), sorted by the frame
// when range(0) is 1.
std::unique_ptr<CFrameMonitorDlg> FullMonitor(HistoryWindow& window, CFrameMonitorDlg*& monitor, bool sorted,
                                              size_t shortOfBound) {
    auto dlg = std::make_unique<CFrameMonitorDlg>(window);
    monitor = dlg.get();
    dlg->Create();
    dlg->ShowWindow(true);
    const size_t records = FrameHistory::kMaxRecords - shortOfBound;
    for (size_t i = 0; i < records; ++i) {
        window.history.RecordSentFrame('0', ScatteredFrame(static_cast<uint32_t>(i)));
        if (i % 10000 == 9999) PumpMessages();
    }
    WaitPumping([&] { return dlg->m_frameList.GetItemCount() == static_cast<int>(records); }, 600000);
    if (sorted) dlg->m_frameList.ClickColumn(2);
    PumpMessages();
    return dlg;
}

// The history at its bound drops its oldest 100,000 records: the longest pass of the event loop
// while their rows leave the shown monitor, its rows in recording order (0) or sorted (1).
void BM_MonitorAtHistoryBound(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        CFrameMonitorDlg* monitor = nullptr;
        HistoryWindow window(monitor);
        auto dlg = FullMonitor(window, monitor, state.range(0) != 0, 0);
        const int expected = static_cast<int>(FrameHistory::kMaxRecords - FrameHistory::kDropRecords + 1);
        state.ResumeTiming();
        double longest = 0;
        window.history.RecordSentFrame('0', ScatteredFrame(static_cast<uint32_t>(FrameHistory::kMaxRecords)));
        const auto deadline = Clock::now() + std::chrono::seconds(10);
        while (dlg->m_frameList.GetItemCount() != expected && Clock::now() < deadline) {
            const auto t0 = Clock::now();
            PumpMessages();
            longest = std::max(longest, Ms(Clock::now() - t0));
        }
        state.PauseTiming();
        state.counters["drop_stall_ms"] = longest;
        if (dlg->m_frameList.GetItemCount() != expected) state.SkipWithError("rows of dropped records stay");
        dlg.reset();
        PumpMessages();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MonitorAtHistoryBound)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Repetitions(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// Soak past the bound: frames recorded at the line's rate from another thread into a history
// 1,650 records short of its bound, for kTrafficSeconds; the longest stall of the event loop.
void BM_MonitorAtLineRatePastHistoryBound(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        CFrameMonitorDlg* monitor = nullptr;
        HistoryWindow window(monitor);
        auto dlg = FullMonitor(window, monitor, state.range(0) != 0, kLineFramesPerSecond);
        const int before = dlg->m_frameList.GetItemCount();
        state.ResumeTiming();
        std::atomic<int> recorded{0};
        TrafficResult r = RunTraffic(
            [&](int i) {
                window.history.RecordSentFrame('0', ScatteredFrame(static_cast<uint32_t>(before + i)));
                ++recorded;
            },
            [&] {
                // Every record made has its row once the drop's rows are gone.
                const int n = recorded.load();
                const int expected = static_cast<int>(window.history.Size());
                return n > 0 && dlg->m_frameList.GetItemCount() == expected ? n : 0;
            });
        state.PauseTiming();
        Report(state, r);
        if (window.history.FirstPosition() == 0) state.SkipWithError("the bound was not reached");
        dlg.reset();
        PumpMessages();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MonitorAtLineRatePastHistoryBound)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The broadcast reply test at the line's rate: answers explained on the receiving thread, rows
// added in batches, until the list's 10,000 rows are full; then resident bytes per row.
void BM_BroadcastReplyAtLineRate(benchmark::State& state) {
    constexpr int kFillSeconds =
        (static_cast<int>(CBroadcastReplyTestDlg::kMaxRows) + kLineFramesPerSecond - 1) / kLineFramesPerSecond;
    NoMainWindow window;
    const ByteString answer = {0x79, 0x11, 0x00, 0xC0, 0xF5, 0x01, 0x03, 0x34, 0x12, 0x06, 0x05, 0x04, 0x03,
                               0x02, 0x01, 0x0A, 0x2C, 0x01, 0x03, 0x01, 0x10, 0x00, 0x00, 0x00};
    for (auto _ : state) {
        state.PauseTiming();
        malloc_trim(0);
        const size_t heap0 = HeapInUse();
        const size_t rss0 = ResidentBytes();
        auto dlg = std::make_unique<CBroadcastReplyTestDlg>(window);
        dlg->Create();
        PumpMessages();
        const size_t heapEmpty = HeapInUse();
        const size_t rssEmpty = ResidentBytes();
        const size_t anonEmpty = ResidentAnonymousBytes();
        state.ResumeTiming();
        TrafficResult r = RunTraffic([&](int) { dlg->OnBroadcastReplyFrame(answer); },
                                     [&] { return static_cast<int>(dlg->m_rowCount + dlg->m_droppedRows); },
                                     kFillSeconds);
        state.PauseTiming();
        Report(state, r);
        const double rows = dlg->m_rowCount;
        if (dlg->m_rowCount != CBroadcastReplyTestDlg::kMaxRows) state.SkipWithError("list not full");
        // Heap in use counts what the dialog holds, from before it was made (its per-row records
        // included); resident also counts memory freed but not yet returned to the system.
        state.counters["heap_bytes_per_row"] = static_cast<double>(HeapInUse() - heap0) / rows;
        state.counters["heap_rows_only_per_row"] = static_cast<double>(HeapInUse() - heapEmpty) / rows;
        state.counters["rss_bytes_per_row"] = static_cast<double>(ResidentBytes() - rss0) / rows;
        state.counters["rss_rows_only_per_row"] = static_cast<double>(ResidentBytes() - rssEmpty) / rows;
        malloc_trim(0);
        state.counters["rss_trimmed_rows_only_per_row"] = static_cast<double>(ResidentBytes() - rssEmpty) / rows;
        state.counters["anon_trimmed_rows_only_per_row"] =
            static_cast<double>(ResidentAnonymousBytes() - anonEmpty) / rows;
        dlg.reset();
        PumpMessages();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BroadcastReplyAtLineRate)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

// Exporting a full broadcast reply list (10,000 rows) to a file.
void BM_BroadcastReplyExport(benchmark::State& state) {
    NoMainWindow window;
    CBroadcastReplyTestDlg dlg(window);
    dlg.Create();
    std::vector<BroadcastReplyRow> rows(CBroadcastReplyTestDlg::kMaxRows);
    const ByteString answer = {0x79, 0x11, 0x00, 0xC0, 0xF5, 0x01, 0x02, 0x06, 0x05, 0x04, 0x03,
                               0x02, 0x01, 0x0A, 0x2C, 0x01, 0x03, 0x01, 0x10, 0x00, 0x00, 0x00};
    for (BroadcastReplyRow& row : rows) CBroadcastReplyTestDlg::ReadReplyRow(answer, 0, row);
    dlg.AppendReplyRows(rows);
    char dir[] = "/tmp/kvt_bench_XXXXXX";
    if (!mkdtemp(dir)) return;
    const std::string path = std::string(dir) + "/replies.txt";
    FileDialogHook previous = SetFileDialogHook([&](const FileDialogRequest&) { return path; });
    for (auto _ : state) dlg.OnExportData();
    SetFileDialogHook(previous);
    std::remove(path.c_str());
    rmdir(dir);
    dlg.DestroyWindow();
}
BENCHMARK(BM_BroadcastReplyExport)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

// The main window's working file goes to a folder of its own while this lives.
class WindowFolder {
public:
    explicit WindowFolder(const std::string& name)
        : before_(std::filesystem::current_path()),
          dir_(std::filesystem::temp_directory_path() / (name + "_" + std::to_string(getpid()))) {
        std::filesystem::create_directories(dir_);
        std::filesystem::current_path(dir_);
    }
    ~WindowFolder() {
        std::filesystem::current_path(before_);
        std::filesystem::remove_all(dir_);
    }

private:
    std::filesystem::path before_, dir_;
};

std::unique_ptr<CMainTesterDlg> OpenMainWindow() {
    auto dlg = std::make_unique<CMainTesterDlg>();
    dlg->Create();
    dlg->ShowWindow(true);
    PumpMessages();
    return dlg;
}

// Closes and destroys a main window, outside the timing.
void CloseMainWindow(benchmark::State& state, std::unique_ptr<CMainTesterDlg>& dlg) {
    dlg->Close();
    dlg->DestroyWindow();
    dlg.reset();
    PumpMessages();
    state.ResumeTiming();
}

// A burst written on the window's own thread, as a network read of back-to-back frames is split
// there: rows of a data reply log with automatic update on, kBurstRows a turn of the event loop.
// The longest stall and the time until the last row is shown.
void BM_FrameLogBurstOnWindowThread(benchmark::State& state) {
    constexpr int kBurstRows = 585;  // the smallest frames in a 4 KiB read
    const int rows = static_cast<int>(state.range(0));
    const WindowFolder folder("kvt_bench_frame_log");
    for (auto _ : state) {
        state.PauseTiming();
        auto dlg = OpenMainWindow();
        ListView log(dlg->GetDlgItem(IDC_DATA_REPLY_LOG));
        state.ResumeTiming();
        TrafficResult r;
        const auto start = Clock::now();
        for (int written = 0; written < rows || log.GetItemCount() < rows;) {
            const auto t0 = Clock::now();
            for (int i = 0; i < kBurstRows && written < rows; ++i, ++written)
                dlg->Logs().Add(LogList::DataReplyLog, "79000040024242");
            PumpMessages();
            r.longestStallMs = std::max(r.longestStallMs, Ms(Clock::now() - t0));
            if (Clock::now() - start > std::chrono::seconds(60)) break;
            if (written >= rows) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        state.PauseTiming();
        r.rowsShown = log.GetItemCount();
        state.counters["longest_stall_ms"] = r.longestStallMs;
        state.counters["all_shown_ms"] = Ms(Clock::now() - start);
        if (r.rowsShown < rows) state.SkipWithError("rows lost or late");
        CloseMainWindow(state, dlg);
    }
}
BENCHMARK(BM_FrameLogBurstOnWindowThread)
    ->Arg(20000)
    ->Arg(100000)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// A frame log at its bound, automatic update off, with many rows selected: every row (0, Ctrl+A)
// or half the rows across the oldest (1, a click on the first row and a Shift+click in the
// middle). One more row drops the oldest rows: the longest pass of the event loop until the new
// row is shown.
void BM_FrameLogDropWithSelection(benchmark::State& state) {
    const WindowFolder folder("kvt_bench_frame_log_drop");
    for (auto _ : state) {
        state.PauseTiming();
        auto dlg = OpenMainWindow();
        ListView log(dlg->GetDlgItem(IDC_DATA_REPLY_LOG));
        Button(dlg->GetDlgItem(IDC_AUTO_UPDATE)).SetCheck(0);  // the new row takes no selection
        {
            ListRows rows(log);
            const std::string frame = "79 00 00 40 02 42 42 ";
            const ListCell cells[] = {ListCell::Text("2024-03-05 06:07:08:009"), ListCell::Text("0"),
                                      ListCell::Text(frame)};
            while (!rows.Full()) rows.Add(cells, 3);
            log.InsertRows(-1, rows);
        }
        PumpMessages();
        const int full = log.GetItemCount();
        log.SetFocus();
        if (state.range(0) == 0) {
            log.PressSelectAll();
        } else {
            log.MouseClickRow(0);
            log.MouseClickRow(full / 2 - 1, true);
        }
        PumpMessages();
        const size_t selected = log.GetSelectedRows().size();
        state.ResumeTiming();
        double longest = 0;
        const auto start = Clock::now();
        {
            const auto t0 = Clock::now();
            dlg->Logs().Add(LogList::DataReplyLog, "79000040024343");
            PumpMessages();
            longest = Ms(Clock::now() - t0);
        }
        const int expected = full - ListView::kDefaultDropRows + 1;
        while ((log.GetItemCount() != expected || log.GetTopIndex() < 0) && Clock::now() - start < std::chrono::seconds(300)) {
            const auto t0 = Clock::now();
            PumpMessages();
            longest = std::max(longest, Ms(Clock::now() - t0));
        }
        state.PauseTiming();
        state.counters["drop_stall_ms"] = longest;
        state.counters["selected_before"] = static_cast<double>(selected);
        state.counters["selected_after"] = static_cast<double>(log.GetSelectedRows().size());
        if (log.GetItemCount() != expected) state.SkipWithError("the drop did not happen");
        CloseMainWindow(state, dlg);
    }
}
BENCHMARK(BM_FrameLogDropWithSelection)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Repetitions(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    Application app(argc, argv);
    RegisterResources();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
