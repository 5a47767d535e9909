#include "link/frame_splitter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_frames.h"

using testing_frames::Hex;
using testing_frames::MakeFrame;

namespace {

// What the splitter handed on, in order.
struct Event {
    char kind;  // 'F' checked frame, 'R' raw chunk, 'M' meter frame, 'V' version text
    ByteString bytes;
    std::string text;

    bool operator==(const Event& o) const { return kind == o.kind && bytes == o.bytes && text == o.text; }
};

std::ostream& operator<<(std::ostream& os, const Event& e) {
    os << e.kind << ":";
    for (unsigned char b : e.bytes) {
        static const char* digits = "0123456789ABCDEF";
        os << digits[b >> 4] << digits[b & 15] << ' ';
    }
    return os << e.text;
}

Event F(const ByteString& b) { return {'F', b, ""}; }
Event R(const ByteString& b) { return {'R', b, ""}; }
Event M(const ByteString& b) { return {'M', b, ""}; }
Event V(const std::string& t) { return {'V', ByteString(), t}; }

struct Recorder {
    std::vector<Event> events;
    bool versionPending = false;
    SplitSettings settings;

    SplitHandlers Handlers() {
        SplitHandlers h;
        h.classify = [this](const ByteString& b, int mode) {
            events.push_back(mode == kCheckedFrame ? F(b) : R(b));
        };
        h.meterFrame = [this](const ByteString& b) { events.push_back(M(b)); };
        h.claimVersionCapture = [this] {
            const bool claim = versionPending;
            versionPending = false;
            return claim;
        };
        h.setVersionText = [this](const std::string& t) { events.push_back(V(t)); };
        return h;
    }

    std::vector<Event> Split(const ByteString& block) {
        events.clear();
        SplitReceivedStream(block, settings, Handlers());
        return events;
    }
};

const ByteString kVersion = MakeFrame(0x80, 0x02, "56 51 07 52 01 02 03");
const ByteString kMac = MakeFrame(0x80, 0x03, "01 02 03 04 05 06");
const ByteString kEmpty = MakeFrame(0x40, 0x02, ByteString());
const ByteString kMeterAddress = Hex("11 22 33 44 55 66");

// 68 address 68 91 L DI+33 value+33 CS 16
ByteString MeterFrame(const ByteString& address, const ByteString& data) {
    ByteString f = Hex("68") + address + Hex("68 91");
    f.push_back(static_cast<unsigned char>(data.size()));
    f += data;
    unsigned char sum = 0;
    for (unsigned char b : f) sum = static_cast<unsigned char>(sum + b);
    f.push_back(sum);
    f.push_back(0x16);
    return f;
}

const ByteString kMeter = MeterFrame(kMeterAddress, Hex("33 33 34 33 45 67"));

}  // namespace

TEST(SplitReceivedStream, OneFrameIsTheWholeBlock) {
    Recorder r;
    EXPECT_EQ(r.Split(kVersion), (std::vector<Event>{F(kVersion)}));
    EXPECT_EQ(r.Split(kEmpty), (std::vector<Event>{F(kEmpty)}));
}

TEST(SplitReceivedStream, FramesStuckTogetherComeOutInOrder) {
    Recorder r;
    EXPECT_EQ(r.Split(kVersion + kMac + kEmpty), (std::vector<Event>{F(kVersion), F(kMac), F(kEmpty)}));
}

TEST(SplitReceivedStream, GarbageBeforeAndBetweenIsDroppedWhenAFrameEndsTheBlock) {
    Recorder r;
    EXPECT_EQ(r.Split(Hex("00 FF 79 12") + kVersion + Hex("68 79 79 00") + kMac),
              (std::vector<Event>{F(kVersion), F(kMac)}));
}

TEST(SplitReceivedStream, GarbageAfterTheLastFrameSendsTheBlockAsRawChunk) {
    Recorder r;
    const ByteString block = kVersion + Hex("AA BB 79");
    EXPECT_EQ(r.Split(block), (std::vector<Event>{F(kVersion), R(block)}));
}

TEST(SplitReceivedStream, BadCheckBytesAreSkipped) {
    Recorder r;
    ByteString badSum = kMac;
    badSum[badSum.size() - 2] ^= 0x01;
    ByteString badXor = kMac;
    badXor[badXor.size() - 1] ^= 0x80;
    ByteString badLength = kMac;
    badLength[1] = 0x05;  // the check covers the length bytes too
    EXPECT_EQ(r.Split(badSum), (std::vector<Event>{R(badSum)}));
    EXPECT_EQ(r.Split(badXor), (std::vector<Event>{R(badXor)}));
    EXPECT_EQ(r.Split(badLength), (std::vector<Event>{R(badLength)}));
    // A bad frame does not hide the good one behind it.
    EXPECT_EQ(r.Split(badSum + kVersion), (std::vector<Event>{F(kVersion)}));
}

