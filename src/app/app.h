#pragma once
// The application object: runs the main window modally and ends with it.

class CBrevantiApp {
public:
    // Runs the main window; always false, so the process ends when the window closes.
    bool InitInstance();
};
