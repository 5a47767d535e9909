#include "link/serial_port.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include "link/frame_splitter.h"
#include "link/receive_gatherer.h"
#include "link/serial_comm.h"
#include "sim/sim_module.h"
#include "test_frames.h"

using testing_frames::Hex;
using testing_frames::MakeFrame;

namespace {

constexpr auto kWait = std::chrono::seconds(10);  // only reached when something is broken
constexpr int kPort = 7;

// Collects what the reader hands on.
class RecordingPort : public CSerialPort {
public:
    ~RecordingPort() override { Close(); }

    int OnReceive(const unsigned char* bytes, size_t count) override {
        std::lock_guard<std::mutex> lock(m_lock);
        m_blocks.emplace_back(bytes, count);
        m_all.append(bytes, count);
        m_changed.notify_all();
        return 0;
    }

    bool WaitForBytes(size_t count) {
        std::unique_lock<std::mutex> lock(m_lock);
        return m_changed.wait_for(lock, kWait, [&] { return m_all.size() >= count; });
    }
    ByteString Received() {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_all;
    }
    std::vector<ByteString> Blocks() {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_blocks;
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<ByteString> m_blocks;
    ByteString m_all;
};

// Raised from the reader thread when the line hangs up.
struct HangUpFlag {
    std::mutex lock;
    std::condition_variable changed;
    bool raised = false;

    std::function<void()> Handler() {
        return [this] {
            std::lock_guard<std::mutex> l(lock);
            raised = true;
            changed.notify_all();
        };
    }
    bool Wait() {
        std::unique_lock<std::mutex> l(lock);
        return changed.wait_for(l, kWait, [&] { return raised; });
    }
};

class SerialPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim.Start());
        ::setenv("KVT_COM7", sim.SlavePath().c_str(), 1);
    }
    void TearDown() override { ::unsetenv("KVT_COM7"); }

    int OpenDefault(CSerialPort& port) { return port.Open(kPort, 115200, 8, 0, "1"); }

    kvtsim::SimModule sim;
};

const ByteString kVersionRequest = MakeFrame(0x40, 0x02, ByteString());
const ByteString kMacRequest = MakeFrame(0x40, 0x03, ByteString());

}  // namespace

TEST(SerialPortPath, EnvironmentWinsOverTheDefault) {
    ::setenv("KVT_COM12", "/dev/pts/77", 1);
    EXPECT_EQ(CSerialPort::ResolvePortPath(12), "/dev/pts/77");
    ::unsetenv("KVT_COM12");
    EXPECT_EQ(CSerialPort::ResolvePortPath(12), "/dev/ttyUSB2");
}

TEST(SerialPortPath, DefaultsReachOnBoardAndUsbPorts) {
    for (int n : {1, 9, 10, 49, 50, 99}) ::unsetenv(("KVT_COM" + std::to_string(n)).c_str());
    EXPECT_EQ(CSerialPort::ResolvePortPath(1), "/dev/ttyS0");
    EXPECT_EQ(CSerialPort::ResolvePortPath(9), "/dev/ttyS8");
    EXPECT_EQ(CSerialPort::ResolvePortPath(10), "/dev/ttyUSB0");
    EXPECT_EQ(CSerialPort::ResolvePortPath(49), "/dev/ttyUSB39");
    EXPECT_EQ(CSerialPort::ResolvePortPath(50), "/dev/ttyACM0");
    EXPECT_EQ(CSerialPort::ResolvePortPath(99), "/dev/ttyACM49");
    EXPECT_EQ(CSerialPort::ResolvePortPath(0), "");
    EXPECT_EQ(CSerialPort::ResolvePortPath(100), "");
}

