// Not a test: takes the README's pictures of every window of the program, as
// a user opens them, under the same robot as the window tests. Run through
// scripts/screenshots, which sets KEPLIN_SHOTS to the folder for the pictures
// (24-bit BMP files; the script turns them into PNG). A window that does not
// open fails the run.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "program_test.h"

namespace {

const char* const kSampleIni =
    "[Desktop]\r\nWallpaper=(None)\r\nTileWallpaper=0\r\nGridGranularity=0\r\n"
    "[Fonts]\r\nArial (TrueType)=ARIAL.FOT\r\nCourier New (TrueType)=COUR.FOT\r\n"
    "[Colors]\r\nBackground=0 128 128\r\nAppWorkspace=255 255 232\r\nWindow=255 255 255\r\n"
    "WindowText=0 0 0\r\nMenu=255 255 255\r\nMenuText=0 0 0\r\nActiveTitle=0 0 128\r\n"
    "InactiveTitle=255 255 255\r\nTitleText=255 255 255\r\nActiveBorder=192 192 192\r\n"
    "ButtonFace=192 192 192\r\nButtonShadow=128 128 128\r\n"
    "[Printer]\r\nDevice=PostScript Printer,PSCRIPT,LPT1:\r\n"
    "[Ports]\r\nLPT1:=\r\nCOM1:=9600,n,8,1,x\r\n"
    "[Sounds]\r\nSystemDefault=ding.wav,Default Beep\r\n"
    "[Mouse]\r\nDoubleClickSpeed=452\r\n"
    "[Keyboard]\r\nKeyboardSpeed=31\r\n"
    "[Intl]\r\niCountry=1\r\nsCountry=United States\r\n";

// Writes this part of the screen to a 24-bit BMP file.
bool SaveScreen(const RECT& area, const std::string& path) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;     // bottom-up, as BMP files keep it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = ((width * 3 + 3) / 4) * 4;
    const DWORD size = stride * height;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + size;
    bool written = false;
    if (FILE* out = std::fopen(path.c_str(), "wb")) {
        written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                  std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
                  std::fwrite(bits, 1, size, out) == size;
        written = std::fclose(out) == 0 && written;
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return written;
}

class Screenshots : public ProgramTest {
protected:
    void SetUp() override {
        const char* folder = std::getenv("KEPLIN_SHOTS");
        if (folder == nullptr || *folder == '\0') GTEST_SKIP() << "KEPLIN_SHOTS names no folder";
        folder_ = folder;
        ProgramTest::SetUp();
    }

    // The main window and the windows shown over it, with a small margin.
    void Take(const std::string& name, std::vector<HWND> windows) {
        robot.Settle();
        windows.insert(windows.begin(), Main());
        TakeWindows(name, windows);
    }

    // These windows, of any program, with a small margin.
    void TakeWindows(const std::string& name, const std::vector<HWND>& windows) {
        RECT area = {};
        for (HWND window : windows) {
            RECT r;
            if (!GetWindowRect(window, &r)) continue;
            if (IsRectEmpty(&area)) area = r; else UnionRect(&area, &area, &r);
        }
        InflateRect(&area, 8, 8);
        area.left = std::max(area.left, 0L);
        area.top = std::max(area.top, 0L);
        area.right = std::min(area.right, static_cast<LONG>(GetSystemMetrics(SM_CXSCREEN)));
        area.bottom = std::min(area.bottom, static_cast<LONG>(GetSystemMetrics(SM_CYSCREEN)));
        // Let every window finish painting.
        for (HWND window : windows) RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        Sleep(400);
        std::string path = folder_ + "\\" + name + ".bmp";
        EXPECT_TRUE(SaveScreen(area, path)) << "cannot write " << path;
        std::printf("picture %s\n", path.c_str());
    }

