// The receive pipeline's pieces: the gatherer takes blocks, the splitter cuts them.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "link/frame_splitter.h"
#include "link/receive_gatherer.h"
#include "link/receive_pipeline.h"
#include "sim/sim_module.h"
#include "test_frames.h"

using testing_frames::Hex;
using testing_frames::MakeFrame;

namespace {

using Events = std::vector<std::string>;

std::string HexOf(const ByteString& b) {
    std::string hex;
    for (unsigned char c : b) hex += {"0123456789ABCDEF"[c >> 4], "0123456789ABCDEF"[c & 15]};
    return hex;
}
// What the splitter handed on: a checked frame, a raw chunk, a meter frame, a version text.
std::string F(const ByteString& b) { return "F " + HexOf(b); }
std::string R(const ByteString& b) { return "R " + HexOf(b); }
std::string M(const ByteString& b) { return "M " + HexOf(b); }
std::string V(const std::string& t) { return "V " + t; }

const ByteString kMeterAddress = Hex("11 22 33 44 55 66");

// The events of one block; versionPending arms the capture of the first frame.
Events Split(const ByteString& block, bool showAll = false, bool meterPass = false, bool versionPending = false) {
    Events events;
    SplitSettings settings;
    settings.showAllReceived = showAll;
    settings.meterPassEnabled = meterPass;
    settings.meterAddress = kMeterAddress;
    SplitHandlers h;
    h.classify = [&](const ByteString& b, int mode) { events.push_back(mode == kCheckedFrame ? F(b) : R(b)); };
    h.meterFrame = [&](const ByteString& b) { events.push_back(M(b)); };
    h.claimVersionCapture = [&] { return std::exchange(versionPending, false); };
    h.setVersionText = [&](const std::string& t) { events.push_back(V(t)); };
    SplitReceivedStream(block, settings, h);
    return events;
}

// 68 address 68 91 L data CS 16, each data byte 0x33 above its value.
ByteString MeterFrame(const ByteString& address, const ByteString& value) {
    const kvtsim::Bytes f = kvtsim::MeterAnswer({address.begin(), address.end()}, {}, {value.begin(), value.end()});
    return ByteString(f.begin(), f.end());
}

ByteString With(ByteString b, size_t i, unsigned char x) {
    b[i] ^= x;
    return b;
}

const ByteString kVersion = MakeFrame(0x80, 0x02, "56 51 07 52 01 02 03");
const ByteString kMac = MakeFrame(0x80, 0x03, "01 02 03 04 05 06");
const ByteString kEmpty = MakeFrame(0x40, 0x02, ByteString());
const ByteString kMeter = MeterFrame(kMeterAddress, Hex("00 00 01 00 12 34"));

}  // namespace

