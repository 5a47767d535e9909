// Payload bytes from field values, without a window: the text helpers of the fields and the
// builders of the pages' commands.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "commands/field_text.h"
#include "commands/page_payloads.h"
#include "test_frames.h"

namespace {

using testing_frames::Hex;

struct TextCase {
    const char* name;
    std::function<std::string()> run;
    std::string expected;
};

std::string Reversed(std::string text, void (*reverse)(std::string&)) {
    reverse(text);
    return text;
}

TEST(FieldText, AddressTextsInWireOrder) {
    const TextCase cases[] = {
        {"back again", [] { return Reversed("BC9A78563412", ReverseHexBytes12); }, "123456789ABC"},
        {"padded", [] { return Reversed("1234", ReverseHexBytes12); }, "341200000000"},
        {"cut to 12", [] { return Reversed("123456789ABCDE", ReverseHexBytes12); }, "BC9A78563412"},
        {"case kept", [] { return Reversed("abc", ReverseHexBytes4); }, "bc0a"},
        {"empty stays", [] { return Reversed("", ReverseHexBytes12); }, ""},
        {"depth 123", [] { return std::to_string(DepthFromText("123")); }, "12"},
        {"depth 7", [] { return std::to_string(DepthFromText("7")); }, "7"},
        {"depth x5", [] { return std::to_string(DepthFromText("x5")); }, "0"},
        {"depth 9x", [] { return std::to_string(DepthFromText("9x")); }, "9"},
    };
    for (const TextCase& c : cases) EXPECT_EQ(c.run(), c.expected) << c.name;
}

struct BytesCase {
    const char* name;
    std::function<ByteString()> run;
    ByteString expected;
};

template <class Append>
ByteString Appended(Append append) {
    ByteString payload;
    append(payload);
    return payload;
}

TEST(FieldText, FieldBytes) {
    const BytesCase cases[] = {
        {"blanks do not shift pairs", [] { return Appended([](ByteString& p) { AppendAddressText("12 34", p); }); },
         Hex("34 12 00 00 00 00")},
        {"multicast cut", [] { return Appended([](ByteString& p) { AppendMulticastText("12345", p); }); },
         Hex("34 12")},
        {"data over lines", [] { return Appended([](ByteString& p) { AppendDataText("01\r\n02 03", p); }); },
         Hex("03 00 01 02 03")},
        {"long data count",
         [] { return Appended([](ByteString& p) { AppendDataText(std::string(600, 'A'), p); }).substr(0, 3); },
         Hex("2C 01 AA")},
        {"data of 65535 bytes",
         [] { return Appended([](ByteString& p) { AppendDataText(std::string(131070, 'B'), p); }).substr(0, 3); },
         Hex("FF FF BB")},
        {"data of 65536 bytes refused",
         [] { return Appended([](ByteString& p) { AppendDataText(std::string(131071, 'B'), p); }); }, {}},
        {"port 65535", [] { return Appended([](ByteString& p) { AppendPortText("65535", p); }); }, Hex("FF FF")},
        {"port 65536 refused", [] { return Appended([](ByteString& p) { AppendPortText("65536", p); }); }, {}},
        {"port -1 refused", [] { return Appended([](ByteString& p) { AppendPortText("-1", p); }); }, {}},
        {"huge port refused",
         [] { return Appended([](ByteString& p) { AppendPortText("99999999999999999999999", p); }); }, {}},
    };
    for (const BytesCase& c : cases) EXPECT_EQ(c.run(), c.expected) << c.name;
}

template <class Fields>
ByteString Built(void (*build)(const Fields&, ByteString&), const Fields& fields) {
    ByteString payload;
    build(fields, payload);
    return payload;
}

TEST(PagePayloads, BuildersFromFieldValues) {
    const BytesCase cases[] = {
        {"device report with its devices",
         [] { return Appended([](ByteString& p) { BuildDeviceReportPayload("12", "1122334455663412", p); }); },
         Hex("0C 11 22 33 44 55 66 34 12")},
        {"remote password with a multicast group",
         [] {
             RemotePasswordFields f;
             f.fourth = 1;
             f.group = "1234";
             f.address = "1";
             f.key = Hex("AA");
             f.password = Hex("BB");
             return Built(BuildRemotePasswordPayload, f);
         },
         Hex("33 02 34 12 01 00 00 00 00 00 01 AA 01 BB")},
    };
    for (const BytesCase& c : cases) EXPECT_EQ(c.run(), c.expected) << c.name;
}

}  // namespace
