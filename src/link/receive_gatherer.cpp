#include "link/receive_gatherer.h"

#include <algorithm>

bool ReceiveGatherer::AppendLocked(Text& text, const unsigned char* bytes, size_t count, Clock::time_point at) {
    // The loop sleeps without a deadline only while nothing is pending; the size bound cannot
    // wait for a deadline either.
    const bool wake = text.bytes.empty() || (text.newBytes < kBoundBytes && text.newBytes + count >= kBoundBytes);
    text.bytes.append(bytes, count);
    if (text.newBytes == 0) text.firstNewAt = at;
    text.newBytes += count;
    text.lastByteAt = at;
    return wake;
}

void ReceiveGatherer::Append(const unsigned char* bytes, size_t count, Clock::time_point at) {
    bool wake = false;
    {
        std::lock_guard<std::mutex> lock(m_rxLock);
        wake = AppendLocked(m_port, bytes, count, at);
    }
    if (wake) m_wake.notify_one();
}

void ReceiveGatherer::AppendStream(const unsigned char* bytes, size_t count, const SystemTime& arrival,
                                   Clock::time_point at) {
    if (count == 0) return;
    bool wake = false;
    {
        std::lock_guard<std::mutex> lock(m_rxLock);
        wake = AppendLocked(m_stream, bytes, count, at);
        m_stream.arrival = arrival;
    }
    if (wake) m_wake.notify_one();
}

void ReceiveGatherer::EndStream() {
    {
        std::lock_guard<std::mutex> lock(m_rxLock);
        if (m_stream.bytes.empty()) return;
        // Due now, as if the stream had been quiet for the whole quiet time.
        m_stream.lastByteAt = Clock::now() - kQuietTime;
    }
    m_wake.notify_one();
}

void ReceiveGatherer::AppendWhole(ByteString block, const SystemTime& arrival, Clock::time_point at) {
    bool wake = false;
    {
        std::lock_guard<std::mutex> lock(m_rxLock);
        if (m_whole.empty()) m_wholeFirstAt = at;
        wake = m_whole.empty() || (m_wholeBytes < kBoundBytes && m_wholeBytes + block.size() >= kBoundBytes);
        m_wholeLastAt = at;
        m_wholeBytes += block.size();
        m_whole.push_back(Whole{std::move(block), arrival});
    }
    if (wake) m_wake.notify_one();
}

void ReceiveGatherer::HandWhole(std::deque<Whole>& blocks, const WholeHandler& onWhole) {
    for (const Whole& w : blocks) {
        if (onWhole) onWhole(w.bytes, w.arrival);
    }
    blocks.clear();
}

void ReceiveGatherer::Reset() {
    std::lock_guard<std::mutex> lock(m_rxLock);
    m_port = Text();
    m_stream = Text();
    m_whole.clear();
    m_wholeBytes = 0;
    m_stop = false;
    m_passRest = true;
}

size_t ReceiveGatherer::PendingLength() const {
    std::lock_guard<std::mutex> lock(m_rxLock);
    return m_port.bytes.size() + m_stream.bytes.size() + m_wholeBytes;
}

bool ReceiveGatherer::TakeDue(Clock::time_point now, ByteString& block, Take& take, Source source) {
    std::lock_guard<std::mutex> lock(m_rxLock);
    return TakeDueLocked(TextOf(source), now, block, take);
}

bool ReceiveGatherer::TakeDueLocked(Text& text, Clock::time_point now, ByteString& block, Take& take) {
    if (text.bytes.empty()) return false;
    if (now - text.lastByteAt >= kQuietTime) {
        take = Take::Quiet;
    } else if (text.newBytes > 0 && (text.newBytes >= kBoundBytes || now - text.firstNewAt >= kBoundTime)) {
        take = Take::Bound;
    } else {
        return false;
    }
    block = text.bytes;
    text.newBytes = 0;
    return true;
}

void ReceiveGatherer::Consume(size_t count, Source source) {
    std::lock_guard<std::mutex> lock(m_rxLock);
    ByteString& bytes = TextOf(source).bytes;
    bytes.erase(0, std::min(count, bytes.size()));
}

