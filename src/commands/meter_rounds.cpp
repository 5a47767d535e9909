// Meter reading in rounds.

#include "commands/meter_rounds.h"

#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

#include "commands/field_text.h"
#include "dialogs/number_text.h"
#include "link/conversions.h"
#include "platform/local_time.h"
#include "platform/text_format.h"

namespace {

constexpr char kThreadStartFailed[] = "启动轮抄线程失败";
// The rounds thread takes its first step this long after the start, as the page always did.
constexpr uint32_t kFirstStepDelayMs = 100;
constexpr uint32_t kLowLimit = 99999999;
constexpr size_t kAddressDigits = 12;
constexpr size_t kIdentifierDigits = 8;
// Longest number a count or time edit takes: nine digits always fit 32 bits.
constexpr size_t kNumberDigits = 9;

uint32_t LeadingNumber(const std::string& text) { return static_cast<uint32_t>(LeadingWholeNumber(text)); }

bool IsDecimal(const std::string& text, size_t maxDigits) {
    return text.size() <= maxDigits && std::all_of(text.begin(), text.end(), [](char c) {
               return std::isdigit(static_cast<unsigned char>(c)) != 0;
           });
}

bool IsHex(const std::string& text, size_t maxDigits) {
    return text.size() <= maxDigits && std::all_of(text.begin(), text.end(), [](char c) {
               return std::isxdigit(static_cast<unsigned char>(c)) != 0;
           });
}

// One field's checks: empty, then malformed.
struct FieldCheck {
    const std::string& text;
    const char* emptyText;
    bool wellFormed;
    const char* badText;
};

}  // namespace

bool operator<(const MeterAddress& a, const MeterAddress& b) {
    return a.high != b.high ? a.high < b.high : a.low < b.low;
}

MeterAddress MeterAddressFromText(const std::string& text) {
    MeterAddress a;
    a.high = LeadingNumber(text.substr(0, 4));
    a.low = text.size() > 4 ? LeadingNumber(text.substr(4, 8)) : 0;
    return a;
}

std::string MeterAddressText(const MeterAddress& address) {
    return StrFormat("%04u%08u", static_cast<unsigned>(address.high), static_cast<unsigned>(address.low));
}

MeterAddress NextMeterAddress(MeterAddress address) {
    if (++address.low > kLowLimit) {
        address.low = 0;
        ++address.high;
    }
    return address;
}

bool ReadRoundSettings(const RoundFieldTexts& texts, RoundSettings& settings, std::string& message) {
    if (texts.mode == kTimeoutModeText) {
        settings.mode = RoundWaitMode::Timeout;
    } else if (texts.mode == kIntervalModeText) {
        settings.mode = RoundWaitMode::Interval;
    } else {
        // A typed mode would leave the rounds running without ever sending.
        message = "请选择等待方式";
        return false;
    }
    const bool timeout = settings.mode == RoundWaitMode::Timeout;
    std::vector<FieldCheck> checks = {
        {texts.identifier, "数据标识不能为空", IsHex(texts.identifier, kIdentifierDigits), "数据标识格式错误"},
        {texts.start, "起始地址不能为空", IsDecimal(texts.start, kAddressDigits), "起始地址格式错误"},
        {texts.end, "终止地址不能为空", IsDecimal(texts.end, kAddressDigits), "终止地址格式错误"},
        {texts.rounds, "轮抄次数不能为空", IsDecimal(texts.rounds, kNumberDigits), "轮抄次数格式错误"},
        {texts.waitTime, timeout ? "超时时间不能为空" : "等待时间不能为空",
         IsDecimal(texts.waitTime, kNumberDigits) && LeadingNumber(texts.waitTime) > 0,
         timeout ? "超时时间必须是大于0的毫秒数" : "等待时间必须是大于0的毫秒数"},
    };
    if (timeout) {
        checks.push_back(
            {texts.sendDelay, "间隔时间不能为空", IsDecimal(texts.sendDelay, kNumberDigits), "发送延时格式错误"});
    }
    for (const FieldCheck& check : checks) {
        if (check.text.empty() || !check.wellFormed) {
            message = check.text.empty() ? check.emptyText : check.badText;
            return false;
        }
    }
    settings.identifier = DataIdentifierBytes(texts.identifier);
    settings.start = MeterAddressFromText(texts.start);
    settings.end = MeterAddressFromText(texts.end);
    settings.rounds = LeadingNumber(texts.rounds);
    settings.waitMs = LeadingNumber(texts.waitTime);
    settings.sendDelayMs = timeout ? LeadingNumber(texts.sendDelay) : 0;
    if (settings.end < settings.start) {
        // Nothing would be sent, and without end for rounds of 0.
        message = "终止地址不能小于起始地址";
        return false;
    }
    return true;
}

