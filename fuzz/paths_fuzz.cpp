// Command-line and dropped-path splitting, joining and the help path over
// arbitrary text: nothing is lost or invented between the pieces.
#include <cstdint>
#include <string>

#include "app/command_line.h"
#include "app/help_files.h"
#include "base/path_rules.h"
#include "fuzz/fuzz_input.h"
#include "ini/encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Pieces pieces(data, size);
    const std::string text = pieces.Next();

    // The argument text is a tail of the command line.
    const std::string argument = app::ArgumentText(text);
    FUZZ_CHECK(argument.size() <= text.size());
    FUZZ_CHECK(text.compare(text.size() - argument.size(), argument.size(), argument) == 0);

    // Splitting at the last backslash and joining again gives the text back,
    // whenever the split found a directory.
    const base::IniPath split = base::SplitIniPath(text);
    FUZZ_CHECK(split.fileName.find('\\') == std::string::npos || split.directory.empty());
    if (!split.directory.empty()) {
        FUZZ_CHECK(base::JoinIniPath(split.directory, split.fileName) == text);
        FUZZ_CHECK(base::CutAtLastBackslash(text) == split.directory);
    } else {
        FUZZ_CHECK(split.fileName == text);
    }
    // The limit is about the joined path, never the name alone; a path within
    // it fits the records' buffers.
    FUZZ_CHECK(!base::FitsPathLimit(text) || text.size() < base::kPathBufferBytes);
    if (!split.directory.empty()) {
        const std::string joined = base::JoinIniPath(split.directory, split.fileName);
        FUZZ_CHECK(base::FitsPathLimit(split) == base::FitsPathLimit(joined));
    }
    // The limit counts what the wide calls take: one unit a character, two
    // beyond the first plane.
    if (ini::IsValidUtf8(text)) FUZZ_CHECK(base::Utf16Units(text) == base::Utf8ToUtf16(text).size());

    // The help path fits the path limit, or names no file.
    const std::string help = app::BuildHelpPath(text);
    FUZZ_CHECK(base::FitsPathLimit(help) || help.back() == '?');
    return 0;
}
