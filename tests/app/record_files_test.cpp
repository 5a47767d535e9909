// The main window's text files: results, frame logs and the search log written byte for byte
// (GBK, names from the local time), the received records and frame logs read back by their
// imports, and the failures they report.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <utility>
#include <string>
#include <thread>
#include <vector>

#include "support/dialog_lookup.h"
#include "support/main_window_fixture.h"
#include "support/thread_recorder.h"

namespace {

using namespace testsupport;

// Text lines as the files hold them: GBK, CRLF.
std::string FileText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) text += Utf8ToGbk(l) + "\r\n";
    return text;
}

class RecordFilesTest : public MainWindowWithModule {
protected:
    RecordFilesTest() : MainWindowWithModule(11, true) {}
    void Command(int id) { dlg->DispatchNotify(id, Notify::Clicked); }
    // Runs an export or import on the file path, answering its file dialog.
    void Run(int id, const std::string& path) {
        filePaths.push_back(path);
        Command(id);
    }
};

struct ExportCase {
    const char* name;
    std::vector<std::pair<int, std::vector<std::string>>> rows;  // list id and cells
    int command;  // 0: the search log, written without a dialog
    std::string fileName;
    std::vector<std::string> lines;
};

TEST_F(RecordFilesTest, EachExportWritesItsFileByteForByteOrSaysItCouldNot) {
    SetClock(T(2023, 11, 2, 3, 4, 5, 6));
    const std::string a = "2023-11-02 03:04:05:001";
    const std::string b = "2023-11-02 03:04:05:002";
    const std::vector<ExportCase> cases = {
        {"results",
         {{IDC_ADDRESS_LIST, {"1", "000000000001", "成功", "00 ms"}}, {IDC_ADDRESS_LIST, {"2", "000000000002", " ", " "}}},
         IDC_EXPORT_RESULTS, "ResultExport,  2023-11-02 03-04-05.txt",
         {"地址" + Blanks(8 + 4) + "结果" + Blanks(2 + 2) + "时间" + Blanks(2), "000000000001    成功    00 ms    ",
          "000000000002" + Blanks(4) + " " + Blanks(4) + " " + Blanks(4)}},
        {"frame logs",
         {{IDC_METER_READ_LIST, {a, "1", "68 01 ", "成功", "0.05"}},
          {IDC_METER_READ_LIST, {b, "2", "", "超时", ""}},
          {IDC_FRAME_LOG, {a, "3", "79 00 00 40 02 42 42 "}},
          {IDC_PASS_THROUGH_LIST, {b, "4", "", "R", "  0"}},
          {IDC_SEARCH_LOG, {a, "5", "79 00 00 40 18 58 58 "}}},
         IDM_EXPORT_FRAMES, "ROUTEREXPORT,  2023-11-02 03-04-05.txt",
         {"时间" + Blanks(8 + 15) + "报文" + Blanks(8), a + "    68 01     成功    0.05    ",
          b + "    " + Blanks(60) + "    超时        ", a + "    79 00 00 40 02 42 42     ",
          b + "    " + Blanks(6) + "    R      0    ", a + "    79 00 00 40 18 58 58     "}},
        {"search log", {}, 0, " frame,  2023-11-02 03-04-05.txt",
         {"时间" + Blanks(8 + 6) + "报文" + Blanks(8), a + "    79 00 00 40 18 58 58     "}},
    };
    for (const ExportCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Path(c.fileName);
        if (c.command != 0) {
            // Nothing to export: an old file of the chosen name goes, and none is written.
            WriteFileBytes(path, "old");
            Run(c.command, path);
            EXPECT_FALSE(FileExists(path));
            EXPECT_EQ(fileRequests.back().fileName, c.fileName);
            EXPECT_FALSE(fileRequests.back().open);
        }
        for (const auto& row : c.rows) ListOf(row.first).AppendRow(row.second);
        if (c.command != 0) {
            Run(c.command, path);
        } else {
            dlg->SaveSearchLog();
        }
        EXPECT_EQ(ReadFileBytes(path), FileText(c.lines));
        EXPECT_TRUE(boxes.empty());
    }
    // The frame logs read back: to the top of the frame log in file order, unnumbered, the time
    // apart and the rest of the line as the frame; a line without a time is skipped and counted.
    const std::string frames = Path(cases[1].fileName);
    WriteFileBytes(frames, ReadFileBytes(frames) + FileText({"short line"}));
    Run(IDM_IMPORT_FRAMES, frames);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "1行格式错误，已跳过");
    ListView log = ListOf(IDC_FRAME_LOG);
    ASSERT_EQ(log.GetItemCount(), 6);
    EXPECT_EQ(log.GetItemText(0, 0) + "|" + log.GetItemText(0, 1) + "|" + log.GetItemText(0, 2),
              a + "||    68 01     成功    0.05    ");
    EXPECT_EQ(log.GetItemText(2, 2), "    79 00 00 40 02 42 42     ");
    EXPECT_EQ(log.GetItemText(5, 1), "3");
    boxes.clear();
    // A file that cannot be written (a folder of that name is in the way) says so; the folder stays.
    std::filesystem::create_directory(Path("taken"));
    Run(IDC_EXPORT_RESULTS, Path("taken"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "导出失败！");
    EXPECT_TRUE(std::filesystem::is_directory(Path("taken")));
    // A file made read-only is kept byte for byte: refused where there is something to write,
    // left silently where there is nothing (the frame history is empty).
    const std::string kept = Path("kept.txt");
    WriteFileBytes(kept, "old\r\n");
    std::filesystem::permissions(kept, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    const std::pair<int, const char*> exports[] = {
        {IDC_EXPORT_RESULTS, "导出失败！"}, {IDM_EXPORT_FRAMES, "导出失败！"}, {IDC_EXPORT_RECORDS, ""}};
    for (const auto& c : exports) {
        boxes.clear();
        Run(c.first, kept);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>(*c.second ? 1 : 0, c.second)) << c.first;
        EXPECT_EQ(ReadFileBytes(kept), "old\r\n") << c.first;
    }
}