TEST(SplitReceivedStream, CheckedFramesAndRawChunks) {
    const ByteString outer = MakeFrame(0x80, 0x15, kMac);
    const ByteString big = MakeFrame(0x80, 0x14, ByteString(300, 0x79));
    // A frame whose XOR byte is 00, cut before it: the byte past the block must not pass for it.
    const ByteString zeroXorCut = MakeFrame(0x80, 0x15, "94").substr(0, 7);
    ASSERT_EQ(MakeFrame(0x80, 0x15, "94").back(), 0x00);
    struct Case {
        const char* name;
        ByteString block;
        Events events;
        bool showAll = false;  // the check box: the block goes out first, and not again
    };
    const ByteString padded = Hex("01") + kMac + Hex("02");
    // Long runs of high bytes: the eight-byte sums must not spill from one lane into the next.
    const ByteString highBytes = MakeFrame(0x80, 0x14, ByteString(2048, 0xFF));
    // Two starts claim long frames over a real one: checking them spends the block's folding
    // budget, and the real frame is checked from the running sums.
    const ByteString real = MakeFrame(0x80, 0x14, ByteString(200, 0x11));
    const ByteString hostile = Hex("79 FD 00 79 FA 00") + ByteString(60, 0x00) + real;
    const std::vector<Case> cases = {
        {"one frame", kVersion, {F(kVersion)}},
        {"show all", padded, {R(padded), F(kMac)}, true},
        {"show all, frame last", kMac, {R(kMac), F(kMac)}, true},
        {"show all, no frame", Hex("33"), {R(Hex("33"))}, true},
        {"no data", kEmpty, {F(kEmpty)}},
        {"stuck together", kVersion + kMac + kEmpty, {F(kVersion), F(kMac), F(kEmpty)}},
        {"garbage around, frame last", Hex("00 FF 79 12") + kVersion + Hex("68 79 79 00") + kMac, {F(kVersion), F(kMac)}},
        {"garbage last", kVersion + Hex("AA BB 79"), {F(kVersion), R(kVersion + Hex("AA BB 79"))}},
        {"bad sum", With(kMac, kMac.size() - 2, 0x01), {R(With(kMac, kMac.size() - 2, 0x01))}},
        {"bad xor", With(kMac, kMac.size() - 1, 0x80), {R(With(kMac, kMac.size() - 1, 0x80))}},
        {"bad length", With(kMac, 1, 0x03), {R(With(kMac, 1, 0x03))}},
        {"bad then good", With(kMac, kMac.size() - 2, 0x01) + kVersion, {F(kVersion)}},
        {"stray start in data", With(kVersion, 7, 0x79 ^ kVersion[7]) + kMac, {F(kMac)}},
        {"length overruns", Hex("79 FF FF 80 02 00"), {R(Hex("79 FF FF 80 02 00"))}},
        {"good inside overrunning", Hex("79 F0 00") + kMac, {F(kMac)}},
        {"start byte alone", Hex("79"), {R(Hex("79"))}},
        {"half a length", Hex("79 00"), {R(Hex("79 00"))}},
        {"one byte short", kMac.substr(0, kMac.size() - 1), {R(kMac.substr(0, kMac.size() - 1))}},
        {"xor past the block", zeroXorCut, {R(zeroXorCut)}},
        {"high length byte", big, {F(big)}},
        {"frame inside data", outer + Hex("00"), {F(outer), F(kMac), R(outer + Hex("00"))}},
        {"outer frame ends the block", outer, {F(outer)}},
        {"2,048 data bytes of FF", highBytes, {F(highBytes)}},
        {"after two hostile starts", hostile, {F(real)}},
    };
    for (const Case& c : cases) EXPECT_EQ(Split(c.block, c.showAll), c.events) << c.name;
}

// What a plain scan finds: every start byte in order whose frame lies inside the block and whose
// sum and XOR match, until a frame that ends the block; else the block goes on as a raw chunk.
Events PlainSplit(const ByteString& b) {
    Events events;
    for (size_t i = 0; i + 2 < b.size(); ++i) {
        if (b[i] != 0x79) continue;
        const size_t length = b[i + 1] | (static_cast<size_t>(b[i + 2]) << 8);
        const size_t last = i + length + 6;
        if (last >= b.size()) continue;
        unsigned char sum = 0, x = 0;
        for (size_t k = i + 1; k + 1 < last; ++k) {
            sum = static_cast<unsigned char>(sum + b[k]);
            x ^= b[k];
        }
        if (sum != b[last - 1] || x != b[last]) continue;
        events.push_back(F(b.substr(i, length + 7)));
        if (last + 1 == b.size()) return events;
    }
    events.push_back(R(b));
    return events;
}

// Blocks of frames (long ones of high bytes, nested, cut, spoilt), start bytes claiming frames
// that end inside the block, and random bytes rich in start bytes.
class BlockMaker {
public:
    explicit BlockMaker(uint32_t seed) : m_rng(seed) {}

