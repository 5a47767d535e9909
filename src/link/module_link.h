#pragma once
// The module link: the channel, the receive pipeline, the classifier with its reply queues, the
// frame history and the worker threads, composed. It reports to the window through LinkListener.

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

#include "link/byte_string.h"
#include "link/classifier.h"
#include "link/frame_history.h"
#include "link/meter_answer_watch.h"
#include "link/network_link.h"
#include "link/receive_pipeline.h"
#include "link/reply_queue.h"
#include "link/serial_comm.h"
#include "link/version_capture.h"
#include "link/workers.h"
#include "platform/local_time.h"
#include "platform/sync.h"
#include "platform/text_file.h"

enum ChannelMode : uint32_t { CHANNEL_NONE = 0, CHANNEL_SERIAL = 1, CHANNEL_NETWORK = 2 };

// What the link tells the window. Calls come from the link's threads unless said otherwise.
class LinkListener {
public:
    virtual ~LinkListener() = default;
    // A received frame (or raw chunk) for one of the log lists.
    virtual void OnLogFrame(LogList list, const ByteString& frame) = 0;
    // The version text taken from the first frame after the port opened.
    virtual void OnVersionText(const std::string& text) = 0;
    // The channel's line hung up; on the channel's reader thread.
    virtual void OnHangUp() = 0;
    // A received frame for a tool dialog or the module test panel's log.
    virtual void OnToolFrame(ToolFrame tool, const ByteString& frame) = 0;
    // A frame just recorded in the history, numbered for the frame monitor. Called with the
    // history locked: post, never wait for another thread.
    virtual void OnFrameRecorded(char kind, const ByteString& frame, const SystemTime& time, uint32_t number) = 0;
    // A worker thread did not start; on the thread that started it.
    virtual void OnThreadStartFailed(const std::string& text) = 0;
    // A frame's write failed or was cut short: sent of its size bytes went out (-1: not known,
    // the channel did not say); on the sending thread. The frame is not recorded as sent.
    virtual void OnSendFailed(int /*sent*/, size_t /*size*/) {}
};

class ModuleLink {
public:
    explicit ModuleLink(LinkListener& listener);
    ~ModuleLink();
    ModuleLink(const ModuleLink&) = delete;
    ModuleLink& operator=(const ModuleLink&) = delete;

    // ---- Channel ----
    // Makes the serial channel, wired to the receive pipeline and the listener; returns 1.
    int CreateSerialComm();
    // Closes and deletes the serial channel (its reader stops first); the window is going, so
    // no channel is left for sending and the port is no longer open.
    void DeleteSerialComm();
    CSerialComm* SerialComm() { return m_serialComm.get(); }
    // Chooses the channel SendFrame writes on: the serial channel, the network's socket channel
    // open now, or none.
    void SetChannelMode(ChannelMode mode);
    ChannelMode GetChannelMode() const { return static_cast<ChannelMode>(m_channelMode.load()); }
    // Set while a channel is open; command buttons and workers look at it.
    void SetPortOpen(bool open) { m_portOpen = open ? 1 : 0; }
    bool IsPortOpen() const { return m_portOpen.load() != 0; }
    // Closes the serial port, then stops the gather thread, which first passes on every byte
    // the port had read; nothing is open afterwards. The monitor thread goes on. While the
    // network socket is open the gather goes on for it, and sending returns to it.
    void CloseSerialChannel();
    // True while the serial port is open and its line up.
    bool IsSerialOpen() const;
    // After the serial line hung up: why holds its fault text and the channel is closed as
    // above. False (nothing done) when the line did not hang up.
    bool CloseAfterHangUp(std::string& why);
    // Stops both threads, dropping what was not yet handled, and deletes the channel; the
    // window calls it before it goes.
    void Shutdown();
    // The network side: in CHANNEL_NETWORK SendFrame writes on its socket channel; what it
    // reads is split on the gather thread, as the serial port's bytes are.
    NetworkLink& Network() { return m_network; }
    // The network socket has opened: the gather and monitor threads run, the port is open and
    // sending goes to the network. False when a thread did not start; the caller closes the
    // socket and ends the channel.
    bool StartNetworkChannel();
    // The network socket has closed or failed to open: sending returns to the serial port when
    // it is open, else no channel is left; the gather thread, unless the serial port feeds it,
    // ends once every block the socket read is split. The channel mode left.
    ChannelMode EndNetworkChannel();

    // ---- Sending and the frame history ----
    // Writes the frame on the chosen channel and records it as sent once all of it went out; a
    // write that fails or is cut short goes to the listener instead. With no channel chosen
    // nothing is written or recorded.
    void SendFrame(ByteString frame);
    void RecordSentFrame(char kind, const ByteString& frame);
    FrameHistory& History() { return m_history; }
    // One step of the monitor thread: every pending frame, in order, into the history, except
    // 0x40 frames, which go to the test panel's log.
    void MonitorThreadStep();

