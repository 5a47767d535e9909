#pragma once
// The jobs over the checked rows of the address list: data test, version test, automatic point
// reading, reset information read or cleared, parameter configuration. Each owns what it reads
// from the page, its requests, the controls it disables while it runs and its row writer; the
// window reaches them by their buttons through AddressJobs.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "commands/batch_runner.h"
#include "dialogs/frame_log.h"
#include "link/module_link.h"
#include "link/reply_source.h"
#include "platform/ui.h"

// What the jobs need of the window.
class JobWindow : public UiThread {
public:
    // The page whose controls the jobs read and enable by id; the window's thread only.
    virtual Dialog& Page() = 0;
    // The address list; the window's thread only.
    virtual ListView AddressList() = 0;
    // The frame logs; rows from any thread.
    virtual FrameLogs& Logs() = 0;
};

// The wire forms of the checked rows' addresses; false when there are none, or more than limit
// (0: no limit), which is said.
bool GatherCheckedAddresses(ListView list, std::vector<std::string>& wireAddresses, size_t limit);

// The window as the jobs see it: a dialog with the address list, and its frame logs.
class DialogJobWindow final : public JobWindow {
public:
    DialogJobWindow(Dialog& window, FrameLogs& logs) : m_window(window), m_logs(logs) {}
    void Post(std::function<void()> task) override { m_window.PostTask(std::move(task)); }
    Dialog& Page() override { return m_window; }
    ListView AddressList() override;
    FrameLogs& Logs() override { return m_logs; }

private:
    Dialog& m_window;
    FrameLogs& m_logs;
};

// The wait per device of point reading and the reset runs (edit IDC_POINT_READ_INTERVAL, seconds)
// in milliseconds; false, after saying so, when it is empty or below zero.
bool ReadPointReadInterval(Dialog& page, uint32_t& intervalMs);

// One job over the address list on a runner of its own.
class AddressListJob : protected BatchSteps {
public:
    // Each job stops its run as it goes: the run calls into it.
    ~AddressListJob() override = default;
    // Its start button: a run of its own still going ends first; what the page refuses is said.
    virtual void Start() = 0;
    // Ends a run within its wait and waits for its thread; Interrupt does not wait.
    void Stop() { m_run.Stop(); }
    void Interrupt() { m_run.Interrupt(); }
    // The run sends no more; the device in hand still has its wait and row (Finish waits for it).
    void RequestStop() { m_run.RequestStop(); }
    void Finish() { m_run.Finish(); }
    // Its thread has not ended yet.
    bool IsActive() const { return m_run.IsActive(); }
    // Enables or disables the controls it holds while it runs.
    void EnableControls(bool enable);

protected:
    struct Setup {
        ReplyQueue<ReplyEntry>& queue;
        ArrivedFlag& arrived;
        const char* errorText;     // what a thread that cannot start says
        std::vector<int> controls;  // disabled while it runs
        LogList log;                // where its requests are logged
        BatchSettings settings;
    };
    AddressListJob(JobWindow& window, ModuleLink& link, Setup setup);

    // Ends a run still going and disables the controls; false, after saying closedText and
    // enabling them again, when no channel is open; false at once when the window is closing.
    bool BeginOnOpenChannel(const char* closedText);
    // Starts the run over the devices; false (the controls enabled again) when no thread started.
    bool Launch(std::vector<std::string> wires);
    // Starts the run over the checked addresses (at most limit, said) after blanking their
    // results; nothing checked or too many: the controls are enabled again.
    void LaunchOverChecked(size_t limit);
    // The window's close has begun (a stop may have pumped it): a start changes nothing.
    bool WindowClosing() const { return m_link.Workers().IsClosed(); }

    void Sent(const ByteString& frame) override;
    void Done(const BatchRow& row) override;
    void Ended() override;
    // The device's row into the address list, on the window's thread.
    virtual void WriteRow(const BatchRow& row);

    JobWindow& m_window;
    ModuleLink& m_link;
    BatchSettings m_settings;

private:
    std::vector<int> m_controls;
    LogList m_log;
    QueueReplySource m_replies;
    BatchRunner m_run;
};

// "开始测试": a send-data frame from the page for each checked address (at most 35).
class DataTestJob final : public AddressListJob {
public:
    DataTestJob(JobWindow& window, ModuleLink& link);
    ~DataTestJob() override { Stop(); }
    void Start() override;

private:
    StepRequest Request(size_t index, const std::string& wire) override;
};

// "版本测试": the remote version of each checked address, compared with the expected one.
class VersionTestJob final : public AddressListJob {
public:
    VersionTestJob(JobWindow& window, ModuleLink& link);
    ~VersionTestJob() override { Stop(); }
    void Start() override;

private:
    StepRequest Request(size_t index, const std::string& wire) override;
    void PortClosed() override;
};

// "自动点抄": a point-reading request for each checked device, each with its group address.
class PointReadingJob final : public AddressListJob {
public:
    PointReadingJob(JobWindow& window, ModuleLink& link);
    ~PointReadingJob() override { Stop(); }
    void Start() override;

private:
    StepRequest Request(size_t index, const std::string& wire) override;

    uint8_t m_multicast = 0;
    std::vector<std::string> m_groups;
};

// "读取复位信息" (sub-code 2, with the reset statistics) and "自动清除复位" (sub-code 3).
class ResetInfoJob final : public AddressListJob {
public:
    ResetInfoJob(JobWindow& window, ModuleLink& link, int button, uint8_t subCode);
    ~ResetInfoJob() override { Stop(); }
    void Start() override;

private:
    StepRequest Request(size_t index, const std::string& wire) override;
    void WriteRow(const BatchRow& row) override;

    uint8_t m_subCode;
    uint8_t m_multicast = 0;
    std::vector<std::string> m_groups;
};

// "配置参数": one index and value into each checked device (at most 35).
class ConfigParamsJob final : public AddressListJob {
public:
    ConfigParamsJob(JobWindow& window, ModuleLink& link);
    ~ConfigParamsJob() override { Stop(); }
    void Start() override;

private:
    StepRequest Request(size_t index, const std::string& wire) override;
};

// The jobs by their buttons. One runs at a time: they share the address list's result columns,
// and point reading and the reset runs one arrival flag; starting one ends any other still
// running, as a start ends its own earlier run.
class AddressJobs {
public:
    AddressJobs(JobWindow& window, ModuleLink& link);
    ~AddressJobs();
    AddressJobs(const AddressJobs&) = delete;
    AddressJobs& operator=(const AddressJobs&) = delete;

    // The buttons the jobs answer.
    std::vector<int> Buttons() const;
    // The button's action; false for a button of no job.
    bool OnButton(int id);
    // Every run sends no more and leaves its wait; StopAll also waits for their threads.
    void RequestStopAll();
    void StopAll();
    // The run of the job that this button starts sends no more.
    void RequestStop(int startButton);

private:
    AddressListJob* JobOf(int startButton);
    void StartJob(AddressListJob& job);
    // "停止点抄": asks, then point reading finishes the device in hand; the reset runs send no more.
    void StopPointReading();

    JobWindow& m_window;
    DataTestJob m_dataTest;
    VersionTestJob m_versionTest;
    PointReadingJob m_pointReading;
    ResetInfoJob m_resetRead;
    ResetInfoJob m_resetClear;
    ConfigParamsJob m_configParams;
    std::vector<AddressListJob*> m_jobs;
};
