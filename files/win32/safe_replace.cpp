#include "files/win32/safe_replace.h"

#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "files/undo_record.h"
#include "files/win32/file_bytes.h"
#include "files/win32/file_text.h"
#include "files/win32/file_watch.h"

namespace {

const char kUndoSuffix[] = ".keplin-undo";
const char kPartSuffix[] = ".keplin-part";
const DWORD kChunk = 1 << 20;

// The file a handle really names: a symbolic link resolves to its target, so
// the undo record lies beside the file that is written. The call is looked up
// at run time because older systems lack it; the given path serves then.
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

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool WriteAll(HANDLE file, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD want = static_cast<DWORD>(bytes.size() - done < kChunk ? bytes.size() - done : kChunk);
        DWORD written = 0;
        // A short write counts as a failure.
        if (!WriteFile(file, bytes.data() + done, want, &written, nullptr) || written != want) return false;
        done += written;
    }
    return true;
}

// Runs the steps in order and flushes; done counts the steps completed.
bool RunSteps(HANDLE file, const std::vector<files::FileStep>& steps, size_t& done) {
    done = 0;
    for (const files::FileStep& step : steps) {
        LARGE_INTEGER position;
        position.QuadPart = static_cast<LONGLONG>(step.offset);
        if (!SetFilePointerEx(file, position, nullptr, FILE_BEGIN)) return false;
        if (!(step.setSize ? SetEndOfFile(file) != 0 : WriteAll(file, step.bytes))) return false;
        ++done;
    }
    return FlushFileBuffers(file) != 0;
}

enum class Outcome { Written, Refused, NoRoom };

// Writes a complete new file at target: first under a temporary name, then
// renamed, so that target never exists half-written. Refused: the folder
// would not take the file (or, without replace, one is there already);
// NoRoom: it was made but could not be written whole.
Outcome WriteWholeFile(const std::wstring& target, std::initializer_list<std::string_view> pieces, bool replace) {
    const std::wstring part = target + files::WidePath(kPartSuffix);
    HANDLE file = CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Outcome::Refused;
    bool written = true;
    for (std::string_view piece : pieces) written = written && WriteAll(file, piece);
    written = written && FlushFileBuffers(file);
    CloseHandle(file);
    if (written && MoveFileExW(part.c_str(), target.c_str(),
                               MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0)))
        return Outcome::Written;
    DeleteFileW(part.c_str());
    return written ? Outcome::Refused : Outcome::NoRoom;
}

// The folder of the records kept away from their files, a folder of the user
// (made when asked for); empty when the system has none.
std::wstring RecordFolder(bool make) {
    using Query = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
    const int kLocalAppData = 0x001c;   // CSIDL_LOCAL_APPDATA
    // Looked up at run time: the oldest systems lack the call.
    HMODULE shell = GetModuleHandleA("shell32.dll");
    if (!shell) shell = LoadLibraryA("shell32.dll");
    Query query = shell ? reinterpret_cast<Query>(reinterpret_cast<void*>(GetProcAddress(shell, "SHGetFolderPathW")))
                        : nullptr;
    wchar_t base[MAX_PATH];
    if (!query || FAILED(query(nullptr, kLocalAppData, nullptr, 0, base))) return std::wstring();
    std::wstring folder = std::wstring(base) + L"\\KEPLIN";
    if (make) CreateDirectoryW(folder.c_str(), nullptr);
    folder += L"\\Undo";
    if (make) CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

// Where a record of the file at finalPath lies when its own folder would not
// take it; empty when there is no such place.
std::wstring RecordAway(const std::string& finalPath, bool make) {
    const std::wstring folder = RecordFolder(make);
    if (folder.empty()) return folder;
    return folder + L"\\" + files::WidePath(files::UndoRecordName(finalPath));
}

bool ReadRecord(const std::wstring& place, std::string& text) {
    return files::ReadFileBytes(place, text) == files::ReadResult::Read;
}

struct Place {
    std::wstring path;
    bool away;   // in the folder of records, where its name alone does not prove whose it is
};

// Every place a record of the file may lie: beside it as named, beside the
// file it resolves to, and away from both. Recovery looks in this order.
std::vector<Place> RecordPlaces(const std::string& path, const std::string& finalPath) {
    std::vector<Place> places{{files::WidePath(path + kUndoSuffix), false}};
    if (path != finalPath) places.push_back({files::WidePath(finalPath + kUndoSuffix), false});
    const std::wstring away = RecordAway(finalPath, false);
    if (!away.empty()) places.push_back({away, true});
    return places;
}

// A record kept away from its file that names this file.
bool RecordOf(const Place& place, const std::string& finalPath) {
    std::string text;
    std::optional<files::UndoRecord> record;
    return ReadRecord(place.path, text) && (record = files::ParseUndoRecord(text)) && record->path == finalPath;
}

// Temporary files that a killed run left: of the file itself (made while a
// missing file was created) and of its records.
void RemoveParts(const std::string& path, const std::string& finalPath) {
    for (const Place& record : RecordPlaces(path, finalPath)) DeleteFileW((record.path + files::WidePath(kPartSuffix)).c_str());
    DeleteFileW(files::WidePath(path + kPartSuffix).c_str());
    DeleteFileW(files::WidePath(finalPath + kPartSuffix).c_str());
}

// A record that does not fit the file is kept, under a name of its own, for
// whoever wants to look at it; it is never applied again.
void SetAside(const std::wstring& place) {
    for (int number = 1; number <= 100; ++number) {
        const std::wstring aside = place + L".stale" + (number > 1 ? std::to_wstring(number) : std::wstring());
        if (MoveFileExW(place.c_str(), aside.c_str(), 0)) return;
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) return;
    }
}

