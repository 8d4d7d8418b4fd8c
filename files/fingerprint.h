// Proof that bytes are the ones KEPLIN saw: a 128-bit hash made to tell byte
// strings apart (XXH3-128), and a whole file's size beside it. Portable: no
// <windows.h>. Undo acts on a file only when its fingerprint is the one a
// change left, and a later run recognises a half-done write by the hashes of
// its pieces: a hash that two different files share could make either write
// over another program's change.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace files {

struct Hash128 {
    std::uint64_t high = 0, low = 0;
    bool operator==(const Hash128& other) const { return high == other.high && low == other.low; }
    bool operator!=(const Hash128& other) const { return !(*this == other); }
};
Hash128 HashOf(std::string_view bytes);

// Thirty-two lower-case hex digits, high half first, and back; nothing from
// anything else.
std::string HexOf(const Hash128& hash);
bool ReadHex(std::string_view text, Hash128& hash);

// A file's size and the hash of its bytes.
struct Fingerprint {
    std::uint64_t size = 0;
    Hash128 hash;
    bool operator==(const Fingerprint& other) const { return size == other.size && hash == other.hash; }
    bool operator!=(const Fingerprint& other) const { return !(*this == other); }
};
Fingerprint FingerprintOf(std::string_view bytes);

}  // namespace files
