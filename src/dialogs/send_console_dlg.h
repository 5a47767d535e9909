#pragma once
// Sends typed text on the open channel, byte for byte, and logs every send.

#include <string>

#include "dialogs/main_window_port.h"
#include "link/byte_string.h"
#include "platform/ui.h"

class CSendConsoleDlg : public Dialog {
public:
    explicit CSendConsoleDlg(MainWindowPort& window);

    // "发送": sends the edit's characters and logs them.
    void OnSend();
    // The bytes of a control's text as the files and the line carry them (GBK); returns 1.
    int ReadEditBytes(int controlId, ByteString& out);
    // Appends one log row for the hexadecimal text of a send.
    void AddFrameRow(std::string hex);
    // Replaces the pane's whole content with the text and a line break.
    void ShowPaneText(std::string text);
    void InitListColumns();

    void OnItemchangedFrameList();
    void OnDblclkFrameList();
    void OnClickFrameList() {}
    void OnClearFrames();

    RichEdit m_paneEdit;  // IDC_CONSOLE_PANE
    ListView m_logList;   // IDC_CONSOLE_LOG_LIST

protected:
    void DoDataExchange();
    bool OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override { ShowWindow(false); }
    // Esc hides the console before the main window sees the key.
    bool PreTranslateKey(Key key) override;

private:
    MainWindowPort& m_window;
};
