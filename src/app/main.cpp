// Entry point of the tester.

#include <cstdio>

#include "app/app.h"
#include "platform/ui.h"
#include "res/resources.h"

int main(int argc, char** argv) {
    if (!Application::HasDisplay()) {
        std::fprintf(stderr,
                     "kvtester: no display found. Start it from a desktop session (DISPLAY or "
                     "WAYLAND_DISPLAY set).\n");
        return 1;
    }
    Application app(argc, argv);
    RegisterResources();
    CBrevantiApp theApp;
    theApp.InitInstance();
    return 0;
}
