#pragma once
// A simulated carrier module on the master side of a pseudo-terminal. The program under test
// opens the slave (hand SlavePath() to it through KVT_COM<n>); the module reads 0x79 frames
// with its own parser, records them, and answers each command from a script, every answer in
// one write (one burst). Tests make it silent, late, noisy or split by what they script and
// send, and hang it up.
//
// Written apart from the program's own frame code on purpose.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kvtsim {

using Bytes = std::basic_string<unsigned char>;

// "79 00 00" -> bytes; blanks are skipped. Throws std::invalid_argument on anything else.
Bytes FromHex(const std::string& text);

// A whole 0x79 frame: start, length (little-endian), control, command, data, sum, XOR.
Bytes BuildFrame(uint8_t control, uint8_t command, const Bytes& data);

// Control byte of the module's answers: sent by the module, an answer, normal.
constexpr uint8_t kAnswerControl = 0x80;
// Control byte of the module's own reports: sent by the module, initiated by it.
constexpr uint8_t kReportControl = 0xC0;

// Ready-made answers.
// Version reply (command 0x02); the default data give "QV-5207-01-03-02".
Bytes VersionReply(const Bytes& data = FromHex("56 51 07 52 01 02 03"));
// A search report (command 0x19) carrying the given data.
Bytes SearchReport(const Bytes& data);
// A DL/T 645-2007 read answer: 68, address (6 bytes, wire order), 68, control 0x91, length,
// data identifier and value each plus 0x33, sum, 16.
Bytes MeterAnswer(const Bytes& address, const Bytes& dataId, const Bytes& value);

class SimModule {
public:
    SimModule();
    ~SimModule();
    SimModule(const SimModule&) = delete;
    SimModule& operator=(const SimModule&) = delete;

    // Opens the pseudo-terminal (slave in raw mode) and starts the module's thread.
    bool Start();
    // Ends the thread and closes both sides.
    void Stop();
    // Path of the slave device, for example /dev/pts/3.
    std::string SlavePath() const;

    // Script: when a frame with this command arrives, write these bytes in one burst (any bytes:
    // several frames, a meter answer, garbage; empty: stay silent), delay after it arrived. The
    // version request is answered with VersionReply() at once until the script says otherwise.
    void SetAnswer(uint8_t command, const Bytes& answer,
                   std::chrono::milliseconds delay = std::chrono::milliseconds(0));
    // Script for one device: a frame of this command whose data hold match at offset (an
    // address, say) is answered with these bytes after delay instead (empty: stay silent). The
    // module reads nothing more until the answer is written.
    void SetAnswerFor(uint8_t command, size_t offset, const Bytes& match, const Bytes& answer,
                      std::chrono::milliseconds delay = std::chrono::milliseconds(0));

    // Hands every piece of bytes received to tap, on the module's thread, before the module
    // parses them: a device behind the module reads the line this way. nullptr removes it.
    void SetByteTap(std::function<void(const Bytes& bytes)> tap);

    // Writes bytes unasked, in one write.
    bool Send(const Bytes& bytes);
    // Writes bytes as a stream that never pauses: chunk bytes every interval, on a fixed
    // schedule (cutting frames anywhere).
    bool SendPaced(const Bytes& bytes, size_t chunk, std::chrono::milliseconds interval);
    // Closes the master: the slave's reader sees the line hang up.
    void HangUp();

    // Every checked frame received so far, in order, exactly as it arrived.
    std::vector<Bytes> ReceivedFrames() const;
    // Every byte received so far.
    Bytes ReceivedBytes() const;
    // Waits until at least count frames have arrived; false on time-out.
    bool WaitForFrames(size_t count, std::chrono::milliseconds timeout) const;
    void ClearReceived();

private:
    void Run();
    void HandleInput(const unsigned char* bytes, size_t count);
    bool WriteBurst(const unsigned char* bytes, size_t count);
    bool WaitUnlessStopped(std::chrono::milliseconds time);
    void WakeThread();

    int m_master = -1;
    int m_slave = -1;  // held so the master never sees a hang-up while the tool has the port closed
    int m_wake[2] = {-1, -1};
    std::string m_slavePath;
    std::thread m_thread;

    mutable std::mutex m_lock;
    mutable std::condition_variable m_changed;
    bool m_stopping = false;
    std::map<uint8_t, std::pair<Bytes, std::chrono::milliseconds>> m_script;
    struct DeviceAnswer {
        uint8_t command;
        size_t offset;
        Bytes match;
        Bytes answer;
        std::chrono::milliseconds delay;
    };
    std::vector<DeviceAnswer> m_deviceScript;
    std::function<void(const Bytes&)> m_tap;
    std::vector<Bytes> m_frames;
    Bytes m_bytes;

    Bytes m_parse;  // module thread only
    std::mutex m_writeLock;
};

}  // namespace kvtsim
