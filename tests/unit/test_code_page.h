// A code page for the native tests and the fuzzer, in place of the system's
// ANSI code page that the program reaches through the platform. Like the
// double-byte code pages, it has lead bytes (81 to 9F) that need a trail
// byte (40 to FC); like the single-byte ones, it has a byte it cannot read
// (80) and characters it cannot write. Lead and trail pairs read as
// U+E000 + their value; A0 to FF read as Latin-1.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "ini/encoding.h"

namespace testing_code_page {

class TestCodePage : public ini::CodePage {
public:
    std::optional<std::u16string> Read(std::string_view bytes) const override {
        std::u16string units;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const unsigned char b = static_cast<unsigned char>(bytes[i]);
            if (b < 0x80 || b >= 0xA0) {
                units += static_cast<char16_t>(b);
            } else if (b >= 0x81 && b <= 0x9F && i + 1 < bytes.size() &&
                       static_cast<unsigned char>(bytes[i + 1]) >= 0x40 &&
                       static_cast<unsigned char>(bytes[i + 1]) <= 0xFC) {
                units += static_cast<char16_t>(0xE000 + (b << 8) + static_cast<unsigned char>(bytes[i + 1]) - 0x8000);
                ++i;
            } else {
                return std::nullopt;
            }
        }
        return units;
    }
    std::optional<std::string> Write(std::u16string_view units) const override {
        std::string bytes;
        for (char16_t unit : units) {
            if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
                bytes += static_cast<char>(unit);
            } else if (unit >= 0xE000 + 0x0140 && unit <= 0xE000 + 0x1FFC && (unit & 0xFF) >= 0x40 &&
                       (unit & 0xFF) <= 0xFC) {
                const unsigned value = unit - 0xE000 + 0x8000;
                bytes += static_cast<char>(value >> 8);
                bytes += static_cast<char>(value & 0xFF);
            } else {
                return std::nullopt;
            }
        }
        return bytes;
    }
    std::string Name() const override { return "ANSI code page 9999"; }
};

}  // namespace testing_code_page