    // A command whose dialog may not exist in this build: takes a picture of
    // whatever window it opens, then cancels it.
    void TakeIfAny(const std::string& name, int command) {
        std::set<HWND> before;
        for (const robot::WindowSeen& seen : robot.OpenDialogs()) before.insert(seen.window);
        PostMessageA(Main(), WM_COMMAND, command, 0);
        HWND opened = nullptr;
        robot.WaitUntil([&] {
            for (const robot::WindowSeen& seen : robot.OpenDialogs())
                if (!before.count(seen.window) && IsWindowVisible(seen.window)) opened = seen.window;
            return opened != nullptr;
        }, 3000);
        if (opened == nullptr) {
            std::printf("no window for %s in this build\n", name.c_str());
            return;
        }
        Sleep(300);
        RECT r;
        GetWindowRect(opened, &r);
        RedrawWindow(opened, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        std::string path = folder_ + "\\" + name + ".bmp";
        Sleep(300);
        EXPECT_TRUE(SaveScreen(RECT{std::max(r.left - 8, 0L), std::max(r.top - 8, 0L), r.right + 8, r.bottom + 8}, path));
        std::printf("picture %s\n", path.c_str());
        // Cancel, and whatever that leaves open too.
        for (int tries = 0; tries < 5 && IsWindow(opened); ++tries) {
            PostMessageA(opened, WM_COMMAND, IDCANCEL, 0);
            robot.WaitUntilGone(opened, 1000);
        }
        for (const robot::WindowSeen& seen : robot.OpenDialogs()) {
            if (before.count(seen.window)) continue;
            PostMessageA(seen.window, WM_COMMAND, IDCANCEL, 0);
            PostMessageA(seen.window, WM_COMMAND, IDOK, 0);
            robot.WaitUntilGone(seen.window, 2000);
        }
    }

    // A shown top-level window of another program whose caption holds this
    // text; null after the timeout.
    HWND WaitForOtherWindow(const std::string& captionPart) {
        HWND found = nullptr;
        robot.WaitUntil([&] {
            for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
                if (IsWindowVisible(w) && robot::Text(w).find(captionPart) != std::string::npos) found = w;
            return found != nullptr;
        }, 30000);
        return found;
    }

    // The descendant of window of this class that shows this text ("": any).
    struct ChildSearch {
        std::string className, text;
        HWND found;
    };
    static BOOL CALLBACK MatchChild(HWND child, LPARAM data) {
        auto* search = reinterpret_cast<ChildSearch*>(data);
        if (robot::ClassOf(child) != search->className) return TRUE;
        if (!search->text.empty() && robot::Text(child) != search->text) return TRUE;
        search->found = child;
        return FALSE;
    }
    static HWND ChildOf(HWND window, const std::string& className, const std::string& text = "") {
        ChildSearch search{className, text, nullptr};
        EnumChildWindows(window, MatchChild, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    std::string folder_;
};

TEST_F(Screenshots, EveryWindow) {
    // A short path, as the label beside the list shows it in full.
    const std::string folder = "C:\\INI";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string ini = folder + "\\WIN.INI";
    ASSERT_TRUE(testfiles::WriteBytes(ini, kSampleIni));
    Start(ini);
    HWND list = Control(IDC_SECTION_LIST);
    robot.SelectItem(list, 2);
    Take("main-window", {});

    HWND view = robot.OpenSection(Main(), 2);
    ASSERT_NE(view, nullptr);
    robot.SelectItem(GetDlgItem(view, IDC_VIEW_LIST), 4);
    Take("section-view", {view});

    robot.Click(view, IDC_EDIT_KEY);
    HWND edit = robot.Opened(steps::kEditScreen);
    ASSERT_NE(edit, nullptr);
    Take("edit-key", {view, edit});
    robot.Cancel(edit);

    HWND insert = robot.FillInsertKey(view, "Hilight", "0 0 128");
    ASSERT_NE(insert, nullptr);
    Take("insert-key", {view, insert});
    robot.Cancel(insert);
    robot.LeaveView(view);

    HWND section = robot.OpenInsertSection(Main());
    ASSERT_NE(section, nullptr);
    robot.Type(GetDlgItem(section, IDC_INPUT_FIELD), "Network");
    Take("insert-section", {section});
    robot.Cancel(section);

    Command(IDM_ABOUT);
    HWND about = robot.Opened(steps::kAbout);
    ASSERT_NE(about, nullptr);
    Take("about", {about});
    robot.Ok(about);

    // The common dialogs. Print is left out: the session has no printer, so
    // Wine shows its "install a printer" box instead.
    TakeIfAny("find", IDC_FIND);
    TakeIfAny("select-ini-file", IDC_SELECT_INI);

    // Windows that grow, every script, long lines: the main window widened
    // on a file with a Japanese header and a long section name, and below it
    // the view of that section, its long line scrolled to its end.
    const std::string bytes = testfiles::Encoded(
        "[\u65e5\u672c\u8a9e]\r\n\u540d\u524d=\u65e5\u672c\u8a9e\u306e\u5024\r\n"
        "[Desktop]\r\nWallpaper=(None)\r\n"
        "[A very long section name that goes on and on for users]\r\n"
        "Note=This value is longer than the view is wide: the list scrolls sideways to its end\r\nShort=1\r\n",
        "utf16le");
    const std::string scripts = folder + "\\SCRIPTS.INI";
    ASSERT_TRUE(testfiles::WriteBytes(scripts, bytes));
    robot.DropFiles(Main(), {scripts});
    RECT place;
    GetWindowRect(Main(), &place);
    robot.DragFrameTo(Main(), RECT{10, 10, 10 + place.right - place.left + 240, 10 + place.bottom - place.top});
    HWND longView = robot.OpenSection(Main(), 2);
    ASSERT_NE(longView, nullptr);
    // Below the main window's list, so that its headers show.
    GetWindowRect(longView, &place);
    robot.DragFrameTo(longView, RECT{320, 350, 320 + place.right - place.left, 350 + place.bottom - place.top});
    HWND longLines = GetDlgItem(longView, IDC_VIEW_LIST);
    robot.SelectItem(longLines, 0);
    for (int page = 0; page < 8; ++page) robot.Post(longLines, WM_HSCROLL, SB_PAGERIGHT, 0);
    Take("wide-window", {longView});
    robot.LeaveView(longView);

    // The help, in its own viewer process.
    Command(IDM_HELP_CONTENTS);
    HWND help = nullptr;
    robot.WaitUntil([&] { return (help = FindWindowA("MS_WINHELP", nullptr)) != nullptr; }, 15000);
    ASSERT_NE(help, nullptr) << "the help did not open";
    // Tall enough to show the whole list of topics.
    SetWindowPos(help, nullptr, 0, 0, 780, 760, SWP_NOZORDER);
    Sleep(1000);
    Take("help", {help});
    PostMessageA(help, WM_CLOSE, 0, 0);
    robot.WaitUntilGone(help);
    testfiles::DeleteTree(folder);
}

// Setup's licence page, and the installed KEPLIN in Wine's Programs and
// Features with its support information.
TEST_F(Screenshots, SetupAndProgramsAndFeatures) {
    const std::string setup = testfiles::ExeDirectory() + "\\keplin-setup.exe";
    {
        robot::ProgramProcess wizard;
        ASSERT_TRUE(wizard.Start(setup, ""));
        HWND page = WaitForOtherWindow(" Setup");
        ASSERT_NE(page, nullptr) << "setup shows no window";
        ASSERT_TRUE(robot.WaitUntil([&] { return ChildOf(page, "RichEdit20W") != nullptr; }))
            << "setup shows no licence";
        Sleep(1000);
        TakeWindows("setup-licence", {page});
    }  // setup is ended here, before it installs anything

    robot::ProgramProcess install;
    ASSERT_TRUE(install.Start(setup, "/S"));
    DWORD exitCode = 1;
    ASSERT_TRUE(install.WaitForExit(60000, &exitCode) && exitCode == 0) << "setup failed";
    char system[MAX_PATH];
    GetSystemDirectoryA(system, sizeof system);
    robot::ProgramProcess panel;
    ASSERT_TRUE(panel.Start(std::string(system) + "\\control.exe", "appwiz.cpl"));
    HWND programs = WaitForOtherWindow("Programs");
    ASSERT_NE(programs, nullptr) << "no Programs and Features";
    HWND list = nullptr;
    ASSERT_TRUE(robot.WaitUntil([&] { return (list = ChildOf(programs, "SysListView32")) != nullptr; }));
    // KEPLIN, the only program installed in this prefix, selected.
    PostMessageA(list, WM_KEYDOWN, VK_HOME, 0);
    HWND support = nullptr;
    ASSERT_TRUE(robot.WaitUntil([&] {
        support = ChildOf(programs, "Button", "&Support Information");
        return support != nullptr && IsWindowEnabled(support);
    })) << "no program can be selected";
    PostMessageA(support, BM_CLICK, 0, 0);
    HWND info = WaitForOtherWindow("Support Information");
    ASSERT_NE(info, nullptr);
    // Beside the list rather than over it.
    RECT listed;
    GetWindowRect(programs, &listed);
    SetWindowPos(info, nullptr, listed.left + 180, listed.top + 250, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Sleep(1000);
    TakeWindows("programs-and-features", {programs, info});
    PostMessageA(info, WM_COMMAND, IDOK, 0);
    PostMessageA(programs, WM_CLOSE, 0, 0);
    panel.WaitForExit(10000, &exitCode);
    char localAppData[MAX_PATH] = "";
    GetEnvironmentVariableA("LOCALAPPDATA", localAppData, sizeof localAppData);
    const std::string uninstaller = std::string(localAppData) + "\\Programs\\KEPLIN\\uninstall.exe";
    robot::ProgramProcess uninstall;
    if (uninstall.Start(uninstaller, "/S")) uninstall.WaitForExit(60000, &exitCode);
}

// Check File on a file with the usual faults, its window widened to show the columns.
TEST_F(Screenshots, CheckFile) {
    const std::string folder = "C:\\INI";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string ini = folder + "\\APP.INI";
    ASSERT_TRUE(testfiles::WriteBytes(ini,
                                      "\xEF\xBB\xBF[Settings]\r\nPath=\"C:\\Data\"\r\nColor=blue \r\n#Size=10\r\n"
                                      "color=red\r\n[Window]\r\nLeft=10\r\n[settings]\r\nTheme=dark\r\n"
                                      "[Fonts] ; see [Display]\r\nSans=Arial\r\n"));
    Start(ini);
    robot.PressCtrl(Main(), 0x0B);
    HWND check = robot.Opened(steps::kCheckFile);
    ASSERT_NE(check, nullptr);
    SetWindowPos(check, nullptr, 20, 20, 1000, 360, SWP_NOZORDER);
    robot.SelectItem(GetDlgItem(check, IDC_CHECK_LIST), 2);
    Take("check-file", {check});
    robot.ClickToClose(check, IDCANCEL);
    testfiles::DeleteTree(folder);
}

// Compare with a backup from before a few changes, a changed value selected.
TEST_F(Screenshots, Compare) {
    const std::string folder = "C:\\INI";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string ini = folder + "\\WIN.INI";
    ASSERT_TRUE(testfiles::WriteBytes(ini, kSampleIni));
    // Its backup, from before a few changes.
    std::string older = kSampleIni;
    older.replace(older.find("Background=0 128 128"), 20, "Background=192 192 192");
    older.replace(older.find("[Mouse]\r\nDoubleClickSpeed=452\r\n"), 31, "");
    older.replace(older.find("sCountry=United States\r\n"), 24, "sCountry=United Kingdom\r\niMeasure=0\r\n");
    older += "[Network]\r\nWorkgroup=OFFICE\r\n";
    const std::string backup = Beside("WIN.INB");
    ASSERT_TRUE(testfiles::WriteBytes(backup, testfiles::BackupOf(older, ini)));
    Start(ini);
    HWND compare = robot.OpenCompare(Main(), "Compare " + ini + " with " + backup,
                                     "Compare WIN.INI with its backup,\n" + backup + "?\n\nNo chooses another file.");
    ASSERT_NE(compare, nullptr);
    robot.SelectRow(compare, 1);
    Take("compare", {compare});
    robot.ClickToClose(compare, IDCANCEL);
    testfiles::DeleteTree(folder);
}

}  // namespace
