#pragma once
// The timed send: a frame text sent a number of times at an interval, on a timer of the main
// window. The window created by the main window's button; it keeps the button disabled while
// it exists.

#include <cstdint>
#include <string>

#include "link/byte_string.h"
#include "platform/ui.h"
#include "res/resource_ids.h"

struct TimedSendSettings {
    uint32_t intervalMs = 500;
    uint32_t count = 2;
    std::string frameText;
};

// The bytes of a frame text: pairs of hexadecimal digits, blanks and line breaks between them.
// False for a text without digits, with an odd count of them or with any other character.
bool ReadFrameText(const std::string& text, ByteString& frame);

// What the dialog needs of the window that runs the timed send.
class TimedSendPort {
public:
    virtual ~TimedSendPort() = default;
    virtual TimedSendSettings& TimedSettings() = 0;
    virtual bool IsTimedSendRunning() const = 0;
    // Starts with the settings (false: refused, nothing started).
    virtual bool StartTimedSend() = 0;
    virtual void StopTimedSend() = 0;
    // The dialog closed: the button that opened it is enabled again.
    virtual void OnTimedSendClosed() = 0;
};

class CTimedSendDlg : public Dialog {
public:
    explicit CTimedSendDlg(TimedSendPort& window);

    static constexpr uint32_t kMaxValue = 0x7FFFFFFF;

    // A run that ended by its count: the button reads "开始" again.
    void OnTimedSendEnded();

protected:
    bool OnInitDialog() override;
    // Enter does nothing; "关闭", Esc and the close box close the window and leave a run going.
    void OnOK() override {}
    void OnCancel() override { Release(); }
    void OnClose() override { Release(); }

private:
    void OnStartStop();
    bool ReadSettings(TimedSendSettings& settings);
    void Release();

    TimedSendPort& m_window;
};
