// Encoding detection and conversion over arbitrary bytes: whatever a file
// holds (invalid UTF-8, unpaired UTF-16 surrogates, an odd last byte, bytes
// the code page cannot read), reading it as text and writing the unchanged
// text back gives the same bytes, in the detected encoding and in every
// other one it could be read in. A text that is valid UTF-8 is written in a
// Unicode encoding and read back as the same text.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_input.h"
#include "ini/encoding.h"
#include "tests/unit/test_code_page.h"

namespace {

const testing_code_page::TestCodePage kAnsi;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const ini::FileText detected = ini::DecodeFile(bytes, kAnsi);
    FUZZ_CHECK(ini::EncodeFile(detected, kAnsi) == bytes);
    // The text goes to UTF-16 (what windows hold) and back unchanged; that a
    // real list gives it back so is shown by the window tests (OddBytesTest).
    FUZZ_CHECK(ini::Utf16ToUtf8(ini::Utf8ToUtf16(detected.text)) == detected.text);
    if (detected.encoding == ini::Encoding::Utf8) FUZZ_CHECK(ini::IsValidUtf8(bytes));

    // Read as the ANSI code page, or as UTF-8, whatever they hold.
    for (ini::Encoding encoding : {ini::Encoding::Ansi, ini::Encoding::Utf8}) {
        const ini::FileText file = ini::DecodeFile(bytes, encoding, kAnsi);
        FUZZ_CHECK(ini::EncodeFile(file, kAnsi) == bytes);
        FUZZ_CHECK(ini::Utf16ToUtf8(ini::Utf8ToUtf16(file.text)) == file.text);
    }

    // Valid text goes through UTF-16 and back unchanged.
    if (ini::IsValidUtf8(bytes)) {
        for (ini::Encoding encoding : {ini::Encoding::Utf16Le, ini::Encoding::Utf16Be, ini::Encoding::Utf8Bom}) {
            ini::FileText file;
            file.encoding = encoding;
            file.text = bytes;
            const std::optional<std::string> written = ini::EncodeFile(file, kAnsi);
            FUZZ_CHECK(written.has_value());
            FUZZ_CHECK(ini::DecodeFile(*written, kAnsi).text == bytes);
        }
        FUZZ_CHECK(ini::Utf16ToUtf8(ini::Utf8ToUtf16(bytes)) == bytes);
    }
    return 0;
}