// The real file dialog, answered as a user would: once its file name field has the focus, the
// name typed over it and Enter; a question that comes is noted and answered No (Esc), which
// leaves the dialog up, and it is then left with Esc. A dialog that neither asks nor takes the
// name within the bound is left with Esc too (stuck). Each step is taken from the event loop the
// dialog and its box run.
struct RealDialogUser {
    enum Step { Awaiting, Typed, Answered, Done };
    std::string name;
    std::string question;
    Step step = Awaiting;
    int looks = 0;  // since the name was typed
    bool stuck = false;
};

void Look(Dialog& window, const std::shared_ptr<RealDialogUser>& user) {
    if (user->step == RealDialogUser::Done) return;
    window.PostTaskAfter(20, [&window, user] { Look(window, user); });  // first: a press may nest
    const ModalWindowTexts up = ActiveModalWindowTexts();
    const bool box = !up.text.empty(), dialog = !up.title.empty() && !box;
    switch (user->step) {
        case RealDialogUser::Awaiting:
            if (!dialog || !up.typing) return;
            user->step = RealDialogUser::Typed;
            TypeOnFocusWindow(user->name);
            PressKeyOnFocusWindow(Key::Enter);
            return;
        case RealDialogUser::Typed:
            if (box) {
                user->question = up.text;
                user->step = RealDialogUser::Answered;
                PressKeyOnFocusWindow(Key::Escape);
            } else if (up.title.empty()) {
                user->step = RealDialogUser::Done;  // it took the name
            } else if (++user->looks > 500) {
                user->stuck = true;
                user->step = RealDialogUser::Done;
                PressKeyOnFocusWindow(Key::Escape);
            }
            return;
        case RealDialogUser::Answered:
            if (!dialog) return;
            user->step = RealDialogUser::Done;
            PressKeyOnFocusWindow(Key::Escape);
            return;
        case RealDialogUser::Done: return;
    }
}

