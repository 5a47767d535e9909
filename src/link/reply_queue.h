#pragma once
// The reply queues: frames filed by the classifier for the worker or handler that waits for
// them. Every queue is one ReplyQueue of ReplyEntry, with a lock of its own and a bound on its
// length, so one waiting helper serves them all.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
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

// Entries a queue keeps. Several queues are filled and never popped (every classified frame,
// the receive-data replies); at the line's worst case of about 1,650 frames a second this holds
// the last six seconds, a few megabytes at most.
constexpr size_t kReplyQueueBound = 10000;

template <typename T>
class ReplyQueue {
public:
    // arrived: raised after every push; nullptr for a queue without a flag. Beyond bound entries
    // the oldest is dropped.
    explicit ReplyQueue(ArrivedFlag* arrived = nullptr, size_t bound = kReplyQueueBound)
        : m_arrived(arrived), m_bound(bound == 0 ? 1 : bound) {}
    ReplyQueue(const ReplyQueue&) = delete;
    ReplyQueue& operator=(const ReplyQueue&) = delete;

    void Push(T entry) {
        {
            std::lock_guard<std::mutex> lock(m_lock);
            if (m_items.size() >= m_bound) {
                m_items.pop_front();
                ++m_dropped;
            }
            m_items.push_back(std::move(entry));
        }
        m_pushed.notify_all();
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

    // Waits until an entry is queued or stop() is true, then takes every entry. stop is read
    // under the queue's lock: whoever makes it true calls Wake afterwards.
    std::deque<T> WaitTakeAll(const std::function<bool()>& stop) {
        std::deque<T> all;
        std::unique_lock<std::mutex> lock(m_lock);
        m_pushed.wait(lock, [&] { return !m_items.empty() || stop(); });
        all.swap(m_items);
        return all;
    }

    // Wakes a WaitTakeAll to look at its stop condition again.
    void Wake() {
        { std::lock_guard<std::mutex> lock(m_lock); }
        m_pushed.notify_all();
    }

    void Clear() {
        std::lock_guard<std::mutex> lock(m_lock);
        m_items.clear();
    }

    // Entries dropped at the bound since the queue was made.
    size_t Dropped() const {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_dropped;
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
    std::condition_variable m_pushed;
    std::deque<T> m_items;
    size_t m_dropped = 0;
    ArrivedFlag* m_arrived;
    size_t m_bound;
};
