#include "files/safe_replace.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>

namespace {

const char kUndoSuffix[] = ".keplin-undo";
const char kPartSuffix[] = ".keplin-part";
const DWORD kChunk = 1 << 20;

// The file a handle really names: a symbolic link resolves to its target, so
// the undo copy lies beside the file that is written. The call is looked up at
// run time because older systems lack it; the given path serves then.
std::string FinalPath(HANDLE file, const char* path) {
    using Query = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
    Query query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleA")));
    if (!query) return path;
    char final[1024];
    DWORD length = query(file, final, sizeof final, 0);
    if (length == 0 || length >= sizeof final) return path;
    std::string result(final, length);
    if (result.compare(0, 8, "\\\\?\\UNC\\") == 0) return "\\\\" + result.substr(8);
    if (result.compare(0, 4, "\\\\?\\") == 0) return result.substr(4);
    return result;
}

// The undo copy and the temporary file are named after the file itself, so
// their names are longer than the file's. For a file whose path is near the
// platform's limit they are reached through the extended form of the full
// path ("\\?\C:\..."), which the wide calls accept beyond that limit.
std::wstring AuxiliaryPath(const std::string& path) {
    const int size = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], size);
    wide.resize(wide.size() - 1);
    if (wide.size() < MAX_PATH || wide.compare(0, 4, L"\\\\?\\") == 0) return wide;
    DWORD length = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (length == 0) return wide;
    std::wstring full(length, L'\0');
    length = GetFullPathNameW(wide.c_str(), length, &full[0], nullptr);
    full.resize(length);
    if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

bool ReadAll(HANDLE file, std::string& bytes) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart > 0x7FFFFFFF) return false;
    if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD want = static_cast<DWORD>(bytes.size() - done < kChunk ? bytes.size() - done : kChunk);
        DWORD got = 0;
        if (!ReadFile(file, &bytes[done], want, &got, nullptr) || got == 0) return false;
        done += got;
    }
    return true;
}

// Writes part at offset, then makes the file size bytes long and flushes.
// A short write counts as a failure.
bool WriteAt(HANDLE file, size_t offset, std::string_view part, size_t size) {
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(file, position, nullptr, FILE_BEGIN)) return false;
    size_t done = 0;
    while (done < part.size()) {
        DWORD want = static_cast<DWORD>(part.size() - done < kChunk ? part.size() - done : kChunk);
        DWORD written = 0;
        if (!WriteFile(file, part.data() + done, want, &written, nullptr) || written != want) return false;
        done += written;
    }
    position.QuadPart = static_cast<LONGLONG>(size);
    return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) && SetEndOfFile(file) && FlushFileBuffers(file);
}

bool Rewrite(HANDLE file, const std::string& bytes) { return WriteAt(file, 0, bytes, bytes.size()); }

// The undo copy holds the old bytes of the part that is about to be
// overwritten, after a line that says where they go and how long the file
// was: "KEPLIN-UNDO <offset> <size>\n".
std::string UndoRecord(size_t offset, size_t size, std::string_view oldPart) {
    std::string record = "KEPLIN-UNDO " + std::to_string(offset) + " " + std::to_string(size) + "\n";
    record.append(oldPart);
    return record;
}

bool ParseUndoRecord(const std::string& record, size_t& offset, size_t& size, std::string_view& oldPart) {
    unsigned long long at = 0, length = 0;
    int used = 0;
    if (std::sscanf(record.c_str(), "KEPLIN-UNDO %llu %llu\n%n", &at, &length, &used) != 2 || used == 0) return false;
    offset = static_cast<size_t>(at);
    size = static_cast<size_t>(length);
    oldPart = std::string_view(record).substr(static_cast<size_t>(used));
    return offset + oldPart.size() <= size;
}

bool Exists(const std::string& path) {
    return GetFileAttributesW(AuxiliaryPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Writes a complete new file at target: first under a temporary name, then
// renamed, so that target never exists half-written. replace: whether an
// existing target may be replaced.
bool WriteWholeFile(const std::string& target, const std::string& bytes, bool replace) {
    const std::wstring targetPath = AuxiliaryPath(target);
    const std::wstring part = AuxiliaryPath(target + kPartSuffix);
    HANDLE file = CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool written = Rewrite(file, bytes);
    CloseHandle(file);
    if (written && MoveFileExW(part.c_str(), targetPath.c_str(),
                               MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0)))
        return true;
    DeleteFileW(part.c_str());
    return false;
}

// Puts the undo copy's bytes back into the open file and removes the copy.
bool Undo(HANDLE file, const std::string& undoPath) {
    HANDLE undo = CreateFileW(AuxiliaryPath(undoPath).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (undo == INVALID_HANDLE_VALUE) return false;
    std::string record;
    const bool read = ReadAll(undo, record);
    CloseHandle(undo);
    size_t offset = 0, size = 0;
    std::string_view oldPart;
    if (!read || !ParseUndoRecord(record, offset, size, oldPart) || !WriteAt(file, offset, oldPart, size)) return false;
    return DeleteFileW(AuxiliaryPath(undoPath).c_str()) != 0;
}

HANDLE OpenForRewrite(const char* path) {
    return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

bool RecoverInterruptedReplace(const char* path) {
    if (!Exists(std::string(path) + kUndoSuffix)) {
        // The file may be reached through a link: look beside its target too.
        HANDLE probe = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
        if (probe == INVALID_HANDLE_VALUE) return true;
        const std::string undoPath = FinalPath(probe, path) + kUndoSuffix;
        CloseHandle(probe);
        if (!Exists(undoPath)) return true;
    }
    HANDLE file = OpenForRewrite(path);
    if (file == INVALID_HANDLE_VALUE) return false;
    const std::string undoPath = FinalPath(file, path) + kUndoSuffix;
    const bool undone = !Exists(undoPath) || Undo(file, undoPath);
    CloseHandle(file);
    return undone;
}

bool ReplaceFileContents(const char* path, const std::string& bytes) {
    HANDLE file = OpenForRewrite(path);
    if (file == INVALID_HANDLE_VALUE) {
        if (GetLastError() != ERROR_FILE_NOT_FOUND) return false;
        return WriteWholeFile(path, bytes, false);
    }
    const std::string undoPath = FinalPath(file, path) + kUndoSuffix;
    std::string old;
    bool done = (!Exists(undoPath) || Undo(file, undoPath)) && ReadAll(file, old);
    if (done && old != bytes) {
        // Only the part from the first changed byte on is written (and, for
        // an unchanged length, only up to the last changed byte), so a change
        // in a large file costs what it changes.
        size_t from = 0;
        while (from < old.size() && from < bytes.size() && old[from] == bytes[from]) ++from;
        size_t oldEnd = old.size(), newEnd = bytes.size();
        if (old.size() == bytes.size())
            while (oldEnd > from && old[oldEnd - 1] == bytes[oldEnd - 1]) --oldEnd, --newEnd;
        const std::string_view oldPart = std::string_view(old).substr(from, oldEnd - from);
        // The old bytes of that part are kept whole beside the file before it is touched.
        done = WriteWholeFile(undoPath, UndoRecord(from, old.size(), oldPart), true);
        if (done) {
            done = WriteAt(file, from, std::string_view(bytes).substr(from, newEnd - from), bytes.size());
            // A failed write (a full disk, a write error) puts the old bytes
            // straight back; they fit where they were.
            if (done || WriteAt(file, from, oldPart, old.size())) DeleteFileW(AuxiliaryPath(undoPath).c_str());
        }
    }
    CloseHandle(file);
    return done;
}
