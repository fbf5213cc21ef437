#include "colony.h"

#include "console.h"
#include "rules.h"
#include "threads.h"
#include "writer.h"

const char birthLine[] = "clock = %ld\n";

void KeyHandler(void*) {
    KeyEvent ev;
    while (ReadKeyEvent(&ev)) {
        switch (KeyActionOf(ev)) {
        case keyEnd:
            EndProgram();
        case keyLine:
            Write(0, nextY(), 12, "Key %d is pressed", ev.ch);
            break;
        case keyIgnore:
            break;
        }
    }
}

void Bacteria(void* record) {
    const signed char* bytes = static_cast<const signed char*>(record);
    const int letter = bytes[0];
    const int colour = bytes[1];
    delete[] static_cast<char*>(record);

    long t = Clock();
    Write(0, nextY(), 15, birthLine, t);
    Srand(static_cast<unsigned>(Clock()));

    int x, y;
    StartCell(&x, &y);
    for (;;) {
        Write(x, y, colour, static_cast<char>(letter));
        SleepMs(50);
        Step(&x, &y, Rand() % 4);
    }
}
