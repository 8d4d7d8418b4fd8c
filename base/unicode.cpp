#include "base/unicode.h"

namespace base {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

bool NextCodePoint(std::string_view text, std::size_t& at, char32_t& point, bool surrogates) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        point = lead;
        ++at;
        return true;
    }
    std::size_t length;
    char32_t least;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, least = 0x80, point = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, least = 0x800, point = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, least = 0x10000, point = lead & 0x07;
    } else {
        ++at;
        return false;
    }
    if (at + length > text.size()) {
        ++at;
        return false;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (!IsContinuation(byte(at + i))) {
            ++at;
            return false;
        }
        point = (point << 6) | (byte(at + i) & 0x3F);
    }
    const bool surrogate = point >= 0xD800 && point <= 0xDFFF;
    if (point < least || point > 0x10FFFF || (surrogate && !surrogates)) {
        ++at;
        return false;
    }
    at += length;
    return true;
}

void AppendUtf8(std::string& out, char32_t point) {
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (point >> 18));
        out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

void AppendUtf16(std::u16string& out, char32_t point) {
    if (point < 0x10000) {
        out += static_cast<char16_t>(point);
    } else {
        point -= 0x10000;
        out += static_cast<char16_t>(0xD800 | (point >> 10));
        out += static_cast<char16_t>(0xDC00 | (point & 0x3FF));
    }
}

void AppendAsUtf16(std::u16string& units, std::string_view text) {
    units.reserve(units.size() + text.size());
    for (std::size_t at = 0; at < text.size();) {
        // A run of ASCII goes in at once.
        std::size_t run = at;
        while (run < text.size() && static_cast<unsigned char>(text[run]) < 0x80) ++run;
        if (run > at) {
            const std::size_t from = units.size();
            units.resize(from + (run - at));
            for (std::size_t i = at; i < run; ++i) units[from + i - at] = static_cast<char16_t>(text[i]);
            at = run;
            continue;
        }
        char32_t point;
        if (!NextCodePoint(text, at, point, true)) point = 0xFFFD;
        AppendUtf16(units, point);
    }
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string units;
    AppendAsUtf16(units, text);
    return units;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t point = text[i];
        if (point < 0x80) {
            out += static_cast<char>(point);
            continue;
        }
        if (point >= 0xD800 && point <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            point = 0x10000 + ((point - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        AppendUtf8(out, point);
    }
    return out;
}

}  // namespace base