void RoundStatistics::CountAnswer(uint32_t elapsedMs) {
    if (++replies == 0) replies = 1;
    timeSum += elapsedMs;
    timeAvg = timeSum / replies;
    timeMin = std::min(timeMin, elapsedMs);
    timeMax = std::max(timeMax, elapsedMs);
}

RoundStatisticsTexts FormatRoundStatistics(const RoundStatistics& stats) {
    const auto seconds = [](uint32_t ms) { return StrFormat("%.2fs", ms / 1000.0); };
    const float rate = stats.sent == 0 ? 0.0f : static_cast<float>(stats.replies * 100.0 / stats.sent);
    RoundStatisticsTexts texts;
    texts.average = seconds(stats.timeAvg);
    texts.total = seconds(stats.timeSum);
    texts.minimum = seconds(stats.timeMin);
    texts.maximum = seconds(stats.timeMax);
    texts.sent = StrFormat("%u", static_cast<unsigned>(stats.sent));
    texts.replies = StrFormat("%u", static_cast<unsigned>(stats.replies));
    texts.successRate = StrFormat("%.2f", static_cast<double>(rate));
    return texts;
}

MeterRounds::MeterRounds(ModuleLink& link, RoundReports reports) : m_link(link), m_reports(std::move(reports)) {}

MeterRounds::~MeterRounds() { Stop(); }

int MeterRounds::Start(const RoundSettings& settings) {
    Stop();
    m_stopRequested = false;
    m_stop.Reset();
    m_link.SetMeterPass(false, ByteString());
    return m_link.Workers().Start(m_worker, WorkerSet::OneShot(m_worker, [this, settings] { Run(settings); }),
                                  kThreadStartFailed);
}

void MeterRounds::RequestStop() {
    // The flag first: a round that has just reset the reply event sees the flag, or else wakes
    // on the event set after it.
    m_stopRequested = true;
    m_stop.Set();
    m_link.MeterReplyEvent().Set();
}

void MeterRounds::Stop() {
    m_worker.RequestStop();
    RequestStop();
    m_link.Workers().Stop(m_worker);
}

void MeterRounds::Run(const RoundSettings& settings) {
    RoundStatistics stats;
    m_stop.Wait(kFirstStepDelayMs);
    bool going = true;
    for (uint32_t round = 0; going && (settings.rounds == 0 || round < settings.rounds); ++round) {
        for (MeterAddress a = settings.start; going && !(settings.end < a); a = NextMeterAddress(a)) {
            going = ReadOne(settings, a, stats);
        }
    }
    m_link.SetMeterPass(false, ByteString());
    if (m_reports.ended) m_reports.ended();
}

bool MeterRounds::ReadOne(const RoundSettings& settings, const MeterAddress& a, RoundStatistics& stats) {
    const std::string text = MeterAddressText(a);
    const ByteString address = MeterAddressBytes(text);
    const ByteString request = Dlt645ReadFrame(address, settings.identifier);

    // The answer awaited from here on is this meter's: nothing stored or signalled before counts.
    m_link.SetMeterPass(true, address);
    if (Stopping()) return false;
    m_link.SendFrame(request);
    const uint64_t sendTick = GetTickCountMs();
    if (m_reports.requestSent) m_reports.requestSent(request);
    ++stats.sent;

    // A stop also sets the reply event, so this one wait ends on either; the stop wins.
    const bool woke = m_link.MeterReplyEvent().Wait(settings.waitMs);
    const uint64_t wakeTick = GetTickCountMs();
    if (Stopping()) return false;
    MeterReplyEntry entry;
    entry.time = GetLocalTime();
    if (woke) {
        entry.valid = 1;
        entry.elapsedMs = static_cast<uint32_t>(wakeTick - sendTick);
        entry.frame = m_link.MeterReplyFrame();
        stats.CountAnswer(entry.elapsedMs);
    } else {
        entry.valid = 0;
        HexTextToBytes(text, entry.frame, 0);
    }
    if (m_reports.result) m_reports.result(entry, stats);

    uint32_t pause = 0;
    if (settings.mode == RoundWaitMode::Timeout) {
        pause = settings.sendDelayMs;
    } else if (woke) {
        // One request per interval while the meters answer in time.
        const uint64_t elapsed = GetTickCountMs() - sendTick;
        pause = elapsed >= settings.waitMs ? 0 : static_cast<uint32_t>(settings.waitMs - elapsed);
    }
    m_stop.Wait(pause);
    return !Stopping();
}
