// Stands in for the winhlp32.exe of current Windows in the help tests: it
// carries that file's description and, if it is ever started, leaves a mark
// in %TEMP% so the test can tell.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH];
    DWORD length = GetTempPathA(sizeof path, path);
    if (length == 0 || length + 32 > sizeof path) return 1;
    lstrcatA(path, "keplin-winhlp32-stub-ran");
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return 0;
}