    ByteString Next() {
        ByteString block;
        const unsigned pieces = 1 + Below(12);
        for (unsigned k = 0; k < pieces; ++k) block += Piece(block.size());
        return block;
    }

private:
    unsigned Below(unsigned n) { return static_cast<unsigned>(m_rng() % n); }
    unsigned char Byte() {
        static const unsigned char kCommon[] = {0x79, 0x00, 0xFF, 0x68, 0xFE};
        return Below(3) == 0 ? kCommon[Below(5)] : static_cast<unsigned char>(m_rng());
    }
    ByteString Data(size_t n) {
        const unsigned char fill = Below(2) == 0 ? 0xFF : 0x00;
        ByteString d;
        for (size_t i = 0; i < n; ++i) d.push_back(Below(4) == 0 ? fill : Byte());
        if (Below(3) == 0) d.assign(n, 0xFF);
        return d;
    }
    ByteString Frame() {
        const size_t n = Below(8) == 0 ? 1000 + Below(2500) : Below(300);
        return MakeFrame(static_cast<unsigned char>(m_rng()), static_cast<unsigned char>(m_rng()), Data(n));
    }
    ByteString Piece(size_t at) {
        switch (Below(7)) {
            case 0: {  // a frame in another's data
                ByteString inner = Frame();
                if (inner.size() > 600) inner.resize(600);
                return MakeFrame(0x80, 0x15, Data(Below(20)) + inner + Data(Below(20)));
            }
            case 1: {  // a spoilt or cut frame
                ByteString f = Frame();
                if (Below(2) == 0) {
                    f[Below(static_cast<unsigned>(f.size()))] ^= static_cast<unsigned char>(1 + Below(255));
                } else {
                    f.resize(Below(static_cast<unsigned>(f.size())));
                }
                return f;
            }
            case 2: {  // start bytes whose frames end a little further on
                ByteString heads;
                for (unsigned k = 1 + Below(6); k-- > 0;) heads += ByteString{0x79, static_cast<unsigned char>(Below(256)), 0x00};
                return heads + ByteString(Below(80), 0x00);
            }
            case 3: {  // raw bytes
                ByteString raw;
                for (unsigned k = Below(at > 4000 ? 50 : 400); k-- > 0;) raw.push_back(Byte());
                return raw;
            }
            default:
                return Frame();
        }
    }

    std::mt19937 m_rng;
};

TEST(SplitReceivedStream, AgreesWithAPlainScan) {
    BlockMaker maker(20240305);
    for (int round = 0; round < 3000; ++round) {
        const ByteString block = maker.Next();
        ASSERT_EQ(Split(block), PlainSplit(block)) << "block " << round << " of " << block.size() << " bytes";
    }
    // Hostile blocks: start bytes a few bytes apart, each claiming a frame that ends inside.
    for (unsigned step : {3u, 4u, 7u}) {
        ByteString block(3000, 0x00);
        for (size_t i = 0; i < 2500; i += step) {
            block[i] = 0x79;
            block[i + 1] = static_cast<unsigned char>(i * 7);
        }
        block += kMac;
        ASSERT_EQ(Split(block), PlainSplit(block)) << step;
    }
}

TEST(SplitReceivedStream, FirstFrameAfterOpeningGivesTheVersion) {
    const ByteString other = MakeFrame(0x80, 0x02, "51 56 AB CD EF 10 20");
    const ByteString shortReply = MakeFrame(0x80, 0x02, "56 51 07");
    EXPECT_EQ(Split(kVersion + kMac, false, false, true), (Events{V("版本号:QV-5207-01-03-02"), F(kMac)}));
    EXPECT_EQ(Split(other, false, false, true), (Events{V("版本号:未知-CDAB-EF-20-10")}));
    EXPECT_EQ(Split(kMac + kVersion, false, false, true), (Events{V("版本号:"), F(kVersion)}));
    // A short version reply ends the capture and changes nothing.
    EXPECT_EQ(Split(shortReply + kMac, false, false, true), (Events{F(kMac)}));
    std::string text = "unchanged";
    EXPECT_FALSE(VersionTextFromFrame(shortReply, text));
    EXPECT_FALSE(VersionTextFromFrame(Hex("79 07 00 80 02"), text));
    EXPECT_EQ(text, "unchanged");
}

