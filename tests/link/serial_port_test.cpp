#include "link/serial_port.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include "link/serial_comm.h"
#include "sim/sim_module.h"
#include "test_frames.h"

using testing_frames::Hex;
using testing_frames::MakeFrame;

namespace {

constexpr int kPort = 7;

// The serial channel with what its reader handed on.
class RecordingChannel : public CSerialComm {
public:
    RecordingChannel() {
        SetReceiveHandler([this](const unsigned char* bytes, size_t count) {
            std::lock_guard<std::mutex> lock(m_lock);
            m_all.append(bytes, count);
            m_changed.notify_all();
        });
    }
    // What was received, once at least n bytes are in (or the wait ran out).
    ByteString Received(size_t n = 0) {
        std::unique_lock<std::mutex> lock(m_lock);
        m_changed.wait_for(lock, std::chrono::seconds(10), [&] { return m_all.size() >= n; });
        return m_all;
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    ByteString m_all;
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

const ByteString kMacRequest = MakeFrame(0x40, 0x03, ByteString());

}  // namespace

TEST(SerialPortPath, TheEnvironmentNamesTheDevice) {
    ::setenv("KVT_COM12", "/dev/pts/77", 1);
    EXPECT_EQ(CSerialPort::ResolvePortPath(12), "/dev/pts/77");
    ::unsetenv("KVT_COM12");
    EXPECT_EQ(CSerialPort::ResolvePortPath(12), "/dev/ttyUSB2");
    EXPECT_EQ(CSerialPort::ResolvePortPath(100), "");
}

TEST(SerialPortFaults, OpenFailuresAreNamedForTheUser) {
    char path[] = "/tmp/kvt_noperm_XXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    ::close(fd);
    ASSERT_EQ(::chmod(path, 0), 0);
    const struct {
        std::string device;
        int result;
        SerialFault fault;
        std::string text;
    } cases[] = {
        {"/nonexistent/ttyKVT0", SERIAL_CANNOT_OPEN, SerialFault::NoDevice, "串口设备不存在: COM8 (/nonexistent/ttyKVT0)"},
        {"/dev/null", SERIAL_TIMEOUTS_FAILED, SerialFault::NotSerial, "COM8 (/dev/null) 不是串口设备"},
        {path, SERIAL_CANNOT_OPEN, SerialFault::PermissionDenied,
         std::string("没有权限打开串口 COM8 (") + path +
             "): 当前用户须属于 dialout 组(sudo usermod -aG dialout 用户名, 然后重新登录)"},
    };
    for (const auto& c : cases) {
        ::setenv("KVT_COM8", c.device.c_str(), 1);
        // In a child process, as an ordinary user: root would open any file.
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
            CSerialPort port;
            const bool named = port.Open(8, 115200, 8, 0, "1") == c.result && port.LastFault() == c.fault &&
                               port.LastErrorText() == c.text && !port.IsOpen() && !CSerialPort::ProbePort(8) &&
                               port.Close() == SERIAL_WRONG_STATE;
            ::_exit(named ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << c.device;
    }
    ::unsetenv("KVT_COM8");
    ::unlink(path);
}

TEST_F(SerialPortTest, RawBytesBothWaysWithTheChosenLineSettings) {
    // Line ends, flow-control and interrupt characters pass untouched both ways.
    const ByteString frame = MakeFrame(0x40, 0x03, "0D 0A 11 13 03 7F 00 FF");
    const ByteString answer = Hex("FE 0D 0A 11 13 03 1C 7F 00");
    sim.SetAnswer(0x03, answer);
    RecordingChannel port;
    port.SetSettings(SerialSettings{kPort, 9600, 8, 0, "1.5"});
    ASSERT_EQ(port.Open(), SERIAL_OK);
    EXPECT_EQ(port.DevicePath(), sim.SlavePath());
    EXPECT_EQ(port.Write(frame.data(), frame.size()), static_cast<int>(frame.size()));
    ASSERT_TRUE(sim.WaitForFrames(1, std::chrono::seconds(10)));
    EXPECT_EQ(sim.ReceivedBytes(), frame);
    EXPECT_EQ(port.Received(answer.size()), answer);
    // A pseudo-terminal keeps speed and stop bits (it forces 8 data bits and no parity).
    const int fd = ::open(sim.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios tio{};
    ASSERT_EQ(::tcgetattr(fd, &tio), 0);
    ::close(fd);
    EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B9600));
    EXPECT_NE(tio.c_cflag & CSTOPB, 0u);  // no one and a half stop bits on Linux: two
    EXPECT_EQ((tio.c_lflag & (ICANON | ECHO | ISIG)) + (tio.c_oflag & OPOST), 0u);
}

// Exclusive mode of the device behind the port: later opens are refused to all but the superuser.
int Exclusive(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);  // let through as root
    int exclusive = -1;
    ::ioctl(fd, TIOCGEXCL, &exclusive);
    ::close(fd);
    return exclusive;
}

TEST_F(SerialPortTest, WrongStatesBusyPortsAndRefusedSettings) {
    RecordingChannel port;
    ASSERT_EQ(OpenDefault(port), SERIAL_OK);
    EXPECT_EQ(Exclusive(sim.SlavePath()), 1);
    EXPECT_EQ(OpenDefault(port), SERIAL_WRONG_STATE);
    EXPECT_EQ(port.LastFault(), SerialFault::AlreadyOpen);
    EXPECT_FALSE(CSerialPort::ProbePort(kPort));
    CSerialPort second;
    EXPECT_EQ(OpenDefault(second), SERIAL_CANNOT_OPEN);
    EXPECT_EQ(second.LastErrorText(), "串口 COM7 (" + sim.SlavePath() + ") 已被其它程序占用");
    ASSERT_EQ(port.Close(), SERIAL_OK);
    EXPECT_EQ(Exclusive(sim.SlavePath()), 0);  // the module still holds the device: the mode is undone
    EXPECT_EQ(port.Close(), SERIAL_WRONG_STATE);
    EXPECT_EQ(port.Write(kMacRequest.data(), kMacRequest.size()), SERIAL_WRONG_STATE);
    EXPECT_EQ(port.LastErrorText(), "串口未打开");
    unsigned char buf[4];
    EXPECT_EQ(port.Read(buf, sizeof buf), SERIAL_WRONG_STATE);

    const uint32_t refused[][3] = {{12345, 8, 0}, {115200, 9, 0}, {115200, 8, 3}};  // baud, data bits, parity
    for (const auto& r : refused) {
        EXPECT_EQ(second.Open(kPort, r[0], r[1], r[2], "1"), SERIAL_SETTINGS_FAILED);
        EXPECT_EQ(second.LastFault(), SerialFault::BadSettings);
    }
    EXPECT_TRUE(CSerialPort::ProbePort(kPort));  // a refused open releases the device
    ASSERT_EQ(OpenDefault(port), SERIAL_OK);     // and the first channel opens again
    const ByteString versionRequest = MakeFrame(0x40, 0x02, ByteString());
    ASSERT_EQ(port.Write(versionRequest.data(), 7), 7);
    EXPECT_EQ(port.Received(kvtsim::VersionReply().size()), kvtsim::VersionReply());
}

TEST(SerialLineSettings, DataBitsParityAndStopBits) {
    const struct {
        uint32_t baud, dataBits, parity;
        const char* stopBits;
        speed_t speed;
        tcflag_t size, parityBits;
        bool twoStopBits;
    } cases[] = {
        {9600, 7, 1, "1.5", B9600, CS7, PARENB | PARODD, true},  // no one and a half on Linux: two
        {115200, 8, 2, "1", B115200, CS8, PARENB, false},
        {4800, 5, 0, "2", B4800, CS5, 0, true},
        {4800, 6, 0, "?", B4800, CS6, 0, true},  // an unknown text keeps the stop bits
    };
    termios tio{};
    tio.c_cflag = CRTSCTS | CSTOPB;
    tio.c_iflag = IXON | IXOFF;
    tio.c_lflag = ICANON | ECHO;
    for (const auto& c : cases) {
        ASSERT_TRUE(MakeLineSettings(tio, c.baud, c.dataBits, c.parity, c.stopBits));
        EXPECT_EQ(::cfgetispeed(&tio) + ::cfgetospeed(&tio), 2 * c.speed);
        EXPECT_EQ(tio.c_cflag & CSIZE, c.size);
        EXPECT_EQ(tio.c_cflag & (PARENB | PARODD), c.parityBits);
        EXPECT_EQ((tio.c_iflag & INPCK) != 0, c.parity != 0);
        EXPECT_EQ((tio.c_cflag & CSTOPB) != 0, c.twoStopBits) << c.stopBits;
        EXPECT_EQ(tio.c_cflag & (CRTSCTS | CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
        EXPECT_EQ((tio.c_iflag & (IXON | IXOFF)) + (tio.c_lflag & (ICANON | ECHO)) + tio.c_cc[VMIN] + tio.c_cc[VTIME], 0u);
    }
    for (const auto& bad : {std::make_pair(12345u, 8u), std::make_pair(9600u, 4u), std::make_pair(9600u, 9u)})
        EXPECT_FALSE(MakeLineSettings(tio, bad.first, bad.second, 0, "1"));
}
