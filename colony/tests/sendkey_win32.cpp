// Types one key into the console of a running program, as the keyboard would: attaches to
// the console of the process with the given executable name and writes a key press and its
// release into that console's input. Used where the terminal in front of the console can't
// deliver the key itself (a lone ESC, which a terminal console holds back).
//   sendkey <exe name> <character code>
#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

static DWORD FindProcess(const char* name) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    DWORD found = 0;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (_stricmp(entry.szExeFile, name) == 0)
            found = entry.th32ProcessID;
    CloseHandle(snapshot);
    return found;
}

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: sendkey <exe name> <character code>\n");
        return 2;
    }
    DWORD pid = FindProcess(argv[1]);
    if (!pid) {
        std::fprintf(stderr, "sendkey: no process %s\n", argv[1]);
        return 1;
    }
    FreeConsole();
    if (!AttachConsole(pid)) {
        std::fprintf(stderr, "sendkey: cannot attach to %lu (%lu)\n", pid, GetLastError());
        return 1;
    }
    HANDLE input =
        CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (input == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "sendkey: no console input (%lu)\n", GetLastError());
        return 1;
    }
    const int code = std::atoi(argv[2]);
    const SHORT scan = VkKeyScanA(static_cast<CHAR>(code));
    INPUT_RECORD records[2];
    std::memset(records, 0, sizeof records);
    for (int i = 0; i < 2; ++i) {
        KEY_EVENT_RECORD& key = records[i].Event.KeyEvent;
        records[i].EventType = KEY_EVENT;
        key.bKeyDown = i == 0;
        key.wRepeatCount = 1;
        key.wVirtualKeyCode = code == 27 ? VK_ESCAPE : LOBYTE(scan);
        key.wVirtualScanCode = static_cast<WORD>(MapVirtualKeyA(key.wVirtualKeyCode, 0));
        key.uChar.AsciiChar = static_cast<CHAR>(code);
    }
    DWORD written = 0;
    if (!WriteConsoleInputA(input, records, 2, &written) || written != 2) {
        std::fprintf(stderr, "sendkey: write failed (%lu)\n", GetLastError());
        return 1;
    }
    return 0;
}