TEST(SerialPortFaults, MissingDevice) {
    ::setenv("KVT_COM8", "/nonexistent/ttyKVT0", 1);
    CSerialPort port;
    EXPECT_EQ(port.Open(8, 115200, 8, 0, "1"), SERIAL_CANNOT_OPEN);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.LastFault(), SerialFault::NoDevice);
    EXPECT_EQ(port.LastErrorText(), "串口设备不存在: /nonexistent/ttyKVT0");
    EXPECT_FALSE(CSerialPort::ProbePort(8));
    ::unsetenv("KVT_COM8");
    // A number with no device at all.
    EXPECT_EQ(port.Open(0, 115200, 8, 0, "1"), SERIAL_CANNOT_OPEN);
    EXPECT_EQ(port.LastFault(), SerialFault::NoDevice);
}

TEST(SerialPortFaults, NotATerminal) {
    ::setenv("KVT_COM8", "/dev/null", 1);
    CSerialPort port;
    EXPECT_EQ(port.Open(8, 115200, 8, 0, "1"), SERIAL_TIMEOUTS_FAILED);
    EXPECT_EQ(port.LastFault(), SerialFault::NotSerial);
    EXPECT_EQ(port.LastErrorText(), "/dev/null 不是串口设备");
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.Close(), SERIAL_WRONG_STATE);
    ::unsetenv("KVT_COM8");
}

