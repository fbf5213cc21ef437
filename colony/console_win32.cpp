// The Win32 console: cells and attributes through the console API, key events from the
// console input.
#include <windows.h>

#include <cstdlib>

#include "console.h"

static HANDLE h;
static HANDLE in;

void OpenConsole() {
    h = GetStdHandle(STD_OUTPUT_HANDLE);
    in = GetStdHandle(STD_INPUT_HANDLE);
}

void ClearConsole() {
    std::system("cls");
}

void Select(int x, int y, int attr) {
    COORD cell;
    cell.X = static_cast<SHORT>(x);
    cell.Y = static_cast<SHORT>(y);
    SetConsoleCursorPosition(h, cell);
    SetConsoleTextAttribute(h, static_cast<WORD>(attr));
}

// A failed read (the input is no console, or it is gone) is never a key event: the keyboard
// thread stops instead of spinning on the error.
int ReadKeyEvent(KeyEvent* ev) {
    INPUT_RECORD record;
    DWORD count = 0;
    if (!ReadConsoleInputA(in, &record, 1, &count) || count != 1)
        return 0;
    ev->isKey = record.EventType == KEY_EVENT;
    ev->down = ev->isKey && record.Event.KeyEvent.bKeyDown;
    ev->ch = ev->isKey ? static_cast<signed char>(record.Event.KeyEvent.uChar.AsciiChar) : 0;
    return 1;
}
