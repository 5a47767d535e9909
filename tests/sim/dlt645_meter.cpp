#include "sim/dlt645_meter.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

namespace kvtsim {

namespace {

constexpr unsigned char kHead = 0x68;
constexpr unsigned char kTail = 0x16;
constexpr unsigned char kRead = 0x11;
constexpr unsigned char kReadAnswer = 0x91;
constexpr size_t kHeadBytes = 10;  // 68, address, 68, control, length
const Bytes kValue = {0x00, 0x12, 0x34, 0x56};

Bytes Offset(Bytes bytes) {
    for (unsigned char& b : bytes) b = static_cast<unsigned char>(b + 0x33);
    return bytes;
}

unsigned char Sum(const Bytes& bytes, size_t count) {
    unsigned char sum = 0;
    for (size_t i = 0; i < count; ++i) sum = static_cast<unsigned char>(sum + bytes[i]);
    return sum;
}

// Digits as printed, most significant pair first, into bytes least significant first.
Bytes Reversed(const std::string& digits) {
    const Bytes bytes = FromHex(digits);
    return Bytes(bytes.rbegin(), bytes.rend());
}

Bytes Frame(const Bytes& address, unsigned char control, const Bytes& data) {
    Bytes f = Bytes{kHead} + address + Bytes{kHead, control, static_cast<unsigned char>(data.size())} + data;
    return f + Bytes{Sum(f, f.size()), kTail};
}

}  // namespace

Bytes MeterAnswer(const Bytes& address, const Bytes& dataId, const Bytes& value) {
    return Frame(address, kReadAnswer, Offset(dataId + value));
}

Bytes Dlt645ReadRequest(const std::string& address, const std::string& identifier) {
    return Frame(Reversed(address), kRead, Offset(Reversed(identifier)));
}

Bytes Dlt645ReadAnswer(const std::string& address, const std::string& identifier) {
    return MeterAnswer(Reversed(address), Reversed(identifier), kValue);
}

struct Dlt645Meters::State {
    explicit State(SimModule& l) : line(l) {}

    // On the module's thread: whole frames out of the stream, anything else skipped.
    void Read(const Bytes& bytes) {
        parse += bytes;
        for (;;) {
            parse.erase(0, std::min(parse.find(kHead), parse.size()));
            if (parse.size() < kHeadBytes) return;
            const size_t size = kHeadBytes + parse[9] + 2;
            if (parse[7] == kHead && parse.size() < size) return;
            if (parse[7] != kHead || parse[size - 2] != Sum(parse, size - 2) || parse[size - 1] != kTail) {
                parse.erase(0, 1);
                continue;
            }
            const Bytes request = parse.substr(0, size);
            parse.erase(0, size);
            MeterBehaviour b;
            Bytes answer = Answer(request, b);
            if (answer.empty()) continue;
            // A late meter holds the line: nothing more is read until it has answered.
            std::this_thread::sleep_for(b.delay);
            if (b.byteGap.count() == 0) {
                line.Send(answer);
                continue;
            }
            std::chrono::milliseconds pause{0};
            line.SendPaced(answer, 1, b.byteGap, pause);
            std::lock_guard<std::mutex> lock(m);
            longestPause = std::max(longestPause, pause);
        }
    }

    // The answer of the meter the request is for (empty: none answers), and its behaviour.
    Bytes Answer(const Bytes& request, MeterBehaviour& b) {
        std::lock_guard<std::mutex> lock(m);
        requests.push_back(request);
        requestTimes.push_back(std::chrono::steady_clock::now());
        if (request[8] != kRead) return other ? other(request) : Bytes();
        const auto meter = meters.find(request.substr(1, 6));
        if (request[8] != kRead || meter == meters.end() || meter->second.fault == MeterFault::Silent) return {};
        b = meter->second;
        Bytes address = meter->first;
        if (b.fault == MeterFault::OtherAddress) address[0] = static_cast<unsigned char>(address[0] + 1);
        // The identifier goes back as it came, already offset.
        Bytes answer = Frame(address, kReadAnswer, request.substr(kHeadBytes, request[9]) + Offset(kValue));
        if (b.fault == MeterFault::BadCheckSum) answer[answer.size() - 2] ^= 0xFF;
        if (b.fault == MeterFault::CutShort) answer.resize(answer.size() - 3);
        return b.wakeUp ? Bytes(4, 0xFE) + answer : answer;
    }

    SimModule& line;
    Bytes parse;  // module thread only
    std::mutex m;
    std::map<Bytes, MeterBehaviour> meters;  // by address, least significant byte first
    std::function<Bytes(const Bytes& request)> other;
    std::vector<Bytes> requests;
    std::vector<std::chrono::steady_clock::time_point> requestTimes;
    std::chrono::milliseconds longestPause{0};
};

Dlt645Meters::Dlt645Meters(SimModule& line) : m_state(std::make_shared<State>(line)) {
    const std::shared_ptr<State> state = m_state;
    line.SetByteTap([state](const Bytes& bytes) { state->Read(bytes); });
}

Dlt645Meters::~Dlt645Meters() { m_state->line.SetByteTap(nullptr); }

void Dlt645Meters::Add(const std::string& address, MeterBehaviour behaviour) {
    std::lock_guard<std::mutex> lock(m_state->m);
    m_state->meters[Reversed(address)] = behaviour;
}

void Dlt645Meters::SetOtherAnswers(std::function<Bytes(const Bytes& request)> answer) {
    std::lock_guard<std::mutex> lock(m_state->m);
    m_state->other = std::move(answer);
}

std::vector<Bytes> Dlt645Meters::Requests() const {
    std::lock_guard<std::mutex> lock(m_state->m);
    return m_state->requests;
}

std::vector<std::chrono::steady_clock::time_point> Dlt645Meters::RequestTimes() const {
    std::lock_guard<std::mutex> lock(m_state->m);
    return m_state->requestTimes;
}

std::chrono::milliseconds Dlt645Meters::TakeLongestPause() {
    std::lock_guard<std::mutex> lock(m_state->m);
    return std::exchange(m_state->longestPause, std::chrono::milliseconds(0));
}

}  // namespace kvtsim
