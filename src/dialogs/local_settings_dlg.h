#pragma once
// The local settings page: synchronises with a meter-side node (its parameters read, its channel
// group set from them) and sets or reads the channel group. Requests are DL/T 645 frames; the
// answers are taken from the window's node-answer watch (not the meter rounds') on the page's
// timers.

#include <cstdint>
#include <string>

#include "dialogs/main_window_port.h"
#include "link/byte_string.h"
#include "platform/ui.h"

class CLocalSettingsDlg : public Dialog {
public:
    // Ticks of 100 ms each phase waits at most.
    static constexpr int kSyncStepTicks = 40;
    static constexpr int kReplyTicks = 20;

    explicit CLocalSettingsDlg(MainWindowPort& window);

    // 68 A0..A5 68 1F 03 49 78 3A CS 16 for the meter address (display order, 12 digits at most).
    static ByteString BuildSyncFrame(const std::string& address);
    // Set (with the channel byte, plus 0x33) and read of the channel group, both code 0x38, to
    // address 000000000000.
    static ByteString BuildSetChannelFrame(uint8_t channelByte);
    static ByteString BuildReadChannelFrame();
    // The channel group text as typed, blanks dropped: 1 to 32, two BCD digits at most. False with
    // the refusal.
    static bool ReadChannelGroup(const std::string& typed, uint8_t& channel, std::string& refusal);

    // Decoders of the answers; addressText: the request's address as hexadecimal text, frame order.
    // The node's parameters: true when they came from the asked node; text gets them.
    static bool DecodeNodeParameters(const ByteString& reply, const std::string& addressText, std::string& text,
                                     uint8_t& channelGroup);
    static bool DecodeSetChannelResult(const ByteString& reply, const std::string& addressText, std::string& text);
    static bool DecodeReadChannelResult(const ByteString& reply, const std::string& addressText, std::string& text);

    void OnAutoSync();
    void OnSetChannelGroup();
    void OnReadChannelGroup();

protected:
    bool OnInitDialog() override;
    void OnOK() override {}
    void OnTimer(int id) override;
    void OnDestroy() override;

private:
    bool SendSyncFrame();
    bool SendChannelFrame();
    void SendRequest(ByteString frame, const std::string& addressText, int timer);
    void AppendSyncResult(const std::string& text);
    void AppendChannelResult(const std::string& text);
    // The answer kept for the request, or empty; an abnormal answer ends the wait with its text.
    bool TakeReply(ByteString& reply, int timer, bool syncPane);

    MainWindowPort& m_window;
    int m_ticks[18] = {};  // per timer id
    bool m_syncDone = false;
    bool m_channelDone = false;
    std::string m_channelGroupText;
    std::string m_frameAddress;  // frame order, hexadecimal
};
