// Sending frames and keeping the frame history.

#include "app/main_tester_dlg.h"
#include "commands/TestDlg/test_dlg.h"
#include "link/conversions.h"
#include "link/serial_comm.h"

void CMainTesterDlg::SendFrame(ByteString frame) {
    if (m_channelMode == CHANNEL_SERIAL && m_serialComm) m_serialComm->Write(frame.data(), frame.size());
    // Recorded as sent whatever the write gave: the history shows what the tool sent.
    RecordSentFrame('0', frame);
}

void CMainTesterDlg::RecordSentFrame(char kind, const ByteString& frame) {
    LockGuard history(m_historyLock);
    MonitorRecord record;
    record.kind = static_cast<unsigned char>(kind);
    record.frame = frame;
    record.time = GetLocalTime();
    record.shownTime = record.time;
    record.notViewed = 1;
    m_frameHistory.push_back(record);
    const SystemTime now = GetLocalTime();
    LockGuard monitor(m_monitorLock);
    const uint32_t number = m_sentCount++;
    m_frameMonitorDlg.AddFrameRow(kind, frame, now, number);
}

void CMainTesterDlg::RecordReceivedFrame(char kind, const ByteString& frame, const SystemTime& arrival) {
    LockGuard history(m_historyLock);
    if (m_recordReceived == 0) return;
    MonitorRecord record;
    record.kind = static_cast<unsigned char>(kind);
    record.frame = frame;
    record.time = arrival;
    record.shownTime = GetLocalTime();
    record.notViewed = 1;
    m_frameHistory.push_back(record);
    LockGuard monitor(m_monitorLock);
    const uint32_t number = m_receivedCount++;
    m_frameMonitorDlg.AddFrameRow(kind, frame, arrival, number);
}

void CMainTesterDlg::MonitorThreadStep() {
    // Everything pending is taken at once: one frame per 1 ms sleep would fall behind a busy
    // line. The pending lock is released before anything is recorded.
    std::deque<ReplyEntry> batch;
    {
        LockGuard pending(m_pendingLock);
        batch.swap(m_pendingFrames);
    }
    for (const ReplyEntry& entry : batch) {
        if (FrameByte(entry.frame, 4) == 0x40) {
            std::string hex;
            BytesToHexText(hex, entry.frame, 0);
            m_testPanel->AddLogRow(hex);
            continue;
        }
        RecordReceivedFrame('1', entry.frame, entry.time);
    }
}
