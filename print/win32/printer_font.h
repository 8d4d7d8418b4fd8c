// The font a job prints in, and the page metrics of a printer's device context.
#pragma once
#include <windows.h>

#include "print/page_layout.h"

// A 10-point fixed-pitch font for the printer dc, or null when none can be
// made (the device's own font is then kept).
HFONT CreatePrintFont(HDC dc);

// Line height, characters per line and lines per page for the font now
// selected into dc and its printable area.
print::PageMetrics MeasurePage(HDC dc);
