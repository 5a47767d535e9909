#pragma once
// The frame history: every frame sent and, while reception recording is on, every frame
// received, in order, each numbered for the frame monitor.

#include <atomic>
#include <cstdint>
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

    void SetRowSink(RowSink sink);

    void RecordSentFrame(char kind, const ByteString& frame);
    // Recorded only while reception recording is on.
    void RecordReceivedFrame(char kind, const ByteString& frame, const SystemTime& arrival);
    void SetRecordReceived(bool on) { m_recordReceived = on ? 1 : 0; }
    bool RecordsReceived() const { return m_recordReceived.load() != 0; }

    // A copy of the records, taken under the lock.
    std::vector<MonitorRecord> Snapshot() const;
    // Empties the records; the counts go on.
    void Clear();
    // Empties the records and sets both counts back to 1; whileLocked runs under the lock, so
    // no row is numbered between the emptying and what it does.
    void Restart(const std::function<void()>& whileLocked);
    // Hands every record to sink, numbered by its index from 0, under the lock.
    void Replay(const RowSink& sink) const;
    // Stamps the viewed time of record index the first time it is viewed; false when there is
    // no such record. record receives a copy.
    bool MarkViewed(size_t index, MonitorRecord& record);

    uint32_t SentCount() const;
    uint32_t ReceivedCount() const;

private:
    void Append(char kind, const ByteString& frame, const SystemTime& time, const SystemTime& shownTime,
                const SystemTime& rowTime, uint32_t& counter);

    mutable std::recursive_mutex m_lock;
    std::vector<MonitorRecord> m_records;
    uint32_t m_sentCount = 1;
    uint32_t m_receivedCount = 1;
    std::atomic<uint32_t> m_recordReceived{1};
    RowSink m_sink;
};
