// From gathered blocks to classified frames.

#include "app/main_tester_dlg.h"
#include "link/frame_splitter.h"

void CMainTesterDlg::OnReceivedChunk(const ByteString& block) { SplitReceivedStream(block); }

void CMainTesterDlg::SplitReceivedStream(const ByteString& block) {
    SplitSettings settings;
    settings.showAllReceived = m_showAllReceived.load();
    settings.meterPassEnabled = m_roundReadRunning.load() != 0;
    if (settings.meterPassEnabled) {
        LockGuard lock(m_meterLock);
        settings.meterAddress = m_meterAddress;
    }
    SplitHandlers handlers;
    handlers.classify = [this](const ByteString& bytes, int mode) { ClassifyReceivedFrame(bytes, mode); };
    handlers.meterFrame = [this](const ByteString& meterFrame) {
        {
            LockGuard lock(m_meterLock);
            m_meterReplyFrame = meterFrame;
        }
        if (m_meterReplyEvent) m_meterReplyEvent->Set();
    };
    handlers.claimVersionCapture = [this] {
        uint32_t expected = 0;
        return m_versionShown.compare_exchange_strong(expected, 1);
    };
    handlers.setVersionText = [this](const std::string& text) { SetVersionText(text); };
    ::SplitReceivedStream(block, settings, handlers);
}