// Acts on the record at place for the open file: undoes a write it finds
// half-done, and removes the record, or sets it aside when the file is in no
// state the record knows. False when the record or the file cannot be read,
// or the undo fails (the record then stays for the next try).
bool Settle(HANDLE file, const Place& at, const std::string& finalPath) {
    const std::wstring& place = at.path;
    std::string text;
    if (!ReadRecord(place, text)) return !Exists(place);
    const std::optional<files::UndoRecord> record = files::ParseUndoRecord(text);
    // Another file's record under the same name is left alone.
    if (at.away && record && record->path != finalPath) return true;
    if (!record) {
        SetAside(place);
        return true;
    }
    std::string bytes;
    if (!files::ReadBytes(file, bytes)) return false;
    const files::Finding found = files::ClassifyFile(*record, bytes);
    switch (found.state) {
    case files::FileState::HalfWritten: {
        size_t done = 0;
        if (!RunSteps(file, files::UndoSteps(*record, bytes.size(), found.newPieces), done)) return false;
        break;
    }
    case files::FileState::Unknown:
        SetAside(place);
        return true;
    case files::FileState::Untouched:
    case files::FileState::Complete:
        break;
    }
    // Left behind, the record would find the file untouched or complete next time.
    DeleteFileW(place.c_str());
    return true;
}

bool SettleRecords(HANDLE file, const std::string& path, const std::string& finalPath) {
    RemoveParts(path, finalPath);
    bool settled = true;
    for (const Place& place : RecordPlaces(path, finalPath))
        if (Exists(place.path) && !Settle(file, place, finalPath)) settled = false;
    return settled;
}

// Keeps the record where recovery finds it: beside the file, or, when its
// folder takes no new files, in the folder of records. Gives the place, or
// nothing when neither takes it and the change is written without one (as
// the platform's own writer would). roomy is false when the record did not
// fit beside the file: a disk that full would not take the change either.
std::wstring KeepRecord(const std::string& finalPath, const files::UndoRecord& record, bool& roomy) {
    roomy = true;
    const std::string head = files::UndoRecordHead(record);
    const std::wstring beside = files::WidePath(finalPath + kUndoSuffix);
    switch (WriteWholeFile(beside, {head, record.oldBytes}, false)) {
    case Outcome::Written: return beside;
    case Outcome::NoRoom: roomy = false; return std::wstring();
    case Outcome::Refused: break;
    }
    const std::wstring away = RecordAway(finalPath, true);
    if (!away.empty() && WriteWholeFile(away, {head, record.oldBytes}, false) == Outcome::Written) return away;
    return std::wstring();
}

