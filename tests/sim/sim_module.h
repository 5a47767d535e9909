#pragma once
// A simulated carrier module on the master side of a pseudo-terminal. The program under test
// opens the slave (hand SlavePath() to it through KVT_COM<n>); the module reads 0x79 frames
// with its own parser, records them, and answers each command from a script, every answer in
// one write (one burst). Written apart from the program's own frame code on purpose.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "test_frames.h"

namespace kvtsim {

using Bytes = ByteString;

// "79 00 00" -> bytes; blanks are skipped. Throws std::invalid_argument on anything else.
inline Bytes FromHex(const std::string& text) { return testing_frames::Hex(text); }

// A whole 0x79 frame: start, length (little-endian), control, command, data, sum, XOR.
inline Bytes BuildFrame(uint8_t control, uint8_t command, const Bytes& data) {
    return testing_frames::MakeFrame(control, command, data);
}

// Version reply (command 0x02, an answer); its data give "QV-5207-01-03-02".
Bytes VersionReply();
// A search report (command 0x19, sent by the module unasked) carrying the given data.
Bytes SearchReport(const Bytes& data);
// A DL/T 645-2007 read answer: 68, address (6 bytes, wire order), 68, control 0x91, length,
// data identifier and value each plus 0x33, sum, 16.
Bytes MeterAnswer(const Bytes& address, const Bytes& dataId, const Bytes& value);

// The module's answer to a pairing request (command 0x60) of this sub-code: the local pairing
// of MAC 112233445566 and PANID 1234, a remote device of MAC 665544332211 and PANID 5678, and
// the sub-code alone where the answer holds nothing else. abnormal: the abnormal answer with
// status 2 (wrong length) instead.
Bytes PairingAnswer(uint8_t subCode, bool abnormal = false);
// Scripts the module to answer every pairing sub-code that the test panel sends.
class SimModule;
void AnswerPairingRequests(SimModule& module, bool abnormal = false);

// The module's answer to a remote reset-information request (command 0xF4) of this sub-code for
// the device at wireAddress (six bytes, the frame's order): the reset word, then the counters,
// each four bytes little-endian; rest: data bytes after the address (the whole tail when given).
Bytes ResetInfoAnswer(uint8_t subCode, const Bytes& wireAddress, uint32_t word, const uint32_t (&counts)[4],
                      uint8_t control = 0x80);
// Scripts the device at wireAddress to answer reset-information requests of both remote
// sub-codes with answer (empty: silent) after delay. multicast: the requests carry a group address.
void AnswerResetInfoFor(SimModule& module, const Bytes& wireAddress, bool multicast, const Bytes& answer,
                        std::chrono::milliseconds delay = std::chrono::milliseconds(0));

class SimModule {
public:
    SimModule();
    ~SimModule() { Stop(); }
    SimModule(const SimModule&) = delete;
    SimModule& operator=(const SimModule&) = delete;

    // Opens the pseudo-terminal (slave in raw mode) and starts the module's thread.
    bool Start();
    // Ends the thread and closes both sides; the slave's reader sees the line hang up.
    void Stop();
    void HangUp() { Stop(); }
    std::string SlavePath() const { return m_slavePath; }

    // Script: a frame of this command is answered with these bytes (any bytes; empty: silence)
    // after delay. The version request is answered with VersionReply() until the script says
    // otherwise.
    void SetAnswer(uint8_t command, const Bytes& answer,
                   std::chrono::milliseconds delay = std::chrono::milliseconds(0));
    // The same for one device: a frame of this command whose data hold match at offset. The
    // module reads nothing more until the answer is written.
    void SetAnswerFor(uint8_t command, size_t offset, const Bytes& match, const Bytes& answer,
                      std::chrono::milliseconds delay = std::chrono::milliseconds(0));
    // Script: a chunk that starts with the carrier debugger's mark 0xA5 is answered with these
    // bytes (empty: silence).
    void SetDebuggerAnswer(const Bytes& answer);
    // Hands every chunk of bytes received to tap, on the module's thread, before the module
    // parses them: a device behind the module reads the line this way. nullptr removes it.
    void SetByteTap(std::function<void(const Bytes& bytes)> tap);

    // Writes bytes unasked, in one write.
    bool Send(const Bytes& bytes) { return WriteBurst(bytes.data(), bytes.size()); }
    // Writes bytes as a stream that never pauses: chunk bytes every interval (cutting frames
    // anywhere).
    bool SendPaced(const Bytes& bytes, size_t chunk, std::chrono::milliseconds interval);
    // The same, and how long the line may have looked quiet to the program meanwhile: the longest
    // gap between two writes, or the longest time written bytes waited unread. A loaded machine
    // can stall the writer or the program's reader past any pause a test means to stay under.
    bool SendPaced(const Bytes& bytes, size_t chunk, std::chrono::milliseconds interval,
                   std::chrono::milliseconds& longestPause);
    // Bytes written that the program has not read yet.
    size_t Unread();
    // Waits until the program has read every byte written; false when timeout passes first.
    bool WaitUntilRead(std::chrono::milliseconds timeout);

    // Every checked frame received so far, in order, and every byte.
    std::vector<Bytes> ReceivedFrames() const;
    Bytes ReceivedBytes() const;
    bool WaitForFrames(size_t count, std::chrono::milliseconds timeout) const;
    void ClearReceived();

private:
    struct Answer {
        Bytes match;  // empty: any frame of the command
        size_t offset = 0;
        Bytes bytes;
        std::chrono::milliseconds delay{0};
    };

    void Run();
    void HandleInput(const unsigned char* bytes, size_t count);
    bool WriteBurst(const unsigned char* bytes, size_t count);

    int m_master = -1;
    int m_slave = -1;  // held so the master never sees a hang-up while the tool has the port closed
    int m_wake[2] = {-1, -1};
    std::string m_slavePath;
    std::thread m_thread;

    mutable std::mutex m_lock;
    mutable std::condition_variable m_changed;
    bool m_stopping = false;
    std::multimap<uint8_t, Answer> m_script;  // by command: the devices' answers, then the default
    std::function<void(const Bytes&)> m_tap;
    Bytes m_debuggerAnswer;
    std::vector<Bytes> m_frames;
    Bytes m_bytes;

    Bytes m_parse;  // module thread only
    std::mutex m_writeLock;
};

}  // namespace kvtsim