TEST(SerialPortFaults, PermissionDeniedNamesTheDialoutGroup) {
    EXPECT_EQ(CSerialPort::FaultText(SerialFault::PermissionDenied, "/dev/ttyUSB0", EACCES),
              "没有权限打开串口 /dev/ttyUSB0: 当前用户须属于 dialout 组(sudo usermod -aG dialout 用户名, 然后重新登录)");
    char path[] = "/tmp/kvt_noperm_XXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    ::close(fd);
    ASSERT_EQ(::chmod(path, 0), 0);
    ::setenv("KVT_COM8", path, 1);
    auto openRefused = [] {
        CSerialPort port;
        return port.Open(8, 115200, 8, 0, "1") == SERIAL_CANNOT_OPEN &&
               port.LastFault() == SerialFault::PermissionDenied &&
               port.LastErrorText().find("dialout") != std::string::npos;
    };
    if (::geteuid() != 0) {
        EXPECT_TRUE(openRefused());
    } else {
        // Root opens any file: try it as an ordinary user in a child process.
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
            ::_exit(openRefused() ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    ::unsetenv("KVT_COM8");
    ::unlink(path);
}

TEST_F(SerialPortTest, WriteReachesTheModuleByteExact) {
    RecordingPort port;
    ASSERT_EQ(OpenDefault(port), SERIAL_OK);
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(port.State(), PORT_OPEN);
    EXPECT_EQ(port.DevicePath(), sim.SlavePath());

    const ByteString frame = MakeFrame(0x40, 0x14, "00 11 22 33 79 00 FF");
    EXPECT_EQ(port.Write(frame.data(), frame.size()), static_cast<int>(frame.size()));
    EXPECT_EQ(port.Write(kMacRequest.data(), kMacRequest.size()), static_cast<int>(kMacRequest.size()));
    ASSERT_TRUE(sim.WaitForFrames(2, kWait));
    EXPECT_EQ(sim.ReceivedFrames(), (std::vector<ByteString>{frame, kMacRequest}));
    EXPECT_EQ(sim.ReceivedBytes(), frame + kMacRequest);
}

TEST_F(SerialPortTest, TheModuleAnswersTheVersionRequest) {
    RecordingPort port;
    ASSERT_EQ(OpenDefault(port), SERIAL_OK);
    ASSERT_EQ(port.Write(kVersionRequest.data(), kVersionRequest.size()), 7);
    const ByteString reply = kvtsim::VersionReply();
    ASSERT_TRUE(port.WaitForBytes(reply.size()));
    EXPECT_EQ(port.Received(), reply);
    EXPECT_EQ(reply, MakeFrame(0x80, 0x02, "56 51 07 52 01 02 03"));
}

TEST_F(SerialPortTest, ScriptedAnswersWithGarbageAndDelay) {
    const ByteString mac = MakeFrame(0x80, 0x03, "06 05 04 03 02 01");
    sim.SetAnswer(0x03, mac);
    sim.SetGarbage(Hex("FE FE"), Hex("00 79"));
    sim.SetDelay(std::chrono::milliseconds(20));
    RecordingPort port;
    ASSERT_EQ(OpenDefault(port), SERIAL_OK);
    ASSERT_EQ(port.Write(kMacRequest.data(), kMacRequest.size()), 7);
    const ByteString expected = Hex("FE FE") + mac + Hex("00 79");
    ASSERT_TRUE(port.WaitForBytes(expected.size()));
    EXPECT_EQ(port.Received(), expected);
}

TEST_F(SerialPortTest, SilentModuleRecordsButDoesNotAnswer) {
    sim.SetEcho(0x14, 0x15);
    RecordingPort port;
    ASSERT_EQ(OpenDefault(port), SERIAL_OK);
    sim.SetSilent(true);
    ASSERT_EQ(port.Write(kVersionRequest.data(), kVersionRequest.size()), 7);
    ASSERT_TRUE(sim.WaitForFrames(1, kWait));
    sim.SetSilent(false);
    const ByteString data = MakeFrame(0x40, 0x14, "AA BB CC");
    ASSERT_EQ(port.Write(data.data(), data.size()), static_cast<int>(data.size()));
    const ByteString echo = MakeFrame(0x80, 0x15, "AA BB CC");
    ASSERT_TRUE(port.WaitForBytes(echo.size()));
    // Answers come in request order: had the first been answered, it would come first.
    EXPECT_EQ(port.Received(), echo);
}

TEST_F(SerialPortTest, SplitAnswerArrivesWhole) {
    sim.SetSplit(5, std::chrono::milliseconds(5));
    RecordingPort port;
    ASSERT_EQ(OpenDefault(port), SERIAL_OK);
    ASSERT_EQ(port.Write(kVersionRequest.data(), kVersionRequest.size()), 7);
    const ByteString reply = kvtsim::VersionReply();
    ASSERT_TRUE(port.WaitForBytes(reply.size()));
    EXPECT_EQ(port.Received(), reply);
}

TEST_F(SerialPortTest, LongBurstComesInBlocksOfAtMost2000) {
    RecordingPort port;
    ASSERT_EQ(OpenDefault(port), SERIAL_OK);
    ByteString burst;
    for (int i = 0; i < 5000; ++i) burst.push_back(static_cast<unsigned char>(i * 7));
    ASSERT_TRUE(sim.Send(burst));
    ASSERT_TRUE(port.WaitForBytes(burst.size()));
    EXPECT_EQ(port.Received(), burst);
    for (const ByteString& block : port.Blocks()) {
        EXPECT_GT(block.size(), 0u);
        EXPECT_LE(block.size(), kSerialReadBufferSize);
    }
}

TEST_F(SerialPortTest, CloseAndReopen) {
    RecordingPort port;
    ASSERT_EQ(OpenDefault(port), SERIAL_OK);
    EXPECT_EQ(OpenDefault(port), SERIAL_WRONG_STATE);  // already open
    EXPECT_EQ(port.LastFault(), SerialFault::AlreadyOpen);
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(port.Close(), SERIAL_OK);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.State(), PORT_CLOSED);
    EXPECT_EQ(port.Close(), SERIAL_WRONG_STATE);
    EXPECT_EQ(port.Write(kMacRequest.data(), kMacRequest.size()), SERIAL_WRONG_STATE);
    EXPECT_EQ(port.LastErrorText(), "串口未打开");
    unsigned char buf[4];
    EXPECT_EQ(port.Read(buf, sizeof buf), SERIAL_WRONG_STATE);

    ASSERT_EQ(OpenDefault(port), SERIAL_OK);
    ASSERT_EQ(port.Write(kVersionRequest.data(), kVersionRequest.size()), 7);
    ASSERT_TRUE(sim.WaitForFrames(1, kWait));
    EXPECT_EQ(sim.ReceivedFrames(), (std::vector<ByteString>{kVersionRequest}));
    ASSERT_TRUE(port.WaitForBytes(kvtsim::VersionReply().size()));
    EXPECT_EQ(port.Received(), kvtsim::VersionReply());
}

TEST_F(SerialPortTest, SecondOpenOfTheSamePortIsRefusedAsBusy) {
    RecordingPort first;
    ASSERT_EQ(OpenDefault(first), SERIAL_OK);
    EXPECT_FALSE(CSerialPort::ProbePort(kPort));
    CSerialPort second;
    EXPECT_EQ(OpenDefault(second), SERIAL_CANNOT_OPEN);
    EXPECT_EQ(second.LastFault(), SerialFault::Busy);
    EXPECT_EQ(second.LastErrorText(), "串口 " + sim.SlavePath() + " 已被其它程序占用");
    EXPECT_FALSE(second.IsOpen());
    ASSERT_EQ(first.Close(), SERIAL_OK);
    EXPECT_TRUE(CSerialPort::ProbePort(kPort));
    EXPECT_EQ(OpenDefault(second), SERIAL_OK);
}

TEST_F(SerialPortTest, RefusedSettingsReleaseTheDevice) {
    CSerialPort port;
    EXPECT_EQ(port.Open(kPort, 12345, 8, 0, "1"), SERIAL_SETTINGS_FAILED);
    EXPECT_EQ(port.LastFault(), SerialFault::BadSettings);
    EXPECT_EQ(port.Open(kPort, 115200, 9, 0, "1"), SERIAL_SETTINGS_FAILED);
    EXPECT_EQ(port.Open(kPort, 115200, 8, 3, "1"), SERIAL_SETTINGS_FAILED);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(CSerialPort::ProbePort(kPort));
    EXPECT_EQ(OpenDefault(port), SERIAL_OK);
}

TEST(SerialLineSettings, DataBitsParityAndStopBits) {
    termios tio{};
    tio.c_cflag = CRTSCTS | CSTOPB;
    tio.c_iflag = IXON | IXOFF;
    tio.c_lflag = ICANON | ECHO;
    ASSERT_TRUE(MakeLineSettings(tio, 9600, 7, 1, "1.5"));
    EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B9600));
    EXPECT_EQ(::cfgetispeed(&tio), static_cast<speed_t>(B9600));
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS7));
    EXPECT_EQ(tio.c_cflag & (PARENB | PARODD), static_cast<tcflag_t>(PARENB | PARODD));
    EXPECT_NE(tio.c_iflag & INPCK, 0u);
    EXPECT_NE(tio.c_cflag & CSTOPB, 0u);  // no one and a half stop bits on Linux: two
    EXPECT_EQ(tio.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_EQ(tio.c_cc[VMIN], 0);
    EXPECT_EQ(tio.c_cc[VTIME], 0);

    ASSERT_TRUE(MakeLineSettings(tio, 115200, 8, 2, "1"));
    EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B115200));
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | PARODD), static_cast<tcflag_t>(PARENB));
    EXPECT_EQ(tio.c_cflag & CSTOPB, 0u);

    ASSERT_TRUE(MakeLineSettings(tio, 4800, 5, 0, "2"));
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS5));
    EXPECT_EQ(tio.c_cflag & (PARENB | PARODD), 0u);
    EXPECT_EQ(tio.c_iflag & INPCK, 0u);
    EXPECT_NE(tio.c_cflag & CSTOPB, 0u);
    ASSERT_TRUE(MakeLineSettings(tio, 4800, 6, 0, "?"));  // unknown text keeps the stop bits
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS6));
    EXPECT_NE(tio.c_cflag & CSTOPB, 0u);

    EXPECT_FALSE(MakeLineSettings(tio, 12345, 8, 0, "1"));
    EXPECT_FALSE(MakeLineSettings(tio, 9600, 4, 0, "1"));
    EXPECT_FALSE(MakeLineSettings(tio, 9600, 9, 0, "1"));
    EXPECT_FALSE(MakeLineSettings(tio, 9600, 8, 3, "1"));
}

