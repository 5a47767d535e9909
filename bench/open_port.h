#pragma once
// Opening the channels of a benchmark's window: COM<port> on the device path given, as a user
// does through "串口设置", waiting until the version request of the opening has had its answer or
// its time; and the local port of a network socket.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/main_tester_dlg.h"
#include "dialogs/serial_settings_dlg.h"
#include "res/resource_ids.h"

// The local port a socket is bound to.
inline uint16_t LocalPort(int fd) {
    sockaddr_in a{};
    socklen_t length = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length);
    return ntohs(a.sin_port);
}

inline void PointPortAt(int port, const std::string& devicePath) {
    const std::string var = "KVT_COM" + std::to_string(port);
    setenv(var.c_str(), devicePath.c_str(), 1);
}

// False, after saying so, when the port did not open.
inline bool ShowAndOpenPort(CMainTesterDlg& dlg, int port) {
    dlg.Create();
    dlg.ShowWindow(true);
    dlg.SerialSettingsRecord().comPort = port;
    dlg.PostTask([&] { Button(dlg.SerialSettingsDialog().GetDlgItem(IDC_SERIAL_OPEN_CLOSE)).Click(); });
    dlg.OnSerialSettings();
    ModuleLink& link = dlg.Link();
    if (!link.IsPortOpen() || !WaitPumping([&] { return !link.IsVersionCaptureArmed(); }, 5000)) {
        std::fprintf(stderr, "the port did not open\n");
        return false;
    }
    return true;
}
