#include "commands/upgrade_run.h"

#include "res/resource_ids.h"

namespace {

// What an upgrade disables until it is stopped.
constexpr int kUpgradeControls[] = {IDC_UPGRADE_START, IDC_UPGRADE_CHOOSE_FILE, IDC_BAUD_RATE_COMBO,
                                    IDC_EXPECTED_VERSION, IDC_PARITY_COMBO};

}  // namespace

void UpgradeRun::MapButtons() {
    m_window.MapCommand(IDC_UPGRADE_START, Notify::Clicked, [this] { OnStart(); });
    m_window.MapCommand(IDC_UPGRADE_STOP, Notify::Clicked, [this] { OnStop(); });
}

void UpgradeRun::OnStart() {
    Stop();
    EnableControls(false);
    if (!m_link.IsPortOpen()) {
        ShowMessageBox("串口未打开");
        EnableControls(true);
        return;
    }
    // The work is empty: the thread ends at once. One that did not start leaves nothing to stop.
    if (m_link.Workers().Start(m_worker, WorkerSet::OneShot(m_worker, [] {}), "启动串口通讯线程失败") == 0)
        EnableControls(true);
}

void UpgradeRun::OnStop() {
    if (ShowMessageBox("确认要停止升级吗？", "提示", kMbOkCancel | kMbIconInformation) != kIdOk) return;
    Stop();
    EnableControls(true);
}

void UpgradeRun::EnableControls(bool enable) {
    for (int id : kUpgradeControls) m_window.GetDlgItem(id).Enable(enable);
}
