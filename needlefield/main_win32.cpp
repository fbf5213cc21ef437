// The Windows entry point: a GUI program with no options.
#include "demo.h"
#include "fbw.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return RunNeedleField();
}
