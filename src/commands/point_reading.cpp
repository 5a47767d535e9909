// Point reading.

#include "commands/point_reading.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "analyzer/data_analyzers.h"
#include "commands/field_text.h"
#include "link/conversions.h"
#include "link/module_frame.h"
#include "link/word_layouts.h"
#include "platform/text_format.h"

namespace {

constexpr char kThreadStartFailed[] = "启动串口通讯线程失败";
constexpr char kSuccess[] = "成功";
constexpr char kFailure[] = "失败";
constexpr int kAddressColumn = 1;
constexpr int kVerdictColumn = 2;
constexpr int kTimeColumn = 3;
constexpr size_t kDataStart = 5;
constexpr size_t kAddressBytes = 6;

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Reads the answer's data and never past them.
class DataReader {
public:
    explicit DataReader(ByteString data) : m_data(std::move(data)) {}
    bool Take(size_t count, ByteString& out) {
        if (m_data.size() - m_at < count) return false;
        out = m_data.substr(m_at, count);
        m_at += count;
        return true;
    }

private:
    ByteString m_data;
    size_t m_at = 0;
};

}  // namespace

ByteString BuildPointReadPayload(const PointReadRequest& request) {
    ByteString payload;
    payload.push_back(static_cast<unsigned char>(point_read_flags::kMulticast.Put(request.multicast) |
                                                 point_read_flags::kPasswordMode.Put(request.stopBits)));
    ByteString bytes;
    if (request.multicast == 1) {
        HexTextToBytes(request.group, bytes, 0);
        payload += bytes;
    }
    HexTextToBytes(request.mac, bytes, 0);
    payload += bytes;
    payload.push_back(static_cast<unsigned char>(request.length & 0xFF));
    payload.push_back(static_cast<unsigned char>(request.length >> 8));
    return payload;
}

PointReadVerdict JudgePointReadReply(const ByteString& frame, const std::string& mac) {
    if (frame.size() < kFrameOverhead) return PointReadVerdict::NotJudged;
    const unsigned char control = frame[3];
    if ((control & CF_DIR) == 0 || (control & CF_RESP) != 0) return PointReadVerdict::NotJudged;
    const size_t length = frame[1] | static_cast<size_t>(frame[2]) << 8;
    if (length == 1) return PointReadVerdict::Failure;

    DataReader in(frame.substr(kDataStart, std::min(length, frame.size() - kFrameOverhead)));
    ByteString flag, group, address, count, data;
    if (!in.Take(1, flag)) return PointReadVerdict::Failure;
    PointReadFlags flags;
    std::string flagText;
    PrintFlagByte(flag[0], flags, flagText);
    if (flags.multicastFlag == 1 && !in.Take(2, group)) return PointReadVerdict::Failure;
    if (!in.Take(kAddressBytes, address)) return PointReadVerdict::Failure;
    std::string from;
    BytesToHexText(from, address, 0);
    if (from != Upper(mac)) return PointReadVerdict::Failure;
    if (!in.Take(2, count) || !in.Take(count[0] | static_cast<size_t>(count[1]) << 8, data)) {
        return PointReadVerdict::Failure;
    }
    return IsCountingPattern(data) ? PointReadVerdict::Success : PointReadVerdict::Failure;
}

std::string GatherCheckedColumn(ListView list, int column, int pairs) {
    std::string gathered;
    const int rows = list.GetItemCount();
    for (int row = 0; row < rows; ++row) {
        if (!list.GetCheck(row)) continue;
        std::string text = list.GetItemText(row, column);
        ReverseHexPairs(text, pairs);
        gathered += text;
    }
    return Upper(gathered);
}

void WriteRowVerdict(ListView list, const std::string& address, const std::string& verdict) {
    const std::string wanted = Upper(address);
    for (int row = list.GetItemCount() - 1; row >= 0; --row) {
        if (Upper(list.GetItemText(row, kAddressColumn)) != wanted) continue;
        list.SetItemText(row, kVerdictColumn, verdict);
        return;
    }
}

void WriteRowTime(ListView list, const std::string& address, const std::string& time) {
    const std::string wanted = Upper(address);
    for (int row = list.GetItemCount() - 1; row >= 0; --row) {
        if (list.GetCheck(row) && Upper(list.GetItemText(row, kAddressColumn)) == wanted) {
            list.SetItemText(row, kTimeColumn, time);
        }
    }
}

std::string PointReadTotalsText(ListView list) {
    const int rows = list.GetItemCount();
    int success = 0;
    int failure = 0;
    for (int row = 0; row < rows; ++row) {
        const std::string verdict = list.GetItemText(row, kVerdictColumn);
        success += verdict == kSuccess;
        failure += verdict == kFailure;
    }
    return StrFormat("总次数：%d\r\n成功次数：%d\r\n失败次数：%d\r\n", rows, success, failure);
}

PointReading::PointReading(ModuleLink& link, PointReadReports reports) : m_link(link), m_reports(std::move(reports)) {}

PointReading::~PointReading() { Stop(); }

int PointReading::Start(std::vector<PointReadStep> steps, uint32_t intervalMs) {
    Stop();
    m_stop.Reset();
    return m_link.Workers().Start(
        m_worker,
        WorkerSet::OneShot(m_worker, [this, steps = std::move(steps), intervalMs] { Run(steps, intervalMs); }),
        kThreadStartFailed);
}

void PointReading::Stop() {
    // The flag first: a run that has not looked at it yet ends there, one waiting wakes.
    m_worker.RequestStop();
    m_stop.Set();
    m_link.Workers().Stop(m_worker);
}

void PointReading::Run(const std::vector<PointReadStep>& steps, uint32_t intervalMs) {
    ReplyQueues& queues = m_link.Queues();
    for (const PointReadStep& step : steps) {
        if (!m_worker.IsRunning()) break;
        queues.pointRead.Clear();
        queues.pointReadArrived = 0;
        m_link.SendFrame(step.frame);
        const SystemTime sendTime = GetLocalTime();
        const uint64_t sendTick = GetTickCountMs();
        if (m_reports.sent) m_reports.sent(step.frame);
        if (m_stop.Wait(intervalMs) || !m_worker.IsRunning()) break;

        PointReadRow row;
        row.address = step.mac;
        ReverseHexBytes12(row.address);
        ReplyEntry reply;
        if (queues.pointReadArrived == 1 && queues.pointRead.Pop(reply)) {
            const PointReadVerdict verdict = JudgePointReadReply(reply.frame, step.mac);
            if (verdict != PointReadVerdict::NotJudged)
                row.verdict = verdict == PointReadVerdict::Success ? kSuccess : kFailure;
            const int64_t ms = std::max<int64_t>(0, SystemTimeDiffMs(reply.time, sendTime));
            row.time = StrFormat("%02lld ms", static_cast<long long>(ms));
        } else {
            row.verdict = kFailure;
            row.time = StrFormat("%02d 秒", static_cast<int>((GetTickCountMs() - sendTick) / 1000));
        }
        if (m_reports.row) m_reports.row(row);
    }
    if (m_reports.ended) m_reports.ended();
}
