// Entry point of the tester.

#include <cstdio>

int main() {
    std::puts("kvtester: the main window is not built yet; the frame codec and analyzer are in place.");
    return 0;
}
