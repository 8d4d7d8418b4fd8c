#include "print/win32/print_job.h"

#include <commdlg.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "ini/encoding.h"
#include "ini/win32/list_box.h"
#include "print/page_layout.h"
#include "print/win32/cancel_box.h"
#include "print/win32/print_lines.h"
#include "print/win32/printer_font.h"
#include "res/resource.h"

namespace {

// The print dialog's record, filled afresh for every job.
PRINTDLGA PrintDialog;

bool RunPrintDialog(HWND owner, bool offerSelection) {
    PrintDialog = PRINTDLGA{};
    PrintDialog.lStructSize = sizeof PrintDialog;
    PrintDialog.hwndOwner = owner;
    PrintDialog.Flags = PD_RETURNDC | PD_COLLATE | PD_NOPAGENUMS | (offerSelection ? 0 : PD_NOSELECTION);
    PrintDialog.nCopies = 1;
    if (!PrintDlgA(&PrintDialog)) return false;
    // Every job starts from the default printer: the choice is not kept.
    if (PrintDialog.hDevMode) GlobalFree(PrintDialog.hDevMode);
    if (PrintDialog.hDevNames) GlobalFree(PrintDialog.hDevNames);
    PrintDialog.hDevMode = PrintDialog.hDevNames = nullptr;
    return PrintDialog.hDC != nullptr;
}

HWND CreateLineStore(HINSTANCE instance, HWND owner) {
    return CreateWindowA("listbox", "", WS_CHILD | WS_DISABLED | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, 8, 8, 100, 40,
                         owner, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_LINE_STORE)), instance, nullptr);
}

// Draws one page's rows and ends the page; false when the page could not be
// printed (the printing system then has dropped the job).
bool PrintPage(HDC dc, HWND store, std::int64_t page, std::int64_t lineCount, const print::PageMetrics& metrics) {
    if (StartPage(dc) <= 0) return false;
    const print::PageRows rows = print::RowsOfPage(page, lineCount, metrics.linesPerPage);
    for (std::int64_t index = rows.first; index < rows.end; ++index) {
        const std::string line = ListItemText(store, index);
        const std::string_view row = print::CutRow(line, metrics.charactersPerLine);
        // Rows lie within the page, so y fits the device's coordinates.
        const int y = static_cast<int>((index - rows.first) * metrics.lineHeight);
        // Drawn as characters: the A call would read the bytes in the font's
        // code page, not as the UTF-8 they are.
        const std::u16string characters = ini::Utf8ToUtf16(row);
        TextOutW(dc, 0, y, reinterpret_cast<const wchar_t*>(characters.data()), static_cast<int>(characters.size()));
    }
    return EndPage(dc) > 0;
}

}  // namespace

BOOL CALLBACK PrintAbortProc(HDC, int) {
    MSG message;
    while (!PrintAborted && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Not ours to take: the message loop ends the program with it.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (CancelBox && IsDialogMessageA(CancelBox, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return !PrintAborted;
}

int PrintJob(HINSTANCE instance, HWND owner, int origin, const std::string& headerText) {
    const std::string header = headerText;
    if (!RunPrintDialog(owner, origin == 0 && !header.empty())) return 1;
    HDC dc = PrintDialog.hDC;
    PrintDialog.hDC = nullptr;

    HWND store = CreateLineStore(instance, owner);
    const bool oneSection = (PrintDialog.Flags & PD_SELECTION) != 0 || origin == 1;
    const int lineCount = store ? FillPrintLines(oneSection ? header : std::string(), oneSection, store, owner) : -1;
    if (lineCount <= 0) {
        if (store) DestroyWindow(store);
        DeleteDC(dc);
        return 1;
    }

    HFONT font = CreatePrintFont(dc);
    HGDIOBJ deviceFont = font ? SelectObject(dc, font) : nullptr;
    const print::PageMetrics metrics = MeasurePage(dc);

    EnableWindow(owner, FALSE);
    bool going = true;
    PrintAborted = 0;
    CancelBox = CreateDialogA(instance, "PrintDlgBox", owner, CancelBoxProc);
    if (!CancelBox) MessageBoxA(owner, "CreateDlg NULL", "", MB_OK | MB_ICONWARNING);
    SetAbortProc(dc, PrintAbortProc);

    char title[40] = "";
    GetWindowTextA(owner, title, sizeof title);
    DOCINFOA document = {};
    document.cbSize = sizeof document;
    document.lpszDocName = title;
    if (StartDocA(dc, &document) <= 0) {
        going = false;
    } else {
        const std::int64_t pages = print::PageCount(lineCount, metrics.linesPerPage);
        const bool collate = (PrintDialog.Flags & PD_COLLATE) != 0;
        print::ForEachPrintedPage(pages, PrintDialog.nCopies, collate, [&](std::int64_t page) {
            if (!PrintPage(dc, store, page, lineCount, metrics)) {
                going = false;
                return false;
            }
            // Some printing systems (Wine's among them) never call the abort
            // procedure at a page end; without this call Cancel would only
            // take effect after the last page.
            PrintAbortProc(dc, 0);
            return !PrintAborted;
        });
        if (going) EndDoc(dc);
    }

    // After a cancel the box has enabled the owner and gone already.
    if (!PrintAborted) {
        EnableWindow(owner, TRUE);
        if (CancelBox) DestroyWindow(CancelBox);
        CancelBox = nullptr;
    }
    if (deviceFont) SelectObject(dc, deviceFont);
    if (font) DeleteObject(font);
    DestroyWindow(store);
    DeleteDC(dc);
    return going && !PrintAborted ? 1 : 0;
}