TEST(SplitReceivedStream, MeterPassDuringRounds) {
    const ByteString other = MeterFrame(Hex("11 22 33 44 55 67"), Hex("00 00 01 00"));
    const ByteString stray = Hex("68 00 00 00 00 00 00 00 00 00 00 00") + kMeter;
    const ByteString badSum = With(kMeter, kMeter.size() - 2, 0xFF);
    const ByteString badOther = With(other, other.size() - 2, 0xFF);
    const ByteString head = Hex("68") + kMeterAddress;
    const ByteString pad(21, 0x00);
    const ByteString noEnd = With(kMeter, kMeter.size() - 1, 0x16);
    struct Case {
        const char* name;
        ByteString block;
        Events events;
    };
    const std::vector<Case> cases = {
        {"alone", kMeter, {M(kMeter)}},
        {"bytes around", Hex("FE FE FE FE") + kMeter + Hex("AA"), {M(kMeter), R(Hex("FE FE FE FE")), R(Hex("AA"))}},
        {"after a module frame", kMac + kMeter, {F(kMac), M(kMeter), R(kMac)}},
        {"a module frame ends the block", kMeter + kMac, {F(kMac), M(kMeter)}},
        {"another meter", other, {R(other)}},
        {"another meter's answer first", other + kMeter, {M(kMeter), R(other)}},
        {"another meter's bad sum ends the pass", badOther + kMeter, {R(badOther + kMeter)}},
        {"stray 68 ends the pass", stray, {R(stray)}},
        {"cut short", kMeter.substr(0, kMeter.size() - 1), {R(kMeter.substr(0, kMeter.size() - 1))}},
        {"bad sum", badSum, {R(badSum)}},
        {"bad sum, then the second 68 ends it", badSum + kMeter, {R(badSum + kMeter)}},
        {"skipped by one byte", head + kMeter + pad, {M(kMeter), R(head), R(pad)}},
        {"end byte not tested", noEnd, {M(noEnd)}},
    };
    for (const Case& c : cases) EXPECT_EQ(Split(c.block, false, true), c.events) << c.name;
    EXPECT_EQ(Split(kMeter), (Events{R(kMeter)}));  // no rounds, no pass
}

TEST(IncompleteFrameStart, WhereTheFrameCutByTheBlockEndBegins) {
    const ByteString stray = Hex("79 FF 00 80");  // a start byte whose length reaches past the block
    const struct {
        const char* name;
        ByteString block;
        size_t start;
    } cases[] = {
        {"whole frames", kVersion + kMac, kVersion.size() + kMac.size()},
        {"the last frame cut", kVersion + kMac.substr(0, 9), kVersion.size()},
        {"cut in its length", kVersion + Hex("79 06"), kVersion.size()},
        {"only its XOR byte missing", kVersion + kMac.substr(0, kMac.size() - 1), kVersion.size()},
        {"nothing complete yet", kMac.substr(0, 9), 0},
        {"garbage after the last frame", kVersion + Hex("01 02"), kVersion.size() + 2},
        {"cut after garbage", kVersion + Hex("01 02") + kMac.substr(0, 4), kVersion.size() + 2},
        {"stray start inside a whole frame", MakeFrame(0x80, 0x15, stray), 11},
        {"a stray start, then whole frames", stray + kVersion, 4 + kVersion.size()},
    };
    for (const auto& c : cases) EXPECT_EQ(IncompleteFrameStart(c.block), c.start) << c.name;
}