TEST_F(SerialPortTest, LineSettingsReachTheDevice) {
    // A pseudo-terminal keeps speed and stop bits; it forces 8 data bits and no parity.
    CSerialPort port;
    ASSERT_EQ(port.Open(kPort, 9600, 8, 0, "1.5"), SERIAL_OK);
    EXPECT_EQ(port.StopBitsText(), "1.5");
    const int fd = ::open(sim.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    termios tio{};
    ASSERT_EQ(::tcgetattr(fd, &tio), 0);
    EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B9600));
    EXPECT_NE(tio.c_cflag & CSTOPB, 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
    EXPECT_EQ(tio.c_cc[VMIN], 0);
    EXPECT_EQ(tio.c_cc[VTIME], 0);
    ASSERT_EQ(port.Close(), SERIAL_OK);

    ASSERT_EQ(port.Open(kPort, 115200, 8, 0, "1"), SERIAL_OK);
    ASSERT_EQ(::tcgetattr(fd, &tio), 0);
    EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B115200));
    EXPECT_EQ(tio.c_cflag & CSTOPB, 0u);
    ::close(fd);
}

TEST_F(SerialPortTest, HangUpEndsTheReaderAndReportsClosed) {
    RecordingPort port;
    HangUpFlag flag;
    port.SetHangUpHandler(flag.Handler());
    ASSERT_EQ(OpenDefault(port), SERIAL_OK);
    ASSERT_TRUE(sim.Send(Hex("01 02 03")));
    ASSERT_TRUE(port.WaitForBytes(3));

    sim.HangUp();
    ASSERT_TRUE(flag.Wait());
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(port.HasHungUp());
    EXPECT_EQ(port.LastFault(), SerialFault::HungUp);
    EXPECT_EQ(port.LastErrorText(), "串口 " + sim.SlavePath() + " 已断开(设备被拔出或线路挂断)");
    EXPECT_EQ(port.Write(kMacRequest.data(), kMacRequest.size()), SERIAL_WRONG_STATE);
    EXPECT_EQ(port.LastFault(), SerialFault::HungUp);
    EXPECT_EQ(port.Received(), Hex("01 02 03"));
    // Closing releases what is left; a second close finds nothing.
    EXPECT_EQ(port.Close(), SERIAL_OK);
    EXPECT_EQ(port.Close(), SERIAL_WRONG_STATE);
    EXPECT_TRUE(port.HasHungUp());
}

