// The console port on Win32 when its input is not a console.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

#include "console.h"

namespace {

TEST(ConsoleInput, AFailedReadIsNoKeyEvent) {
    char path[MAX_PATH], dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    GetTempFileNameA(dir, "key", 0, path);
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written;
    WriteFile(file, "a\x1b", 2, &written, nullptr);
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    HANDLE saved = GetStdHandle(STD_INPUT_HANDLE);
    SetStdHandle(STD_INPUT_HANDLE, file);
    OpenConsole();
    KeyEvent ev = {7, 7, 7};
    EXPECT_EQ(ReadKeyEvent(&ev), 0);
    EXPECT_EQ(ev.isKey, 7) << "nothing taken for a key event";
    SetStdHandle(STD_INPUT_HANDLE, saved);
    CloseHandle(file);
}

} // namespace
