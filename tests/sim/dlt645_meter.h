#pragma once
// DL/T 645-2007 meters behind the simulated module: they read the line the module reads, and
// each answers the read requests (control 0x11) sent to its own address with the value
// 00 12 34 56, in one burst or a byte at a time. A meter can wake the line with FE bytes first,
// answer late (the module reads nothing more until it has answered), stay silent, answer with
// another address or with a wrong check sum, or cut its answer short.
//
// Frame: 68 A0..A5 68 C L DATA CS 16; the address least significant byte first, every data
// byte plus 0x33, CS the sum of every byte before it. Written apart from the program's code.

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sim/sim_module.h"

namespace kvtsim {

enum class MeterFault { None, Silent, OtherAddress, BadCheckSum, CutShort };

struct MeterBehaviour {
    MeterFault fault = MeterFault::None;
    std::chrono::milliseconds delay{0};
    bool wakeUp = false;  // FE FE FE FE before the frame
    // Non-zero: the answer goes out one byte at a time, this far apart (at 1200 baud, 8 ms).
    std::chrono::milliseconds byteGap{0};
};

// The read request for a meter of 12 decimal digits and an identifier of 8 hexadecimal digits,
// and a meter's answer to it.
Bytes Dlt645ReadRequest(const std::string& address, const std::string& identifier);
Bytes Dlt645ReadAnswer(const std::string& address, const std::string& identifier);

class Dlt645Meters {
public:
    explicit Dlt645Meters(SimModule& line);
    ~Dlt645Meters();
    Dlt645Meters(const Dlt645Meters&) = delete;
    Dlt645Meters& operator=(const Dlt645Meters&) = delete;

    // A meter at this address (12 decimal digits as printed on it).
    void Add(const std::string& address, MeterBehaviour behaviour = MeterBehaviour());
    // A device that is no meter: every well-formed request other than a read goes to answer, on
    // the module's thread, and what it returns is written at once (empty: nothing).
    void SetOtherAnswers(std::function<Bytes(const Bytes& request)> answer);
    // Every well-formed frame read from the line, in order, and when each was read.
    std::vector<Bytes> Requests() const;
    std::vector<std::chrono::steady_clock::time_point> RequestTimes() const;
    // The longest time a line of paced answers may have looked quiet to the program since the
    // last call (see SimModule::SendPaced).
    std::chrono::milliseconds TakeLongestPause();

private:
    struct State;
    std::shared_ptr<State> m_state;  // shared with the module's tap, which may outlive this
};

}  // namespace kvtsim
