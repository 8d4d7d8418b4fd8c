#include "ini/win32/code_page.h"

#include <windows.h>

#include <string>

namespace {

class SystemCodePage : public ini::CodePage {
public:
    SystemCodePage() : number_(LegacyNumber()) {}

    std::optional<std::u16string> Read(std::string_view bytes) const override {
        if (bytes.empty()) return std::u16string();
        const int size = static_cast<int>(bytes.size());
        const int length = MultiByteToWideChar(number_, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
        if (length <= 0) return std::nullopt;
        std::wstring wide(static_cast<size_t>(length), L'\0');
        MultiByteToWideChar(number_, MB_ERR_INVALID_CHARS, bytes.data(), size, &wide[0], length);
        return std::u16string(wide.begin(), wide.end());
    }

    std::optional<std::string> Write(std::u16string_view text) const override {
        if (text.empty()) return std::string();
        const std::wstring wide(text.begin(), text.end());
        const int size = static_cast<int>(wide.size());
        // No best-fit look-alikes and no default character: a character the
        // code page cannot hold is refused, never replaced.
        const bool unicode = number_ == CP_UTF8 || number_ == CP_UTF7;
        const DWORD flags = unicode ? 0 : WC_NO_BEST_FIT_CHARS;
        BOOL usedDefault = FALSE;
        const int length = WideCharToMultiByte(number_, flags, wide.data(), size, nullptr, 0, nullptr,
                                               unicode ? nullptr : &usedDefault);
        if (length <= 0 || usedDefault) return std::nullopt;
        std::string bytes(static_cast<size_t>(length), '\0');
        WideCharToMultiByte(number_, flags, wide.data(), size, &bytes[0], length, nullptr,
                            unicode ? nullptr : &usedDefault);
        if (usedDefault) return std::nullopt;
        // Best fit is off, yet a code page may still map a character to a
        // look-alike: only what reads back the same is written.
        std::optional<std::u16string> back = Read(bytes);
        if (!back || *back != text) return std::nullopt;
        return bytes;
    }

    std::string Name() const override { return "ANSI code page " + std::to_string(number_); }

private:
    // The system locale's ANSI code page, which GetACP no longer gives when
    // the program runs in UTF-8. A locale without one (Unicode only) falls
    // back to the program's own.
    static UINT LegacyNumber() {
        wchar_t digits[16] = L"";
        UINT number = 0;
        if (GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, digits, 16) > 0)
            number = static_cast<UINT>(wcstoul(digits, nullptr, 10));
        return number != 0 ? number : GetACP();
    }

    UINT number_;
};

}  // namespace

const ini::CodePage& SystemAnsiCodePage() {
    static const SystemCodePage page;
    return page;
}
