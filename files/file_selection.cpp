#include "files/file_selection.h"

// Selecting files is not available yet: the command does nothing.
int SelectIniFile(HWND) {
    return 0;
}
