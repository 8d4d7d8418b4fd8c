// Printing, run in this process, to a real printer: the CUPS queue "PDF" that
// the cups_session fixture sets up writes each job as a PDF file, whose text
// the tests read back page by page (pdftotext, run by cups-session).
#include <windows.h>
#include <commdlg.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "immutable_file.h"
#include "print/win32/printer_font.h"
#include "program_test.h"

using Rows = std::vector<std::string>;

namespace {

// Controls of the platform's print dialog.
const int kAllPages = 0x420;       // rad1
const int kSelection = 0x421;      // rad2
const int kPageRange = 0x422;      // rad3
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
    if (!testfiles::StartUnixProgram(commandLine)) return false;
    for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
        if (GetFileAttributesA(doneFile.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
        Sleep(50);
    }
    return false;
}

// pdftotext ends every page with a form feed; rows lose their trailing
// blanks, and the empty rows of the page's bottom margin are dropped.
std::vector<Rows> SplitPages(const std::string& text) {
    std::vector<Rows> pages;
    Rows page;
    std::string row;
    for (char c : text) {
        if (c == '\f') {
            if (!row.empty()) page.push_back(row);
            pages.push_back(page);
            page.clear();
            row.clear();
        } else if (c == '\n') {
            page.push_back(row);
            row.clear();
        } else {
            row += c;
        }
    }
    for (Rows& rows : pages) {
        for (std::string& line : rows) line.erase(line.find_last_not_of(' ') + 1);
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
        return robot.Opened(steps::kPrint);
    }
    static bool Checked(HWND dialog, int id) {
        return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    void Choose(HWND dialog, int id, bool on = true) {
        SendMessageA(GetDlgItem(dialog, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    // In the print dialog: Selection instead of All.
    void ChooseSelection(HWND dialog) {
        Choose(dialog, kAllPages, false);
        Choose(dialog, kSelection);
    }
    // Print from the main window with Selection chosen, to the job's end.
    void PrintSelection() {
        HWND dialog = OpenPrintDialog(Main());
        ASSERT_NE(dialog, nullptr);
        ChooseSelection(dialog);
        PrintWithOk(dialog, Main());
    }
    // Print from the main window as the dialog offers it, to the job's end.
    void PrintAsOffered() {
        HWND dialog = OpenPrintDialog(Main());
        ASSERT_NE(dialog, nullptr);
        PrintWithOk(dialog, Main());
    }
    void SetCopies(HWND dialog, int copies) { robot.SetText(GetDlgItem(dialog, kCopies), std::to_string(copies)); }

    // OK in the print dialog, then waits until the job has ended: the owner
    // is enabled, no cancel box is open and the program answers again.
    void PrintWithOk(HWND dialog, HWND owner) {
        robot.ClickToClose(dialog, IDOK);
        WaitForJobEnd(owner);
    }
    void WaitForJobEnd(HWND owner, DWORD timeoutMs = 120000) {
        bool ended = robot.WaitUntil([&] {
            DWORD_PTR ignored;
            robot.Settle();
            return SendMessageTimeoutA(owner, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &ignored) && IsWindowEnabled(owner) &&
                   robot.FindWindowOf(steps::kPrinting) == nullptr;
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
    // A section is selected: Selection is offered, page ranges never are;
    // Collate starts checked.
    EXPECT_TRUE(robot::IsEnabled(GetDlgItem(dialog, kSelection)));
    EXPECT_FALSE(robot::IsEnabled(GetDlgItem(dialog, kPageRange)));
    EXPECT_TRUE(Checked(dialog, kAllPages));
    EXPECT_TRUE(Checked(dialog, kCollate));
    ChooseSelection(dialog);
    PrintWithOk(dialog, Main());
    EXPECT_EQ(PrintedPages(), (std::vector<Rows>{{"[Colors]", "Background=0 0 0", "; a comment", "Window=255 255 255"}}));
}

namespace {

// count lines "<prefix>0001", "<prefix>0002"...: rows that tell the pages apart.
Rows Numbered(const std::string& prefix, int count) {
    Rows lines;
    char number[16];
    for (int i = 1; i <= count; ++i) {
        std::snprintf(number, sizeof number, "%05d", i);
        lines.push_back(prefix + number);
    }
    return lines;
}

std::string IniText(const Rows& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

// The rows of the pages that lines fill, linesPerPage to a page.
std::vector<Rows> Paged(const Rows& lines, long long linesPerPage) {
    std::vector<Rows> pages;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i % static_cast<size_t>(linesPerPage) == 0) pages.emplace_back();
        pages.back().push_back(lines[i]);
    }
    return pages;
}

}  // namespace

TEST_F(PrintTest, AllPrintsTheWholeFileWithItsEmptyLinesAsEmptyRows) {
    ASSERT_NO_FATAL_FAILURE(Start(WriteIni("colors.ini", kColors)));
    ASSERT_NO_FATAL_FAILURE(PrintAsOffered());
    EXPECT_EQ(PrintedPages(), (std::vector<Rows>{{"[Desktop]", "Wallpaper=(None)", "", "TileWallpaper=0", "[Colors]",
                                                  "Background=0 0 0", "", "; a comment", "Window=255 255 255",
                                                  "[Fonts]", "Sans=sans.fon"}}));
}

TEST_F(PrintTest, WithoutASectionSelectionIsNotOfferedAndTheWholeFilePrints) {
    ASSERT_NO_FATAL_FAILURE(Start(WriteIni("plain.ini", "; no sections here\r\n\r\nkey=value\r\n")));
    ASSERT_TRUE(Sections().empty());
    HWND dialog = OpenPrintDialog(Main());
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(robot::IsEnabled(GetDlgItem(dialog, kSelection)));
    PrintWithOk(dialog, Main());
    EXPECT_EQ(PrintedPages(), (std::vector<Rows>{{"; no sections here", "", "key=value"}}));
}

TEST_F(PrintTest, TheSectionViewPrintsItsSectionWhateverTheDialogShows) {
    ASSERT_NO_FATAL_FAILURE(Start(WriteIni("colors.ini", kColors)));
    HWND view = robot.OpenSection(Main(), 0);
    ASSERT_NE(view, nullptr);
    HWND dialog = OpenPrintDialog(view);
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(robot::IsEnabled(GetDlgItem(dialog, kSelection)));
    EXPECT_TRUE(Checked(dialog, kAllPages));
    PrintWithOk(dialog, view);
    EXPECT_EQ(PrintedPages(), (std::vector<Rows>{{"[Desktop]", "Wallpaper=(None)", "TileWallpaper=0"}}));
    // The view is usable again.
    EXPECT_TRUE(robot::IsEnabled(view));
    robot.LeaveView(view);
}

TEST_F(PrintTest, TenLinesMoreThanAPageHoldsGiveTwoPagesTheSecondOfTenRows) {
    const long long perPage = PrinterMetrics().linesPerPage;
    ASSERT_GT(perPage, 10) << "a page of the test printer holds too few rows";
    // The header counts as a line.
    Rows lines{"[Long]"};
    for (const std::string& line : Numbered("key=", static_cast<int>(perPage) + 9)) lines.push_back(line);
    ASSERT_NO_FATAL_FAILURE(Start(WriteIni("long.ini", IniText(lines))));
    ASSERT_NO_FATAL_FAILURE(PrintSelection());
    std::vector<Rows> pages = PrintedPages();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].size(), static_cast<size_t>(perPage));
    EXPECT_EQ(pages[1].size(), 10u);
    EXPECT_EQ(pages, Paged(lines, perPage));
}

TEST_F(PrintTest, ALineLongerThanARowIsCutAtTheCharactersPerLine) {
    const long long perLine = PrinterMetrics().charactersPerLine;
    ASSERT_LT(perLine, 140) << "a row of the test printer holds every line whole";
    std::string digits;
    while (digits.size() < 149) digits += "0123456789";
    const std::string longLine = "long=" + digits.substr(0, 135);
    const std::string fitting = "fits=" + digits.substr(0, static_cast<size_t>(perLine) - 5);
    ASSERT_NO_FATAL_FAILURE(Start(WriteIni("wide.ini", "[Wide]\r\n" + longLine + "\r\n" + fitting + "\r\n")));
    ASSERT_NO_FATAL_FAILURE(PrintAsOffered());
    EXPECT_EQ(PrintedPages(),
              (std::vector<Rows>{{"[Wide]", longLine.substr(0, static_cast<size_t>(perLine)), fitting}}));
}

TEST_F(PrintTest, AUtf16FilePrintsItsCharactersAndCutsRowsBetweenThem) {
    const long long perLine = PrinterMetrics().charactersPerLine;
    // Longer than a row in characters; as bytes of UTF-8, twice that.
    std::string wide;
    for (long long i = 0; i < perLine + 10; ++i) wide += "\u00e9";
    const Rows lines{"[G\u00e9n\u00e9ral]", "Th\u00e8me=Gr\u00f6\u00dfe", "long=" + wide};
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    const std::string bytes = testfiles::Encoded(text, "utf16le");
    ASSERT_NO_FATAL_FAILURE(Start(WriteIni("utf16.ini", bytes)));
    ASSERT_NO_FATAL_FAILURE(PrintAsOffered());
    // A row holds the characters per line, each two bytes of UTF-8 here.
    EXPECT_EQ(PrintedPages(),
              (std::vector<Rows>{{lines[0], lines[1], lines[2].substr(0, 5 + 2 * static_cast<size_t>(perLine - 5))}}));
}

TEST_F(PrintTest, JapaneseTextPrintsAsItsCharacters) {
    const std::string bytes =
        testfiles::Encoded("[\u65e5\u672c\u8a9e]\r\n\u540d\u524d=\u65e5\u672c\u8a9e\r\n", "utf16le");
    ASSERT_NO_FATAL_FAILURE(Start(WriteIni("japanese.ini", bytes)));
    ASSERT_NO_FATAL_FAILURE(PrintAsOffered());
    EXPECT_EQ(PrintedPages(), (std::vector<Rows>{{"[\u65e5\u672c\u8a9e]", "\u540d\u524d=\u65e5\u672c\u8a9e"}}));
}

TEST_F(PrintTest, TwoCopiesComeOutCollatedOrPageByPage) {
    const long long perPage = PrinterMetrics().linesPerPage;
    Rows lines = Numbered("line ", static_cast<int>(2 * perPage + 5));
    ASSERT_NO_FATAL_FAILURE(Start(WriteIni("three-pages.ini", IniText(lines))));
    const std::vector<Rows> one = Paged(lines, perPage);
    ASSERT_EQ(one.size(), 3u);

    HWND dialog = OpenPrintDialog(Main());
    ASSERT_NE(dialog, nullptr);
    SetCopies(dialog, 2);
    EXPECT_TRUE(Checked(dialog, kCollate));
    PrintWithOk(dialog, Main());
    EXPECT_EQ(PrintedPages(), (std::vector<Rows>{one[0], one[1], one[2], one[0], one[1], one[2]}));

    ClearPdfFolder();
    dialog = OpenPrintDialog(Main());
    ASSERT_NE(dialog, nullptr);
    SetCopies(dialog, 2);
    Choose(dialog, kCollate, false);
    PrintWithOk(dialog, Main());
    EXPECT_EQ(PrintedPages(), (std::vector<Rows>{one[0], one[0], one[1], one[1], one[2], one[2]}));
}

TEST_F(PrintTest, AFileOfMoreThan32767LinesPrintsWholeAndInOrder) {
    const long long perPage = PrinterMetrics().linesPerPage;
    Rows lines = Numbered("line ", 32800);
    ASSERT_NO_FATAL_FAILURE(Start(WriteIni("large.ini", IniText(lines))));
    ASSERT_NO_FATAL_FAILURE(PrintAsOffered());
    std::vector<Rows> pages = PrintedPages();
    EXPECT_EQ(static_cast<long long>(pages.size()), print::PageCount(32800, perPage));
    EXPECT_TRUE(pages == Paged(lines, perPage)) << "the printed rows differ from the file's lines";
}

TEST_F(PrintTest, CancelEnablesTheOwnerAtOnceAndStopsAtTheNextPageEnd) {
    const long long perPage = PrinterMetrics().linesPerPage;
    Rows lines = Numbered("line ", 40000);
    const long long allPages = print::PageCount(40000, perPage);
    ASSERT_NO_FATAL_FAILURE(Start(WriteIni("large.ini", IniText(lines))));
    HWND dialog = OpenPrintDialog(Main());
    ASSERT_NE(dialog, nullptr);
    robot.Click(dialog, IDOK);

    HWND box = robot.Opened(steps::kPrinting);
    ASSERT_NE(box, nullptr) << "no cancel box while printing";
    // Let some pages print first (the whole job takes many seconds of work).
    robot.LetProgramWork(1500);
    EXPECT_FALSE(robot::IsEnabled(Main())) << "the main window takes input while printing";
    EXPECT_TRUE(robot::ShowsText(box, "Cancel Printing"));
    EXPECT_EQ(robot::Text(GetDlgItem(box, IDC_CANCEL_BUTTON)), "Cancel");
    UINT close = GetMenuState(GetSystemMenu(box, FALSE), SC_CLOSE, MF_BYCOMMAND);
    EXPECT_TRUE(close != static_cast<UINT>(-1) && (close & MF_GRAYED)) << "Close is not grayed";

    robot.Click(box, IDC_CANCEL_BUTTON);
    EXPECT_TRUE(robot::IsEnabled(Main())) << "the main window stayed disabled after Cancel";
    EXPECT_FALSE(IsWindow(box)) << "the cancel box stayed open";
    WaitForJobEnd(Main());
    // The pages printed before the cancel come out; the rest do not.
    std::vector<Rows> pages = PrintedPages();
    EXPECT_GE(pages.size(), 1u);
    EXPECT_LT(static_cast<long long>(pages.size()), allPages);
    const std::vector<Rows> all = Paged(lines, perPage);
    for (size_t page = 0; page < pages.size() && page < all.size(); ++page)
        EXPECT_EQ(pages[page], all[page]) << "page " << page + 1;
}

TEST_F(PrintTest, EscapeInTheCancelBoxCancelsToo) {
    const long long perPage = PrinterMetrics().linesPerPage;
    ASSERT_NO_FATAL_FAILURE(Start(WriteIni("large.ini", IniText(Numbered("line ", 40000)))));
    HWND dialog = OpenPrintDialog(Main());
    ASSERT_NE(dialog, nullptr);
    robot.Click(dialog, IDOK);
    HWND box = robot.Opened(steps::kPrinting);
    ASSERT_NE(box, nullptr) << "no cancel box while printing";
    robot.LetProgramWork(1000);
    // The key goes to the box's focused button, through the abort procedure.
    robot.Key(GetDlgItem(box, IDC_CANCEL_BUTTON), VK_ESCAPE);
    EXPECT_TRUE(robot.WaitUntilGone(box)) << "Escape did not close the cancel box";
    EXPECT_TRUE(robot::IsEnabled(Main()));
    WaitForJobEnd(Main());
    std::vector<Rows> pages = PrintedPages();
    EXPECT_LT(static_cast<long long>(pages.size()), print::PageCount(40000, perPage));
}

TEST_F(PrintTest, AFileGoneSinceItWasListedIsReportedAndNothingPrints) {
    const std::string path = WriteIni("gone.ini", kColors);
    ASSERT_NO_FATAL_FAILURE(Start(path));
    // Gone just before Print, before the program could notice.
    robot.ChangeBeforeNextAction([&] { EXPECT_TRUE(DeleteFileA(path.c_str())); });
    HWND dialog = OpenPrintDialog(Main());
    ASSERT_NE(dialog, nullptr);
    robot.Expect("KEPLIN", "Sorry, Could not find gone.ini").Answer(IDOK);
    PrintWithOk(dialog, Main());
    ExpectNothingPrinted();
}

TEST_F(PrintTest, AnEmptyFileOrASectionNoLongerInTheFilePrintsNothingAndSaysNothing) {
    const std::string path = WriteIni("colors.ini", kColors);
    ASSERT_NO_FATAL_FAILURE(Start(path));
    robot.SelectItem(Control(IDC_SECTION_LIST), 1);
    ASSERT_EQ(SelectedSection(), "[Colors]");
    // Another program takes the section out just before Print.
    robot.ChangeBeforeNextAction([&] { EXPECT_TRUE(testfiles::WriteBytes(path, "[Desktop]\r\nWallpaper=(None)\r\n")); });
    ASSERT_NO_FATAL_FAILURE(PrintSelection());
    robot.ExpectNoMessageBox();
    ExpectNothingPrinted();

    // And then empties the file.
    robot.ChangeBeforeNextAction([&] { EXPECT_TRUE(testfiles::WriteBytes(path, "")); });
    ASSERT_NO_FATAL_FAILURE(PrintAsOffered());
    robot.ExpectNoMessageBox();
    ExpectNothingPrinted();
}

TEST_F(PrintTest, CancelInThePrintDialogPrintsNothing) {
    ASSERT_NO_FATAL_FAILURE(Start(WriteIni("colors.ini", kColors)));
    HWND dialog = OpenPrintDialog(Main());
    ASSERT_NE(dialog, nullptr);
    robot.ClickToClose(dialog, IDCANCEL);
    WaitForJobEnd(Main());
    ExpectNothingPrinted();
}

TEST_F(PrintTest, ABinaryFilePrintsItsLinesEachCutAtItsFirstNul) {
    static const char kBytes[] =
        "\x01\x02\xff\xfe\x00\x00 junk\r\n[Bin]\r\none=1\r\nnul=before\0after\r\n\x01\x02junk\x7f\xff\xfe\r\n"
        "two=2\r\n[End]\r\nz=9\r\n\0\0\x01tail";
    const std::string bytes(kBytes, sizeof kBytes - 1);
    ASSERT_NO_FATAL_FAILURE(Start(WriteIni("binary.ini", bytes)));
    ASSERT_EQ(Sections(), (Rows{"[Bin]", "[End]"}));
    // Rows whose bytes are no text print as something: only where they stand
    // and what text they hold are checked.
    robot.SelectItem(Control(IDC_SECTION_LIST), 0);
    ASSERT_NO_FATAL_FAILURE(PrintSelection());
    std::vector<Rows> pages = PrintedPages();
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].size(), 5u) << "rows printed";
    EXPECT_EQ(Rows(pages[0].begin(), pages[0].begin() + 3), (Rows{"[Bin]", "one=1", "nul=before"}));
    EXPECT_NE(pages[0][3].find("junk"), std::string::npos) << pages[0][3];
    EXPECT_EQ(pages[0][4], "two=2");

    // The whole file: its first line, cut at the NUL, is four bytes of no
    // text; its last, all after a NUL, is an empty row at the page's end.
    ClearPdfFolder();
    ASSERT_NO_FATAL_FAILURE(PrintAsOffered());
    pages = PrintedPages();
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].size(), 8u) << "rows printed";
    EXPECT_EQ(pages[0][0].find("junk"), std::string::npos) << pages[0][0];
    EXPECT_EQ(Rows(pages[0].begin() + 1, pages[0].begin() + 4), (Rows{"[Bin]", "one=1", "nul=before"}));
    EXPECT_NE(pages[0][4].find("junk"), std::string::npos) << pages[0][4];
    EXPECT_EQ(Rows(pages[0].begin() + 5, pages[0].end()), (Rows{"two=2", "[End]", "z=9"}));
    EXPECT_EQ(testfiles::ReadBytes(PathOf("binary.ini")), bytes);
}