// A name typed without its extension: a save dialog adds ".txt" before it asks whether to
// replace a file, so the question is about the file that would be written, and No keeps it; an
// open dialog hands back the existing file of that very name.
TEST_F(RecordFilesTest, TheRealFileDialogAsksAboutTheFileWrittenAndOpensTheFileChosen) {
    const std::string frameLine = std::string(kFixedStamp) + "    79 00 00 40 02 42 42     ";
    ListOf(IDC_FRAME_LOG).AppendRow({kFixedStamp, "1", "79 00 00 40 02 42 42 "});
    ListOf(IDC_ADDRESS_LIST).AppendRow({"1", "000000000001", "成功", "00 ms"});
    const struct {
        const char* name;
        int command;
        const char* typed;
        std::string file, text;  // the file of the name typed; written before when text is given
        const char* question;    // about this file; "" for none
        std::function<bool()> done;
    } cases[] = {
        {"数据导出", IDC_EXPORT_RECORDS, "foo", "foo.txt", "kept\r\n", "foo.txt", nullptr},
        {"报文导出", IDM_EXPORT_FRAMES, "foo", "foo.txt", "kept\r\n", "foo.txt", nullptr},
        {"结果导出", IDC_EXPORT_RESULTS, "foo", "foo.txt", "kept\r\n", "foo.txt", nullptr},
        {"结果导出 new", IDC_EXPORT_RESULTS, "new", "new.txt", "", "",
         [this] { return ReadFileBytes(Path("new.txt")).rfind(Utf8ToGbk("地址"), 0) == 0; }},
        {"报文导入", IDM_IMPORT_FRAMES, "plain", "plain", FileText({"header", frameLine}), "",
         [this] { return ListOf(IDC_FRAME_LOG).GetItemCount() == 2; }},
        {"数据导入", IDC_IMPORT_RECORDS, "plain", "plain", FileText({std::string(kFixedStamp) + "  79 01 00 C0 19 00 DA D8 "}),
         "", [this] { return History().size() == 1; }},
    };
    const FileDialogHook scripted = SetFileDialogHook(nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.text.empty()) WriteFileBytes(Path(c.file), c.text);
        auto user = std::make_shared<RealDialogUser>();
        user->name = c.typed;
        Look(*dlg, user);
        Command(c.command);
        ASSERT_TRUE(WaitFor([&] { return user->step == RealDialogUser::Done; }, 30000));
        EXPECT_FALSE(user->stuck);
        if (*c.question) {
            EXPECT_NE(user->question.find(c.question), std::string::npos) << user->question;
            EXPECT_EQ(ReadFileBytes(Path(c.file)), c.text);
        } else {
            EXPECT_EQ(user->question, "");
        }
        if (c.done) {
            EXPECT_TRUE(WaitFor(c.done, 10000));
        }
        if (c.file != c.typed) {
            EXPECT_FALSE(FileExists(Path(c.typed)));  // nothing under the name typed
        }
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
    }
    SetFileDialogHook(scripted);
}

