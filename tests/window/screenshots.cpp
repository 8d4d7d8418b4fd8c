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

    // Dialogs that builds may or may not have yet.
    TakeIfAny("find", IDC_FIND);
    TakeIfAny("select-ini-file", IDC_SELECT_INI);
    TakeIfAny("print", IDC_PRINT);

    // The help, in its own viewer process.
    Command(IDM_HELP_CONTENTS);
    HWND help = nullptr;
    robot.WaitUntil([&] { return (help = FindWindowA("MS_WINHELP", nullptr)) != nullptr; }, 15000);
    ASSERT_NE(help, nullptr) << "the help did not open";
    Sleep(1000);
    Take("help", {help});
    PostMessageA(help, WM_CLOSE, 0, 0);
    robot.WaitUntilGone(help);
    testfiles::DeleteTree(folder);
}

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
