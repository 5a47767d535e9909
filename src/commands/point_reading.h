#pragma once
// Point reading: a remote device asked, through the module, for a number of data bytes, and its
// answer judged by them (they must count 00 01 02 ..). Automatic point reading asks every
// checked device of the address list in turn and marks its row.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "link/byte_string.h"
#include "link/module_link.h"
#include "link/reply_queue.h"
#include "link/workers.h"
#include "platform/local_time.h"
#include "platform/sync.h"
#include "platform/ui.h"

// The fields of a request. Addresses are hexadecimal text in wire order (least significant byte
// first), as the frame carries them.
struct PointReadRequest {
    uint8_t multicast = 0;  // 1: the group address goes with the request
    uint8_t stopBits = 0;   // the stop-bits code
    std::string group;      // 4 digits
    std::string mac;        // 12 digits
    uint16_t length = 0;    // data bytes asked for
};

// Flag byte (bit 0 multicast, bit 1 stop bits), the group address when multicast, the device
// address and the length, little-endian.
ByteString BuildPointReadPayload(const PointReadRequest& request);

enum class PointReadVerdict {
    NotJudged,  // not a normal answer from the module: the row keeps its verdict
    Success,
    Failure,
};

// Judges an answer for the device at mac (wire order, any case). A failure answer (one data
// byte), another device's address, data that do not count from 00, or data shorter than the
// fields they announce, are failures. Nothing past the frame's data is read.
PointReadVerdict JudgePointReadReply(const ByteString& frame, const std::string& mac);

// The checked rows' texts of a column of the address list, each padded and its byte pairs
// reversed (pairs 6: the device address, 2: the group address), joined without separators and
// upper-cased. Empty cells give nothing.
std::string GatherCheckedColumn(ListView list, int column, int pairs);

// The verdict into column 2 of the last row (checked or not) whose address is this one
// (display order, any case).
void WriteRowVerdict(ListView list, const std::string& address, const std::string& verdict);
// A time into column 3 of every checked row whose address is this one.
void WriteRowTime(ListView list, const std::string& address, const std::string& time);

// "总次数：..成功次数：..失败次数：.." over every row's verdict.
std::string PointReadTotalsText(ListView list);

// One device of a run: its address (wire order) and the frame that asks it.
struct PointReadStep {
    std::string mac;
    ByteString frame;
};

// What a run hands to the window for one device.
struct PointReadRow {
    std::string address;  // display order
    std::string verdict;  // "成功", "失败", or "" to keep the row's
    std::string time;     // "%02d ms" of an answer, "%02d 秒" of silence
};

struct PointReadReports {
    // A request went out (its frame); on the run's thread.
    std::function<void(const ByteString& frame)> sent;
    std::function<void(const PointReadRow& row)> row;
    // The run is over, done or stopped.
    std::function<void()> ended;
};

// Automatic point reading on a thread of its own: for each device the reply queue is emptied,
// the request sent, the interval waited (a stop ends the wait at once, and the device gets no
// row), and the oldest answer judged.
class PointReading {
public:
    PointReading(ModuleLink& link, PointReadReports reports);
    ~PointReading();
    PointReading(const PointReading&) = delete;
    PointReading& operator=(const PointReading&) = delete;

    // Ends a run still going, then starts one. 0 when its thread could not start.
    int Start(std::vector<PointReadStep> steps, uint32_t intervalMs);
    // Ends a run and waits for its thread.
    void Stop();
    bool IsRunning() const { return m_worker.IsRunning(); }
    const Worker& ThreadWorker() const { return m_worker; }

private:
    void Run(const std::vector<PointReadStep>& steps, uint32_t intervalMs);

    ModuleLink& m_link;
    PointReadReports m_reports;
    AutoResetEvent m_stop;
    Worker m_worker;
};
