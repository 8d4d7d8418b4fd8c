#include "files/win32/file_copy.h"

#include <string>

#include "base/win32/message_box.h"
#include "files/win32/file_bytes.h"
#include "files/win32/safe_replace.h"

int FileCopy(HWND owner, const char* source, const char* target) {
    std::string bytes;
    switch (files::ReadFileBytes(source, bytes)) {
    case files::ReadResult::Read:
        break;
    case files::ReadResult::CannotRead:
        // A read that fails half-way is no reason the user could act on.
        return -1;
    default:
        Warn(owner, Format("Sorry could not open %s", source));
        return -1;
    }
    // The target is replaced whole or not at all: a copy that runs out of
    // room half-way must not leave an earlier copy (a good backup) cut short.
    if (!ReplaceFileContents(target, bytes)) {
        Warn(owner, Format("Sorry could not make %s", target));
        return -1;
    }
    return 1;
}
