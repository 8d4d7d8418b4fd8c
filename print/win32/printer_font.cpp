#include "print/win32/printer_font.h"

// Fixed pitch, so that the characters per line worked out from the average
// width really fit a row; 10 points, so that a row holds about 80 characters
// or more on common paper (a printer's own default font can be much larger);
// any character set, since rows are drawn as Unicode characters.
HFONT CreatePrintFont(HDC dc) {
    const int dotsPerInch = GetDeviceCaps(dc, LOGPIXELSY);
    if (dotsPerInch <= 0) return nullptr;
    return CreateFontA(-MulDiv(10, dotsPerInch, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                       "Courier New");
}

print::PageMetrics MeasurePage(HDC dc) {
    TEXTMETRICA font = {};
    // A device that reports nothing gives zeros, which the layout turns into
    // the smallest usable figures.
    if (!GetTextMetricsA(dc, &font)) font = TEXTMETRICA{};
    print::DeviceFigures device;
    device.horizontalResolution = GetDeviceCaps(dc, HORZRES);
    device.verticalResolution = GetDeviceCaps(dc, VERTRES);
    device.characterHeight = font.tmHeight;
    device.externalLeading = font.tmExternalLeading;
    device.averageCharacterWidth = font.tmAveCharWidth;
    return print::ComputePageMetrics(device);
}
