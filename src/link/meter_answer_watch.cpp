#include "link/meter_answer_watch.h"

#include <cstring>

#include "link/dlt645.h"

namespace {

constexpr unsigned char kHead = 0x68;
constexpr size_t kAddressBytes = 6;

}  // namespace

void MeterAnswerWatch::Watch(bool on, const ByteString& address) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_address = address;
    m_answer.clear();
    m_on = on && address.size() == kAddressBytes;
}

void MeterAnswerWatch::Offer(const ByteString& bytes) {
    if (!m_on.load()) return;
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_on.load()) return;
    const unsigned char* p = bytes.data();
    const size_t n = bytes.size();
    for (size_t i = 0; i + 1 + kAddressBytes < n; ++i) {
        const void* next = std::memchr(p + i, kHead, n - i);
        if (next == nullptr) break;
        i = static_cast<size_t>(static_cast<const unsigned char*>(next) - p);
        // The address first: only the watched device's frames are summed.
        if (i + 1 + kAddressBytes >= n || std::memcmp(p + i + 1, m_address.data(), kAddressBytes) != 0) continue;
        const size_t size = Dlt645FrameAt(p, n, i);
        if (size == 0) continue;
        m_answer = bytes.substr(i, size);
        i += size - 1;
    }
}

ByteString MeterAnswerWatch::Take() {
    std::lock_guard<std::mutex> lock(m_lock);
    ByteString answer;
    answer.swap(m_answer);
    return answer;
}
