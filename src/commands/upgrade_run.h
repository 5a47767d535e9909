#pragma once
// "升级" and "停止升级": the upgrade's thread and the controls it disables until it is stopped.

#include "link/module_link.h"
#include "link/workers.h"
#include "platform/ui.h"

class UpgradeRun {
public:
    UpgradeRun(Dialog& window, ModuleLink& link) : m_window(window), m_link(link) {}

    // Maps the start and the stop on the window.
    void MapButtons();
    // Clears the run flag and joins the thread, even one that has ended by itself.
    void Stop() { m_link.Workers().Stop(m_worker); }

private:
    void OnStart();
    void OnStop();
    void EnableControls(bool enable);

    Dialog& m_window;
    ModuleLink& m_link;
    Worker m_worker;
};
