// The demo's entry point where the program starts at main: no arguments are read.
int RunNeedleField();

int main() {
    return RunNeedleField();
}
