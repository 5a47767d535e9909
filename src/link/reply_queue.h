#pragma once
// The reply queues: frames filed by the classifier for the worker or handler that waits for
// them. Every queue is one ReplyQueue with a lock of its own.

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <utility>
#include <vector>

#include "link/byte_string.h"
#include "platform/local_time.h"

// A received frame with the local time at which it was filed.
struct ReplyEntry {
    ByteString frame;
    SystemTime time;
};

// A meter answer of the meter-reading rounds.
struct MeterReplyEntry {
    uint8_t valid = 1;
    uint32_t elapsedMs = 0;
    ByteString frame;
    SystemTime time;
};

// Raised (1) when a reply has been filed; the waiting sender clears it before it sends.
using ArrivedFlag = std::atomic<uint8_t>;

template <typename T>
class ReplyQueue {
public:
    // arrived: raised after every push; nullptr for a queue without a flag.
    explicit ReplyQueue(ArrivedFlag* arrived = nullptr) : m_arrived(arrived) {}
    ReplyQueue(const ReplyQueue&) = delete;
    ReplyQueue& operator=(const ReplyQueue&) = delete;

    void Push(T entry) {
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_items.push_back(std::move(entry));
        }
        if (m_arrived) *m_arrived = 1;
    }

    // Takes the oldest entry; false, with entry untouched, when the queue is empty.
    bool Pop(T& entry) {
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_items.empty()) return false;
        entry = std::move(m_items.front());
        m_items.pop_front();
        return true;
    }

    // Takes every entry at once, oldest first.
    std::deque<T> TakeAll() {
        std::deque<T> all;
        std::lock_guard<std::mutex> lock(m_lock);
        all.swap(m_items);
        return all;
    }

    void Clear() {
        std::lock_guard<std::mutex> lock(m_lock);
        m_items.clear();
    }

    size_t Size() const {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_items.size();
    }

    // A copy of the entries, oldest first.
    std::vector<T> Snapshot() const {
        std::lock_guard<std::mutex> lock(m_lock);
        return std::vector<T>(m_items.begin(), m_items.end());
    }

private:
    mutable std::mutex m_lock;
    std::deque<T> m_items;
    ArrivedFlag* m_arrived;
};