// A frame-log file read into a log that holds rows: its lines stand at the top in file order,
// unnumbered, above the rows that were there (which keep their numbers and selection), a blank
// line as an empty row; a second file goes above the first. Past the log's row bound the rows
// that were there go first, then the file's last lines, and a message counts both; the lines
// past the bound are only counted, whatever they hold.
TEST_F(RecordFilesTest, FrameLogImportPutsTheFileAtTheTopInItsOrderAboveTheRowsThere) {
    ListView log = ListOf(IDC_FRAME_LOG);
    std::vector<std::vector<std::string>> expected;
    for (int i = 1; i <= 3; ++i) {
        expected.push_back({"2024-01-01 00:00:00:00" + std::to_string(i), std::to_string(i), "79 00 00 40 02 42 42 "});
        log.AppendRow(expected.back());
    }
    log.SelectRow(1);
    auto fileOf = [](int first, int count) {
        std::vector<std::string> lines = {"时间" + Blanks(8 + 15) + "报文" + Blanks(8)};
        std::vector<std::vector<std::string>> rows;
        for (int i = first; i < first + count; ++i) {
            char stamp[32];
            std::snprintf(stamp, sizeof stamp, "2024-03-05 06:%02d:%02d:%03d", i / 60000 % 60, i / 1000 % 60, i % 1000);
            const std::string frame = "    79 01 00 C0 19 " + std::to_string(i % 100) + " DA D8     ";
            lines.push_back(stamp + frame);
            rows.push_back({stamp, "", frame});
            if (i % 500 == 7) {
                lines.insert(lines.end(), {"", "no time here"});
                rows.push_back({"", "", ""});
            }
        }
        return std::make_pair(FileText(lines), rows);
    };
    const int kBound = ListView::kDefaultRowLimit, kDrop = ListView::kDefaultDropRows;
    const struct {
        int first, count;
        int maxRows, dropRows;
        size_t removed, kept;  // rows that were there and went, rows of the file shown
        const char* said;
        bool intoAnEmptyLog;
    } files[] = {
        {0, 3000, kBound, kDrop, 0, 3006, "6行格式错误，已跳过", false},
        {5000, 2, kBound, kDrop, 0, 2, "", false},
        {6000, 50, 3040, 100, 100, 51, "1行格式错误，已跳过\n列表已满，已删除原有的100行", false},
        {20008, 400, 300, 100, 2962, 300, "列表已满，已删除原有的2962行，有100行未导入", false},
        // A blank line and a line without a time past the bound.
        {30200, 400, 300, 100, 300, 300, "列表已满，已删除原有的300行，有102行未导入", false},
        {40010, 350, 300, 100, 0, 300, "列表已满，有50行未导入", true},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.first);
        const auto [text, rows] = fileOf(f.first, f.count);
        WriteFileBytes(Path("frames.txt"), text);
        boxes.clear();
        if (f.intoAnEmptyLog) {
            log.DeleteAllItems();
            expected.clear();
        }
        log.SetRowLimit(f.maxRows, f.dropRows);
        Run(IDM_IMPORT_FRAMES, Path("frames.txt"));
        EXPECT_EQ(BoxTexts(), f.said[0] ? std::vector<std::string>{f.said} : std::vector<std::string>{});
        expected.erase(expected.begin(), expected.begin() + static_cast<std::ptrdiff_t>(f.removed));
        expected.insert(expected.begin(), rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(f.kept));
        ASSERT_EQ(log.GetItemCount(), static_cast<int>(expected.size()));
        for (int r = 0; r < log.GetItemCount(); ++r) {
            const std::vector<std::string> row = {log.GetItemText(r, 0), log.GetItemText(r, 1), log.GetItemText(r, 2)};
            ASSERT_EQ(row, expected[static_cast<size_t>(r)]) << r;
        }
        // The selected row stays selected while it stays (at the bottom, the top going first).
        const int count = log.GetItemCount();
        const bool stays = count > static_cast<int>(f.kept);
        EXPECT_EQ(log.GetSelectedRows(), stays ? std::vector<int>{count - 2} : std::vector<int>{});
    }
}

