#pragma once
// A DL/T 645 answer awaited from one address beside the meter rounds: the received bytes are
// searched for whole frames from that address (68, address, 68, control, length, data, sum, 16)
// and the last one found is kept until it is taken. The rounds' own watch is another.

#include <atomic>
#include <mutex>

#include "link/byte_string.h"

class MeterAnswerWatch {
public:
    // Watches the address (6 bytes in frame order), or nothing when off; forgets the answer kept.
    void Watch(bool on, const ByteString& address);
    // Received bytes, on the receiving thread: keeps the last whole answer from the address in them.
    void Offer(const ByteString& bytes);
    // The answer kept, which is forgotten; empty when there is none.
    ByteString Take();

private:
    std::atomic<bool> m_on{false};
    std::mutex m_lock;
    ByteString m_address;
    ByteString m_answer;
};
