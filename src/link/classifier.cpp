// Routing of received frames to their logs, reply queues and tool dialogs.

#include "app/main_tester_dlg.h"
#include "commands/TestDlg/test_dlg.h"
#include "link/conversions.h"
#include "link/descramble.h"
#include "platform/text_format.h"

namespace {

template <typename Queue, typename Entry>
void Push(CriticalSection& lock, Queue& queue, Entry entry) {
    LockGuard guard(lock);
    queue.push_back(std::move(entry));
}

ReplyEntry Entry(const ByteString& frame) { return ReplyEntry{frame, GetLocalTime()}; }

}  // namespace

void CMainTesterDlg::ClassifyReceivedFrame(const ByteString& frame, int mode) {
    std::string hex;
    BytesToHexText(hex, frame, 0);
    if (mode == 0) {
        AddPassThroughRow(hex, 1);
        return;
    }
    const unsigned char command = FrameByte(frame, 4);
    const unsigned char sub = FrameByte(frame, 5);
    switch (command) {
        case 0x17:
        case 0x19:
        case 0x1A:
        case 0x1B:
            AddSearchLogRow(hex);
            if (command == 0x19) m_deviceSearchDlg.OnSearchReportFrame(frame);
            break;
        case 0x15:
            Push(m_sendDataLock, m_receiveDataReplies, Entry(frame));
            m_receiveDataArrived = 1;
            AddDataReplyLogRow(hex);
            break;
        case 0x1F:
        case 0x1E:
        case 0x07:
            Push(m_sendDataLock, m_remotePasswordReplies, Entry(frame));
            m_remotePasswordArrived = 1;
            AddPasswordLogRow(hex);
            break;
        case 0x1D:
            Push(m_sendDataLock, m_passwordRequestReplies, Entry(frame));
            m_passwordRequestArrived = 1;
            AddPasswordReplyLogRow(hex);
            break;
        case 0x14:
        case 0x32:
        case 0x16:
        case 0x25:
        case 0x27:
        case 0x26:
        case 0x28:
            Push(m_sendDataLock, m_sendDataReplies, Entry(frame));
            m_sendDataArrived = 1;
            AddDataLogRow(hex);
            break;
        case 0xF1:
            Push(m_pointReadLock, m_pointReadReplies, Entry(frame));
            m_pointReadArrived = 1;
            AddFrameLogRow(hex);
            break;
        case 0x50: case 0x52: case 0x51: case 0x53: case 0x5D: case 0x08: case 0xF2: case 0xF4: case 0xF5:
        case 0x01: case 0x02: case 0x06: case 0x09: case 0x03: case 0x04: case 0x60: case 0x0B: case 0x0C:
        case 0x0D: case 0xE0:
            m_testPanel->AddLogRow(hex);
            if (command == 0xF5 && sub == 1) {
                m_broadcastTestDlg.OnBroadcastReplyFrame(frame);
            } else if (command == 0xF2 && sub == 3) {
                Push(m_testLock, m_testReplies, frame);
                m_testArrived = 1;
            } else if (command == 0xF4 && (sub == 2 || sub == 3)) {
                // One queue, one lock, whichever sub-command filled it.
                Push(m_resetInfoLock, m_resetInfoReplies, Entry(frame));
                m_pointReadArrived = 1;
                AddFrameLogRow(hex);
            } else if (command == 0x52) {
                Push(m_versionLock, m_versionReplies, Entry(frame));
                m_versionArrived = 1;
            }
            break;
        case 0xF3:
        case 0x0E:
            AddFrameLogRow(hex);
            break;
        case 0x40:
            LogNumberedReceive(frame);
            break;
        default:
            if (command == 0xF0) {
                Push(m_cmdF0Lock, m_cmdF0Replies, frame);
            } else if (command == 0xE2) {
                Push(m_configLock, m_configReplies, frame);
                m_configArrived = 1;
            }
            if (command != 0x00) AddFrameLogRow(hex);
            break;
    }
    Push(m_allFramesLock, m_allFrames, frame);

    LockGuard pending(m_pendingLock);
    if (command == 0x00) {
        ByteString data = frame.size() > 7 ? frame.substr(5, frame.size() - 7) : ByteString();
        if (m_descramble.load() == 1) DescrambleXor(data);
        m_pendingFrames.push_back(ReplyEntry{std::move(data), GetLocalTime()});
    } else {
        m_pendingFrames.push_back(Entry(frame));
    }
}

void CMainTesterDlg::LogNumberedReceive(const ByteString& frame) {
    if (!m_parseFile.IsOpen()) return;
    ++m_testPacketCount;
    std::string line = StrFormat("接收数据：[%3d]", static_cast<int>(m_testPacketCount));
    for (int i = 5; i <= 8; ++i) AppendFormat(line, "%02X ", FrameByte(frame, i));
    line += "\r\n";
    m_parseFile.WriteString(line);
    m_parseFile.Flush();
}

namespace {
template <typename Queue>
void Flush(CriticalSection& lock, Queue& queue) {
    LockGuard guard(lock);
    queue.clear();
}
}  // namespace

void CMainTesterDlg::FlushCmdF0Replies() { Flush(m_cmdF0Lock, m_cmdF0Replies); }
void CMainTesterDlg::FlushSendDataReplies() { Flush(m_sendDataLock, m_sendDataReplies); }
void CMainTesterDlg::FlushTestReplies() { Flush(m_testLock, m_testReplies); }
void CMainTesterDlg::FlushPointReadReplies() { Flush(m_pointReadLock, m_pointReadReplies); }
void CMainTesterDlg::FlushConfigReplies() { Flush(m_configLock, m_configReplies); }
void CMainTesterDlg::FlushResetInfoReplies() { Flush(m_resetInfoLock, m_resetInfoReplies); }
void CMainTesterDlg::FlushSpareReplies() { Flush(m_spareRepliesLock, m_spareReplies); }
