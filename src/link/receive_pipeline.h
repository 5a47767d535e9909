#pragma once
// The receive pipeline: received bytes gather until the line is quiet, then the block goes
// through the splitter, which hands on frames, raw chunks, the meter answer and the version.

#include <cstddef>
#include <functional>

#include "link/byte_string.h"
#include "link/frame_splitter.h"
#include "link/receive_gatherer.h"

class ReceivePipeline {
public:
    // settings is asked once for every block.
    ReceivePipeline(std::function<SplitSettings()> settings, SplitHandlers handlers);

    // The channel's receive handler: any thread.
    void Append(const unsigned char* bytes, size_t count) { m_gatherer.Append(bytes, count); }
    // Empties what was received; call before the gather loop starts.
    void Reset() { m_gatherer.Reset(); }
    size_t PendingLength() const { return m_gatherer.PendingLength(); }
    // The gather loop: runs while keepRunning() is true, splitting every block it takes.
    void Run(const std::function<bool()>& keepRunning);
    // One block through the splitter (network channels hand their blocks in here).
    void Split(const ByteString& block) const;

private:
    ReceiveGatherer m_gatherer;
    std::function<SplitSettings()> m_settings;
    SplitHandlers m_handlers;
};