bool ReceiveGatherer::WholeDueLocked(Clock::time_point now, Take& take) const {
    if (m_whole.empty()) return false;
    if (now - m_wholeLastAt >= kQuietTime) {
        take = Take::Quiet;
    } else if (m_wholeBytes >= kBoundBytes || now - m_wholeFirstAt >= kBoundTime) {
        take = Take::Bound;
    } else {
        return false;
    }
    return true;
}

bool ReceiveGatherer::TakeWholeDue(Clock::time_point now, std::vector<ByteString>& blocks, Take& take) {
    std::lock_guard<std::mutex> lock(m_rxLock);
    if (!WholeDueLocked(now, take)) return false;
    blocks.clear();
    for (Whole& w : m_whole) blocks.push_back(std::move(w.bytes));
    m_whole.clear();
    m_wholeBytes = 0;
    return true;
}

ReceiveGatherer::Clock::time_point ReceiveGatherer::NextDue() const {
    std::lock_guard<std::mutex> lock(m_rxLock);
    return NextDueLocked();
}

ReceiveGatherer::Clock::time_point ReceiveGatherer::NextDueLocked(const Text& text) {
    if (text.bytes.empty()) return Clock::time_point::max();
    Clock::time_point due = text.lastByteAt + kQuietTime;
    if (text.newBytes > 0) due = std::min(due, text.firstNewAt + kBoundTime);
    return due;
}

ReceiveGatherer::Clock::time_point ReceiveGatherer::NextDueLocked() const {
    Clock::time_point due = std::min(NextDueLocked(m_port), NextDueLocked(m_stream));
    if (!m_whole.empty()) due = std::min({due, m_wholeLastAt + kQuietTime, m_wholeFirstAt + kBoundTime});
    return due;
}

void ReceiveGatherer::Run(const BlockHandler& onBlock, const WholeHandler& onWhole, const StreamHandler& onStream) {
    ByteString block;
    Take take = Take::Quiet;
    std::deque<Whole> whole;
    std::unique_lock<std::mutex> lock(m_rxLock);
    // Hands a block of text on outside the lock and removes what was used of it: bytes that came
    // meanwhile sit after the block; only a bound block leaves any of its own.
    const auto hand = [&](Text& text, bool stream) {
        const SystemTime arrival = text.arrival;
        lock.unlock();
        size_t used = block.size();
        if (stream && onStream) {
            used = onStream(block, take, arrival);
        } else if (!stream && onBlock) {
            used = onBlock(block, take);
        }
        lock.lock();
        text.bytes.erase(0, std::min(take == Take::Bound ? used : block.size(), text.bytes.size()));
    };
    while (!m_stop) {
        const Clock::time_point now = Clock::now();
        if (WholeDueLocked(now, take)) {
            whole.swap(m_whole);
            m_wholeBytes = 0;
            lock.unlock();
            HandWhole(whole, onWhole);
            lock.lock();
            continue;
        }
        if (TakeDueLocked(m_port, now, block, take)) {
            hand(m_port, false);
            continue;
        }
        if (TakeDueLocked(m_stream, now, block, take)) {
            hand(m_stream, true);
            continue;
        }
        const Clock::time_point due = NextDueLocked();
        if (due == Clock::time_point::max())
            m_wake.wait(lock);
        else
            m_wake.wait_until(lock, due);
    }
    if (!m_passRest) return;
    whole.swap(m_whole);
    m_wholeBytes = 0;
    lock.unlock();
    HandWhole(whole, onWhole);
    lock.lock();
    take = Take::Last;
    for (Text* text : {&m_port, &m_stream}) {
        block.swap(text->bytes);
        text->bytes.clear();
        text->newBytes = 0;
        if (block.empty()) continue;
        const bool stream = text == &m_stream;
        const SystemTime arrival = text->arrival;
        lock.unlock();
        if (stream && onStream) {
            onStream(block, take, arrival);
        } else if (!stream && onBlock) {
            onBlock(block, take);
        }
        lock.lock();
    }
}

void ReceiveGatherer::Stop(bool passRest) {
    {
        std::lock_guard<std::mutex> lock(m_rxLock);
        m_stop = true;
        m_passRest = passRest;
    }
    m_wake.notify_all();
}