TEST(IncompleteFrameStart, AnUnfinishedMeterFrameIsHeldBackWithItsWakeUpBytes) {
    const ByteString wake = Hex("FE FE FE FE");
    const ByteString head = Hex("68 11 22 33 44 55 66 68 91 40");  // claims 64 data bytes
    // The meter frame's last data byte is 0x79: a start whose length reaches past the block.
    const ByteString ends79 = MeterFrame(kMeterAddress, Hex("12 46"));
    ASSERT_EQ(ends79[ends79.size() - 3], 0x79);
    const ByteString feLast = MakeFrame(0x80, 0x15, "6A");
    ASSERT_EQ(feLast.back(), 0xFE);
    const auto cut = [](const ByteString& b, size_t keep) { return b.substr(0, keep); };
    const auto with = [](ByteString b, size_t i, unsigned char v) {
        b[i] = v;
        return b;
    };
    const size_t m = kMac.size();
    const struct {
        const char* name;
        ByteString block;
        size_t start;
    } cases[] = {
        {"whole", kMac + kMeter, m + kMeter.size()},
        {"its end byte missing", kMac + cut(kMeter, kMeter.size() - 1), m},
        {"cut in its address", kMac + cut(kMeter, 4), m},
        {"cut after its length", kMac + cut(kMeter, 10), m},
        {"cut in its data", kMac + cut(kMeter, 13), m},
        {"wake-up bytes before it", kMac + wake + cut(kMeter, 13), m},
        {"at most four wake-up bytes", kMac + Hex("FE FE") + wake + cut(kMeter, 13), m + 2},
        {"wake-up bytes alone", kMac + Hex("00 FE FE"), m + 1},
        {"no second 68", kMac + with(cut(kMeter, 13), 7, 0x67), m + 13},
        {"a wrong sum", kMac + with(cut(kMeter, kMeter.size() - 1), kMeter.size() - 2, 0x00), m + kMeter.size() - 1},
        {"raw bytes before it", Hex("01 02") + cut(kMeter, 2), 2},
        {"a 68 that a later one shows to be data", Hex("68 00") + cut(kMeter, 10), 2},
        {"a 68 in a whole module frame", MakeFrame(0x80, 0x15, "68"), 8},
        {"a 68 in a whole meter frame", kMeter + Hex("16"), kMeter.size() + 1},
        {"an FE that ends a whole module frame", feLast + cut(kMeter, 13), feLast.size()},
        {"a module frame in its data", head + kMac, 0},
        {"a meter frame in its data", head + kMeter, 0},
        {"before a cut module frame", cut(kMeter, 8) + cut(kMac, 4), 0},
        {"inside a cut module frame", Hex("79 40 00") + cut(kMeter, 12), 0},
        {"a 0x79 inside a whole meter frame", ends79 + Hex("00"), ends79.size() + 1},
        {"a 0x79 inside a cut meter frame", kMac + cut(ends79, ends79.size() - 1), m},
    };
    for (const auto& c : cases) EXPECT_EQ(IncompleteFrameStart(c.block), c.start) << c.name;
}

TEST(ReceivePipeline, AMeterAnswerThatTheBoundCutsIsFoundInTheNextBlock) {
    const ByteString noise = Hex("00 01 02 03 04 05 06 07");
    const ByteString with79 = Hex("79 00 18 08 17 20");  // 201708180079: a start byte in the address
    const ByteString answer79 = MeterFrame(with79, Hex("00 00 01 00 12 34"));
    const struct {
        const char* name;
        ByteString address, answer, before;
    } cases[] = {
        {"after raw bytes", kMeterAddress, kMeter, noise},
        {"after wake-up bytes", kMeterAddress, kMeter, noise + Hex("FE FE FE FE")},
        {"after module frames", kMeterAddress, kMeter, kVersion + kMac},
        {"a start byte in its address", with79, answer79, noise + Hex("FE FE")},
    };
    for (const auto& c : cases) {
        const ByteString stream = c.before + c.answer + noise;
        // Cut anywhere by the bound; the rest is taken once the line is quiet.
        for (size_t at = 1; at < stream.size(); ++at) {
            Events events;
            SplitHandlers h;
            h.classify = [&](const ByteString& b, int mode) { events.push_back(mode == kCheckedFrame ? F(b) : R(b)); };
            h.meterFrame = [&](const ByteString& b) { events.push_back(M(b)); };
            const ReceivePipeline pipeline([&] { return SplitSettings{false, true, c.address}; }, h);
            const size_t used = pipeline.SplitBounded(stream.substr(0, at));
            ASSERT_LE(used, at);
            pipeline.Split(stream.substr(used));
            EXPECT_EQ(std::count(events.begin(), events.end(), M(c.answer)), 1) << c.name << ", cut at " << at;
        }
    }
}

