#pragma once
// The tool dialogs around the main window.

#include <atomic>
#include <string>

#include "dialogs/device_search_list_dlg.h"
#include "dialogs/frame_monitor_dlg.h"
#include "dialogs/main_window_port.h"
#include "dialogs/parse_frame_dlg.h"
#include "dialogs/send_console_dlg.h"
#include "link/byte_string.h"
#include "platform/local_time.h"
#include "platform/ui.h"

// A dialog whose Enter does nothing (the tool dialogs share the main window's empty OK).
class CToolDialog : public Dialog {
public:
    using Dialog::Dialog;

protected:
    void OnOK() override {}
};

class CBroadcastReplyTestDlg : public CToolDialog {
public:
    CBroadcastReplyTestDlg() : CToolDialog(219) {}
    void ClearList();
    // A received broadcast reply (command 0xF5, sub-command 1); any thread.
    void OnBroadcastReplyFrame(const ByteString& frame);

protected:
    void OnClose() override { ShowWindow(false); }
    void OnCancel() override { ShowWindow(false); }
};

class CSmartHomeMonitorDlg : public CToolDialog {
public:
    CSmartHomeMonitorDlg() : CToolDialog(180) {}

protected:
    void OnCancel() override {}
};

// Created by a main-window button that stays disabled while the window exists.
class CButtonOwnedDialog : public CToolDialog {
public:
    CButtonOwnedDialog(int templateId, int ownerButton, MainWindowPort& window)
        : CToolDialog(templateId), m_ownerButton(ownerButton), m_window(window) {}

protected:
    void OnClose() override { Release(); }
    void OnCancel() override { Release(); }

private:
    void Release();
    int m_ownerButton;
    MainWindowPort& m_window;
};

class CTimedSendDlg : public CButtonOwnedDialog {
public:
    explicit CTimedSendDlg(MainWindowPort& window) : CButtonOwnedDialog(158, 1046, window) {}
};

class CWarningDlg : public Dialog {
public:
    CWarningDlg() : Dialog(194) {}
};

class CMeterManageDlg : public Dialog {
public:
    CMeterManageDlg() : Dialog(103) {}
};

class CChecksumDlg : public Dialog {
public:
    CChecksumDlg() : Dialog(140) {}
};

class CFrameTypeDlg : public Dialog {
public:
    CFrameTypeDlg() : Dialog(207) {}
};

class CLocalSettingsDlg : public Dialog {
public:
    CLocalSettingsDlg() : Dialog(210) {}
};

class CContinuousSendDlg : public Dialog {
public:
    CContinuousSendDlg() : Dialog(214) {}
};

class CAddDeviceDlg : public Dialog {
public:
    CAddDeviceDlg() : Dialog(217) {}
};
