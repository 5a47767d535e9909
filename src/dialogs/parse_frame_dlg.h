#pragma once
// Explains a frame typed or pasted as hexadecimal text.

#include "dialogs/main_window_port.h"
#include "platform/ui.h"

class CParseFrameDlg : public Dialog {
public:
    explicit CParseFrameDlg(MainWindowPort& window);

    void OnParseBox1();
    void OnParseBox2();
    void OnParseBox3();
    // Reads the frame typed into one input box and fills the result pane.
    void ParseHexBox(int boxId);

protected:
    bool OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override;
    void OnClose() override;
    // Esc closes the dialog before the main window sees the key.
    bool PreTranslateKey(Key key) override;

private:
    // Enables the main window's button again and destroys this window.
    void CloseWindow();

    MainWindowPort& m_window;
};
