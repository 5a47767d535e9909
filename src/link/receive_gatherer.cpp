#include "link/receive_gatherer.h"

#include <algorithm>

void ReceiveGatherer::Append(const unsigned char* bytes, size_t count, Clock::time_point at) {
    bool wake = false;
    {
        std::lock_guard<std::mutex> lock(m_rxLock);
        // The loop sleeps without a deadline only while the text is empty; the size bound
        // cannot wait for a deadline either.
        wake = m_rxText.empty() || (m_newBytes < kBoundBytes && m_newBytes + count >= kBoundBytes);
        m_rxText.append(bytes, count);
        if (m_newBytes == 0) m_firstNewAt = at;
        m_newBytes += count;
        m_lastByteAt = at;
    }
    if (wake) m_wake.notify_one();
}

void ReceiveGatherer::AppendWhole(ByteString block, const SystemTime& arrival) {
    {
        std::lock_guard<std::mutex> lock(m_rxLock);
        m_wholeBytes += block.size();
        m_whole.push_back(Whole{std::move(block), arrival});
    }
    m_wake.notify_one();
}

void ReceiveGatherer::HandWhole(std::deque<Whole>& blocks, const WholeHandler& onWhole) {
    for (const Whole& w : blocks) {
        if (onWhole) onWhole(w.bytes, w.arrival);
    }
    blocks.clear();
}

void ReceiveGatherer::Reset() {
    std::lock_guard<std::mutex> lock(m_rxLock);
    m_rxText.clear();
    m_whole.clear();
    m_wholeBytes = 0;
    m_newBytes = 0;
    m_stop = false;
    m_passRest = true;
}

size_t ReceiveGatherer::PendingLength() const {
    std::lock_guard<std::mutex> lock(m_rxLock);
    return m_rxText.size() + m_wholeBytes;
}

bool ReceiveGatherer::TakeDue(Clock::time_point now, ByteString& block, Take& take) {
    std::lock_guard<std::mutex> lock(m_rxLock);
    return TakeDueLocked(now, block, take);
}

bool ReceiveGatherer::TakeDueLocked(Clock::time_point now, ByteString& block, Take& take) {
    if (m_rxText.empty()) return false;
    if (now - m_lastByteAt >= kQuietTime) {
        take = Take::Quiet;
    } else if (m_newBytes > 0 && (m_newBytes >= kBoundBytes || now - m_firstNewAt >= kBoundTime)) {
        take = Take::Bound;
    } else {
        return false;
    }
    block = m_rxText;
    m_newBytes = 0;
    return true;
}

void ReceiveGatherer::Consume(size_t count) {
    std::lock_guard<std::mutex> lock(m_rxLock);
    m_rxText.erase(0, std::min(count, m_rxText.size()));
}

ReceiveGatherer::Clock::time_point ReceiveGatherer::NextDue() const {
    std::lock_guard<std::mutex> lock(m_rxLock);
    return NextDueLocked();
}

ReceiveGatherer::Clock::time_point ReceiveGatherer::NextDueLocked() const {
    if (m_rxText.empty()) return Clock::time_point::max();
    Clock::time_point due = m_lastByteAt + kQuietTime;
    if (m_newBytes > 0) due = std::min(due, m_firstNewAt + kBoundTime);
    return due;
}

void ReceiveGatherer::Run(const BlockHandler& onBlock, const WholeHandler& onWhole) {
    ByteString block;
    Take take = Take::Quiet;
    std::deque<Whole> whole;
    std::unique_lock<std::mutex> lock(m_rxLock);
    while (!m_stop) {
        if (!m_whole.empty()) {
            whole.swap(m_whole);
            m_wholeBytes = 0;
            lock.unlock();
            HandWhole(whole, onWhole);
            lock.lock();
            continue;
        }
        if (TakeDueLocked(Clock::now(), block, take)) {
            lock.unlock();
            const size_t used = onBlock ? onBlock(block, take) : block.size();
            lock.lock();
            // Bytes that came meanwhile sit after the block; only a bound block leaves any of its own.
            m_rxText.erase(0, std::min(take == Take::Bound ? used : block.size(), m_rxText.size()));
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
    block.swap(m_rxText);
    m_rxText.clear();
    m_newBytes = 0;
    lock.unlock();
    HandWhole(whole, onWhole);
    if (!block.empty() && onBlock) onBlock(block, Take::Last);
}

void ReceiveGatherer::Stop(bool passRest) {
    {
        std::lock_guard<std::mutex> lock(m_rxLock);
        m_stop = true;
        m_passRest = passRest;
    }
    m_wake.notify_all();
}
