#pragma once
// The receive pipeline: received bytes gather until the line is quiet (or a busy line reaches
// the gather's bound), then the block goes through the splitter, which hands on frames, raw
// chunks, the meter answer and the version.

#include <cstddef>
#include <functional>
#include <utility>

#include "link/byte_string.h"
#include "link/frame_splitter.h"
#include "link/receive_gatherer.h"

class ReceivePipeline {
public:
    // settings is asked once for every block; blockSplit, when set, is called after each block
    // has gone through the splitter.
    ReceivePipeline(std::function<SplitSettings()> settings, SplitHandlers handlers,
                    std::function<void()> blockSplit = nullptr);

    // The channel's receive handler: any thread.
    void Append(const unsigned char* bytes, size_t count) { m_gatherer.Append(bytes, count); }
    // A block that is split as it is, on the gather thread (a datagram), and the time it was
    // read; such blocks go on at the pace of the port's. Any thread.
    void AppendWhole(ByteString block, const SystemTime& arrival) { m_gatherer.AppendWhole(std::move(block), arrival); }
    // Bytes of a network stream and the time they were read: gathered as the port's bytes are,
    // apart from them. Any thread.
    void AppendStream(const unsigned char* bytes, size_t count, const SystemTime& arrival) {
        m_gatherer.AppendStream(bytes, count, arrival);
    }
    // The stream has ended: what it left is split at once.
    void EndStream() { m_gatherer.EndStream(); }
    // Empties what was received; call before the gather loop starts.
    void Reset() { m_gatherer.Reset(); }
    size_t PendingLength() const { return m_gatherer.PendingLength(); }
    // The gather loop: splits every block it takes until Stop.
    void Run();
    // Ends Run. passRest: the bytes already received go through the splitter first.
    void Stop(bool passRest) { m_gatherer.Stop(passRest); }
    // One whole block through the splitter, on the calling thread.
    void Split(const ByteString& block) const;
    // A block taken while the line was busy: splits it up to the frame its end cuts off and
    // returns how many bytes that was; the rest belongs to the next block.
    size_t SplitBounded(const ByteString& block) const;
    // While a block handed in with AppendWhole or AppendStream is split on this thread: the time
    // it was read (a stream block's newest bytes); otherwise the time now.
    static SystemTime BlockArrival();

private:
    ReceiveGatherer m_gatherer;
    std::function<SplitSettings()> m_settings;
    SplitHandlers m_handlers;
    std::function<void()> m_blockSplit;
};
