#include "print/win32/printer_font.h"

#include "base/win32/fonts.h"

// Fixed pitch, so that the characters per line worked out from one
// character's width really fit a row; 10 points, so that a row holds about 80 characters
// or more on common paper (a printer's own default font can be much larger);
// the lists' face, in which the platform has the characters of other
// scripts, since rows are drawn as Unicode characters.
HFONT CreatePrintFont(HDC dc) {
    const int dotsPerInch = GetDeviceCaps(dc, LOGPIXELSY);
    if (dotsPerInch <= 0) return nullptr;
    return CreateFixedPitchFont(10, dotsPerInch);
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
    // A face that holds ideographs counts their double width into its
    // average: the rows take the width of the widest printable ASCII
    // character instead, in a fixed-pitch face that of every one of them.
    INT widths[0x7E - 0x20 + 1];
    if (GetCharWidth32W(dc, 0x20, 0x7E, widths)) {
        INT widest = 0;
        for (INT width : widths) widest = width > widest ? width : widest;
        if (widest > 0) device.averageCharacterWidth = widest;
    }
    return print::ComputePageMetrics(device);
}
