#pragma once
// The tool dialogs around the main window.

#include <atomic>
#include <string>

#include "dialogs/acq_unit_address_dlg.h"
#include "dialogs/add_device_dlg.h"
#include "dialogs/broadcast_reply_test_dlg.h"
#include "dialogs/checksum_dlg.h"
#include "dialogs/device_search_list_dlg.h"
#include "dialogs/find_meter_address_dlg.h"
#include "dialogs/frame_monitor_dlg.h"
#include "dialogs/frame_type_dlg.h"
#include "dialogs/local_settings_dlg.h"
#include "dialogs/main_window_port.h"
#include "dialogs/meter_manage_dlg.h"
#include "dialogs/parse_frame_dlg.h"
#include "dialogs/radio_config_dlg.h"
#include "dialogs/relay_address_dlg.h"
#include "dialogs/send_console_dlg.h"
#include "dialogs/send_frame_dlg.h"
#include "dialogs/smart_home_monitor_dlg.h"
#include "dialogs/warning_dlg.h"
#include "link/byte_string.h"
#include "platform/local_time.h"
#include "platform/ui.h"
#include "res/resource_ids.h"

// A dialog whose Enter does nothing (the tool dialogs share the main window's empty OK).
class CToolDialog : public Dialog {
public:
    using Dialog::Dialog;

protected:
    void OnOK() override {}
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

