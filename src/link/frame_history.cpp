#include "link/frame_history.h"

#include <algorithm>
#include <utility>

#include "platform/memory.h"

namespace {

constexpr uint64_t kNotViewedBit = uint64_t{1} << 63;
constexpr int kKindShift = 56;
constexpr uint64_t kTimeMask = (uint64_t{1} << 55) - 1;

// The calendar fields in 55 bits. Fields from a clock always fit; anything beyond a field's
// range is kept as its largest value.
uint64_t PackTime(const SystemTime& t) {
    auto field = [](uint16_t v, unsigned bits) { return static_cast<uint64_t>(std::min<uint16_t>(v, (1u << bits) - 1)); };
    return field(t.milliseconds, 10) | field(t.second, 6) << 10 | field(t.minute, 6) << 16 | field(t.hour, 5) << 22 |
           field(t.day, 5) << 27 | field(t.dayOfWeek, 3) << 32 | field(t.month, 4) << 35 |
           static_cast<uint64_t>(t.year) << 39;
}

SystemTime UnpackTime(uint64_t v) {
    SystemTime t;
    t.milliseconds = static_cast<uint16_t>(v & 0x3FF);
    t.second = static_cast<uint16_t>(v >> 10 & 0x3F);
    t.minute = static_cast<uint16_t>(v >> 16 & 0x3F);
    t.hour = static_cast<uint16_t>(v >> 22 & 0x1F);
    t.day = static_cast<uint16_t>(v >> 27 & 0x1F);
    t.dayOfWeek = static_cast<uint16_t>(v >> 32 & 0x7);
    t.month = static_cast<uint16_t>(v >> 35 & 0xF);
    t.year = static_cast<uint16_t>(v >> 39 & 0xFFFF);
    return t;
}

constexpr size_t kTrimAfterRecords = 10000;

}  // namespace

void FrameHistory::SetRowSink(RowSink sink) {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    m_sink = std::move(sink);
}

void FrameHistory::SetBound(size_t maxRecords, size_t dropRecords) {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    m_maxRecords = std::max<size_t>(1, maxRecords);
    m_dropRecords = std::clamp<size_t>(dropRecords, 1, m_maxRecords);
}

MonitorRecord FrameHistory::Unpack(const Stored& s) {
    MonitorRecord r;
    r.kind = static_cast<uint32_t>(s.time >> kKindShift);
    r.frame = s.frame;
    r.time = UnpackTime(s.time & kTimeMask);
    r.shownTime = UnpackTime(s.shown & kTimeMask);
    r.viewedTime = UnpackTime(s.viewed & kTimeMask);
    r.notViewed = (s.shown & kNotViewedBit) ? 1 : 0;
    return r;
}

void FrameHistory::Append(char kind, const ByteString& frame, const SystemTime& time, const SystemTime& shownTime,
                          const SystemTime& rowTime, uint32_t& counter) {
    if (m_records.size() >= m_maxRecords) {
        const size_t n = std::min(m_dropRecords, m_records.size());
        m_records.erase(m_records.begin(), m_records.begin() + static_cast<std::ptrdiff_t>(n));
        m_dropped += n;
    }
    Stored s;
    s.frame = frame;
    s.time = PackTime(time) | static_cast<uint64_t>(static_cast<unsigned char>(kind)) << kKindShift;
    s.shown = PackTime(shownTime) | kNotViewedBit;
    m_records.push_back(std::move(s));
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

void FrameHistory::RecordReceivedFrames(char kind, const std::vector<Received>& frames) {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (m_recordReceived.load() == 0) return;
    const SystemTime recorded = GetLocalTime();
    for (const Received& r : frames) Append(kind, r.frame, r.arrival, recorded, r.arrival, m_receivedCount);
}

std::vector<MonitorRecord> FrameHistory::Snapshot() const {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    std::vector<MonitorRecord> out;
    out.reserve(m_records.size());
    for (const Stored& s : m_records) out.push_back(Unpack(s));
    return out;
}

size_t FrameHistory::Size() const {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    return m_records.size();
}

bool FrameHistory::EmptyLocked() {
    const bool big = m_records.size() >= kTrimAfterRecords;
    std::deque<Stored>().swap(m_records);
    m_dropped = 0;
    return big;
}

void FrameHistory::Clear() {
    bool big = false;
    {
        std::lock_guard<std::recursive_mutex> lock(m_lock);
        big = EmptyLocked();
    }
    if (big) ReturnFreedMemory();
}

void FrameHistory::Restart(const std::function<void()>& whileLocked) {
    bool big = false;
    {
        std::lock_guard<std::recursive_mutex> lock(m_lock);
        big = EmptyLocked();
        m_sentCount = 1;
        m_receivedCount = 1;
        if (whileLocked) whileLocked();
    }
    if (big) ReturnFreedMemory();
}

void FrameHistory::Replay(const RowSink& sink) const {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    for (size_t i = 0; i < m_records.size(); ++i) {
        const Stored& s = m_records[i];
        sink(static_cast<char>(s.time >> kKindShift), s.frame, UnpackTime(s.time & kTimeMask), static_cast<uint32_t>(i));
    }
}

void FrameHistory::Visit(const std::function<void(size_t index, const MonitorRecord&)>& visit) const {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    for (size_t i = 0; i < m_records.size(); ++i) visit(i, Unpack(m_records[i]));
}

size_t FrameHistory::FirstPosition() const {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    return m_dropped;
}

bool FrameHistory::MarkViewed(size_t position, MonitorRecord& record) {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (position < m_dropped || position - m_dropped >= m_records.size()) return false;
    Stored& s = m_records[position - m_dropped];
    if (s.shown & kNotViewedBit) {
        s.viewed = PackTime(GetLocalTime());
        s.shown &= ~kNotViewedBit;
    }
    record = Unpack(s);
    return true;
}

void FrameHistory::MarkViewed(size_t first, size_t last) {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    first = std::max(first, m_dropped);
    if (last < first) return;
    const uint64_t now = PackTime(GetLocalTime());
    for (size_t i = first - m_dropped; i <= last - m_dropped && i < m_records.size(); ++i) {
        Stored& s = m_records[i];
        if (!(s.shown & kNotViewedBit)) continue;
        s.viewed = now;
        s.shown &= ~kNotViewedBit;
    }
}

uint32_t FrameHistory::SentCount() const {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    return m_sentCount;
}

uint32_t FrameHistory::ReceivedCount() const {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    return m_receivedCount;
}
