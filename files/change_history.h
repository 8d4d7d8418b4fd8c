// Undo and Redo of the changes KEPLIN makes to the current file. Portable: no
// <windows.h>; the program reads and writes the file.
//
// Each change keeps only the bytes it replaced and the bytes it wrote in
// their place (the text the two versions share at both ends is left out), so
// a key changed in a 44 MB file costs a few dozen bytes of history. Each also
// keeps a fingerprint of the whole file before and after it: an undo or redo
// acts only on the file exactly as KEPLIN left it.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/fingerprint.h"

namespace files {

// One change: at offset, before gave way to after.
struct ByteChange {
    std::size_t offset = 0;
    std::string before;
    std::string after;
};

// The smallest change that turns from into to.
ByteChange Difference(std::string_view from, std::string_view to);

// What a change was about, so that the lists can select it again after an
// undo or redo: a section and a key in it, or the section alone, or (both
// empty) the whole file.
struct Concerned {
    std::string section;
    std::string key;
};

class ChangeHistory {
public:
    struct Entry {
        std::string name;          // what the user did: "Delete Section [Colors]"
        Concerned concerned;
        ByteChange change;
        Fingerprint before;        // the whole file before the change
        Fingerprint after;         // and after it
    };

    // A change KEPLIN wrote: it can be undone, and nothing can be redone.
    void Record(std::string name, Concerned concerned, std::string_view before, std::string_view after);
    // Forgets every change: another file, or a file changed by another program.
    void Clear();

    // The change Undo would take back, and the one Redo would make again.
    const Entry* NextUndo() const;
    const Entry* NextRedo() const;

    // The file's bytes with the next change taken back (or made again), when
    // the file is exactly as that change left it (or found it); nothing
    // otherwise. Call Undone (Redone) once those bytes are written.
    std::optional<std::string> UndoneText(std::string_view file) const;
    std::optional<std::string> RedoneText(std::string_view file) const;
    void Undone();
    void Redone();

    // Bytes held for all the changes, for measuring what the history costs.
    std::size_t HeldBytes() const;

private:
    std::vector<Entry> entries_;
    std::size_t done_ = 0;         // entries_[0, done_) can be undone, the rest redone
};

}  // namespace files
