// Replacing a file's bytes so that no failure leaves it shorter, half-written
// or gone, and so that it keeps what a new file would lose: its links (a
// symbolic link stays a link to the same target, hard links stay shared), its
// permission bits and its owner. How: the file is rewritten in place (same
// file, so all of that stays), after a complete copy of its old bytes, the
// undo copy "<file>.keplin-undo", has been made beside it. A failed write puts
// the old bytes back at once; a write cut short by a killed process is undone
// from the undo copy by the next call to either function below for that file
// (KEPLIN makes one whenever it lists a file and before every change).
#pragma once
#include <string>

// Makes the file at path hold exactly bytes. A missing file is created (from a
// complete temporary file renamed into place). True on success; on failure
// the file holds its old bytes.
bool ReplaceFileContents(const char* path, const std::string& bytes);

// Puts back the old bytes of a replacement that a killed process left
// unfinished, when an undo copy is found for the file. True when there was
// nothing to undo or the undo succeeded.
bool RecoverInterruptedReplace(const char* path);
