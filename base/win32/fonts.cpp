#include "base/win32/fonts.h"

#include <initializer_list>
#include <map>
#include <utility>

namespace {

// Fixed-pitch faces that font linking extends to other scripts where the
// platform's FontLink\SystemLink names them, as Windows does.
const wchar_t* const kLinkedFaces[] = {L"Consolas", L"Courier New"};

// Fixed-pitch faces holding the CJK ideographs themselves (Latin letters one
// cell wide, ideographs two). Wine links only the faces its own registry
// names, to fonts that Linux systems do not have; these are what they have.
const wchar_t* const kWideFaces[] = {L"WenQuanYi Micro Hei Mono", L"Noto Sans Mono CJK SC", L"Noto Sans Mono CJK JP",
                                     L"Sarasa Mono SC"};

int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool Installed(const wchar_t* face) {
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesW(screen, face, NoteFace, reinterpret_cast<LPARAM>(&found));
    ReleaseDC(nullptr, screen);
    return found;
}

bool Linked(const wchar_t* face) {
    HKEY links;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink", 0,
                      KEY_QUERY_VALUE, &links) != ERROR_SUCCESS)
        return false;
    const bool linked = RegQueryValueExW(links, face, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(links);
    return linked;
}

std::wstring ChooseFace() {
    for (const wchar_t* face : kLinkedFaces)
        if (Installed(face) && Linked(face)) return face;
    for (const wchar_t* face : kWideFaces)
        if (Installed(face)) return face;
    for (const wchar_t* face : kLinkedFaces)
        if (Installed(face)) return face;
    return L"";
}

HFONT KeptFont(int points, UINT dpi) {
    static std::map<std::pair<int, UINT>, HFONT> kept;
    HFONT& font = kept[{points, dpi}];
    if (font == nullptr) font = CreateFixedPitchFont(points, static_cast<int>(dpi));
    return font;
}

}  // namespace

const std::wstring& FixedPitchFace() {
    static const std::wstring face = ChooseFace();
    return face;
}

HFONT CreateFixedPitchFont(int points, int dpi) {
    return CreateFontW(-MulDiv(points, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                       FixedPitchFace().c_str());
}

HFONT ListFont(UINT dpi) { return KeptFont(10, dpi); }

HFONT FieldFont(UINT dpi) { return KeptFont(9, dpi); }

void SetControlFonts(HWND window, HFONT font, std::initializer_list<int> ids) {
    for (int id : ids) SendDlgItemMessageW(window, id, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}
