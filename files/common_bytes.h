// How far two byte strings agree from their start and from their end: the
// stretch a change replaced. Compared a block at a time with memcmp, then
// byte by byte inside the block that differs. Portable: no <windows.h>.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace files {

inline std::size_t CommonPrefixLength(std::string_view a, std::string_view b) {
    constexpr std::size_t kBlock = 4096;
    const std::size_t shorter = std::min(a.size(), b.size());
    std::size_t at = 0;
    while (at + kBlock <= shorter && std::memcmp(a.data() + at, b.data() + at, kBlock) == 0) at += kBlock;
    while (at < shorter && a[at] == b[at]) ++at;
    return at;
}

// At most limit bytes, so that prefix and suffix never overlap.
inline std::size_t CommonSuffixLength(std::string_view a, std::string_view b, std::size_t limit) {
    constexpr std::size_t kBlock = 4096;
    limit = std::min({limit, a.size(), b.size()});
    std::size_t length = 0;
    while (length + kBlock <= limit &&
           std::memcmp(a.data() + a.size() - length - kBlock, b.data() + b.size() - length - kBlock, kBlock) == 0)
        length += kBlock;
    while (length < limit && a[a.size() - 1 - length] == b[b.size() - 1 - length]) ++length;
    return length;
}

}  // namespace files
