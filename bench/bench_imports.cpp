// Large imports on the window's thread: how long each holds it (the command itself, then the
// event loop's turn that shows the rows). The frame-log import (报文导入) reads a file of
// frame-log lines into a frame log that already holds rows; the meter-management import reads a
// file of addresses far longer than its lists take; its deletion of checked rows empties full
// lists.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/main_tester_dlg.h"
#include "dialogs/meter_manage_dlg.h"
#include "platform/ui.h"
#include "res/resource_ids.h"
#include "res/resources.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Times a command on the window's thread: until it returns (command_ms), and until the event
// loop's turn after it has shown its rows (shown_ms). Timing is paused before and after.
template <typename Command>
void TimeHold(benchmark::State& state, Command command) {
    state.ResumeTiming();
    const auto t0 = Clock::now();
    command();
    const auto t1 = Clock::now();
    PumpMessages();
    const auto t2 = Clock::now();
    state.PauseTiming();
    state.counters["command_ms"] = Ms(t1 - t0);
    state.counters["shown_ms"] = Ms(t2 - t0);
}

// A frame-log export of lines rows: the header, then a time stamp and a frame per line.
void WriteFrameLogFile(const std::string& path, int lines) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << "\xca\xb1\xbc\xe4" << std::string(8 + 15, ' ') << "\xb1\xa8\xce\xc4" << std::string(8, ' ') << "\r\n";
    const std::string tail = "    79 01 00 C0 19 00 DA D8     \r\n";
    for (int i = 0; i < lines; ++i) {
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "2024-03-05 06:%02d:%02d:%03d", i / 60000 % 60, i / 1000 % 60, i % 1000);
        out << stamp << tail;
    }
}

// A window in a working folder of its own, its file dialogs answered with path and its message
// boxes with OK.
class ImportBench {
public:
    explicit ImportBench(const std::string& fileName)
        : before_(std::filesystem::current_path()),
          dir_(std::filesystem::temp_directory_path() / ("kvt_bench_import_" + std::to_string(getpid()))) {
        std::filesystem::create_directories(dir_);
        std::filesystem::current_path(dir_);  // the window's working file goes there
        path = (dir_ / fileName).string();
        previousFiles_ = SetFileDialogHook([this](const FileDialogRequest&) { return path; });
        previousBoxes_ = SetMessageBoxHook([this](const MessageBoxRequest&) {
            ++boxes;
            return kIdOk;
        });
    }
    ~ImportBench() {
        SetMessageBoxHook(previousBoxes_);
        SetFileDialogHook(previousFiles_);
        std::filesystem::current_path(before_);
        std::filesystem::remove_all(dir_);
    }
    std::string path;
    int boxes = 0;

private:
    std::filesystem::path before_;
    std::filesystem::path dir_;
    FileDialogHook previousFiles_;
    MessageBoxHook previousBoxes_;
};

// Arguments: lines in the file, rows in the frame log before the import.
void BM_FrameLogImport(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    const int prefill = static_cast<int>(state.range(1));
    ImportBench bench("frames.txt");
    WriteFrameLogFile(bench.path, lines);
    for (auto _ : state) {
        state.PauseTiming();
        auto dlg = std::make_unique<CMainTesterDlg>();
        dlg->Create();
        dlg->ShowWindow(true);
        ListView log(dlg->GetDlgItem(IDC_FRAME_LOG));
        const std::vector<std::string> cells = {"2024-03-05 06:07:08:009", "1", "79 00 00 40 02 42 42 "};
        for (int i = 0; i < prefill; ++i) log.AppendRow(cells);
        PumpMessages();
        TimeHold(state, [&] { dlg->DispatchNotify(IDM_IMPORT_FRAMES, Notify::Clicked); });
        // Past the row limit the rows there go first, whole drops at a time, then the file's
        // last lines; a message says so.
        const int bound = ListView::kDefaultRowLimit, drop = ListView::kDefaultDropRows;
        const int over = prefill + lines - bound;
        const int removed = over > 0 ? std::min(prefill, (over + drop - 1) / drop * drop) : 0;
        const int kept = std::min(lines, bound - (prefill - removed));
        const int boxes = removed > 0 || kept < lines ? 1 : 0;
        if (bench.boxes != boxes || log.GetItemCount() != prefill - removed + kept)
            state.SkipWithError("rows lost");
        dlg->Close();
        dlg->DestroyWindow();
        dlg.reset();
        PumpMessages();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FrameLogImport)
    ->Args({10000, 200000})
    ->Args({1000000, 0})
    ->Args({1000000, 200000})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// A main window with meter management open over its address list; both go with it.
struct MeterManageWindow {
    std::unique_ptr<CMainTesterDlg> dlg = std::make_unique<CMainTesterDlg>();
    ListView list;
    std::unique_ptr<CMeterManageDlg> meters;

    MeterManageWindow() : list((dlg->Create(), dlg->GetDlgItem(IDC_ADDRESS_LIST))) {
        meters = std::make_unique<CMeterManageDlg>(list);
        meters->Create(dlg.get());
    }
    ~MeterManageWindow() {
        meters.reset();
        dlg->Close();
        dlg->DestroyWindow();
        dlg.reset();
        PumpMessages();
    }
};

// Argument: addresses in the file; the lists take 10,000.
void BM_MeterManageImport(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    ImportBench bench("meters.txt");
    {
        std::ofstream out(bench.path, std::ios::binary | std::ios::trunc);
        char line[32];
        for (int i = 0; i < lines; ++i) {
            std::snprintf(line, sizeof line, "%012d %04d\r\n", i, i % 10000);
            out << line;
        }
    }
    for (auto _ : state) {
        state.PauseTiming();
        {
            MeterManageWindow w;
            PumpMessages();
            TimeHold(state, [&] { Button(w.meters->GetDlgItem(IDC_METER_IMPORT)).Click(); });
            if (w.list.GetItemCount() != std::min(lines, static_cast<int>(CMeterManageDlg::kMaxAddresses)))
                state.SkipWithError("rows lost");
        }
        PumpMessages();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MeterManageImport)->Arg(1000000)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

// Arguments: rows in both lists, every how many a row is checked (1: all).
void BM_MeterManageDeleteChecked(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const int every = static_cast<int>(state.range(1));
    ImportBench bench("meters.txt");
    for (auto _ : state) {
        state.PauseTiming();
        {
            MeterManageWindow w;
            CMeterManageDlg& meters = *w.meters;
            Edit(meters.GetDlgItem(IDC_METER_RANGE_START)).SetText("1");
            Edit(meters.GetDlgItem(IDC_METER_RANGE_STEP)).SetText("1");
            Edit(meters.GetDlgItem(IDC_METER_RANGE_COUNT)).SetText(std::to_string(rows));
            Button(meters.GetDlgItem(IDC_METER_ADD_RANGE)).Click();
            ListView own(meters.GetDlgItem(IDC_METER_LIST));
            for (int r = 0; r < own.GetItemCount(); ++r) own.SetCheck(r, r % every == 0);
            PumpMessages();
            TimeHold(state, [&] { Button(meters.GetDlgItem(IDC_METER_DELETE)).Click(); });
            const int left = rows - (rows + every - 1) / every;
            if (w.list.GetItemCount() != left || own.GetItemCount() != left) state.SkipWithError("wrong rows deleted");
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MeterManageDeleteChecked)
    ->Args({1250, 1})
    ->Args({5000, 1})
    ->Args({10000, 1})
    ->Args({10000, 2})
    ->Iterations(1)
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
