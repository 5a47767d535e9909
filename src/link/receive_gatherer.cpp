#include "link/receive_gatherer.h"

#include <chrono>
#include <thread>

void ReceiveGatherer::Append(const unsigned char* bytes, size_t count) {
    std::lock_guard<std::mutex> lock(m_rxLock);
    m_rxText.append(bytes, count);
}

void ReceiveGatherer::Reset() {
    {
        std::lock_guard<std::mutex> lock(m_rxLock);
        m_rxText.clear();
    }
    m_lastLength = 0;
    m_quietCount = 0;
}

size_t ReceiveGatherer::PendingLength() const {
    std::lock_guard<std::mutex> lock(m_rxLock);
    return m_rxText.size();
}

bool ReceiveGatherer::Poll(ByteString& block) {
    size_t length;
    {
        std::lock_guard<std::mutex> lock(m_rxLock);
        length = m_rxText.size();
    }
    if (length == 0) return false;
    if (m_lastLength == 0 || length != m_lastLength) {
        m_lastLength = length;
        m_quietCount = 0;
        return false;
    }
    if (m_quietCount <= kQuietPolls) {
        ++m_quietCount;
        return false;
    }
    m_lastLength = 0;
    m_quietCount = 0;
    return TakeBlock(length, block);
}

bool ReceiveGatherer::TakeBlock(size_t length, ByteString& block) {
    std::lock_guard<std::mutex> lock(m_rxLock);
    if (m_rxText.size() < length) return false;
    block.assign(m_rxText, 0, length);
    m_rxText.erase(0, length);
    return true;
}

void ReceiveGatherer::Run(const std::function<bool()>& keepRunning,
                          const std::function<void(const ByteString&)>& onBlock) {
    ByteString block;
    while (keepRunning()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (Poll(block) && onBlock) onBlock(block);
    }
}
