// Replacing a file's bytes so that no failure leaves it shorter, half-written
// or gone, and so that it keeps what a new file would lose: its links (a
// symbolic link stays a link to the same target, hard links stay shared), its
// permission bits and its owner. How: the file is rewritten in place (same
// file, so all of that stays), after an undo record (files/undo_record.h:
// the old bytes of the part that changes, and enough of the new ones to
// recognise a half-done write) has been made beside it, "<file>.keplin-undo".
// A folder that takes no new files gets its records kept in the user's own
// folder "%LOCALAPPDATA%\KEPLIN\Undo" instead, under a name made from the
// file's full path; where neither takes one, the file is written without.
// A failed write puts the old bytes back at once; a write cut short by a
// killed process is undone by the next call to either function below for
// that file (KEPLIN makes one whenever it lists a file and before every
// change), but only when the file is still as that write left it: a record
// that does not fit the file is set aside ("<record>.stale") and never
// applied.
#pragma once
#include <functional>
#include <optional>
#include <string>

// Makes the file at path hold exactly bytes. A missing file is created (from a
// complete temporary file renamed into place). True on success; on failure
// the file holds its old bytes. replaced, when given, receives on success the
// bytes the file held before (empty for a new file), read under the same
// handle as the write.
bool ReplaceFileContents(const char* path, const std::string& bytes, std::string* replaced = nullptr);

enum class Replaced {
    Written,   // the file holds the new bytes
    Declined,  // the file was not as the caller wanted it: nothing written
    Busy,      // the file could not be opened or read just now (another program holds it,
               // or it is away): nothing written
    Failed,    // the file refused the write: it holds its old bytes
};

// The same for bytes that depend on the file's: change is given the bytes
// read under the handle that writes, while no other program can write, and
// gives the bytes to write, or nothing to leave the file alone. A missing
// file is Busy, never created.
Replaced ReplaceFileContentsIf(const char* path,
                               const std::function<std::optional<std::string>(const std::string&)>& change);

// The same, creating a missing file from change of no bytes: change gives
// the bytes to write, which it keeps alive, or null to leave the file alone
// (Declined); replaced as for ReplaceFileContents. What a change to a file's
// text uses, so that the file is read once.
Replaced RewriteFile(const char* path, const std::function<const std::string*(const std::string&)>& change,
                     std::string* replaced);

// Settles what a killed run left for the file: undoes a half-done write,
// removes records of writes that are whole or never began, sets aside records
// that do not fit the file, removes temporary files. True unless a record or
// the file could not be read or the undo failed.
bool RecoverInterruptedReplace(const char* path);

// Deletes the file, and with it what is kept for it: its undo records and
// temporary files. False when the file could not be deleted.
bool DeleteFileAndRecords(const char* path);
