#pragma once
// Asks the X server about windows through its command-line tools (xwininfo, xprop, xdotool).

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/ui.h"

namespace testsupport {

// What the shell command prints, without its trailing line feeds and blanks.
inline std::string Output(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
        ::pclose(pipe);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
    return out;
}

// The number after label in xwininfo's report; -1 when it is missing.
inline int Field(const std::string& info, const std::string& label) {
    const size_t at = info.find(label);
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + label.size());
}

// Where xwininfo's report places the window on the screen.
inline Rect ScreenRect(const std::string& info) {
    const int x = Field(info, "Absolute upper-left X:"), y = Field(info, "Absolute upper-left Y:");
    return Rect{x, y, x + Field(info, "Width:"), y + Field(info, "Height:")};
}

inline bool WindowManagerRuns() {
    return Output("xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null").find("window id") != std::string::npos;
}

inline std::string RectText(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.Width()) + "x" +
           std::to_string(r.Height());
}

}  // namespace testsupport
