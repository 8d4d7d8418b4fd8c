#include "files/fingerprint.h"

#include <charconv>

// Header-only: the whole hash is compiled here, with nothing to link.
#define XXH_INLINE_ALL
#include <xxhash.h>

namespace files {

namespace {

bool ReadHalf(std::string_view digits, std::uint64_t& half) {
    const std::from_chars_result read = std::from_chars(digits.data(), digits.data() + digits.size(), half, 16);
    return read.ec == std::errc() && read.ptr == digits.data() + digits.size();
}

}  // namespace

Hash128 HashOf(std::string_view bytes) {
    const XXH128_hash_t hash = XXH3_128bits(bytes.data(), bytes.size());
    return Hash128{hash.high64, hash.low64};
}

std::string HexOf(const Hash128& hash) {
    std::string digits(32, '0');
    std::uint64_t halves[2] = {hash.high, hash.low};
    for (int half = 0; half < 2; ++half)
        for (std::size_t i = 16; i-- > 0; halves[half] >>= 4)
            digits[static_cast<std::size_t>(half) * 16 + i] = "0123456789abcdef"[halves[half] & 15];
    return digits;
}

bool ReadHex(std::string_view text, Hash128& hash) {
    // from_chars alone would take a sign or upper case; the record holds neither.
    if (text.size() != 32 || text.find_first_not_of("0123456789abcdef") != std::string_view::npos) return false;
    return ReadHalf(text.substr(0, 16), hash.high) && ReadHalf(text.substr(16), hash.low);
}

Fingerprint FingerprintOf(std::string_view bytes) { return Fingerprint{bytes.size(), HashOf(bytes)}; }

}  // namespace files
