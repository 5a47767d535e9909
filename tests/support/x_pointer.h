#pragma once
// Clicks as a user clicks, through the X server: xdotool moves the pointer to screen coordinates
// and presses the button there, so the server and the widgets decide what the pointer hits.
// Only on an X display (the xcb platform) with xdotool installed.

#include <cstdlib>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "platform/ui.h"

namespace testsupport {

inline bool CanClickThroughX() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const char* display = std::getenv("DISPLAY");
    return platform && std::string(platform) == "xcb" && display && *display &&
           std::system("command -v xdotool >/dev/null 2>&1") == 0;
}

// Runs xdotool with these arguments, pumping messages while it runs; true when it succeeded.
inline bool Xdotool(const std::vector<std::string>& args) {
    std::vector<char*> argv{const_cast<char*>("xdotool")};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) return false;
    if (pid == 0) {
        ::execvp("xdotool", argv.data());
        ::_exit(127);
    }
    int status = 0;
    if (!WaitPumping([&] { return ::waitpid(pid, &status, WNOHANG) == pid; }, 20000)) return false;
    PumpFor(60);  // the events that it made
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

inline bool ClickScreen(Point p, int clicks = 1) {
    return Xdotool({"mousemove", std::to_string(p.x), std::to_string(p.y), "click", "--repeat",
                    std::to_string(clicks), "--delay", "80", "1"});
}

inline Point Centre(const Window& w) {
    const Rect r = w.GetWindowRect();
    return Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace testsupport
