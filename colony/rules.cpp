#include "rules.h"

const int dx[4] = {1, -1, 0, 0};
const int dy[4] = {0, 0, 1, -1};

// The generator both builds share, so both show the same letters and colours in the same
// order: the linear congruential rule of the Windows runtime's rand.
static thread_local unsigned randState = 1;

int Rand() {
    randState = randState * 214013u + 2531011u;
    return static_cast<int>((randState >> 16) & 0x7FFF);
}

void Srand(unsigned seed) {
    randState = seed;
}

int Step(int* x, int* y, int d) {
    int nx = *x + dx[d];
    int ny = *y + dy[d];
    if (nx < 1 || nx > fieldWidth || ny < 1 || ny > fieldHeight)
        return 0;
    *x = nx;
    *y = ny;
    return 1;
}

void StartCell(int* x, int* y) {
    *x = 1 + Rand() % fieldWidth;
    *y = 1 + Rand() % fieldHeight;
}

void DrawBacterium(char record[2]) {
    record[0] = static_cast<char>('A' + Rand() % 26);
    record[1] = static_cast<char>(1 + Rand() % 15);
}

int SpawnBacterium(int (*start)(void (*)(void*), void*), void (*body)(void*)) {
    char* record = new char[2];
    DrawBacterium(record);
    if (start(body, record))
        return 1;
    // The thread never took the record over: nobody else will free it.
    delete[] record;
    return 0;
}

KeyAction KeyActionOf(const KeyEvent& ev) {
    if (!ev.isKey)
        return keyIgnore;
    if (ev.ch == 27)
        return keyEnd;
    return ev.down ? keyLine : keyIgnore;
}
