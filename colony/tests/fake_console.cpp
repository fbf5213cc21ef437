#include "fake_console.h"

#include <cstdio>
#include <cstdlib>

#include "threads.h"
#include "writer.h"

static std::vector<KeyEvent> script;
static size_t next = 0;

void ScriptKeys(const std::vector<KeyEvent>& events) {
    script = events;
    next = 0;
}

void OpenConsole() {}
void ClearConsole() {}

void Select(int x, int y, int attr) {
    std::fprintf(out, "\x01%d,%d,%d\x02", x, y, attr);
}

int ReadKeyEvent(KeyEvent* ev) {
    if (next >= script.size())
        return 0;
    *ev = script[next++];
    return 1;
}

std::vector<Piece> Pieces(const std::string& stream) {
    std::vector<Piece> pieces;
    size_t at = stream.find('\x01');
    while (at != std::string::npos) {
        size_t close = stream.find('\x02', at);
        if (close == std::string::npos)
            break;
        Piece p;
        if (std::sscanf(stream.c_str() + at + 1, "%d,%d,%d", &p.x, &p.y, &p.attr) != 3)
            break;
        at = stream.find('\x01', close);
        p.text =
            stream.substr(close + 1, at == std::string::npos ? std::string::npos : at - close - 1);
        pieces.push_back(p);
    }
    return pieces;
}

void CaptureOutput() {
    // Binary, so that the text reads back byte for byte on every platform.
    out = std::tmpfile();
    if (!out)
        std::abort();
}

std::string Captured() {
    EnterSection();
    std::fflush(out);
    long end = std::ftell(out);
    std::string text(static_cast<size_t>(end), '\0');
    std::rewind(out);
    size_t got = std::fread(&text[0], 1, text.size(), out);
    text.resize(got);
    std::fseek(out, 0, SEEK_END);
    LeaveSection();
    return text;
}
