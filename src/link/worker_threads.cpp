// The start, stop and procedure shape shared by every worker thread of the main window.

#include "app/main_tester_dlg.h"

int CMainTesterDlg::StartWorker(std::atomic<uint32_t>& runFlag, std::shared_ptr<WorkerThread>& thread,
                                std::function<void()> procedure, const char* errorText) {
    if (thread && !thread->IsFinished()) {
        // One thread of a kind: a running one goes on; one that is ending is waited for.
        if (runFlag.load() != 0) return 1;
        StopWorker(runFlag, thread);
    }
    runFlag = 1;
    thread = WorkerThread::Start(std::move(procedure));
    if (!thread) {
        // A thread that never started is not running.
        runFlag = 0;
        ShowMessageBox(errorText, "错误", kMbOk | kMbIconStop);
        return 0;
    }
    return 1;
}

void CMainTesterDlg::StopWorker(std::atomic<uint32_t>& runFlag, std::shared_ptr<WorkerThread>& thread) {
    runFlag = 0;
    if (!thread) return;
    std::shared_ptr<WorkerThread> t = thread;
    // Keeps the window alive while the worker finishes: it may be waiting on a sent message.
    if (IsUiThread())
        WaitPumping([&t] { return t->IsFinished(); });
    t->Join();
    if (thread == t) thread.reset();
}

std::function<void()> CMainTesterDlg::OneShot(std::atomic<uint32_t>& runFlag, std::function<void()> worker) {
    return [&runFlag, worker = std::move(worker)] {
        while (runFlag.load() != 0) {
            SleepMs(1);
            worker();
            runFlag = 0;
        }
    };
}

void CMainTesterDlg::StopGatherThread() { StopWorker(m_gatherThreadRunning, m_gatherThread); }

void CMainTesterDlg::StopMonitorThread() { StopWorker(m_monitorThreadRunning, m_monitorThread); }

int CMainTesterDlg::StartMonitorThread() {
    return StartWorker(m_monitorThreadRunning, m_monitorThread, [this] {
        while (m_monitorThreadRunning.load() != 0) {
            SleepMs(1);
            MonitorThreadStep();
        }
    }, "启动串口通讯线程失败");
}

int CMainTesterDlg::StartGatherThread() {
    m_rxGatherer.Reset();
    return StartWorker(m_gatherThreadRunning, m_gatherThread, [this] {
        m_rxGatherer.Run([this] { return m_gatherThreadRunning.load() != 0; },
                         [this](const ByteString& block) { OnReceivedChunk(block); });
    }, "启动串口通讯线程失败");
}

void CMainTesterDlg::StopImportThread() { StopWorker(m_importRunning, m_importThread); }

int CMainTesterDlg::StartImportThread() {
    return StartWorker(m_importRunning, m_importThread, OneShot(m_importRunning, [this] { ImportWorker(); }),
                       "启动导入线程失败");
}

void CMainTesterDlg::ImportWorker() {}
