// What another program reads from an INI file with the platform's ANSI
// profile call. Built without the UTF-8 manifest, so it reads as programs of
// the system's ANSI code page do.
//
//   profile_read FILE SECTION KEY OUT   writes the value's bytes to OUT
#include <windows.h>

#include <shellapi.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr || count != 5) return 2;
    // The arguments are ASCII in the tests; the file's bytes are what matter.
    std::string narrow[5];
    for (int i = 1; i < 5; ++i)
        for (const wchar_t* c = arguments[i]; *c; ++c) narrow[i] += static_cast<char>(*c);
    char value[4096] = "";
    const DWORD length = GetPrivateProfileStringA(narrow[2].c_str(), narrow[3].c_str(), "<missing>", value,
                                                  sizeof value, narrow[1].c_str());
    HANDLE out = CreateFileA(narrow[4].c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    const BOOL ok = WriteFile(out, value, length, &written, nullptr);
    CloseHandle(out);
    return ok && written == length ? 0 : 1;
}
