// A file's text as KEPLIN works on it: read in the file's own encoding and
// turned into UTF-8 (ini/encoding.h), and given back as that encoding's bytes.
#pragma once
#include <optional>
#include <string>

#include "files/win32/file_bytes.h"
#include "ini/encoding.h"

namespace files {

// The file's text; ReadResult as for its bytes.
ReadResult ReadFileText(const std::string& path, ini::FileText& file);

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
