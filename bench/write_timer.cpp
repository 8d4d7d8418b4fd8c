// write_timer: measures one key change in the middle of a large INI file, made
// by KEPLIN's profile store as the user's change (our writer, the safe
// replacement and the undo history) and by the platform's
// WritePrivateProfileStringA, each on its own copy of the file.
//
//   write_timer INI_FILE WORK_FOLDER
//
// Windows paths. The section is the one whose header lies nearest the middle
// of the file; the key is its first key. Prints both times, how many lines
// each left different from the original, and whether the platform's reader
// sees the new value in both copies.
//
// Exit status: 0 measured and both copies read the same; 1 otherwise; 2 usage.

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "files/win32/file_history.h"
#include "files/win32/profile_store.h"
#include "ini/profile_writer.h"

namespace {

std::string ReadAll(const std::string& path) {
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    LARGE_INTEGER size;
    GetFileSizeEx(file, &size);
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    for (size_t done = 0; done < bytes.size(); done += got)
        if (!ReadFile(file, &bytes[done], static_cast<DWORD>(bytes.size() - done), &got, nullptr) || got == 0) break;
    CloseHandle(file);
    return bytes;
}

// Lines (split at LF) that differ between two texts of the same line count.
long DifferentLines(const std::string& a, const std::string& b) {
    size_t i = 0, j = 0;
    long different = 0;
    while (i < a.size() || j < b.size()) {
        size_t ei = a.find('\n', i), ej = b.find('\n', j);
        if (ei == std::string::npos) ei = a.size();
        if (ej == std::string::npos) ej = b.size();
        if (a.compare(i, ei - i, b, j, ej - j) != 0) ++different;
        i = ei + 1;
        j = ej + 1;
    }
    return different;
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: write_timer INI_FILE WORK_FOLDER\n");
        return 2;
    }
    const std::string source = argv[1];
    const std::string ours = std::string(argv[2]) + "\\write-ours.ini";
    const std::string platform = std::string(argv[2]) + "\\write-platform.ini";
    const std::string original = ReadAll(source);
    if (original.empty() || !CopyFileA(source.c_str(), ours.c_str(), FALSE) ||
        !CopyFileA(source.c_str(), platform.c_str(), FALSE)) {
        std::fprintf(stderr, "write_timer: cannot read or copy %s\n", source.c_str());
        return 2;
    }

    // The header nearest the middle, and its first key.
    size_t at = original.find("\n[", original.size() / 2);
    if (at == std::string::npos) at = original.rfind("\n[", original.size() / 2);
    if (at == std::string::npos) return 2;
    const size_t end = original.find_first_of("\r\n", at + 1);
    const std::string header = original.substr(at + 1, end - at - 1);
    const std::string section = ini::ProfileSectionOfLine(header).value_or("");
    size_t keyStart = original.find_first_not_of("\r\n", end);
    const std::string key = original.substr(keyStart, original.find('=', keyStart) - keyStart);
    const char* value = "changed by write_timer";

    files::StartHistory(ours);
    LARGE_INTEGER start, stop;
    QueryPerformanceCounter(&start);
    const bool oursWritten = profile::WriteKey(section.c_str(), key.c_str(), value, ours.c_str(), "Edit Key");
    QueryPerformanceCounter(&stop);
    const double oursMs = Milliseconds(start, stop);

    QueryPerformanceCounter(&start);
    const bool platformWritten = WritePrivateProfileStringA(section.c_str(), key.c_str(), value, platform.c_str()) != 0;
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, platform.c_str());   // on disk before the clock stops
    QueryPerformanceCounter(&stop);
    const double platformMs = Milliseconds(start, stop);

    char seenOurs[256] = "", seenPlatform[256] = "";
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", seenOurs, sizeof seenOurs, ours.c_str());
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", seenPlatform, sizeof seenPlatform, platform.c_str());
    const std::string afterOurs = ReadAll(ours);
    const std::string afterPlatform = ReadAll(platform);

    std::printf("file: %zu bytes; changed [%s] %s\n", original.size(), section.c_str(), key.c_str());
    std::printf("KEPLIN (writer, safe replace, history): %8.1f ms, %ld line(s) changed, %zu bytes after\n", oursMs,
                DifferentLines(original, afterOurs), afterOurs.size());
    std::printf("platform WritePrivateProfileStringA: %6.1f ms, %zu bytes after\n", platformMs, afterPlatform.size());
    std::printf("reader sees \"%s\" in ours, \"%s\" in the platform's\n", seenOurs, seenPlatform);
    DeleteFileA(ours.c_str());
    DeleteFileA(platform.c_str());
    const bool agree = oursWritten && platformWritten && std::string(seenOurs) == value && std::string(seenPlatform) == value;
    return agree ? 0 : 1;
}