TEST_F(RecordFilesTest, RecordsExportedAreReadBackAsReceivedFramesWithTheirTimes) {
    OpenPort();
    ASSERT_TRUE(sim.Send(FromHex("79 01 00 C0 19 00 DA D8")));
    ASSERT_TRUE(WaitFor([&] { return HistoryCount('1') == 1; }));
    const std::string path = Path("records.txt");
    Run(IDC_EXPORT_RECORDS, path);
    EXPECT_EQ(fileRequests.back().fileName, "Log COM11 2024-03-05 06-07-08.txt");
    const std::vector<std::string> exported = {std::string(kFixedStamp) + "  79 00 00 40 02 42 42 ",
                                               std::string(kFixedStamp) + "  79 01 00 C0 19 00 DA D8 "};
    ASSERT_EQ(ReadFileBytes(path), FileText(exported));

    // Lines that fit no layout are skipped and counted; a frame behind twelve E digits is unwrapped.
    WriteFileBytes(path, ReadFileBytes(path) +
                             FileText({"", "2024-03-05 06:07:xx:009  79 00 00 40 02 42 42",
                                       "2024-03-05 06:07:08:010  00 00 00 00 00 00 00 00 00",
                                       "2024-03-05 06:07:08:011  79 00 00 4",
                                       "2024-03-05 06:07:08:012  68 EEEEEEEEEEEE 68 1F 00 79 00 00 40 18 58 58 AB 16"}));
    Command(IDC_CLEAR_RECORDS);
    ASSERT_EQ(History().size(), 0u);
    boxes.clear();
    SetClock(T(2030, 1, 1, 0, 0, 0, 0));
    Run(IDC_IMPORT_RECORDS, path);
    ASSERT_TRUE(WaitFor([&] { return boxes.size() == 1; }));
    EXPECT_EQ(boxes[0].text, "3行格式错误，已跳过");
    const std::vector<MonitorRecord> records = History();
    ASSERT_EQ(records.size(), 3u);
    const char* frames[] = {"79 00 00 40 02 42 42", "79 01 00 C0 19 00 DA D8", "79 00 00 40 18 58 58"};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(records[i].kind, static_cast<uint32_t>('1'));
        EXPECT_EQ(records[i].frame, FromHex(frames[i]));
        EXPECT_EQ(records[i].time, i < 2 ? T(2024, 3, 5, 6, 7, 8, 9) : T(2024, 3, 5, 6, 7, 8, 12));
    }
    EXPECT_TRUE(WaitFor([&] { return dlg->Link().IsMonitorThreadRunning(); }));
    // A file that cannot be opened says so and adds nothing.
    Run(IDC_IMPORT_RECORDS, Path("missing.txt"));
    ASSERT_TRUE(WaitFor([&] { return boxes.size() == 2; }));
    EXPECT_EQ(boxes[1].text, "打开文件失败");
    EXPECT_EQ(History().size(), 3u);
}

// Frames of a sequence: the number in the data field's three bytes.
ByteString SeqFrame(uint8_t command, uint32_t seq) {
    return BuildFrame(0x80, command, {static_cast<uint8_t>(seq >> 16), static_cast<uint8_t>(seq >> 8),
                                      static_cast<uint8_t>(seq)});
}

// The sequence numbers of the history's frames of one command, in record order.
std::vector<uint32_t> Sequence(const std::vector<MonitorRecord>& records, uint8_t command) {
    std::vector<uint32_t> seqs;
    for (const MonitorRecord& r : records)
        if (FrameByte(r.frame, 4) == command)
            seqs.push_back(FrameByte(r.frame, 5) << 16 | FrameByte(r.frame, 6) << 8 | FrameByte(r.frame, 7));
    return seqs;
}

std::vector<uint32_t> Count(uint32_t n) {
    std::vector<uint32_t> v(n);
    for (uint32_t i = 0; i < n; ++i) v[i] = i;
    return v;
}

