#include "files/win32/file_history.h"

#include "files/win32/safe_replace.h"

namespace files {

namespace {

std::string HistoryFile;
ChangeHistory History;

// Exactly, case included: under a file system that tells case apart, paths
// that differ only in case are two files with histories of their own.
bool IsHistoryFile(const std::string& path) { return !HistoryFile.empty() && path == HistoryFile; }

// One step either way: the file read afresh, held against the history, and
// written with the step's bytes, under one handle.
template <typename Text, typename Done>
HistoryStep Step(const ChangeHistory::Entry* entry, Text text, Done done, Concerned& concerned) {
    if (entry == nullptr) return HistoryStep::Nothing;
    concerned = entry->concerned;
    switch (ReplaceFileContentsIf(HistoryFile.c_str(), text)) {
    case Replaced::Written:
        done();
        return HistoryStep::Done;
    case Replaced::Declined:
        // Another program changed the file: no step fits it any more.
        History.Clear();
        return HistoryStep::ChangedElsewhere;
    case Replaced::Busy:
        // Held or away for a moment: the file may well be as KEPLIN left it.
        return HistoryStep::NotRead;
    case Replaced::Failed:
        break;
    }
    return HistoryStep::NotWritten;
}

}  // namespace

void StartHistory(const std::string& path) {
    if (IsHistoryFile(path)) return;
    HistoryFile = path;
    History.Clear();
}

void RecordChange(const std::string& path, const std::string& name, const Concerned& concerned,
                  const std::string& before, const std::string& after) {
    if (IsHistoryFile(path)) History.Record(name, concerned, before, after);
}

std::string NextUndoName() { return History.NextUndo() ? History.NextUndo()->name : std::string(); }

std::string NextRedoName() { return History.NextRedo() ? History.NextRedo()->name : std::string(); }

HistoryStep UndoChange(Concerned& concerned) {
    return Step(
        History.NextUndo(), [](const std::string& file) { return History.UndoneText(file); },
        [] { History.Undone(); }, concerned);
}

HistoryStep RedoChange(Concerned& concerned) {
    return Step(
        History.NextRedo(), [](const std::string& file) { return History.RedoneText(file); },
        [] { History.Redone(); }, concerned);
}

}  // namespace files
