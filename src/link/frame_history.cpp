#include "link/frame_history.h"

#include <utility>

void FrameHistory::SetRowSink(RowSink sink) {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    m_sink = std::move(sink);
}

void FrameHistory::Append(char kind, const ByteString& frame, const SystemTime& time, const SystemTime& shownTime,
                          const SystemTime& rowTime, uint32_t& counter) {
    MonitorRecord record;
    record.kind = static_cast<unsigned char>(kind);
    record.frame = frame;
    record.time = time;
    record.shownTime = shownTime;
    record.notViewed = 1;
    m_records.push_back(std::move(record));
    const uint32_t number = counter++;
    if (m_sink) m_sink(kind, frame, rowTime, number);
}

void FrameHistory::RecordSentFrame(char kind, const ByteString& frame) {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    const SystemTime recorded = GetLocalTime();
    const SystemTime rowTime = GetLocalTime();
    Append(kind, frame, recorded, recorded, rowTime, m_sentCount);
}

void FrameHistory::RecordReceivedFrame(char kind, const ByteString& frame, const SystemTime& arrival) {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (m_recordReceived.load() == 0) return;
    const SystemTime recorded = GetLocalTime();
    Append(kind, frame, arrival, recorded, arrival, m_receivedCount);
}

std::vector<MonitorRecord> FrameHistory::Snapshot() const {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    return m_records;
}

void FrameHistory::Clear() {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    m_records.clear();
}

void FrameHistory::Restart(const std::function<void()>& whileLocked) {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    m_records.clear();
    m_sentCount = 1;
    m_receivedCount = 1;
    if (whileLocked) whileLocked();
}

void FrameHistory::Replay(const RowSink& sink) const {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    for (size_t i = 0; i < m_records.size(); ++i) {
        const MonitorRecord& r = m_records[i];
        sink(static_cast<char>(r.kind & 0xFF), r.frame, r.time, static_cast<uint32_t>(i));
    }
}

bool FrameHistory::MarkViewed(size_t index, MonitorRecord& record) {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (index >= m_records.size()) return false;
    MonitorRecord& r = m_records[index];
    if (r.notViewed != 0) {
        r.viewedTime = GetLocalTime();
        r.notViewed = 0;
    }
    record = r;
    return true;
}

uint32_t FrameHistory::SentCount() const {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    return m_sentCount;
}

uint32_t FrameHistory::ReceivedCount() const {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    return m_receivedCount;
}