TEST(SplitReceivedStream, DataBytesCorruptedInsideAFrame) {
    Recorder r;
    ByteString corrupt = kVersion;
    corrupt[7] = 0x79;  // a stray start byte inside the data, checks now wrong
    EXPECT_EQ(r.Split(corrupt + kMac), (std::vector<Event>{F(kMac)}));
}

TEST(SplitReceivedStream, LengthsThatOverrunTheBlockAreSkipped) {
    Recorder r;
    const ByteString huge = Hex("79 FF FF 80 02 00");
    EXPECT_EQ(r.Split(huge), (std::vector<Event>{R(huge)}));
    // The good frame inside the overrunning candidate is still found.
    EXPECT_EQ(r.Split(Hex("79 F0 00") + kMac), (std::vector<Event>{F(kMac)}));
    // Start bytes at the very end: no length, or half a length.
    EXPECT_EQ(r.Split(Hex("79")), (std::vector<Event>{R(Hex("79"))}));
    EXPECT_EQ(r.Split(Hex("79 00")), (std::vector<Event>{R(Hex("79 00"))}));
    EXPECT_EQ(r.Split(Hex("79 00 00")), (std::vector<Event>{R(Hex("79 00 00"))}));
    // One byte short of a whole frame.
    const ByteString shortFrame = kMac.substr(0, kMac.size() - 1);
    EXPECT_EQ(r.Split(shortFrame), (std::vector<Event>{R(shortFrame)}));
}

TEST(SplitReceivedStream, LongFrameWithHighLengthByte) {
    Recorder r;
    const ByteString big = MakeFrame(0x80, 0x14, ByteString(300, 0x79));
    ASSERT_EQ(big[2], 0x01);
    EXPECT_EQ(r.Split(big), (std::vector<Event>{F(big)}));
}

TEST(SplitReceivedStream, FrameSplitAcrossTwoBlocksIsLost) {
    Recorder r;
    const ByteString first = kMac.substr(0, 6);
    const ByteString second = kMac.substr(6);
    EXPECT_EQ(r.Split(first), (std::vector<Event>{R(first)}));
    EXPECT_EQ(r.Split(second), (std::vector<Event>{R(second)}));
}

TEST(SplitReceivedStream, FrameInsideAnotherFramesDataIsDeliveredToo) {
    Recorder r;
    const ByteString outer = MakeFrame(0x80, 0x15, kMac);
    // The scan goes on after the outer start byte, so the inner frame follows it...
    const ByteString block = outer + Hex("00");
    EXPECT_EQ(r.Split(block), (std::vector<Event>{F(outer), F(kMac), R(block)}));
    // ...unless the outer frame ends the block.
    EXPECT_EQ(r.Split(outer), (std::vector<Event>{F(outer)}));
}

TEST(SplitReceivedStream, ShowAllSendsTheBlockFirstAndNotAgain) {
    Recorder r;
    r.settings.showAllReceived = true;
    const ByteString block = Hex("01") + kMac + Hex("02");
    EXPECT_EQ(r.Split(block), (std::vector<Event>{R(block), F(kMac)}));
    EXPECT_EQ(r.Split(kMac), (std::vector<Event>{R(kMac), F(kMac)}));
    EXPECT_EQ(r.Split(Hex("33")), (std::vector<Event>{R(Hex("33"))}));
}

TEST(SplitReceivedStream, FirstFrameAfterOpeningGivesTheVersion) {
    Recorder r;
    r.versionPending = true;
    EXPECT_EQ(r.Split(kVersion + kMac), (std::vector<Event>{V("版本号:QV-5207-01-03-02"), F(kMac)}));

    r.versionPending = true;
    const ByteString other = MakeFrame(0x80, 0x02, "51 56 AB CD EF 10 20");
    EXPECT_EQ(r.Split(other), (std::vector<Event>{V("版本号:未知-CDAB-EF-20-10")}));

    // Any other command shows the label alone, and is not classified.
    r.versionPending = true;
    EXPECT_EQ(r.Split(kMac + kVersion), (std::vector<Event>{V("版本号:"), F(kVersion)}));
}

TEST(SplitReceivedStream, ShortVersionReplyLeavesTheLabelAlone) {
    Recorder r;
    r.versionPending = true;
    const ByteString shortReply = MakeFrame(0x80, 0x02, "56 51 07");
    EXPECT_EQ(r.Split(shortReply + kMac), (std::vector<Event>{F(kMac)}));
    EXPECT_FALSE(r.versionPending);

    std::string text = "unchanged";
    EXPECT_FALSE(VersionTextFromFrame(shortReply, text));
    EXPECT_FALSE(VersionTextFromFrame(Hex("79 07 00 80 02"), text));  // cut short
    EXPECT_EQ(text, "unchanged");
    EXPECT_TRUE(VersionTextFromFrame(kVersion, text));
    EXPECT_EQ(text, "版本号:QV-5207-01-03-02");
}