// The module floods the line while a records import runs, first while it asks for its file and
// then while it reads: every frame it sent is recorded, in the history and the monitor, in its
// order, and the imported records keep the file's order.
TEST_F(RecordFilesTest, FramesReceivedDuringARecordsImportAreAllRecordedInTheirOrder) {
    constexpr uint32_t kImported = 300000;
    constexpr uint32_t kAsking = 12000;  // more than the frames waiting for the monitor may be
    constexpr uint32_t kReading = 3000;
    OpenPort();
    std::string text;
    for (uint32_t i = 0; i < kImported; ++i) text += std::string(kFixedStamp) + "  " + Spaced(SeqFrame(0x19, i)) + "\r\n";
    const std::string path = Path("large.txt");
    WriteFileBytes(path, text);
    // Blocks of 100 frames, a pause after each: many times the line's rate, yet a loaded machine
    // still lets the monitor thread run between them.
    const auto flood = [this](uint32_t first, uint32_t count) {
        for (uint32_t i = first; i < first + count; i += 100) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            kvtsim::Bytes block;
            for (uint32_t k = i; k < i + 100; ++k) {
                const ByteString f = SeqFrame(0x15, k);
                block.insert(block.end(), f.begin(), f.end());
            }
            ASSERT_TRUE(sim.Send(block));
        }
    };
    const size_t before = dlg->Link().History().Size();
    bool asked = false;
    const FileDialogHook previous = SetFileDialogHook([&](const FileDialogRequest&) {
        flood(0, kAsking);
        EXPECT_TRUE(WaitFor([&] { return dlg->Link().History().Size() >= before + kAsking; }, 10000));
        asked = true;
        return path;
    });
    Command(IDC_IMPORT_RECORDS);
    ASSERT_TRUE(WaitFor([&] { return asked && dlg->Link().History().Size() > before + kAsking + 1000; }, 30000));
    SetFileDialogHook(previous);
    flood(kAsking, kReading);
    const size_t all = before + kImported + kAsking + kReading;
    // The import's pace is the machine's (a sanitizer slows it many times): the wait goes on while
    // the history grows, and gives up once it has stood still for 20 s.
    for (size_t seen = dlg->Link().History().Size(); seen < all; seen = dlg->Link().History().Size()) {
        if (!WaitFor([&] { return dlg->Link().History().Size() > seen; }, 20000)) break;
    }
    EXPECT_GE(dlg->Link().History().Size(), all);
    const std::vector<MonitorRecord> records = History();
    EXPECT_EQ(Sequence(records, 0x15), Count(kAsking + kReading));
    EXPECT_EQ(Sequence(records, 0x19), Count(kImported));
    const ListView monitor(Within<CFrameMonitorDlg>(*dlg).GetDlgItem(IDC_MONITOR_LIST));
    EXPECT_TRUE(WaitFor([&] { return monitor.GetItemCount() == static_cast<int>(records.size()); }, 30000))
        << monitor.GetItemCount() << " rows, " << records.size() << " records";
    EXPECT_TRUE(boxes.empty());
}

TEST_F(RecordFilesTest, ClosingDuringALargeImportStopsItAndStartsNothingAgain) {
    OpenPort();
    ASSERT_TRUE(dlg->Link().IsMonitorThreadRunning());
    const std::string line = std::string(kFixedStamp) + "  79 01 00 C0 19 00 DA D8 \r\n";
    std::string text;
    text.reserve(line.size() * 1000000);
    for (int i = 0; i < 1000000; ++i) text += line;
    const std::string path = Path("large.txt");
    WriteFileBytes(path, text);
    const size_t before = dlg->Link().History().Size();
    // The import starts the one thread: the recorder sees it while the window holds it.
    std::optional<ThreadRecorder> threads(std::in_place, dlg->Link().Workers());
    Run(IDC_IMPORT_RECORDS, path);
    ASSERT_TRUE(WaitFor([&] { return dlg->Link().History().Size() > before + 1000; }));
    ASSERT_EQ(threads->Count(), 1u);
    const std::shared_ptr<WorkerThread> import = threads->Last();
    ASSERT_NE(import, nullptr);
    threads.reset();
    dlg->Close();
    // The import has ended at its stop flag and been joined; it recorded nothing after the
    // close emptied the history, and the monitor thread stays stopped.
    EXPECT_TRUE(import->IsFinished());
    EXPECT_EQ(import.use_count(), 1);  // the window holds it no more
    EXPECT_EQ(dlg->Link().History().Size(), 0u);
    EXPECT_FALSE(dlg->Link().IsMonitorThreadRunning());
    PumpFor(200);
    EXPECT_EQ(dlg->Link().History().Size(), 0u);
    EXPECT_FALSE(dlg->Link().IsMonitorThreadRunning());
    EXPECT_TRUE(boxes.empty());
}

}  // namespace
