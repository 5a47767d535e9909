#pragma once
// A simulated carrier module on the master side of a pseudo-terminal. The program under test
// opens the slave (hand SlavePath() to it through KVT_COM<n>); the module reads 0x79 frames
// with its own parser, records them, and answers each command from a script, every answer in
// one write (one burst). Fault modes: silent, late, garbage around answers, answers split in
// two bursts, and hang-up.
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
// MAC address reply (command 0x03) with 6 address bytes.
Bytes MacReply(const Bytes& mac);
// A search report (command 0x19) carrying the given data.
Bytes SearchReport(const Bytes& data);
// A DL/T 645-2007 read answer: 68, address (6 bytes, wire order), 68, control 0x91, length,
// data identifier and value each plus 0x33, sum, 16.
Bytes MeterAnswer(const Bytes& address, const Bytes& dataId, const Bytes& value);

class SimModule {
public:
    // Computes the answer to a request frame (empty: no answer).
    using Responder = std::function<Bytes(const Bytes& request)>;

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

    // Script: when a frame with this command arrives, write these bytes (may be any bytes,
    // several frames or a meter answer). Replaces what the command had.
    void SetAnswer(uint8_t command, const Bytes& answer);
    void SetResponder(uint8_t command, Responder responder);
    // Answers the command with a frame of replyCommand carrying the request's data back.
    void SetEcho(uint8_t command, uint8_t replyCommand);
    // No answer for the command any more.
    void ClearAnswer(uint8_t command);

    // Fault modes, each for every request recorded from now on.
    void SetSilent(bool silent);
    void SetDelay(std::chrono::milliseconds delay);
    void SetGarbage(const Bytes& before, const Bytes& after);
    // Writes the first firstBurst bytes of each answer, waits gap, then writes the rest.
    // firstBurst 0 turns splitting off.
    void SetSplit(size_t firstBurst, std::chrono::milliseconds gap);

    // Writes bytes unasked, in one write.
    bool Send(const Bytes& bytes);
    // Writes bytes in two bursts with a quiet gap between.
    bool SendSplit(const Bytes& bytes, size_t firstBurst, std::chrono::milliseconds gap);
    // Closes the master: the slave's reader sees the line hang up.
    void HangUp();

    // Every checked frame received so far, in order, exactly as it arrived.
    std::vector<Bytes> ReceivedFrames() const;
    // Every byte received so far.
    Bytes ReceivedBytes() const;
    size_t FrameCount() const;
    // Waits until at least count frames have arrived; false on time-out.
    bool WaitForFrames(size_t count, std::chrono::milliseconds timeout) const;
    void ClearReceived();

private:
    void Run();
    void HandleInput(const unsigned char* bytes, size_t count);
    // How one request is answered, fixed when it is recorded.
    struct Plan {
        Responder responder;  // empty: no answer
        std::chrono::milliseconds delay{0};
        Bytes before;
        Bytes after;
        size_t splitAt = 0;
        std::chrono::milliseconds gap{0};
    };
    void Answer(const Bytes& request, const Plan& plan);
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
    std::map<uint8_t, Responder> m_script;
    bool m_silent = false;
    std::chrono::milliseconds m_delay{0};
    Bytes m_garbageBefore;
    Bytes m_garbageAfter;
    size_t m_splitAt = 0;
    std::chrono::milliseconds m_splitGap{0};
    std::vector<Bytes> m_frames;
    Bytes m_bytes;

    Bytes m_parse;  // module thread only
    std::mutex m_writeLock;
};

}  // namespace kvtsim
