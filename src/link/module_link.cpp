#include "link/module_link.h"

#include <utility>
#include <vector>

#include "link/debugger_clock.h"
#include "link/descramble.h"
#include "link/module_frame.h"
#include "link/received_frame.h"
#include "platform/text_format.h"

namespace {
constexpr char kThreadStartFailed[] = "启动串口通讯线程失败";
constexpr unsigned char kNetworkTestCommand = 0x40;
}  // namespace

ModuleLink::ModuleLink(LinkListener& listener)
    : m_listener(listener),
      m_pipeline([this] { return CurrentSplitSettings(); }, MakeSplitHandlers(),
                 [this] { m_versionCapture.BlockSplit(); }) {
    m_history.SetRowSink([this](char kind, const ByteString& frame, const SystemTime& time, uint32_t number) {
        m_listener.OnFrameRecorded(kind, frame, time, number);
    });
    m_workers.SetStartFailure([this](const std::string& text) { m_listener.OnThreadStartFailed(text); });
}

ModuleLink::~ModuleLink() { Shutdown(); }

SplitSettings ModuleLink::CurrentSplitSettings() const {
    SplitSettings settings;
    settings.showAllReceived = m_showAllReceived.load();
    settings.meterPassEnabled = m_meterPass.load();
    if (settings.meterPassEnabled) {
        std::lock_guard<std::mutex> lock(m_meterLock);
        settings.meterAddress = m_meterAddress;
    }
    return settings;
}

SplitHandlers ModuleLink::MakeSplitHandlers() {
    SplitHandlers handlers;
    handlers.classify = [this](const ByteString& bytes, int mode) { ClassifyReceivedFrame(bytes, mode); };
    handlers.meterFrame = [this](const ByteString& meterFrame) {
        m_answerWatch.Offer(meterFrame);
        // The address may have moved on since the block's scan began: an answer for the
        // previous meter must not wake the round that waits for the next one.
        std::lock_guard<std::mutex> lock(m_meterLock);
        if (!m_meterPass || meterFrame.compare(1, m_meterAddress.size(), m_meterAddress) != 0) return;
        m_meterReplyFrame = meterFrame;
        m_meterReplyEvent.Set();
    };
    handlers.claimVersionCapture = [this] { return m_versionCapture.Claim(); };
    handlers.setVersionText = [this](const std::string& text) { m_listener.OnVersionText(text); };
    return handlers;
}

// ---- Channel ----

int ModuleLink::CreateSerialComm() {
    m_serialComm = std::make_shared<CSerialComm>(
        [this](const unsigned char* bytes, size_t count) { m_pipeline.Append(bytes, count); });
    m_serialComm->SetHangUpHandler([this] { m_listener.OnHangUp(); });
    if (GetChannelMode() == CHANNEL_SERIAL) SetChannelMode(CHANNEL_SERIAL);
    return 1;
}

void ModuleLink::DeleteSerialComm() {
    std::shared_ptr<CSerialComm> comm = std::move(m_serialComm);
    // The window is going: nothing is sent from here on, on either channel, and a write the
    // peer does not take ends.
    m_portOpen = 0;
    SetChannelMode(CHANNEL_NONE);
    m_network.InterruptWrites();
    // Closed here even while a sender still holds it: a write the device does not take ends.
    if (comm && comm->IsOpen()) comm->Close();
    comm.reset();  // its reader stops here
}

void ModuleLink::SetChannelMode(ChannelMode mode) {
    std::shared_ptr<Channel> channel;
    if (mode == CHANNEL_SERIAL) channel = m_serialComm;
    if (mode == CHANNEL_NETWORK) channel = m_network.CurrentChannel();
    std::lock_guard<std::mutex> lock(m_channelLock);
    m_channel = std::move(channel);
    m_channelMode = mode;
}

std::shared_ptr<Channel> ModuleLink::CurrentChannel() const {
    std::lock_guard<std::mutex> lock(m_channelLock);
    return m_channel;
}

void ModuleLink::CloseSerialChannel() {
    // The reader ends first, so that the gather's last block holds every byte it read.
    if (m_serialComm) m_serialComm->Close();
    if (m_network.IsSocketOpen()) {
        // Sending returns to the socket. The gather goes on for it; the port's last bytes go at
        // its quiet time.
        m_portOpen = 1;
        SetChannelMode(CHANNEL_NETWORK);
        return;
    }
    StopGatherThread();
    m_portOpen = 0;
    SetChannelMode(CHANNEL_NONE);
}

bool ModuleLink::IsSerialOpen() const {
    return m_serialComm && m_serialComm->IsOpen() && !m_serialComm->HasHungUp();
}

bool ModuleLink::StartNetworkChannel() {
    if (!StartGatherThread() || !StartMonitorThread()) return false;
    m_portOpen = 1;
    SetChannelMode(CHANNEL_NETWORK);
    return true;
}

ChannelMode ModuleLink::EndNetworkChannel() {
    const bool serial = IsSerialOpen();
    SetChannelMode(serial ? CHANNEL_SERIAL : CHANNEL_NONE);
    if (!serial) StopGatherThread();
    return GetChannelMode();
}

bool ModuleLink::CloseAfterHangUp(std::string& why) {
    if (!m_serialComm || !m_serialComm->HasHungUp()) return false;
    why = m_serialComm->LastErrorText();
    CloseSerialChannel();
    return true;
}

void ModuleLink::Shutdown() {
    // The window is going: nothing is left to pump for.
    m_workers.SetWait(nullptr);
    StopGather(false);
    StopMonitorThread();
    DeleteSerialComm();
}

// ---- Sending and the frame history ----

