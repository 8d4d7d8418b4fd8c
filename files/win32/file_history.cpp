#include "files/win32/file_history.h"

#include "base/path_rules.h"
#include "files/win32/file_bytes.h"
#include "files/win32/safe_replace.h"

namespace files {

namespace {

std::string HistoryFile;
ChangeHistory History;

bool IsHistoryFile(const std::string& path) {
    return !HistoryFile.empty() && base::EqualIgnoringCase(path, HistoryFile);
}

// One step either way: the file read afresh, held against the history, and
// written with the step's bytes.
template <typename Text, typename Done>
HistoryStep Step(const ChangeHistory::Entry* entry, Text text, Done done, Concerned& concerned) {
    if (entry == nullptr) return HistoryStep::Nothing;
    concerned = entry->concerned;
    std::string bytes;
    if (!RecoverInterruptedReplace(HistoryFile.c_str()) || ReadFileBytes(HistoryFile, bytes) != ReadResult::Read) {
        History.Clear();
        return HistoryStep::ChangedElsewhere;
    }
    std::optional<std::string> stepped = text(bytes);
    if (!stepped) {
        // Another program changed the file: no step fits it any more.
        History.Clear();
        return HistoryStep::ChangedElsewhere;
    }
    if (!ReplaceFileContents(HistoryFile.c_str(), *stepped)) return HistoryStep::NotWritten;
    done();
    return HistoryStep::Done;
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
