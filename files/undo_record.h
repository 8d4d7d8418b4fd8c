// The record the safe replacement of a file's bytes keeps while it writes,
// and how a later run tells from it what a killed write left in the file.
// Portable: no <windows.h>; files/safe_replace.cpp does the reading and
// writing.
//
// A replacement writes the changed stretch of the file, from its first
// changed byte, in pieces, then sets the new size. Before it starts, the
// record keeps the old bytes of the stretch and enough of the new ones (the
// length and a hash of each piece) to recognise every state the write passes
// through. A record found later is applied only to a file in one of those
// states: a file the user has mended since, or a new file of the same name,
// is never written over.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/fingerprint.h"

namespace files {

// The size of the pieces a replacement writes.
constexpr std::uint64_t kWritePiece = std::uint64_t(1) << 20;

// A piece of the changed stretch: offset from the stretch's start, length.
struct Piece {
    std::uint64_t offset, length;
};

struct UndoRecord {
    std::string path;                        // the file's full path, checked where the record lies away from it
    std::uint64_t from = 0;                  // the first changed byte
    std::uint64_t oldSize = 0, newSize = 0;  // of the whole file
    std::uint64_t newLength = 0;             // of the new stretch
    std::uint64_t piece = kWritePiece;
    std::vector<Hash128> newHashes;          // one per piece of the new stretch
    std::string oldBytes;                    // the old stretch

    // The pieces of the new stretch, in writing order: every `piece` bytes
    // from its start, and cut where the old stretch ends, so that no piece
    // lies partly over old bytes and partly past them.
    std::vector<Piece> Pieces() const;
};

// The record of a replacement of old by now (which differ). The stretch runs
// from the first changed byte to the end, or, when the sizes are equal, to
// the last changed byte.
UndoRecord MakeUndoRecord(std::string_view old, std::string_view now, std::string path,
                          std::uint64_t piece = kWritePiece);

std::string FormatUndoRecord(const UndoRecord& record);
// The record's text before its old bytes, which follow it to the end: a
// record can be written in two pieces, its old bytes not copied.
std::string UndoRecordHead(const UndoRecord& record);
// Nothing for text that is no complete, consistent record, and for a record
// of an earlier format (none held the new bytes' pieces in a hash made to
// tell them apart): such a record is set aside, never applied.
std::optional<UndoRecord> ParseUndoRecord(std::string_view text);

// One step of a write: bytes put at an offset, or the file's size set.
struct FileStep {
    bool setSize = false;
    std::uint64_t offset = 0;  // where the bytes go, or the size
    std::string_view bytes;
};

// The replacement: the new stretch piece by piece, then the new size.
std::vector<FileStep> WriteSteps(const UndoRecord& record, std::string_view now);

enum class FileState {
    Untouched,    // the old bytes: nothing to undo
    HalfWritten,  // a leading run of new pieces over the old bytes, at a size the write passes through
    Complete,     // the new bytes: the change is whole
    Unknown,      // anything else: the record must not be applied
};
struct Finding {
    FileState state;
    std::size_t newPieces;  // the leading pieces that hold new bytes
};
Finding ClassifyFile(const UndoRecord& record, std::string_view file);

// Puts the old bytes back into a file of fileSize bytes whose first
// newPieces pieces may hold new bytes: the size first, then the pieces last
// first. A run killed on the way leaves a file that ClassifyFile still finds
// half-written (or untouched), so the undo can simply start again.
std::vector<FileStep> UndoSteps(const UndoRecord& record, std::uint64_t fileSize, std::size_t newPieces);

// The name of a record kept in a folder of records, away from its file:
// derived from the file's full path exactly, case included, since paths
// that differ only in case are two files on a file system that tells case
// apart.
std::string UndoRecordName(std::string_view fullPath);

}  // namespace files
