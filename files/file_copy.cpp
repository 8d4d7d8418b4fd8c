#include "files/file_copy.h"

#include <string>

#include "app/message_box.h"
#include "files/safe_replace.h"

int FileCopy(HWND owner, const char* source, const char* target) {
    HANDLE in = CreateFileA(source, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (in == INVALID_HANDLE_VALUE) {
        Warn(owner, Format("Sorry could not open %s", source));
        return -1;
    }
    std::string bytes;
    char chunk[64 * 1024];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(in, chunk, sizeof chunk, &got, nullptr)) {
            CloseHandle(in);
            return -1;
        }
        if (got == 0) break;
        bytes.append(chunk, got);
    }
    CloseHandle(in);
    // The target is replaced whole or not at all: a copy that runs out of
    // room half-way must not leave an earlier copy (a good backup) cut short.
    if (!ReplaceFileContents(target, bytes)) {
        Warn(owner, Format("Sorry could not make %s", target));
        return -1;
    }
    return 1;
}
