#pragma once
// The tool dialogs around the main window.

#include <atomic>
#include <string>

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

// Frame monitor: one row per recorded frame.
class CFrameMonitorDlg : public CToolDialog {
public:
    CFrameMonitorDlg() : CToolDialog(132) {}
    // One row per recorded frame; any thread (called under the history and monitor locks).
    void AddFrameRow(char kind, const ByteString& frame, const SystemTime& time, uint32_t number);
    std::atomic<uint8_t> m_firstFrame{1};
    SystemTime m_firstFrameTime;

protected:
    void OnCancel() override {}
    void OnClose() override;
};

class CDeviceSearchListDlg : public CToolDialog {
public:
    CDeviceSearchListDlg() : CToolDialog(198) {}
    // A received search report (command 0x19); any thread.
    void OnSearchReportFrame(const ByteString& frame);

protected:
    void OnCancel() override {}
    void OnClose() override;
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

class CSendConsoleDlg : public CToolDialog {
public:
    CSendConsoleDlg() : CToolDialog(220) {}

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

// Modeless text viewer of one frame's text.
class CFrameDetailDlg : public CToolDialog {
public:
    CFrameDetailDlg() : CToolDialog(191) {}
    void SetText(std::string text);

protected:
    void OnClose() override { ShowWindow(false); }
    void OnCancel() override { ShowWindow(false); }
};

// Created by a main-window button that stays disabled while the window exists.
class CButtonOwnedDialog : public CToolDialog {
public:
    CButtonOwnedDialog(int templateId, int ownerButton) : CToolDialog(templateId), m_ownerButton(ownerButton) {}

protected:
    void OnClose() override { Release(); }
    void OnCancel() override { Release(); }

private:
    void Release();
    int m_ownerButton;
};

class CParseFrameDlg : public CButtonOwnedDialog {
public:
    CParseFrameDlg() : CButtonOwnedDialog(187, 1034) {}
};

class CTimedSendDlg : public CButtonOwnedDialog {
public:
    CTimedSendDlg() : CButtonOwnedDialog(158, 1046) {}
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