TEST(ReceiveGatherer, QuietTimeAndBoundsFromTimePoints) {
    using Take = ReceiveGatherer::Take;
    using ms = std::chrono::milliseconds;
    // At each time (ms): bytes arrive, or a take is tried (the block expected, "-" for none)
    // and what the handler used of it is consumed.
    struct Step {
        int at;
        const char* arrive;
        const char* block;
        Take take = Take::Quiet;
        size_t used = 0;
        ReceiveGatherer::Source source = ReceiveGatherer::Source::Port;
    };
    constexpr auto kStream = ReceiveGatherer::Source::Stream;
    // A line that never pauses is cut at 4,096 bytes.
    const std::string bytes4095 = HexOf(ByteString(4095, 0x55)), bytes4096 = bytes4095 + "55",
                      bytes4097 = bytes4096 + "66";
    const struct {
        const char* name;
        std::vector<Step> steps;
    } cases[] = {
        {"quiet after the last byte",
         {{0, "00 00 79", "-"}, {51, nullptr, "-"}, {52, nullptr, "00 00 79", Take::Quiet, 3}, {200, nullptr, "-"}}},
        {"new bytes restart the quiet time",
         {{0, "01 02", "-"}, {30, "03", "-"}, {81, nullptr, "-"}, {82, nullptr, "01 02 03", Take::Quiet, 3}}},
        {"a busy line is cut at the time bound",
         {{0, "01", "-"}, {40, "02", "-"}, {80, "03", "-"}, {99, nullptr, "-"}, {100, nullptr, "01 02 03", Take::Bound, 2},
          {120, "04", "-"}, {171, nullptr, "-"}, {172, nullptr, "03 04", Take::Quiet, 2}}},
        {"the rest of a bound block does not restart the bound",
         {{0, "01 02", "-"}, {50, "03", "-"}, {100, nullptr, "01 02 03", Take::Bound, 1}, {101, nullptr, "-"},
          {102, nullptr, "02 03", Take::Quiet, 2}}},
        {"bytes after the take are kept behind the rest",
         {{0, "01 02", "-"}, {30, "03", "-"}, {60, "04", "-"}, {100, nullptr, "01 02 03 04", Take::Bound, 3},
          {130, "05", "-"}, {170, "06", "-"}, {210, "07", "-"}, {229, nullptr, "-"},
          {230, nullptr, "04 05 06 07", Take::Bound, 0}}},
        // A network stream by the same rule, apart from the port: a frame trickled a byte every
        // 10 ms is held while its bytes come, and taken once none has come for the quiet time.
        {"a stream's frame trickled a byte every 10 ms is held while its bytes come",
         {{0, "79", "-", Take::Quiet, 0, kStream}, {10, "05", "-", Take::Quiet, 0, kStream},
          {20, "00", "-", Take::Quiet, 0, kStream}, {30, "80", "-", Take::Quiet, 0, kStream},
          {40, "15", "-", Take::Quiet, 0, kStream}, {50, nullptr, "-", Take::Quiet, 0, kStream},
          {50, "01", "-", Take::Quiet, 0, kStream}, {60, "02", "-", Take::Quiet, 0, kStream},
          {99, nullptr, "-", Take::Quiet, 0, kStream}, {100, nullptr, "79 05 00 80 15 01 02", Take::Bound, 7, kStream}}},
        {"a busy line is cut at the size bound",
         {{0, bytes4095.c_str(), "-"}, {1, nullptr, "-"}, {2, "55 66", "-"},
          {2, nullptr, bytes4097.c_str(), Take::Bound, 4096}, {3, nullptr, "-"}, {54, nullptr, "66", Take::Quiet, 1}}},
        {"a stream is cut at the size bound",
         {{0, bytes4095.c_str(), "-", Take::Quiet, 0, kStream}, {1, nullptr, "-", Take::Quiet, 0, kStream},
          {2, "55", "-", Take::Quiet, 0, kStream}, {2, nullptr, bytes4096.c_str(), Take::Bound, 4096, kStream}}},
        {"a stream and the port never share a block",
         {{0, "01", "-"}, {10, "02", "-", Take::Quiet, 0, kStream}, {52, nullptr, "-", Take::Quiet, 0, kStream},
          {52, nullptr, "01", Take::Quiet, 1}, {62, nullptr, "02", Take::Quiet, 1, kStream}}},
    };
    for (const auto& c : cases) {
        ReceiveGatherer g;
        const auto t0 = ReceiveGatherer::Clock::now();
        for (const Step& s : c.steps) {
            const auto at = t0 + ms(s.at);
            if (s.arrive) {
                const ByteString bytes = Hex(s.arrive);
                if (s.source == kStream)
                    g.AppendStream(bytes.data(), bytes.size(), SystemTime{}, at);
                else
                    g.Append(bytes.data(), bytes.size(), at);
                continue;
            }
            ByteString block;
            Take take = Take::Last;
            const bool taken = g.TakeDue(at, block, take, s.source);
            const std::string want = s.block == std::string("-") ? "-" : HexOf(Hex(s.block));
            EXPECT_EQ(taken ? HexOf(block) : "-", want) << c.name << " at " << s.at;
            if (!taken) continue;
            EXPECT_EQ(take, s.take) << c.name << " at " << s.at;
            g.Consume(s.used, s.source);
        }
    }
    ReceiveGatherer big;  // the size bound takes the block at once
    const ByteString bytes(ReceiveGatherer::kBoundBytes, 0x55);
    const auto t0 = ReceiveGatherer::Clock::now();
    big.Append(bytes.data(), bytes.size(), t0);
    ByteString block;
    ReceiveGatherer::Take take;
    ASSERT_TRUE(big.TakeDue(t0, block, take));
    EXPECT_EQ(take, ReceiveGatherer::Take::Bound);
    big.Consume(block.size());
    EXPECT_EQ(big.NextDue(), ReceiveGatherer::Clock::time_point::max());  // nothing pending: no deadline
}

