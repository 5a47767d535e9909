#pragma once
// The frame history: every frame sent and, while reception recording is on, every frame
// received, in order, each numbered for the frame monitor.

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "link/byte_string.h"
#include "link/reply_queue.h"
#include "platform/local_time.h"

// One frame of the history: kind '0' sent, '1' received.
struct MonitorRecord {
    uint32_t kind = '0';
    ByteString frame;
    SystemTime time;        // sent: time of recording; received: arrival time
    SystemTime viewedTime;  // stamped when its monitor row is first selected
    SystemTime shownTime;   // time of recording
    uint32_t notViewed = 1;
};

class FrameHistory {
public:
    // Receives each recorded frame with its row number (the count before it grows). Called with
    // the history locked, so rows come in record order: post, never wait for another thread.
    using RowSink = std::function<void(char kind, const ByteString& frame, const SystemTime& time, uint32_t number)>;

    // The history keeps at most kMaxRecords: recording one more first drops the kDropRecords
    // oldest. A million frames are ten minutes of a line that never pauses, far more of real
    // traffic, in about 60 MB.
    static constexpr size_t kMaxRecords = 1000000;
    static constexpr size_t kDropRecords = 100000;
    // Another bound: at most maxRecords, dropping the dropRecords oldest (1 to maxRecords).
    void SetBound(size_t maxRecords, size_t dropRecords);

    void SetRowSink(RowSink sink);

    void RecordSentFrame(char kind, const ByteString& frame);
    // Recorded only while reception recording is on.
    void RecordReceivedFrame(char kind, const ByteString& frame, const SystemTime& arrival);
    // A received frame with its arrival time.
    struct Received {
        ByteString frame;
        SystemTime arrival;
    };
    // Each frame as RecordReceivedFrame records it, all in one hold of the lock.
    void RecordReceivedFrames(char kind, const std::vector<Received>& frames);
    void SetRecordReceived(bool on) { m_recordReceived = on ? 1 : 0; }

    // A copy of the records, taken under the lock.
    std::vector<MonitorRecord> Snapshot() const;
    size_t Size() const;
    // Empties the records; the counts go on.
    void Clear();
    // Empties the records and sets both counts back to 1; whileLocked runs under the lock, so
    // no row is numbered between the emptying and what it does.
    void Restart(const std::function<void()>& whileLocked);
    // Hands every record to sink, numbered by its index from 0, under the lock.
    void Replay(const RowSink& sink) const;
    // Hands every record to visit with its index from 0, under the lock.
    void Visit(const std::function<void(size_t index, const MonitorRecord&)>& visit) const;
    // Records are reached by their position: the count of records made before them since the
    // last emptying, which dropping the oldest does not change.
    // Stamps the viewed time of the record at position the first time it is viewed; false when
    // there is no such record. record receives a copy.
    bool MarkViewed(size_t position, MonitorRecord& record);
    // Stamps the records at positions first to last that are not yet viewed, at one time.
    void MarkViewed(size_t first, size_t last);
    // Position of the oldest record kept: the bound has dropped every record before it.
    size_t FirstPosition() const;

    uint32_t SentCount() const;
    uint32_t ReceivedCount() const;

private:
    // A record as kept: its times packed in 64 bits each, the kind in the top byte of the first
    // and the not-viewed flag in the top bit of the second.
    struct Stored {
        ByteString frame;
        uint64_t time = 0;
        uint64_t shown = 0;
        uint64_t viewed = 0;
    };
    static MonitorRecord Unpack(const Stored& s);
    void Append(char kind, const ByteString& frame, const SystemTime& time, const SystemTime& shownTime,
                const SystemTime& rowTime, uint32_t& counter);
    // Empties the records under the lock; true when there were many, so that freeing them is
    // worth handing the memory back.
    bool EmptyLocked();

    mutable std::recursive_mutex m_lock;
    std::deque<Stored> m_records;
    size_t m_dropped = 0;  // records dropped since the last emptying
    size_t m_maxRecords = kMaxRecords;
    size_t m_dropRecords = kDropRecords;
    uint32_t m_sentCount = 1;
    uint32_t m_receivedCount = 1;
    std::atomic<uint32_t> m_recordReceived{1};
    RowSink m_sink;
};
