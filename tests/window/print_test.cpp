// Printing, run in this process, to a real printer: the CUPS queue "PDF" that
// the cups_session fixture sets up writes each job as a PDF file, whose text
// the tests read back page by page (pdftotext, run by cups-session).
#include <windows.h>
#include <commdlg.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "print/printer_font.h"
#include "program_test.h"

using Rows = std::vector<std::string>;

namespace {

// Controls of the platform's print dialog.
const int kAllPages = 0x420;       // rad1
const int kSelection = 0x421;      // rad2
const int kCollate = 0x411;        // chx2
const int kCopies = 0x482;         // edt3

// What the PDF queue printed: the number of PDF files it wrote and, when it
// wrote exactly one, the rows of each page.
struct Printed {
    int files = -1;
    std::vector<Rows> pages;
};

std::string FullPathOf(const std::string& relative) {
    char full[MAX_PATH];
    DWORD length = GetFullPathNameA(relative.c_str(), sizeof full, full, nullptr);
    return std::string(full, length);
}

// The tests run in the build folder, where cups-session keeps its files.
std::string SessionPath(const std::string& name) { return FullPathOf("cups-session\\" + name); }

// Starts a Unix program (Wine runs those itself) and waits until the file
// that it writes last exists: Wine gives no handle of a Unix process.
bool RunUnix(const std::string& commandLine, const std::string& doneFile, DWORD timeoutMs) {
    DeleteFileA(doneFile.c_str());
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    if (info.hThread) CloseHandle(info.hThread);
    if (info.hProcess) CloseHandle(info.hProcess);
    for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
        if (GetFileAttributesA(doneFile.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
        Sleep(50);
    }
    return false;
}

// pdftotext ends every page with a form feed; rows lose their trailing blanks.
std::vector<Rows> SplitPages(const std::string& text) {
    std::vector<Rows> pages;
    Rows page;
    std::string row;
    bool inPage = false;
    for (char c : text) {
        if (c == '\f') {
            if (!row.empty()) page.push_back(row);
            pages.push_back(page);
            page.clear();
            row.clear();
            inPage = false;
        } else if (c == '\n') {
            page.push_back(row);
            row.clear();
            inPage = true;
        } else {
            row += c;
            inPage = true;
        }
    }
    (void)inPage;
    for (Rows& rows : pages) {
        for (std::string& line : rows) line.erase(line.find_last_not_of(' ') + 1);
        // The page's bottom margin gives trailing empty rows.
        while (!rows.empty() && rows.back().empty()) rows.pop_back();
    }
    return pages;
}

}  // namespace

class PrintTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        // cups-pdf names its file after the document: start from an empty folder.
        ClearPdfFolder();
    }

    static void ClearPdfFolder() {
        const std::string folder = SessionPath("pdf");
        ASSERT_NE(GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES)
            << "no PDF folder: the cups_session fixture did not run";
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((folder + "\\" + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }

    // Page metrics of the default printer in the font the program prints in.
    static print::PageMetrics PrinterMetrics() {
        PRINTDLGA dialog = {};
        dialog.lStructSize = sizeof dialog;
        dialog.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
        print::PageMetrics metrics;
        if (!PrintDlgA(&dialog) || !dialog.hDC) {
            ADD_FAILURE() << "no default printer";
            return metrics;
        }
        HFONT font = CreatePrintFont(dialog.hDC);
        HGDIOBJ old = SelectObject(dialog.hDC, font);
        metrics = MeasurePage(dialog.hDC);
        SelectObject(dialog.hDC, old);
        DeleteObject(font);
        DeleteDC(dialog.hDC);
        if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
        if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
        return metrics;
    }

    // Print from this window; the print dialog that opens.
    HWND OpenPrintDialog(HWND window) {
        robot.Command(window, IDC_PRINT);
        HWND dialog = robot.WaitForWindow("Print");
        EXPECT_NE(dialog, nullptr) << "the print dialog did not open";
        return dialog;
    }
    static bool Checked(HWND dialog, int id) {
        return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    void Choose(HWND dialog, int id, bool on = true) {
        SendMessageA(GetDlgItem(dialog, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    void SetCopies(HWND dialog, int copies) { robot.SetText(GetDlgItem(dialog, kCopies), std::to_string(copies)); }

    // OK in the print dialog, then waits until the job has ended: the owner
    // is enabled, no cancel box is open and the program answers again.
    void PrintWithOk(HWND dialog, HWND owner) {
        robot.Click(dialog, IDOK);
        EXPECT_TRUE(robot.WaitUntilGone(dialog)) << "the print dialog stayed open";
        WaitForJobEnd(owner);
    }
    void WaitForJobEnd(HWND owner, DWORD timeoutMs = 120000) {
        bool ended = robot.WaitUntil([&] {
            DWORD_PTR ignored;
            robot.Settle();
            return SendMessageTimeoutA(owner, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &ignored) && IsWindowEnabled(owner) &&
                   robot.FindWindowOf("KEPLIN is Printing", "#32770") == nullptr;
        }, timeoutMs);
        EXPECT_TRUE(ended) << "the print job did not end";
        robot.Settle();
    }

    // What came out of the printer.
    Printed Output() {
        Printed printed;
        const std::string result = SessionPath("result.txt");
        const std::string command = std::string(KEPLIN_CUPS_SESSION) + " text " + KEPLIN_BUILD_DIR;
        if (!RunUnix(command, result, 180000)) {
            ADD_FAILURE() << "cups-session text gave no result";
            return printed;
        }
        std::string text = testfiles::ReadBytes(result);
        size_t end = text.find('\n');
        printed.files = std::atoi(text.substr(0, end).c_str());
        if (end != std::string::npos) printed.pages = SplitPages(text.substr(end + 1));
        return printed;
    }
    // The pages of the one PDF that the job printed.
    std::vector<Rows> PrintedPages() {
        Printed printed = Output();
        EXPECT_EQ(printed.files, 1) << "PDF files printed";
        return printed.pages;
    }
    void ExpectNothingPrinted() {
        Printed printed = Output();
        EXPECT_EQ(printed.files, 0) << "PDF files printed";
    }
};

namespace {

const char kColors[] =
    "[Desktop]\r\nWallpaper=(None)\r\n\r\nTileWallpaper=0\r\n"
    "[Colors]\r\nBackground=0 0 0\r\n\r\n; a comment\r\nWindow=255 255 255\r\n"
    "[Fonts]\r\nSans=sans.fon\r\n";

}  // namespace

TEST_F(PrintTest, SelectionPrintsTheSelectedSectionWithItsHeaderAndWithoutEmptyLines) {
    ASSERT_NO_FATAL_FAILURE(Start(WriteIni("colors.ini", kColors)));
    robot.SelectItem(Control(IDC_SECTION_LIST), 1);
    HWND dialog = OpenPrintDialog(Main());
    ASSERT_NE(dialog, nullptr);
    // A section is selected: Selection is offered; Collate starts checked.
    EXPECT_TRUE(robot::IsEnabled(GetDlgItem(dialog, kSelection)));
    EXPECT_TRUE(Checked(dialog, kAllPages));
    EXPECT_TRUE(Checked(dialog, kCollate));
    Choose(dialog, kAllPages, false);
    Choose(dialog, kSelection);
    PrintWithOk(dialog, Main());
    EXPECT_EQ(PrintedPages(), (std::vector<Rows>{{"[Colors]", "Background=0 0 0", "; a comment", "Window=255 255 255"}}));
}