TEST(SplitReceivedStream, MeterAnswerWakesTheRoundAndSplitsTheRest) {
    Recorder r;
    r.settings.meterPassEnabled = true;
    r.settings.meterAddress = kMeterAddress;
    EXPECT_EQ(r.Split(kMeter), (std::vector<Event>{M(kMeter)}));
    EXPECT_EQ(r.Split(Hex("FE FE FE FE") + kMeter + Hex("AA")),
              (std::vector<Event>{M(kMeter), R(Hex("FE FE FE FE")), R(Hex("AA"))}));
    // A 0x79 frame before it is classified; the garbage after it keeps the meter pass running.
    EXPECT_EQ(r.Split(kMac + kMeter), (std::vector<Event>{F(kMac), M(kMeter), R(kMac)}));
}

TEST(SplitReceivedStream, MeterPassRunsOnlyDuringRounds) {
    Recorder r;
    r.settings.meterAddress = kMeterAddress;
    EXPECT_EQ(r.Split(kMeter), (std::vector<Event>{R(kMeter)}));
}

TEST(SplitReceivedStream, MeterPassDoesNotRunWhenAFrameEndsTheBlock) {
    Recorder r;
    r.settings.meterPassEnabled = true;
    r.settings.meterAddress = kMeterAddress;
    EXPECT_EQ(r.Split(kMeter + kMac), (std::vector<Event>{F(kMac)}));
}

TEST(SplitReceivedStream, MeterFromAnotherAddressDoesNotWakeTheRound) {
    Recorder r;
    r.settings.meterPassEnabled = true;
    r.settings.meterAddress = kMeterAddress;
    const ByteString other = MeterFrame(Hex("11 22 33 44 55 67"), Hex("33 33 34 33"));
    EXPECT_EQ(r.Split(other), (std::vector<Event>{R(other)}));
    // The wrong address ends the pass, even with the right meter behind it.
    EXPECT_EQ(r.Split(other + kMeter), (std::vector<Event>{R(other + kMeter)}));
}

TEST(SplitReceivedStream, StrayMeterStartEndsThePass) {
    Recorder r;
    r.settings.meterPassEnabled = true;
    r.settings.meterAddress = kMeterAddress;
    const ByteString block = Hex("68 00 00 00 00 00 00 00 00 00 00 00") + kMeter;
    EXPECT_EQ(r.Split(block), (std::vector<Event>{R(block)}));
    // A meter frame longer than the block ends it too.
    const ByteString cut = kMeter.substr(0, kMeter.size() - 1);
    EXPECT_EQ(r.Split(cut), (std::vector<Event>{R(cut)}));
}

TEST(SplitReceivedStream, MeterFrameWithBadSum) {
    Recorder r;
    r.settings.meterPassEnabled = true;
    r.settings.meterAddress = kMeterAddress;
    ByteString bad = kMeter;
    bad[bad.size() - 2] ^= 0xFF;
    EXPECT_EQ(r.Split(bad), (std::vector<Event>{R(bad)}));
    // The scan goes on at the next byte and meets the header's second 0x68, which ends the pass.
    EXPECT_EQ(r.Split(bad + kMeter), (std::vector<Event>{R(bad + kMeter)}));
    // A candidate with a bad sum is skipped by one byte only: a meter frame can start inside it.
    const ByteString head = Hex("68") + kMeterAddress;
    const ByteString pad(21, 0x00);
    EXPECT_EQ(r.Split(head + kMeter + pad), (std::vector<Event>{M(kMeter), R(head), R(pad)}));
    // The end byte is not tested.
    ByteString noEnd = kMeter;
    noEnd.back() = 0x00;
    EXPECT_EQ(r.Split(noEnd), (std::vector<Event>{M(noEnd)}));
}

TEST(SplitReceivedStream, ManyFramesWithGarbageBetween) {
    Recorder r;
    ByteString block;
    std::vector<Event> expected;
    unsigned seed = 12345;
    for (int n = 0; n < 200; ++n) {
        seed = seed * 1103515245u + 12345u;
        ByteString data;
        for (unsigned k = 0; k < (seed >> 16) % 20; ++k) data.push_back(static_cast<unsigned char>(0x30 + k));
        const ByteString frame = MakeFrame(0x80, static_cast<unsigned char>(n), data);
        for (unsigned k = 0; k < (seed >> 8) % 4; ++k) block.push_back(0xEE);
        block += frame;
        expected.push_back(F(frame));
    }
    EXPECT_EQ(r.Split(block), expected);
}

TEST(SplitReceivedStream, NoHandlersIsHarmless) {
    SplitSettings settings;
    settings.meterPassEnabled = true;
    settings.meterAddress = kMeterAddress;
    SplitReceivedStream(kMac + kMeter + Hex("79"), settings, SplitHandlers());
    SplitReceivedStream(ByteString(), settings, SplitHandlers());
}
