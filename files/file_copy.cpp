#include "files/file_copy.h"

#include "app/message_box.h"

int FileCopy(HWND owner, const char* source, const char* target) {
    HANDLE in = CreateFileA(source, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (in == INVALID_HANDLE_VALUE) {
        Warn(owner, Format("Sorry could not open %s", source));
        return -1;
    }
    HANDLE out = CreateFileA(target, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
        Warn(owner, Format("Sorry could not make %s", target));
        CloseHandle(in);
        return -1;
    }
    int result = -1;
    char chunk[1000];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(in, chunk, sizeof chunk, &got, nullptr)) break;
        if (got == 0) {
            result = 1;
            break;
        }
        DWORD put = 0;
        // A short write (a full disk) is a failed copy, not a finished one.
        if (!WriteFile(out, chunk, got, &put, nullptr) || put != got) break;
    }
    CloseHandle(in);
    // Closing flushes; a failure there also means the copy is incomplete.
    if (!CloseHandle(out)) result = -1;
    return result;
}
