#include "base/win32/anchor_layout.h"

#include <map>

#include "base/win32/dpi.h"

namespace {

LONG Scaled(LONG value, UINT from, UINT to) { return ScaleForDpi(value, from, to); }

}  // namespace

AnchorLayout::~AnchorLayout() { DeleteScaledFonts(); }

void AnchorLayout::DeleteScaledFonts() {
    for (HFONT font : scaledFonts_) DeleteObject(font);
    scaledFonts_.clear();
}

void AnchorLayout::Attach(HWND window, std::initializer_list<Anchor> anchors) {
    DeleteScaledFonts();
    places_.clear();
    window_ = window;
    RECT client, frame;
    GetClientRect(window, &client);
    GetWindowRect(window, &frame);
    client_ = SIZE{client.right, client.bottom};
    smallest_ = SIZE{frame.right - frame.left, frame.bottom - frame.top};
    dpi_ = attachedDpi_ = WindowDpi(window);
    for (HWND control = GetWindow(window, GW_CHILD); control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
        // A control given no font draws in the system font.
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
        if (font == nullptr) font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
        Place place{control, kLeft | kTop, {}, font};
        const int id = GetDlgCtrlID(control);
        for (const Anchor& anchor : anchors)
            if (anchor.id == id) place.edges = anchor.edges;
        GetWindowRect(control, &place.rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place.rect), 2);
        places_.push_back(place);
    }
}

void AnchorLayout::Arrange(HWND window) const {
    if (window != window_ || IsIconic(window)) return;
    RECT client;
    GetClientRect(window, &client);
    const LONG dx = client.right - client_.cx, dy = client.bottom - client_.cy;
    HDWP moves = BeginDeferWindowPos(static_cast<int>(places_.size()));
    for (const Place& place : places_) {
        RECT r = place.rect;
        if (place.edges & kRight) {
            r.right += dx;
            if (!(place.edges & kLeft)) r.left += dx;
        }
        if (place.edges & kBottom) {
            r.bottom += dy;
            if (!(place.edges & kTop)) r.top += dy;
        }
        const int width = r.right > r.left ? r.right - r.left : 0, height = r.bottom > r.top ? r.bottom - r.top : 0;
        if (moves != nullptr)
            moves = DeferWindowPos(moves, place.control, nullptr, r.left, r.top, width, height,
                                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (moves != nullptr) EndDeferWindowPos(moves);
}

void AnchorLayout::LimitTracking(HWND window, MINMAXINFO* info) const {
    if (window != window_) return;
    info->ptMinTrackSize.x = smallest_.cx;
    info->ptMinTrackSize.y = smallest_.cy;
}

void AnchorLayout::ChangeDpi(HWND window, UINT dpi, const RECT& suggested) {
    if (window == window_ && dpi != 0 && dpi != dpi_) {
        for (Place& place : places_) {
            place.rect = RECT{Scaled(place.rect.left, dpi_, dpi), Scaled(place.rect.top, dpi_, dpi),
                              Scaled(place.rect.right, dpi_, dpi), Scaled(place.rect.bottom, dpi_, dpi)};
        }
        client_ = SIZE{Scaled(client_.cx, dpi_, dpi), Scaled(client_.cy, dpi_, dpi)};
        smallest_ = SIZE{Scaled(smallest_.cx, dpi_, dpi), Scaled(smallest_.cy, dpi_, dpi)};
        dpi_ = dpi;
        // Each font the controls were made with, at the new DPI; scaled from
        // the first so that moving back and forth loses nothing.
        std::vector<HFONT> previous;
        previous.swap(scaledFonts_);
        std::map<HFONT, HFONT> scaled;
        for (const Place& place : places_) {
            HFONT& font = scaled[place.font];
            if (font == nullptr) {
                LOGFONTW description;
                if (GetObjectW(place.font, sizeof description, &description) != sizeof description) continue;
                description.lfHeight = Scaled(description.lfHeight, attachedDpi_, dpi);
                description.lfWidth = Scaled(description.lfWidth, attachedDpi_, dpi);
                font = CreateFontIndirectW(&description);
                if (font == nullptr) continue;
                scaledFonts_.push_back(font);
            }
            SendMessageW(place.control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
        for (HFONT font : previous) DeleteObject(font);
    }
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window, nullptr, TRUE);
}