void ModuleLink::SendFrame(ByteString frame) {
    const int size = static_cast<int>(frame.size());
    const std::shared_ptr<Channel> channel = CurrentChannel();
    if (!channel) return;  // nothing took it: not sent
    const int sent = channel->Send(frame.data(), frame.size());
    if (sent != size) {
        m_listener.OnSendFailed(sent, frame.size());
        return;
    }
    RecordSentFrame('0', frame);
}

void ModuleLink::RecordSentFrame(char kind, const ByteString& frame) { m_history.RecordSentFrame(kind, frame); }

void ModuleLink::MonitorThreadStep() { DeliverPending(m_pendingFrames.TakeAll()); }

void ModuleLink::DeliverPending(const std::deque<ReplyEntry>& entries) {
    // Everything pending is taken at once, and recorded in one hold of the history: one frame a
    // step would fall behind a busy line, or behind an import that records between the steps.
    std::vector<FrameHistory::Received> records;
    records.reserve(entries.size());
    for (const ReplyEntry& entry : entries) {
        if (FrameByte(entry.frame, 4) == kNetworkTestCommand) {
            m_listener.OnToolFrame(ToolFrame::TestPanelLog, entry.frame);
            continue;
        }
        records.push_back(FrameHistory::Received{entry.frame, entry.time});
    }
    if (!records.empty()) m_history.RecordReceivedFrames('1', records);
}

// ---- Receive path ----

void ModuleLink::OnNetworkBytes(NetworkRead kind, const unsigned char* bytes, size_t count) {
    switch (kind) {
        case NetworkRead::Datagram: m_pipeline.AppendWhole(ByteString(bytes, count), GetLocalTime()); break;
        case NetworkRead::Stream: m_pipeline.AppendStream(bytes, count, GetLocalTime()); break;
        case NetworkRead::StreamEnd: m_pipeline.EndStream(); break;
    }
}

void ModuleLink::SplitReceivedStream(const ByteString& block) { m_pipeline.Split(block); }

void ModuleLink::ClassifyReceivedFrame(const ByteString& frame, int mode) {
    if (mode == kRawChunk) {
        if (IsDebuggerAnswer(frame)) m_queues.debuggerClock.Push(ReplyEntry{frame, GetLocalTime()});
        m_answerWatch.Offer(frame);
        m_listener.OnLogFrame(LogList::PassThrough, frame);
        return;
    }
    const ReceivedFrame received(frame);
    const unsigned char command = received.Command();
    const FrameRoute route = RouteOf(command, received.SubCommand());
    if (route.testPanelRow) m_listener.OnToolFrame(ToolFrame::TestPanelLog, frame);
    m_queues.File(route.queue, frame);
    if (route.log != LogList::None) m_listener.OnLogFrame(route.log, frame);
    if (route.tool != ToolFrame::None) m_listener.OnToolFrame(route.tool, frame);
    if (route.numberedRecord) LogNumberedReceive(frame);
    m_queues.Keep(frame);

    if (command == 0x00) {
        // The monitor gets the data alone: without the header and the two check bytes.
        ByteString data = frame.size() > kFrameOverhead ? frame.substr(5, frame.size() - kFrameOverhead) : ByteString();
        if (m_descramble.load() == 1) DescrambleXor(data);
        m_pendingFrames.Push(ReplyEntry{std::move(data), ReceivePipeline::BlockArrival()});
    } else {
        m_pendingFrames.Push(ReplyEntry{frame, ReceivePipeline::BlockArrival()});
    }
}

void ModuleLink::LogNumberedReceive(const ByteString& frame) {
    if (!m_parseFile.IsOpen()) return;
    ++m_testPacketCount;
    std::string line = StrFormat("接收数据：[%3d]", static_cast<int>(m_testPacketCount));
    for (int i = 5; i <= 8; ++i) AppendFormat(line, "%02X ", FrameByte(frame, i));
    line += "\r\n";
    m_parseFile.WriteString(line);
    m_parseFile.Flush();
}

bool ModuleLink::OpenWorkingFile(const std::string& path) {
    if (!m_parseFile.Open(path, TextFile::kWrite)) return false;
    m_testPacketCount = 0;
    return true;
}

void ModuleLink::SetMeterPass(bool on, const ByteString& address) {
    std::lock_guard<std::mutex> lock(m_meterLock);
    m_meterAddress = address;
    m_meterReplyFrame.clear();
    m_meterReplyEvent.Reset();
    m_meterPass = on;
}

void ModuleLink::ClearQueues() {
    m_queues.ClearAll();
    m_pendingFrames.Clear();
}

ByteString ModuleLink::MeterReplyFrame() const {
    std::lock_guard<std::mutex> lock(m_meterLock);
    return m_meterReplyFrame;
}

// ---- Worker threads ----

int ModuleLink::StartGatherThread() {
    if (m_gather.IsRunning()) return 1;
    StopGather(true);  // waits for a thread that is still ending
    m_pipeline.Reset();
    return m_workers.Start(m_gather, [this] { m_pipeline.Run(); }, kThreadStartFailed);
}

void ModuleLink::StopGatherThread() { StopGather(true); }

void ModuleLink::StopGather(bool passRest) {
    m_gather.RequestStop();
    m_pipeline.Stop(passRest);
    m_workers.Stop(m_gather);
}

int ModuleLink::StartMonitorThread() {
    return m_workers.Start(m_monitor,
                           [this] {
                               const auto stopping = [this] { return !m_monitor.IsRunning(); };
                               while (m_monitor.IsRunning()) DeliverPending(m_pendingFrames.WaitTakeAll(stopping));
                           },
                           kThreadStartFailed);
}

void ModuleLink::StopMonitorThread() {
    m_monitor.RequestStop();
    m_pendingFrames.Wake();
    m_workers.Stop(m_monitor);
}
