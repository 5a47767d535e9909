#include "link/receive_pipeline.h"

#include <utility>

ReceivePipeline::ReceivePipeline(std::function<SplitSettings()> settings, SplitHandlers handlers)
    : m_settings(std::move(settings)), m_handlers(std::move(handlers)) {}

void ReceivePipeline::Run(const std::function<bool()>& keepRunning) {
    m_gatherer.Run(keepRunning, [this](const ByteString& block) { Split(block); });
}

void ReceivePipeline::Split(const ByteString& block) const {
    ::SplitReceivedStream(block, m_settings ? m_settings() : SplitSettings(), m_handlers);
}
