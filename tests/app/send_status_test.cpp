// A frame the module stops reading: the write gives up with part of it sent, the port status
// line says how much went out, and the history does not hold it as sent.

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "support/main_window_fixture.h"

namespace {

using namespace testsupport;

class SendStatusTest : public MainWindowWithModule {
protected:
    SendStatusTest() : MainWindowWithModule(11, true) {}
};

TEST_F(SendStatusTest, AFrameCutShortIsSaidOnThePortStatusLineAndNotRecorded) {
    OpenPort();
    const std::string opened = Text(IDC_PORT_STATUS);
    dlg->Link().SerialComm()->SetWriteTimeout(0, 20);
    // The module takes the first send-data frame, then reads nothing more.
    sim.SetAnswer(0x14, {}, std::chrono::hours(1));
    const ByteString frame = BuildFrame(0x40, 0x14, kvtsim::Bytes(200, 0x5A));
    ASSERT_EQ(frame.size(), 207u);
    const size_t before = HistoryCount('0');
    size_t sends = 0;
    while (sends < 1000 && Text(IDC_PORT_STATUS) == opened) {
        dlg->SendFrame(frame);
        ++sends;
    }
    const std::string status = Text(IDC_PORT_STATUS);
    const std::string head = "发送失败：已发出";
    const std::string tail = "/207字节";
    ASSERT_EQ(status.rfind(head, 0), 0u) << status;
    ASSERT_GT(status.size(), head.size() + tail.size());
    EXPECT_EQ(status.substr(status.size() - tail.size()), tail);
    const int sent = std::stoi(status.substr(head.size()));
    EXPECT_GE(sent, 0);
    EXPECT_LT(sent, 207);
    // Every frame but the last went out whole and is recorded.
    EXPECT_EQ(HistoryCount('0'), before + sends - 1);
    EXPECT_EQ(History().back().frame, frame);
}

}  // namespace
