// What Undo's history costs on a large file: CHANGES one-key changes to it
// (each a value rewritten in place, as an edit of the same length), each
// recorded as the program records a change; then a few undone and redone.
// Prints the time to record a change, to undo and redo one, and the bytes
// the whole history holds.
// Usage: history_bench FILE [CHANGES]   (FILE: the benchmark's INI file; 1,000 changes)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "files/change_history.h"
#include "reference_walk.h"

namespace {

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: history_bench FILE [CHANGES]\n");
        return 2;
    }
    const int changes = argc > 2 ? std::atoi(argv[2]) : 1000;
    std::string before;
    if (!reference::ReadFileBytes(argv[1], before)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    // Two copies that differ by one change at a time: no copy of the file per change.
    std::string after = before;
    files::ChangeHistory history;
    double recording = 0;
    std::size_t at = 0;
    for (int i = 0; i < changes; ++i) {
        // The next "Value" of the file, spread over its length.
        at = after.find("Value", (at + after.size() / (changes + 1)) % after.size());
        if (at == std::string::npos) at = after.find("Value");
        const std::string stamp = std::to_string(100000 + i);
        after.replace(at, 5, stamp.substr(1));
        const auto start = std::chrono::steady_clock::now();
        history.Record("Edit Key", {"section", "key"}, before, after);
        recording += MillisecondsSince(start);
        before.replace(at, 5, stamp.substr(1));
    }
    const int steps = changes < 20 ? changes : 20;
    std::string file = after;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < steps; ++i) {
        std::optional<std::string> undone = history.UndoneText(file);
        if (!undone) return 1;
        file = std::move(*undone);
        history.Undone();
    }
    const double undoing = MillisecondsSince(start);
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < steps; ++i) {
        std::optional<std::string> redone = history.RedoneText(file);
        if (!redone) return 1;
        file = std::move(*redone);
        history.Redone();
    }
    const double redoing = MillisecondsSince(start);
    std::printf("file:    %s (%zu bytes)\n", argv[1], file.size());
    std::printf("history: %d changes held in %zu bytes (%.0f bytes a change)\n", changes, history.HeldBytes(),
                static_cast<double>(history.HeldBytes()) / changes);
    std::printf("record:  %.1f ms a change (fingerprints of the file before and after, the changed bytes)\n",
                recording / changes);
    std::printf("undo:    %.1f ms a step, redo %.1f ms (fingerprint check and the file's new bytes; the write apart)\n",
                undoing / steps, redoing / steps);
    return file == after ? 0 : 1;
}