TEST_F(SerialPortTest, DestroyingAnOpenPortStopsItsReader) {
    for (int i = 0; i < 3; ++i) {
        std::atomic<size_t> got{0};
        {
            CSerialComm comm([&](const unsigned char*, size_t n) { got += n; });
            ASSERT_EQ(OpenDefault(comm), SERIAL_OK);
            ASSERT_TRUE(sim.Send(ByteString(100, 0x55)));
        }
        EXPECT_LE(got.load(), 100u);
    }
}

TEST_F(SerialPortTest, CommHandsEveryByteToItsSink) {
    std::mutex lock;
    std::condition_variable changed;
    ByteString got;
    CSerialComm comm([&](const unsigned char* bytes, size_t n) {
        std::lock_guard<std::mutex> l(lock);
        got.append(bytes, n);
        changed.notify_all();
    });
    ASSERT_EQ(OpenDefault(comm), SERIAL_OK);
    const ByteString bytes = Hex("00 79 00 00 68 00");
    ASSERT_TRUE(sim.Send(bytes));
    std::unique_lock<std::mutex> l(lock);
    ASSERT_TRUE(changed.wait_for(l, kWait, [&] { return got.size() >= bytes.size(); }));
    EXPECT_EQ(got, bytes);
}

// Port, gather loop and splitter together, as the main dialog wires them.
class ReceivePipelineTest : public SerialPortTest {
protected:
    void SetUp() override {
        SerialPortTest::SetUp();
        const unsigned char sentinel = 0xEE;
        gatherer.Append(&sentinel, 1);
        gatherer.Reset();  // the owner empties the receive text before the loop starts
        gather = std::thread([this] {
            gatherer.Run([this] { return running.load(); },
                         [this](const ByteString& block) {
                             SplitHandlers handlers;
                             handlers.classify = [this](const ByteString& bytes, int mode) {
                                 std::lock_guard<std::mutex> l(lock);
                                 (mode == kCheckedFrame ? frames : raw).push_back(bytes);
                             };
                             SplitReceivedStream(block, SplitSettings(), handlers);
                             std::lock_guard<std::mutex> l(lock);
                             blocks.push_back(block);
                             changed.notify_all();
                         });
        });
    }
    void TearDown() override {
        running = false;
        gather.join();
        SerialPortTest::TearDown();
    }
    bool WaitForBlocks(size_t n) {
        std::unique_lock<std::mutex> l(lock);
        return changed.wait_for(l, kWait, [&] { return blocks.size() >= n; });
    }

