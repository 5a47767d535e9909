#pragma once
// The window's image comparison: the master image and the image to compare are chosen, and
// the verdict replaces the text of the result pane (IDC_COMPARE_RESULT).

#include <string>

#include "platform/ui.h"

class ImageCompareButtons {
public:
    explicit ImageCompareButtons(Dialog& window) : m_window(window) {}

    // Maps the two choices and the comparison on the window.
    void MapButtons();

private:
    void Compare();

    Dialog& m_window;
    std::string m_masterPath;   // empty until chosen, and after a cancel
    std::string m_comparePath;  // the image compared with it
};
