// The demo's entry point where the program starts at main: no arguments are read.
#include "demo.h"

int main() {
    return RunNeedleField();
}