TEST(ReceiveGatherer, WholeBlocksGoOnAsTheyCameAndAStopPassesThemFirst) {
    const SystemTime first{2024, 3, 2, 5, 6, 7, 8, 1};
    const SystemTime second{2024, 3, 2, 5, 6, 7, 8, 2};
    const struct {
        bool passRest;
        std::vector<std::string> handed;
    } cases[] = {{true, {"whole 0102 1", "whole 03 2", "last 0405", "stream last 0607 2"}}, {false, {}}};
    for (const auto& c : cases) {
        ReceiveGatherer g;
        g.AppendWhole(Hex("01 02"), first);
        const ByteString bytes = Hex("04 05");
        g.Append(bytes.data(), bytes.size());
        const ByteString streamed = Hex("06 07");
        g.AppendStream(streamed.data(), 1, first);
        g.AppendWhole(Hex("03"), second);
        g.AppendStream(streamed.data() + 1, 1, second);
        EXPECT_EQ(g.PendingLength(), 7u);
        std::vector<std::string> handed;
        g.Stop(c.passRest);  // before the loop looks: only the stop's pass runs
        g.Run([&](const ByteString& block, ReceiveGatherer::Take take) -> size_t {
                  handed.push_back((take == ReceiveGatherer::Take::Last ? "last " : "other ") + HexOf(block));
                  return block.size();
              },
              [&](const ByteString& block, const SystemTime& arrival) {
                  handed.push_back("whole " + HexOf(block) + " " + std::to_string(arrival.milliseconds));
              },
              [&](const ByteString& block, ReceiveGatherer::Take take, const SystemTime& arrival) -> size_t {
                  handed.push_back(std::string(take == ReceiveGatherer::Take::Last ? "stream last " : "stream ") +
                                   HexOf(block) + " " + std::to_string(arrival.milliseconds));
                  return block.size();
              });
        EXPECT_EQ(handed, c.handed) << c.passRest;
        EXPECT_EQ(g.PendingLength(), c.passRest ? 0u : 7u);
        g.Reset();
        EXPECT_EQ(g.PendingLength(), 0u);
    }
}