    // ---- Receive path ----
    void SplitReceivedStream(const ByteString& block);
    // mode kCheckedFrame for a checked frame, kRawChunk for raw bytes.
    void ClassifyReceivedFrame(const ByteString& frame, int mode);
    void LogNumberedReceive(const ByteString& frame);
    // The check box "显示所有串口接收报文".
    void SetShowAllReceived(bool on) { m_showAllReceived = on; }
    // Data of received 0x00 frames are descrambled before they are recorded.
    void SetDescramble(bool on) { m_descramble = on ? 1 : 0; }
    // The next checked frame gives the version text instead of being classified; armed before
    // the version request is sent.
    void ArmVersionCapture() { m_versionCapture.Arm(); }
    // The window's version wait is over: the capture ends once a block received since the
    // arming has been split too, and 500 ms after the arming at the latest.
    void EndVersionWait() { m_versionCapture.EndWait(); }
    // Ends the capture at once.
    void EndVersionCapture() { m_versionCapture.End(); }
    bool IsVersionCaptureArmed() const { return m_versionCapture.IsArmed(); }
    // The working file that 0x40 frames are numbered into.
    bool OpenWorkingFile(const std::string& path);
    // Meter-reading rounds: while on, the splitter looks for the answer of the meter at address
    // (6 bytes in frame order), stores it and sets the reply event. Each call also forgets the
    // stored answer and resets the event, under the lock the splitter stores them with, so an
    // answer that comes late for one address is never taken for the next.
    void SetMeterPass(bool on, const ByteString& address);
    ByteString MeterReplyFrame() const;
    AutoResetEvent& MeterReplyEvent() { return m_meterReplyEvent; }
    // A page's own watch for a DL/T 645 answer, beside the rounds': it sees the rounds' answers
    // and every raw block, and never moves the rounds' address.
    MeterAnswerWatch& AnswerWatch() { return m_answerWatch; }

    // ---- Reply queues ----
    ReplyQueues& Queues() { return m_queues; }
    // Empties every reply queue and the frames waiting for the monitor thread ("清除报文").
    void ClearQueues();

    // ---- Worker threads ----
    // Both sleep until there is work: the gather on the received bytes and its deadlines, the
    // monitor on the pending frames.
    WorkerSet& Workers() { return m_workers; }
    int StartGatherThread();
    // The bytes received so far go through the splitter before the thread ends.
    void StopGatherThread();
    int StartMonitorThread();
    void StopMonitorThread();
    bool IsGatherThreadRunning() const { return m_gather.IsRunning(); }
    bool IsMonitorThreadRunning() const { return m_monitor.IsRunning(); }
    const Worker& GatherWorker() const { return m_gather; }
    const Worker& MonitorWorker() const { return m_monitor; }

private:
    SplitSettings CurrentSplitSettings() const;
    SplitHandlers MakeSplitHandlers();
    void DeliverPending(const std::deque<ReplyEntry>& entries);
    std::shared_ptr<Channel> CurrentChannel() const;
    void StopGather(bool passRest);
    // What the network side read, into the receive pipeline with the time it was read.
    void OnNetworkBytes(NetworkRead kind, const unsigned char* bytes, size_t count);

    LinkListener& m_listener;
    FrameHistory m_history;
    ReplyQueues m_queues;
    ReplyQueue<ReplyEntry> m_pendingFrames;  // classified frames waiting for the monitor thread

    std::atomic<uint32_t> m_channelMode{CHANNEL_NONE};
    std::atomic<uint8_t> m_portOpen{0};
    std::atomic<bool> m_showAllReceived{false};
    std::atomic<uint8_t> m_descramble{0};
    VersionCapture m_versionCapture;

    TextFile m_parseFile;
    uint32_t m_testPacketCount = 0;

    std::atomic<bool> m_meterPass{false};
    mutable std::mutex m_meterLock;
    ByteString m_meterAddress;
    ByteString m_meterReplyFrame;
    AutoResetEvent m_meterReplyEvent;
    MeterAnswerWatch m_answerWatch;

    ReceivePipeline m_pipeline;
    WorkerSet m_workers;
    Worker m_gather;
    Worker m_monitor;
    NetworkLink m_network{[this](NetworkRead kind, const unsigned char* bytes, size_t count) {
        OnNetworkBytes(kind, bytes, count);
    }};
    // The channel SendFrame writes on, chosen with the mode.
    mutable std::mutex m_channelLock;
    std::shared_ptr<Channel> m_channel;
    // Last, so it goes first: its reader feeds the pipeline and calls the listener.
    std::shared_ptr<CSerialComm> m_serialComm;
};
