// The console on a terminal: cells by cursor addressing and attributes by colour sequences,
// written into standard output ahead of the text; key presses read from the terminal in raw
// mode, which is handed back however the program ends.
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>

#include "console.h"
#include "writer.h"

// Standard input and output are the console's input and output.
static const int in = STDIN_FILENO;
static const int h = STDOUT_FILENO;

static termios saved;
static volatile sig_atomic_t raw = 0;

// How long the rest of an escape sequence may take to follow its ESC. Terminals send a whole
// sequence in one write, so a lone ESC is one with nothing behind it after this pause.
static const int escapeWait = 100;

// The text attribute's colour number 0..7 (1 blue, 2 green, 4 red) as the terminal's colour
// number (1 red, 2 green, 4 blue).
static const int terminalColour[8] = {0, 4, 2, 6, 1, 5, 3, 7};

static void WriteAll(const char* text, size_t n) {
    while (n > 0) {
        ssize_t done = write(h, text, n);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return;
        text += done;
        n -= static_cast<size_t>(done);
    }
}

// Hands the terminal back: input mode as it was, default colours, and the cursor below the
// field so that what follows doesn't overwrite the picture. Safe inside a signal handler.
static void Restore() {
    if (raw) {
        tcsetattr(in, TCSANOW, &saved);
        raw = 0;
    }
    if (isatty(h)) {
        static const char reset[] = "\x1b[0m\x1b[27;1H";
        WriteAll(reset, sizeof reset - 1);
    }
}

static void RestoreAndDie(int sig) {
    Restore();
    signal(sig, SIG_DFL);
    raise(sig);
}

void OpenConsole() {
    std::atexit(Restore);
    const int signals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE};
    for (int sig : signals) {
        struct sigaction action = {};
        action.sa_handler = RestoreAndDie;
        sigemptyset(&action.sa_mask);
        sigaction(sig, &action, nullptr);
    }
    if (!isatty(in) || tcgetattr(in, &saved) != 0)
        return;
    termios mode = saved;
    // Byte by byte, no echo, no line editing, Enter as 13; Ctrl-C still interrupts. Ctrl-Z
    // arrives as a key (26) instead of stopping the program with the terminal in raw mode.
    mode.c_lflag &= ~(ICANON | ECHO | IEXTEN);
    mode.c_iflag &= ~(IXON | ICRNL | INLCR | IGNCR | ISTRIP | BRKINT);
    mode.c_cc[VSUSP] = _POSIX_VDISABLE;
    mode.c_cc[VMIN] = 1;
    mode.c_cc[VTIME] = 0;
    if (tcsetattr(in, TCSANOW, &mode) == 0)
        raw = 1;
}

void ClearConsole() {
    std::fputs("\x1b[H\x1b[2J", out);
    std::fflush(out);
}

void Select(int x, int y, int attr) {
    // The console takes the cell as two 16-bit numbers; a cell it can't address leaves the
    // cursor where it was.
    const int column = static_cast<int16_t>(x);
    const int row = static_cast<int16_t>(y);
    if (column >= 0 && row >= 0)
        std::fprintf(out, "\x1b[%d;%dH", row + 1, column + 1);
    const int fg = attr & 15;
    const int bg = (attr >> 4) & 15;
    const int fgCode = (fg & 8 ? 90 : 30) + terminalColour[fg & 7];
    // Background 0 is black on the console: the terminal's own background stands for it.
    const int bgCode = bg == 0 ? 49 : (bg & 8 ? 100 : 40) + terminalColour[bg & 7];
    std::fprintf(out, "\x1b[%d;%dm", fgCode, bgCode);
}

static const int timedOut = -2;
static const int ended = -1;

// The next byte of input, waiting at most wait ms (forever when wait < 0).
static int ReadByte(int wait) {
    if (wait >= 0) {
        pollfd p = {in, POLLIN, 0};
        int ready;
        do
            ready = poll(&p, 1, wait);
        while (ready < 0 && errno == EINTR);
        if (ready == 0)
            return timedOut;
        if (ready < 0)
            return ended;
    }
    unsigned char byte;
    ssize_t n;
    do
        n = read(in, &byte, 1);
    while (n < 0 && errno == EINTR);
    return n == 1 ? byte : ended;
}

// The rest of an escape sequence after ESC and its second byte, read whole so that none of
// its bytes shows up as a key of its own.
static void SkipSequence(int second) {
    if (second == 'O') {
        ReadByte(escapeWait);
        return;
    }
    // Control sequence: parameter and intermediate bytes, then one final byte 0x40..0x7E.
    for (;;) {
        int b = ReadByte(escapeWait);
        if (b < 0 || (b >= 0x40 && b <= 0x7E))
            return;
    }
}

// The character of a key as the console reports it: its code as a signed 8-bit number when
// below 256, otherwise '?'. first is a byte that is not ESC.
static int KeyCharacter(int first) {
    if (first < 0x80)
        return first;
    int more;
    long code;
    if (first >= 0xC2 && first <= 0xDF) {
        more = 1;
        code = first & 0x1F;
    } else if (first >= 0xE0 && first <= 0xEF) {
        more = 2;
        code = first & 0x0F;
    } else if (first >= 0xF0 && first <= 0xF4) {
        more = 3;
        code = first & 0x07;
    } else {
        return '?';
    }
    for (int i = 0; i < more; ++i) {
        int b = ReadByte(escapeWait);
        if (b < 0x80 || b > 0xBF)
            return '?';
        code = (code << 6) | (b & 0x3F);
    }
    return code < 256 ? static_cast<signed char>(static_cast<unsigned char>(code)) : '?';
}

int ReadKeyEvent(KeyEvent* ev) {
    int b = ReadByte(-1);
    if (b < 0)
        return 0;
    // A terminal sends no releases: every byte or sequence is a press.
    ev->isKey = 1;
    ev->down = 1;
    if (b != 0x1b) {
        ev->ch = KeyCharacter(b);
        return 1;
    }
    int second = ReadByte(escapeWait);
    if (second < 0 || second == 0x1b) {
        ev->ch = 27;
    } else if (second == '[' || second == 'O') {
        SkipSequence(second);
        ev->ch = 0;
    } else {
        // ESC in front of a character: the character typed with Alt.
        ev->ch = KeyCharacter(second);
    }
    return 1;
}
