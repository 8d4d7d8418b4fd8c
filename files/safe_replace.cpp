#include "files/safe_replace.h"

#include <windows.h>

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

// Writes all of bytes from the file's start, cuts the file there and flushes.
// A short write counts as a failure.
bool Rewrite(HANDLE file, const std::string& bytes) {
    if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD want = static_cast<DWORD>(bytes.size() - done < kChunk ? bytes.size() - done : kChunk);
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, want, &written, nullptr) || written != want) return false;
        done += written;
    }
    return SetEndOfFile(file) && FlushFileBuffers(file);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Writes a complete new file at target: first under a temporary name, then
// renamed, so that target never exists half-written. replace: whether an
// existing target may be replaced.
bool WriteWholeFile(const std::string& target, const std::string& bytes, bool replace) {
    const std::string part = target + kPartSuffix;
    HANDLE file = CreateFileA(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool written = Rewrite(file, bytes);
    CloseHandle(file);
    if (written && MoveFileExA(part.c_str(), target.c_str(),
                               MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0)))
        return true;
    DeleteFileA(part.c_str());
    return false;
}

// Puts the undo copy's bytes back into the open file and removes the copy.
bool Undo(HANDLE file, const std::string& undoPath) {
    HANDLE undo = CreateFileA(undoPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (undo == INVALID_HANDLE_VALUE) return false;
    std::string old;
    const bool read = ReadAll(undo, old);
    CloseHandle(undo);
    if (!read || !Rewrite(file, old)) return false;
    return DeleteFileA(undoPath.c_str()) != 0;
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
        // The old bytes are kept whole beside the file before it is touched.
        done = WriteWholeFile(undoPath, old, true);
        if (done) {
            done = Rewrite(file, bytes);
            // A failed rewrite (a full disk, a write error) puts the old
            // bytes straight back; they fit where they were.
            if (done || Rewrite(file, old)) DeleteFileA(undoPath.c_str());
        }
    }
    CloseHandle(file);
    return done;
}
