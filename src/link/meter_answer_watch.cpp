#include "link/meter_answer_watch.h"

#include <cstring>

namespace {

constexpr unsigned char kHead = 0x68;
constexpr unsigned char kTail = 0x16;
constexpr size_t kAddressBytes = 6;
constexpr size_t kOverhead = 12;  // 68, address, 68, control, length, sum, 16

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
    for (size_t i = 0; i + kOverhead <= n; ++i) {
        const void* next = std::memchr(p + i, kHead, n - kOverhead + 1 - i);
        if (next == nullptr) break;
        i = static_cast<size_t>(static_cast<const unsigned char*>(next) - p);
        const size_t size = kOverhead + p[i + 9];
        if (p[i + 7] != kHead || i + size > n || p[i + size - 1] != kTail ||
            std::memcmp(p + i + 1, m_address.data(), kAddressBytes) != 0) {
            continue;
        }
        unsigned char sum = 0;
        for (size_t k = i; k < i + size - 2; ++k) sum = static_cast<unsigned char>(sum + p[k]);
        if (sum != p[i + size - 2]) continue;
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
