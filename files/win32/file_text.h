// A file's text as KEPLIN works on it: read in the file's own encoding and
// turned into UTF-8 (ini/encoding.h), and given back as that encoding's bytes.
#pragma once
#include <optional>
#include <string>

#include "files/win32/file_bytes.h"
#include "ini/encoding.h"
#include "ini/scanner.h"

namespace files {

// The file's text; ReadResult as for its bytes.
ReadResult ReadFileText(const std::string& path, ini::FileText& file);

// The text of a file's bytes, in the encoding they are found to be in.
ini::FileText TextOf(std::string_view bytes);

// The section list of the file at path: its headers given to sink, its
// encoding (and a UTF-16 text's odd last byte) in kind. The file is read a
// piece at a time and never held whole; the lines that hold a header are
// kept in text, which the sink may view until it is done. The sink gets the
// headers once the whole file is read, and none on a failure.
ReadResult ListFileHeaders(const std::string& path, ini::LineSink& sink, ini::FileText& kind, std::string& text);

// What a change asks of the file before it is made (its encoding, and
// whether its UTF-16 ends in half a character), without its text: known
// from KEPLIN's last reading or writing of the file at path while the watch
// finds it as KEPLIN saw it then; otherwise read.
ReadResult ReadFileKind(const std::string& path, ini::FileText& kind);
// The file at path holds text of this kind now: KEPLIN has written it.
void NoteFileKind(const std::string& path, const ini::FileText& kind);
// The file at path has been written with bytes of a kind not noted: its kind
// is read again when next asked for.
void ForgetFileKind(const std::string& path);

// The bytes of the text in its file's encoding (taking the text, which a
// UTF-8 file's bytes simply are); nothing when a character cannot be
// written in it.
std::optional<std::string> FileBytesOf(ini::FileText&& file);

// How the user knows the file's encoding ("UTF-16 LE", "ANSI code page 1252").
std::string EncodingNameOf(ini::Encoding encoding);

// Why text cannot be written into the file faithfully, as a message naming
// the file; empty when it can. Texts a user typed are checked character by
// character against the file's encoding.
std::string WhyNotWritable(const std::string& fileName, const ini::FileText& file, const std::string& text);

// Why the file's text cannot be written in the target encoding, exactly, as
// a message naming the file; empty when it can.
std::string WhyNotConvertible(const std::string& fileName, const ini::FileText& file, ini::Encoding target);

}  // namespace files
