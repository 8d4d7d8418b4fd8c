// Keeps a window's controls at their places against the edges they belong to
// while the window is resized by its frame, with the size it was made in as
// its smallest; and moves both, and the fonts of its controls, to a new DPI.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <vector>

class AnchorLayout {
public:
    // The edges a control keeps its distance to. Left and Right: it grows
    // with the window's width; Right alone: it moves with the right edge.
    enum : unsigned {
        kLeft = 1, kTop = 2, kRight = 4, kBottom = 8,
        kGrows = kLeft | kTop | kRight | kBottom,   // a list
        kAlongTop = kLeft | kTop | kRight,          // a label over it
        kAlongRight = kTop | kRight,                // the buttons beside it
    };
    struct Anchor {
        int id;
        unsigned edges;
    };

    AnchorLayout() = default;
    ~AnchorLayout();
    AnchorLayout(const AnchorLayout&) = delete;
    AnchorLayout& operator=(const AnchorLayout&) = delete;

    // Takes the window's present size as its smallest and notes where each
    // of its controls stands, with its font; a control not named keeps its
    // distance to the left and top edges. Until then (a window's first
    // WM_SIZE comes before WM_INITDIALOG), and for any other window, the
    // calls below do nothing.
    void Attach(HWND window, std::initializer_list<Anchor> anchors);
    // WM_SIZE: every control at its distances from its edges.
    void Arrange(HWND window) const;
    // WM_GETMINMAXINFO: no smaller than the window was made.
    void LimitTracking(HWND window, MINMAXINFO* info) const;
    // WM_DPICHANGED: places, smallest size and the controls' fonts scaled to
    // dpi, and the window moved to the rectangle the system suggests. The
    // caller then gives its own fonts (fonts.h) for the new DPI.
    void ChangeDpi(HWND window, UINT dpi, const RECT& suggested);

private:
    struct Place {
        HWND control;
        unsigned edges;
        RECT rect;      // in the client area, at dpi_
        HFONT font;     // as at Attach, at attachedDpi_
    };
    void DeleteScaledFonts();

    HWND window_ = nullptr;     // the window attached last; messages of any other are left alone
    std::vector<Place> places_;
    SIZE client_ = {};
    SIZE smallest_ = {};
    UINT dpi_ = 0;
    UINT attachedDpi_ = 0;
    std::vector<HFONT> scaledFonts_;
};
