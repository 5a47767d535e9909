#pragma once
// The receive texts and the gather loop: bytes from the port's reader thread pile up in the
// receive text; the gather thread takes them as one block once the line has been quiet for
// 52 ms, or earlier when a line that never pauses makes the block too old or too large. A
// network stream's reads pile up in a receive text of their own by the same rule, and datagrams
// are held and handed on together at the same pace, so two channels open at once never mix
// their bytes and every channel reaches the window at one pace. The loop sleeps on a condition
// variable until bytes come or a deadline falls due: an idle line costs nothing.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

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
    // Handles one block of the network stream, taken by the same rule as the port's, and when
    // its newest bytes were read; returns how many of its bytes it used, as BlockHandler does.
    using StreamHandler = std::function<size_t(const ByteString& block, Take take, const SystemTime& arrival)>;

    // Appends received bytes (zero bytes included) that arrived at the given time. Any thread.
    void Append(const unsigned char* bytes, size_t count, Clock::time_point at = Clock::now());
    // A block that is split as it is (a datagram) and the time it was read. Such blocks are held
    // until none has come for the quiet time, or the oldest held one reaches the time bound, or
    // they reach the size bound; then the loop hands them all on, each as it is, in the order
    // they came. Any thread.
    void AppendWhole(ByteString block, const SystemTime& arrival, Clock::time_point at = Clock::now());
    // Bytes read from a network stream at the given time: gathered apart from the port's bytes,
    // by the same quiet time and bounds, so a frame whose bytes trickle in is whole when it is
    // split. Any thread.
    void AppendStream(const unsigned char* bytes, size_t count, const SystemTime& arrival,
                      Clock::time_point at = Clock::now());
    // The stream has ended: what it left goes on at the loop's next turn.
    void EndStream();
    // Empties the receive text and clears a stop. Call before the gather loop starts: emptying
    // it from the loop could drop bytes that came in while it was starting.
    void Reset();
    // Bytes received and not yet used, whole blocks included.
    size_t PendingLength() const;

    // Which receive text TakeDue and Consume work on.
    enum class Source { Port, Stream };
    // The block due at now, if any: a copy of the receive text. Its bytes leave the receive text
    // only with Consume. Only the gather thread takes blocks.
    bool TakeDue(Clock::time_point now, ByteString& block, Take& take, Source source = Source::Port);
    // Removes the first count bytes of the receive text (those of the block just taken that
    // were used).
    void Consume(size_t count, Source source = Source::Port);
    // The whole blocks due at now, if any, in the order they came; they leave the gatherer.
    bool TakeWholeDue(Clock::time_point now, std::vector<ByteString>& blocks, Take& take);
    // The earliest time a block can fall due with no further byte; Clock::time_point::max()
    // when nothing is pending.
    Clock::time_point NextDue() const;

    // The gather loop: waits for blocks and hands each to onBlock, each whole block to onWhole
    // and each stream block to onStream (outside the receive lock), until Stop; then, when
    // passRest was set, hands on the whole blocks left and what is left of the received bytes
    // and of the stream as the last blocks.
    void Run(const BlockHandler& onBlock, const WholeHandler& onWhole = nullptr,
             const StreamHandler& onStream = nullptr);
    // Ends Run; passRest: whether the bytes still pending go through onBlock first.
    void Stop(bool passRest);

private:
    struct Whole {
        ByteString bytes;
        SystemTime arrival;
    };
    // One receive text and the times its block falls due by.
    struct Text {
        ByteString bytes;
        Clock::time_point lastByteAt;  // arrival of the newest byte
        Clock::time_point firstNewAt;  // arrival of the first byte after the last take
        size_t newBytes = 0;           // bytes that came after the last take
        SystemTime arrival{};          // when the newest bytes were read (the stream's)
    };

    // Appends to text; true when the loop must wake to see a new deadline.
    static bool AppendLocked(Text& text, const unsigned char* bytes, size_t count, Clock::time_point at);
    static bool TakeDueLocked(Text& text, Clock::time_point now, ByteString& block, Take& take);
    static Clock::time_point NextDueLocked(const Text& text);
    bool WholeDueLocked(Clock::time_point now, Take& take) const;
    Clock::time_point NextDueLocked() const;
    Text& TextOf(Source source) { return source == Source::Port ? m_port : m_stream; }
    static void HandWhole(std::deque<Whole>& blocks, const WholeHandler& onWhole);

    mutable std::mutex m_rxLock;
    std::condition_variable m_wake;
    Text m_port;                      // the serial port's receive text
    Text m_stream;                    // the network stream's
    std::deque<Whole> m_whole;        // whole blocks not yet handed on
    size_t m_wholeBytes = 0;
    Clock::time_point m_wholeFirstAt; // arrival of the oldest held whole block
    Clock::time_point m_wholeLastAt;  // and of the newest
    bool m_stop = false;
    bool m_passRest = true;
};
