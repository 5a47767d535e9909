// Writes a PNG picture of the main window, laid out at the given size, without a display.
// Usage: kvtester-shot out.png [width height]

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/main_tester_dlg.h"
#include "platform/ui.h"
#include "res/resources.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s out.png [width height]\n", argv[0]);
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::string out = argv[1];
    const int width = argc >= 4 ? std::atoi(argv[2]) : 0;
    const int height = argc >= 4 ? std::atoi(argv[3]) : 0;
    Application app(argc, argv);
    RegisterResources();
    SetApplicationTitle("KV3391T");
    CMainTesterDlg dlg;
    bool saved = false;
    dlg.PostTask([&] {
        if (width > 0 && height > 0) {
            const Rect r = dlg.GetWindowRect();
            dlg.MoveWindow(r.left, r.top, width, height);
        }
        PumpFor(50);
        saved = SaveWindowImage(dlg, out);
        dlg.Close();
    });
    dlg.DoModal();
    if (!saved) {
        std::fprintf(stderr, "could not write %s\n", out.c_str());
        return 1;
    }
    std::printf("wrote %s\n", out.c_str());
    return 0;
}
