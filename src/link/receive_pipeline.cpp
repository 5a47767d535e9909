#include "link/receive_pipeline.h"

#include <utility>

namespace {
// The arrival of the whole block being split on this thread; nullptr for any other block.
thread_local const SystemTime* t_blockArrival = nullptr;
}  // namespace

ReceivePipeline::ReceivePipeline(std::function<SplitSettings()> settings, SplitHandlers handlers,
                                 std::function<void()> blockSplit)
    : m_settings(std::move(settings)), m_handlers(std::move(handlers)), m_blockSplit(std::move(blockSplit)) {}

void ReceivePipeline::Run() {
    m_gatherer.Run(
        [this](const ByteString& block, ReceiveGatherer::Take take) -> size_t {
            if (take == ReceiveGatherer::Take::Bound) return SplitBounded(block);
            Split(block);
            return block.size();
        },
        [this](const ByteString& block, const SystemTime& arrival) {
            t_blockArrival = &arrival;
            Split(block);
            t_blockArrival = nullptr;
        },
        [this](const ByteString& block, ReceiveGatherer::Take take, const SystemTime& arrival) -> size_t {
            // Split up to the frame the block's end cuts off; once the stream has been quiet (or
            // ends) that frame's start goes on by itself, as the start of a frame never finished.
            t_blockArrival = &arrival;
            size_t used = SplitBounded(block);
            if (take != ReceiveGatherer::Take::Bound && used < block.size()) {
                Split(block.substr(used));
                used = block.size();
            }
            t_blockArrival = nullptr;
            return used;
        });
}

SystemTime ReceivePipeline::BlockArrival() { return t_blockArrival ? *t_blockArrival : GetLocalTime(); }

void ReceivePipeline::Split(const ByteString& block) const {
    ::SplitReceivedStream(block, m_settings ? m_settings() : SplitSettings(), m_handlers);
    if (m_blockSplit) m_blockSplit();
}

size_t ReceivePipeline::SplitBounded(const ByteString& block) const {
    const size_t used = IncompleteFrameStart(block);
    if (used == block.size())
        Split(block);
    else if (used > 0)
        Split(block.substr(0, used));
    return used;
}