TEST(ReceiveGatherer, DatagramsAreHeldAndGoOnTogetherAtThePortsPace) {
    using Take = ReceiveGatherer::Take;
    using ms = std::chrono::milliseconds;
    // At each time (ms): a datagram arrives, or the held ones are tried ("-" for none due).
    struct Step {
        int at;
        const char* arrive;
        std::vector<std::string> taken;
        Take take = Take::Quiet;
    };
    const ByteString big(ReceiveGatherer::kBoundBytes, 0x55);
    const struct {
        const char* name;
        std::vector<Step> steps;
    } cases[] = {
        {"quiet after the last datagram",
         {{0, "01", {"-"}}, {30, "02 03", {"-"}}, {81, nullptr, {"-"}}, {82, nullptr, {"01", "0203"}}, {200, nullptr, {"-"}}}},
        {"a busy line at the time bound",
         {{0, "01", {"-"}}, {40, "02", {"-"}}, {80, "03", {"-"}}, {99, nullptr, {"-"}},
          {100, nullptr, {"01", "02", "03"}, Take::Bound}}},
        {"at the size bound at once", {{0, "01", {"-"}}, {1, "big", {"-"}}, {1, nullptr, {"01", "big"}, Take::Bound}}},
    };
    for (const auto& c : cases) {
        ReceiveGatherer g;
        const auto t0 = ReceiveGatherer::Clock::now();
        for (const Step& s : c.steps) {
            const auto at = t0 + ms(s.at);
            if (s.arrive) {
                g.AppendWhole(s.arrive == std::string("big") ? big : Hex(s.arrive), SystemTime{}, at);
                continue;
            }
            std::vector<ByteString> blocks;
            Take take = Take::Last;
            std::vector<std::string> taken;
            if (!g.TakeWholeDue(at, blocks, take)) taken.push_back("-");
            for (const ByteString& b : blocks) taken.push_back(b == big ? "big" : HexOf(b));
            EXPECT_EQ(taken, s.taken) << c.name << " at " << s.at;
            if (!blocks.empty()) {
                EXPECT_EQ(take, s.take) << c.name << " at " << s.at;
            }
        }
    }
}

TEST(ReceiveGatherer, AStreamsEndHandsOnWhatItLeftAtOnce) {
    ReceiveGatherer g;
    const ByteString start = Hex("79 05 00");
    const auto t0 = ReceiveGatherer::Clock::now();
    g.AppendStream(start.data(), start.size(), SystemTime{}, t0);
    ByteString block;
    ReceiveGatherer::Take take = ReceiveGatherer::Take::Last;
    EXPECT_FALSE(g.TakeDue(t0, block, take, ReceiveGatherer::Source::Stream));
    g.EndStream();
    ASSERT_TRUE(g.TakeDue(ReceiveGatherer::Clock::now(), block, take, ReceiveGatherer::Source::Stream));
    EXPECT_EQ(block, start);
    EXPECT_EQ(take, ReceiveGatherer::Take::Quiet);
}
