// Backup names, section names from headers and the key/value split over
// arbitrary text.
#include <cstdint>
#include <string>

#include "files/backup_name.h"
#include "fuzz/fuzz_input.h"
#include "ini/section_name.h"
#include "view/key_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Pieces pieces(data, size);
    const std::string a = pieces.Next();
    const std::string b = pieces.Next();

    // A backup name differs from the file name in exactly one letter.
    const std::string backup = files::BackupFileName(a);
    FUZZ_CHECK(backup.size() == a.size());
    size_t changed = 0;
    for (size_t i = 0; i < a.size(); ++i) changed += backup[i] != a[i];
    FUZZ_CHECK(changed <= 1);
    FUZZ_CHECK(a.empty() || changed == 1 || a.find_last_of("iI") != std::string::npos ||
               a.back() == 'b');
    // The backup path lies in the program directory, and is never the file itself.
    const std::string full = b + "\\" + a;
    if (const auto path = files::BackupPath(b, a, full)) {
        FUZZ_CHECK(path->compare(0, b.size() + 1, b + "\\") == 0);
        FUZZ_CHECK(path->size() == full.size());
    }

    // Section names are taken from inside the header text.
    const std::string name = ini::SectionNameFromHeader(a);
    FUZZ_CHECK(a.empty() ? name.empty() : a.compare(1, name.size(), name) == 0);
    if (const auto service = ini::ServiceSectionName(a)) {
        FUZZ_CHECK(service->find(']') == std::string::npos);
        FUZZ_CHECK(a.find("[" + *service + "]") != std::string::npos);
    }

    // The key/value split gives back pieces of the line, around an "=".
    if (const auto kv = view::SplitKeyLine(a)) {
        FUZZ_CHECK(!kv->key.empty() && kv->key.find('=') == std::string::npos);
        FUZZ_CHECK(a.find(kv->key + "=" + kv->value) != std::string::npos);
        FUZZ_CHECK(kv->value.find('\r') == std::string::npos);
    }
    if (const auto key = view::KeyOfLine(a)) {
        FUZZ_CHECK(!key->empty() && a.compare(0, key->size() + 1, *key + "=") == 0);
    }
    return 0;
}
