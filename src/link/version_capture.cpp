#include "link/version_capture.h"

void VersionCapture::Arm(Clock::time_point now) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_waitOver = false;
    m_blockSplit = false;
    m_deadline = now + kBound;
    m_armed = true;
}

void VersionCapture::End() { m_armed = false; }

void VersionCapture::EndWait() {
    std::lock_guard<std::mutex> lock(m_lock);
    m_waitOver = true;
    if (m_blockSplit) m_armed = false;
}

void VersionCapture::BlockSplit() {
    if (!m_armed.load()) return;
    std::lock_guard<std::mutex> lock(m_lock);
    m_blockSplit = true;
    if (m_waitOver) m_armed = false;
}

bool VersionCapture::Claim(Clock::time_point now) {
    if (!m_armed.load()) return false;
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_armed.load()) return false;
    m_armed = false;
    return now <= m_deadline;
}

bool VersionCapture::IsArmed(Clock::time_point now) const {
    if (!m_armed.load()) return false;
    std::lock_guard<std::mutex> lock(m_lock);
    return m_armed.load() && now <= m_deadline;
}
