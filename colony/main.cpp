#include "colony.h"
#include "console.h"
#include "rules.h"
#include "threads.h"
#include "writer.h"

int main() {
    InitSection();
    OpenConsole();
    ClearConsole();
    Write(0, 0, 10, "Press ESC to save your mind [ EXIT ]");
    StartThread(KeyHandler, nullptr);
    for (;;) {
        SpawnBacterium(StartThread, Bacteria);
        SleepMs(500);
    }
}