    ReceiveGatherer gatherer;
    std::atomic<bool> running{true};
    std::thread gather;
    std::mutex lock;
    std::condition_variable changed;
    std::vector<ByteString> blocks, frames, raw;
};

TEST_F(ReceivePipelineTest, AnswerWithGarbageGivesTheFrame) {
    sim.SetGarbage(Hex("FE FE FE"), ByteString());
    CSerialComm comm([this](const unsigned char* bytes, size_t n) { gatherer.Append(bytes, n); });
    ASSERT_EQ(OpenDefault(comm), SERIAL_OK);
    ASSERT_EQ(comm.Write(kVersionRequest.data(), kVersionRequest.size()), 7);
    ASSERT_TRUE(WaitForBlocks(1));
    std::lock_guard<std::mutex> l(lock);
    EXPECT_EQ(blocks, (std::vector<ByteString>{Hex("FE FE FE") + kvtsim::VersionReply()}));
    EXPECT_EQ(frames, (std::vector<ByteString>{kvtsim::VersionReply()}));
    EXPECT_TRUE(raw.empty());
}

TEST_F(ReceivePipelineTest, FrameSplitAcrossAQuietGapIsLost) {
    CSerialComm comm([this](const unsigned char* bytes, size_t n) { gatherer.Append(bytes, n); });
    ASSERT_EQ(OpenDefault(comm), SERIAL_OK);
    const ByteString mac = kvtsim::MacReply(Hex("01 02 03 04 05 06"));
    // The second half goes out only once the gather loop has taken the first.
    ASSERT_TRUE(sim.Send(mac.substr(0, 4)));
    ASSERT_TRUE(WaitForBlocks(1));
    ASSERT_TRUE(sim.Send(mac.substr(4)));
    ASSERT_TRUE(WaitForBlocks(2));
    std::lock_guard<std::mutex> l(lock);
    EXPECT_TRUE(frames.empty());
    EXPECT_EQ(raw, (std::vector<ByteString>{mac.substr(0, 4), mac.substr(4)}));
}

TEST_F(ReceivePipelineTest, MeterAnswerReachesTheSplitterRaw) {
    const ByteString meter = kvtsim::MeterAnswer(Hex("11 22 33 44 55 66"), Hex("00 00 01 00"), Hex("12 34"));
    EXPECT_EQ(meter, Hex("68 11 22 33 44 55 66 68 91 06 33 33 34 33 45 67") +
                         ByteString(1, static_cast<unsigned char>(
                                           (0x68 + 0x11 + 0x22 + 0x33 + 0x44 + 0x55 + 0x66 + 0x68 + 0x91 + 0x06 +
                                            0x33 + 0x33 + 0x34 + 0x33 + 0x45 + 0x67) & 0xFF)) +
                         Hex("16"));
    sim.SetAnswer(0xF1, meter);
    CSerialComm comm([this](const unsigned char* bytes, size_t n) { gatherer.Append(bytes, n); });
    ASSERT_EQ(OpenDefault(comm), SERIAL_OK);
    const ByteString request = MakeFrame(0x40, 0xF1, "01");
    ASSERT_EQ(comm.Write(request.data(), request.size()), static_cast<int>(request.size()));
    ASSERT_TRUE(WaitForBlocks(1));
    std::lock_guard<std::mutex> l(lock);
    EXPECT_EQ(raw, (std::vector<ByteString>{meter}));
    EXPECT_TRUE(frames.empty());
}
