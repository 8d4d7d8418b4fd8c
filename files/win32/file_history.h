// Undo and Redo of the changes KEPLIN makes to the current file in this run,
// on top of the portable change history: the file is read before each step
// and written through the safe save.
#pragma once
#include <optional>
#include <string>

#include "files/change_history.h"

namespace files {

// The file the history is about, by its exact path. Another file (or none)
// starts a new history.
void StartHistory(const std::string& path);

// A change KEPLIN wrote to the file at path, named as the menu shows it; the
// bytes it replaced and the bytes it wrote. Ignored for any file but the
// history's: the preferences, a backup.
void RecordChange(const std::string& path, const std::string& name, const Concerned& concerned,
                  const std::string& before, const std::string& after);

// The name of the change Undo (Redo) would take back (make again); empty
// when there is none.
std::string NextUndoName();
std::string NextRedoName();

enum class HistoryStep {
    Done,              // written; the file is as before (after) the change
    Nothing,           // nothing to undo (redo)
    ChangedElsewhere,  // the file is not as KEPLIN left it: nothing written, the history dropped
    NotRead,           // the file could not be read just now (another program holds it, or it is
                       // away): nothing written, the history kept
    NotWritten,        // the write failed: the file as it was, the history kept
};

// Takes back the newest change, or makes the next undone one again.
// concerned receives what the change was about.
HistoryStep UndoChange(Concerned& concerned);
HistoryStep RedoChange(Concerned& concerned);

}  // namespace files
