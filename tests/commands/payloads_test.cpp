// Payload bytes from field values, without a window: the text helpers of the fields and the
// builders of the pages' commands.

#include <gtest/gtest.h>

#include <string>

#include "commands/field_text.h"
#include "commands/page_payloads.h"
#include "test_frames.h"

namespace {

using testing_frames::Hex;

// What append adds to an empty payload for the text.
template <class Append>
ByteString Appended(Append append, const std::string& text) {
    ByteString payload;
    append(text, payload);
    return payload;
}

TEST(FieldText, AddressAndDepthTexts) {
    const struct {
        std::string result, expected;
    } cases[] = {
        {std::to_string(DepthFromText("123")), "12"},
        {std::to_string(DepthFromText("7")), "7"},
        {std::to_string(DepthFromText("x5")), "0"},
        {std::to_string(DepthFromText("9x")), "9"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.result, c.expected);
}

TEST(FieldText, FieldBytes) {
    const struct {
        const char* name;
        ByteString bytes, expected;
    } cases[] = {
        {"blanks do not shift pairs", Appended(AppendAddressText, "12 34"), Hex("34 12 00 00 00 00")},
        {"multicast cut", Appended(AppendMulticastText, "12345"), Hex("34 12")},
        {"data over lines", Appended(AppendDataText, "01\r\n02 03"), Hex("03 00 01 02 03")},
        {"port 65535", Appended(AppendPortText, "65535"), Hex("FF FF")},
        {"port 65536 refused", Appended(AppendPortText, "65536"), {}},
        {"port -1 refused", Appended(AppendPortText, "-1"), {}},
        {"huge port refused", Appended(AppendPortText, "99999999999999999999999"), {}},
    };
    for (const auto& c : cases) EXPECT_EQ(c.bytes, c.expected) << c.name;
}

TEST(PagePayloads, BuildersFromFieldValues) {
    ByteString report;
    BuildDeviceReportPayload("12", "1122334455663412", report);
    EXPECT_EQ(report, Hex("0C 11 22 33 44 55 66 34 12"));
    // The remote password with a multicast group.
    RemotePasswordFields f;
    f.fourth = 1;
    f.group = "1234";
    f.address = "1";
    f.key = Hex("AA");
    f.password = Hex("BB");
    ByteString remote;
    BuildRemotePasswordPayload(f, remote);
    EXPECT_EQ(remote, Hex("33 02 34 12 01 00 00 00 00 00 01 AA 01 BB"));
}

}  // namespace