HANDLE OpenForRewrite(const char* path) {
    return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

bool RecoverInterruptedReplace(const char* path) {
    HANDLE probe = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    if (probe == INVALID_HANDLE_VALUE) {
        RemoveParts(path, path);
        return true;
    }
    const std::string finalPath = FinalPath(probe, path);
    CloseHandle(probe);
    bool any = false;
    for (const Place& place : RecordPlaces(path, finalPath)) any = any || Exists(place.path);
    if (!any) {
        RemoveParts(path, finalPath);
        return true;
    }
    HANDLE file = OpenForRewrite(path);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool settled = SettleRecords(file, path, finalPath);
    CloseHandle(file);
    return settled;
}

namespace {

// The safe save of what change gives for the file's bytes, read under the
// handle that writes them. A missing file is created when createMissing
// says so, from change of no bytes.
template <typename Change>
Replaced Rewrite(const char* path, Change change, std::string* replaced, bool createMissing) {
    HANDLE file = OpenForRewrite(path);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // Another program holds the file, or it is away for a moment (some
        // editors save by deleting a file and writing it anew).
        if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return Replaced::Busy;
        if (error != ERROR_FILE_NOT_FOUND) return Replaced::Failed;
        if (!createMissing) return Replaced::Busy;
        const std::string* bytes = change(std::string());
        if (bytes == nullptr) return Replaced::Declined;
        files::NoteWriting(path);
        if (WriteWholeFile(files::WidePath(path), {*bytes}, false) != Outcome::Written) return Replaced::Failed;
        if (replaced) replaced->clear();
        files::NoteSeen(path);
        files::ForgetFileKind(path);
        return Replaced::Written;
    }
    // Open, the file shares only reading: another program's change is in by
    // now, or waits until KEPLIN's write is done.
    files::NoteWriting(path);
    const std::string finalPath = FinalPath(file, path);
    std::string old;
    if (!SettleRecords(file, path, finalPath) || !files::ReadBytes(file, old)) {
        CloseHandle(file);
        return Replaced::Busy;
    }
    // The handle shares only reading: no other program writes between this
    // look at the bytes and the write.
    const std::string* wanted = change(old);
    if (wanted == nullptr) {
        CloseHandle(file);
        return Replaced::Declined;
    }
    const std::string& bytes = *wanted;
    bool done = true;
    if (old != bytes) {
        const files::UndoRecord record = files::MakeUndoRecord(old, bytes, finalPath);
        // The record is kept before the file is touched.
        const std::wstring kept = KeepRecord(finalPath, record, done);
        if (done) {
            const std::vector<files::FileStep> steps = files::WriteSteps(record, bytes);
            size_t stepsDone = 0;
            done = RunSteps(file, steps, stepsDone);
            bool whole = done;
            if (!done) {
                // A failed write (a full disk, a write error) puts the old
                // bytes straight back from the pieces it may have reached;
                // they fit where they were.
                LARGE_INTEGER size;
                size_t undone = 0;
                const size_t reached = stepsDone + 1 < steps.size() ? stepsDone + 1 : steps.size() - 1;
                whole = GetFileSizeEx(file, &size) &&
                        RunSteps(file, files::UndoSteps(record, static_cast<uint64_t>(size.QuadPart), reached), undone);
            }
            // Should the removal fail, the record finds the file whole (or
            // untouched) next time and goes then.
            if (whole && !kept.empty()) DeleteFileW(kept.c_str());
        }
    }
    CloseHandle(file);
    if (!done) return Replaced::Failed;
    // A change of KEPLIN's own is no news to the watch on the file; its
    // kind is for the caller to note.
    files::NoteSeen(path);
    files::ForgetFileKind(path);
    if (replaced) *replaced = std::move(old);
    return Replaced::Written;
}

}  // namespace

bool ReplaceFileContents(const char* path, const std::string& bytes, std::string* replaced) {
    const auto same = [&bytes](const std::string&) { return &bytes; };
    return Rewrite(path, same, replaced, true) == Replaced::Written;
}

Replaced ReplaceFileContentsIf(const char* path,
                               const std::function<std::optional<std::string>(const std::string&)>& change) {
    std::optional<std::string> made;
    const auto keep = [&](const std::string& old) {
        made = change(old);
        return made ? &*made : nullptr;
    };
    return Rewrite(path, keep, nullptr, false);
}

Replaced RewriteFile(const char* path, const std::function<const std::string*(const std::string&)>& change,
                     std::string* replaced) {
    return Rewrite(path, change, replaced, true);
}

bool DeleteFileAndRecords(const char* path) {
    std::string finalPath = path;
    HANDLE probe = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        finalPath = FinalPath(probe, path);
        CloseHandle(probe);
    }
    if (!DeleteFileA(path)) return false;
    // A removal only asked for keeps what is kept for the file until it is gone.
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) return true;
    // Deleting a link leaves its target, and what is kept for it, alone.
    if (Exists(files::WidePath(finalPath))) finalPath = path;
    RemoveParts(path, finalPath);
    for (const Place& place : RecordPlaces(path, finalPath))
        if (!place.away || RecordOf(place, finalPath)) DeleteFileW(place.path.c_str());
    return true;
}
