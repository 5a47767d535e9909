#pragma once
// The receive text and the gather loop: bytes from the port's reader thread pile up in the
// receive text; the gather thread takes them as one block once the line has been quiet for
// 52 ms, or earlier when a line that never pauses makes the block too old or too large. It
// sleeps on a condition variable until bytes come or a deadline falls due: an idle line costs
// nothing.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

#include "link/byte_string.h"
#include "platform/local_time.h"

class ReceiveGatherer {
public:
    using Clock = std::chrono::steady_clock;

    // Why a block was taken.
    enum class Take {
        Quiet,  // nothing came for the quiet time: the block is everything received
        Bound,  // the line is still busy: the block may end inside a frame
        Last,   // the gather is stopping: everything received
    };

    // A reply is taken once nothing has come for this long (the line's pause between answers).
    static constexpr std::chrono::milliseconds kQuietTime{52};
    // A line that never pauses still hands on what came, at the latest this long after the first
    // byte of the block: the user sees traffic within a tenth of a second.
    static constexpr std::chrono::milliseconds kBoundTime{100};
    // ... or once this many new bytes are in. At 115200 baud (11,520 bytes a second) the time
    // bound comes first, at about 1,150 bytes; faster lines are cut here so that one block never
    // holds more than a few hundred frames to split.
    static constexpr size_t kBoundBytes = 4096;

    // Handles one block and returns how many of its bytes it used. What a bound block leaves
    // stays at the head of the receive text, before the bytes that came later; quiet and last
    // blocks are always used whole.
    using BlockHandler = std::function<size_t(const ByteString& block, Take take)>;
    // Handles one whole block and the time it was read.
    using WholeHandler = std::function<void(const ByteString& block, const SystemTime& arrival)>;

    // Appends received bytes (zero bytes included) that arrived at the given time. Any thread.
    void Append(const unsigned char* bytes, size_t count, Clock::time_point at = Clock::now());
    // A block that needs no gathering (a datagram, or a stream read up to its last whole frame)
    // and the time it was read: the loop hands it on as it is, in the order such blocks came.
    // Any thread.
    void AppendWhole(ByteString block, const SystemTime& arrival);
    // Empties the receive text and clears a stop. Call before the gather loop starts: emptying
    // it from the loop could drop bytes that came in while it was starting.
    void Reset();
    // Bytes received and not yet used, whole blocks included.
    size_t PendingLength() const;

    // The block due at now, if any: a copy of the receive text. Its bytes leave the receive text
    // only with Consume. Only the gather thread takes blocks.
    bool TakeDue(Clock::time_point now, ByteString& block, Take& take);
    // Removes the first count bytes of the receive text (those of the block just taken that
    // were used).
    void Consume(size_t count);
    // The earliest time a block can fall due with no further byte; Clock::time_point::max()
    // when nothing is pending.
    Clock::time_point NextDue() const;

    // The gather loop: waits for blocks and hands each to onBlock, and each whole block to
    // onWhole (outside the receive lock), until Stop; then, when passRest was set, hands on the
    // whole blocks left and what is left of the received bytes as the last block.
    void Run(const BlockHandler& onBlock, const WholeHandler& onWhole = nullptr);
    // Ends Run; passRest: whether the bytes still pending go through onBlock first.
    void Stop(bool passRest);

private:
    struct Whole {
        ByteString bytes;
        SystemTime arrival;
    };

    bool TakeDueLocked(Clock::time_point now, ByteString& block, Take& take);
    static void HandWhole(std::deque<Whole>& blocks, const WholeHandler& onWhole);
    Clock::time_point NextDueLocked() const;

    mutable std::mutex m_rxLock;
    std::condition_variable m_wake;
    ByteString m_rxText;
    Clock::time_point m_lastByteAt;   // arrival of the newest byte
    Clock::time_point m_firstNewAt;   // arrival of the first byte after the last take
    size_t m_newBytes = 0;            // bytes that came after the last take
    std::deque<Whole> m_whole;        // whole blocks not yet handed on
    size_t m_wholeBytes = 0;
    bool m_stop = false;
    bool m_passRest = true;
};
