// The address-list jobs' common part, and the table that reaches them by their buttons.

#include "commands/address_jobs.h"

#include <utility>

#include "commands/point_reading.h"
#include "link/conversions.h"
#include "link/sub_commands.h"
#include "res/resource_ids.h"

ListView DialogJobWindow::AddressList() { return ListView(m_window.GetDlgItem(IDC_ADDRESS_LIST)); }

bool GatherCheckedAddresses(ListView list, std::vector<std::string>& wireAddresses, size_t limit) {
    const int rows = list.GetItemCount();
    for (int r = 0; r < rows; ++r) {
        if (!list.GetCheck(r)) continue;
        const std::string wire = SwapAddressOrder(list.GetItemText(r, AddressColumn::kAddress));
        if (!wire.empty()) wireAddresses.push_back(wire);
    }
    if (wireAddresses.empty()) return false;
    if (limit != 0 && wireAddresses.size() > limit) {
        ShowMessageBox(kTooManyAddressesText);
        return false;
    }
    return true;
}

bool ReadPointReadInterval(Dialog& page, uint32_t& intervalMs) {
    if (PointReadIntervalMs(page.GetDlgItemText(IDC_POINT_READ_INTERVAL), intervalMs)) return true;
    ShowMessageBox("输入点抄间隔");
    return false;
}

// ---- One job ----

AddressListJob::AddressListJob(JobWindow& window, ModuleLink& link, Setup setup)
    : m_window(window),
      m_link(link),
      m_settings(setup.settings),
      m_controls(std::move(setup.controls)),
      m_log(setup.log),
      m_replies(setup.queue, setup.arrived),
      m_run(link, window, m_replies, setup.errorText) {}

void AddressListJob::EnableControls(bool enable) {
    for (int id : m_controls) m_window.Page().GetDlgItem(id).Enable(enable);
}

bool AddressListJob::BeginOnOpenChannel(const char* closedText) {
    Stop();
    if (WindowClosing()) return false;
    EnableControls(false);
    if (m_link.IsPortOpen()) return true;
    ShowMessageBox(closedText);
    EnableControls(true);
    return false;
}

void AddressListJob::LaunchOverChecked(size_t limit) {
    std::vector<std::string> addresses;
    if (!GatherCheckedAddresses(m_window.AddressList(), addresses, limit)) return EnableControls(true);
    BlankCheckedResults(m_window.AddressList());
    Launch(std::move(addresses));
}

bool AddressListJob::Launch(std::vector<std::string> wires) {
    if (m_run.Start(std::move(wires), m_settings, *this)) return true;
    EnableControls(true);
    return false;
}

void AddressListJob::Sent(const ByteString& frame) {
    std::string hex;
    BytesToHexText(hex, frame);
    m_window.Logs().Add(m_log, std::move(hex));
}

void AddressListJob::Done(const BatchRow& row) {
    m_window.Post([this, row] { WriteRow(row); });
}

void AddressListJob::Ended() {
    m_window.Post([this] { EnableControls(true); });
}

void AddressListJob::WriteRow(const BatchRow& row) { WriteBatchRow(m_window.AddressList(), row); }

// ---- The table ----

AddressJobs::AddressJobs(JobWindow& window, ModuleLink& link)
    : m_window(window),
      m_dataTest(window, link),
      m_versionTest(window, link),
      m_pointReading(window, link),
      m_resetRead(window, link, IDC_READ_RESET_INFO, RESET_INFO_READ_REMOTE),
      m_resetClear(window, link, IDC_AUTO_CLEAR_RESET, RESET_INFO_CLEAR_REMOTE),
      m_configParams(window, link),
      m_jobs{&m_dataTest, &m_versionTest, &m_pointReading, &m_resetRead, &m_resetClear, &m_configParams} {}

AddressJobs::~AddressJobs() { StopAll(); }

std::vector<int> AddressJobs::Buttons() const {
    return {IDC_START_DATA_TEST, IDC_VERSION_TEST,    IDC_AUTO_POINT_READ,  IDC_STOP_POINT_READ,
            IDC_POINT_READ_STATISTICS, IDC_READ_RESET_INFO, IDC_AUTO_CLEAR_RESET, IDC_CONFIG_PARAMS};
}

bool AddressJobs::OnButton(int id) {
    if (AddressListJob* job = JobOf(id)) {
        StartJob(*job);
        return true;
    }
    switch (id) {
        case IDC_STOP_POINT_READ: StopPointReading(); return true;
        case IDC_POINT_READ_STATISTICS:
            ShowMessageBox(PointReadTotalsText(m_window.AddressList()), "统计");
            return true;
        default: return false;
    }
}

void AddressJobs::StartJob(AddressListJob& job) {
    // A stop pumps the window's messages: each job's start looks for a close after its own.
    for (AddressListJob* other : m_jobs) {
        if (other != &job && other->IsActive()) other->Stop();
    }
    job.Start();
}

void AddressJobs::StopPointReading() {
    if (ShowMessageBox("确认要停止点抄吗？", "提示", kMbOkCancel | kMbIconInformation) != kIdOk) return;
    // Every run still records the device it waits for, then sends no more. The reset runs are
    // told first: one started while this waits goes on.
    m_resetRead.RequestStop();
    m_resetClear.RequestStop();
    m_pointReading.Finish();
    PumpMessages();  // the last row it posted is written before the buttons come back
    m_pointReading.EnableControls(true);
    m_window.Page().GetDlgItem(IDC_READ_RESET_INFO).Enable(true);
}

AddressListJob* AddressJobs::JobOf(int startButton) {
    switch (startButton) {
        case IDC_START_DATA_TEST: return &m_dataTest;
        case IDC_VERSION_TEST: return &m_versionTest;
        case IDC_AUTO_POINT_READ: return &m_pointReading;
        case IDC_READ_RESET_INFO: return &m_resetRead;
        case IDC_AUTO_CLEAR_RESET: return &m_resetClear;
        case IDC_CONFIG_PARAMS: return &m_configParams;
        default: return nullptr;
    }
}

void AddressJobs::RequestStop(int startButton) {
    if (AddressListJob* job = JobOf(startButton)) job->RequestStop();
}

void AddressJobs::RequestStopAll() {
    for (AddressListJob* job : m_jobs) job->Interrupt();
}

void AddressJobs::StopAll() {
    RequestStopAll();
    for (AddressListJob* job : m_jobs) job->Stop();
}
