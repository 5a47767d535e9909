#pragma once
// The radio configuration page: a log of the local configuration answers (channel group and
// transmit power).

#include <string>

#include "link/byte_string.h"
#include "platform/ui.h"

class CRadioConfigDlg : public Dialog {
public:
    CRadioConfigDlg();

    // An answer whose first byte is its sub-code: logged with its explanation.
    void OnReceiveFrame(const ByteString& data);
    // Appends the explanation of the answer at position; the position after it, or -1 when the
    // answer is cut short.
    static int ParseLocalConfigReply(std::string& text, const ByteString& data, size_t position);
    static const char* PowerLevelText(unsigned level);

protected:
    bool OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnClose() override { ShowWindow(false); }
};
