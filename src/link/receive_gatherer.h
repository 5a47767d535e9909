#pragma once
// The receive text and the gather loop: bytes from the port's reader thread pile up in the
// receive text; the gather thread takes them as one block once the length has stayed the same
// for more than 50 polls of 1 ms.

#include <cstddef>
#include <functional>
#include <mutex>

#include "link/byte_string.h"

class ReceiveGatherer {
public:
    // Polls with an unchanged length after which the block is taken on the next poll.
    static constexpr int kQuietPolls = 50;

    // Appends received bytes (zero bytes included) under the receive lock. Any thread.
    void Append(const unsigned char* bytes, size_t count);
    // Empties the receive text and starts the quiet count afresh. Call before the gather thread
    // starts: emptying it from the thread could drop bytes that came in while it was starting.
    void Reset();
    // Bytes received and not yet taken.
    size_t PendingLength() const;

    // One poll of the gather loop, without the sleep. Returns true and fills block when the
    // block was taken: the bytes seen by this poll; later bytes stay for the next block.
    // Only the gather thread polls.
    bool Poll(ByteString& block);

    // Takes the first length bytes as the block; bytes that came after them stay for the next.
    // Returns false when fewer than length bytes are pending.
    bool TakeBlock(size_t length, ByteString& block);

    // The gather thread's loop: while keepRunning() returns true: sleep 1 ms, poll,
    // and hand every block taken to onBlock (outside the receive lock).
    void Run(const std::function<bool()>& keepRunning, const std::function<void(const ByteString&)>& onBlock);

private:
    mutable std::mutex m_rxLock;
    ByteString m_rxText;
    size_t m_lastLength = 0;  // gather thread only
    int m_quietCount = 0;     // gather thread only
};
