// Help > Contents and How to Use Help: the WinHelp viewer when the system has
// a working one; the web-page help (or, with no program for web pages, the
// compiled help) when the viewer is missing or is the stand-in of current
// Windows that refuses .hlp files.
#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program_test.h"

namespace {

const char* const kStubMark = "keplin-winhlp32-stub-ran";
const char* const kBrowserRecord = "keplin-browser-command";

std::string TempPath(const std::string& name) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    return std::string(temp) + name;
}

std::string WindowsDirectory() {
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    return windows;
}

// Every copy of the viewer where the system would look for it: the Windows
// directory, the 32-bit and the native system directories.
std::vector<std::string> ViewerCopies() {
    const std::string windows = WindowsDirectory();
    return {windows + "\\winhlp32.exe", windows + "\\syswow64\\winhlp32.exe",
            windows + "\\sysnative\\winhlp32.exe", windows + "\\system32\\winhlp32.exe"};
}

struct WindowSearch {
    std::string className, titlePart;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    if (robot::ClassOf(window) == search->className &&
        robot::Text(window).find(search->titlePart) != std::string::npos)
        search->found.push_back(window);
    return TRUE;
}

// Top-level windows of any process whose class is className and whose title
// contains titlePart.
std::vector<HWND> TopWindows(const std::string& className, const std::string& titlePart) {
    WindowSearch search{className, titlePart, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK CollectPaneText(HWND window, LPARAM data) {
    if (robot::ClassOf(window).rfind("RichEdit", 0) != 0) return TRUE;
    wchar_t text[4096] = L"";
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, sizeof text / sizeof text[0], reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 2000, &ignored);
    char ansi[4096] = "";
    WideCharToMultiByte(CP_ACP, 0, text, -1, ansi, sizeof ansi, nullptr, nullptr);
    *reinterpret_cast<std::string*>(data) += ansi;
    return TRUE;
}

// The topic text that the WinHelp viewer shows (another process's rich edit
// pane, read with the message that crosses processes).
std::string ViewerTopicText(HWND viewer) {
    std::string text;
    EnumChildWindows(viewer, CollectPaneText, reinterpret_cast<LPARAM>(&text));
    return text;
}

class HelpTest : public ProgramTest {
protected:
    void SetUp() override {
        // A run stopped halfway may have left the viewer hidden or replaced.
        RestoreViewer();
        SetHtmlViewer("");
        DeleteFileA(TempPath(kStubMark).c_str());
        DeleteFileA(TempPath(kBrowserRecord).c_str());
        ProgramTest::SetUp();
        if (HasFatalFailure()) return;
        Start(WriteIni("help.ini", "[One]\r\na=1\r\n"));
    }

    void TearDown() override {
        CloseHelpWindows();
        ProgramTest::TearDown();
        RestoreViewer();
        SetHtmlViewer("");
        DeleteFileA(TempPath(kStubMark).c_str());
        DeleteFileA(TempPath(kBrowserRecord).c_str());
    }

    // Moves every copy of the viewer aside, as on a system without WinHelp.
    void HideViewer() {
        for (const std::string& path : ViewerCopies()) {
            if (!testfiles::Exists(path)) continue;
            ASSERT_TRUE(MoveFileA(path.c_str(), (path + ".hidden").c_str())) << "cannot hide " << path;
        }
        for (const std::string& path : ViewerCopies())
            ASSERT_FALSE(testfiles::Exists(path)) << path << " is still there";
    }

    // In the viewer's place, the stand-in that current Windows ships.
    void PutStubViewer() {
        HideViewer();
        std::string stub = testfiles::ExeDirectory() + "\\winhlp32_stub.exe";
        ASSERT_TRUE(CopyFileA(stub.c_str(), ViewerCopies()[0].c_str(), FALSE)) << "cannot copy " << stub;
        // Wine reads the version of a file named winhlp32.exe from its own
        // built-in viewer unless told to take the file on disk, as Windows does.
        SetWineLoadOrder("native");
    }

    static void SetWineLoadOrder(const std::string& order) {
        const char* key = "Software\\Wine\\DllOverrides";
        if (order.empty()) {
            HKEY opened;
            if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_WRITE, &opened) == ERROR_SUCCESS) {
                RegDeleteValueA(opened, "winhlp32.exe");
                RegCloseKey(opened);
            }
            return;
        }
        HKEY opened;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_WRITE, nullptr, &opened, nullptr), 0);
        RegSetValueExA(opened, "winhlp32.exe", 0, REG_SZ, reinterpret_cast<const BYTE*>(order.c_str()),
                       static_cast<DWORD>(order.size() + 1));
        RegCloseKey(opened);
    }

    static void RestoreViewer() {
        SetWineLoadOrder("");
        for (const std::string& path : ViewerCopies()) {
            std::string hidden = path + ".hidden";
            if (testfiles::Exists(hidden)) {
                DeleteFileA(path.c_str());
                MoveFileA(hidden.c_str(), path.c_str());
            }
        }
    }

    // Makes the shell open .html files with this command line, as a browser
    // would be registered; "" removes the association again (a new Wine
    // prefix has none).
    static void SetHtmlViewer(const std::string& command) {
        const char* progId = "KeplinTest.htmlfile";
        if (command.empty()) {
            SHDeleteKeyA(HKEY_CLASSES_ROOT, progId);
            SHDeleteKeyA(HKEY_CLASSES_ROOT, ".html");
            return;
        }
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, ".html", 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), 0);
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(progId), lstrlenA(progId) + 1);
        RegCloseKey(key);
        std::string commandKey = std::string(progId) + "\\shell\\open\\command";
        ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, commandKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                                  nullptr), 0);
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>(command.size() + 1));
        RegCloseKey(key);
    }

    static std::string NotepadCommand() { return "\"" + WindowsDirectory() + "\\notepad.exe\" \"%1\""; }

    // A browser that writes the file it was given into kBrowserRecord.
    static std::string RecordingBrowserCommand() {
        return "\"" + WindowsDirectory() + "\\system32\\cmd.exe\" /c echo \"%1\">\"" + TempPath(kBrowserRecord) + "\"";
    }

    // Waits for a top-level window of any process; null after the timeout.
    HWND WaitForHelpWindow(const std::string& className, const std::string& titlePart) {
        HWND found = nullptr;
        robot.WaitUntil([&] {
            std::vector<HWND> windows = TopWindows(className, titlePart);
            found = windows.empty() ? nullptr : windows.front();
            return found != nullptr;
        }, 15000);
        return found;
    }

    static size_t WinHelpWindows() { return TopWindows("MS_WINHELP", "").size(); }

    // The viewers run as processes of their own; none may outlive the test.
    void CloseHelpWindows() {
        for (const char* className : {"MS_WINHELP", "HH Parent", "Notepad"}) {
            for (HWND window : TopWindows(className, "")) {
                PostMessageA(window, WM_CLOSE, 0, 0);
                robot.WaitUntilGone(window, 5000);
            }
        }
    }
};

TEST_F(HelpTest, ContentsOpensKeplinHelpInTheWinHelpViewerWhenItWorks) {
    SetHtmlViewer(NotepadCommand());
    Command(IDM_HELP_CONTENTS);
    HWND viewer = WaitForHelpWindow("MS_WINHELP", "");
    ASSERT_NE(viewer, nullptr) << "the WinHelp viewer did not open";
    const std::string opening = "KEPLIN is an editor for INI files";
    EXPECT_TRUE(robot.WaitUntil([&] { return ViewerTopicText(viewer).find(opening) != std::string::npos; }))
        << "the viewer shows \"" << ViewerTopicText(viewer) << "\"";
    // Its list of topics has an entry of its own for every feature.
    for (const char* entry : {": Undo and Redo", ": Encodings", ": Licence"})
        EXPECT_NE(ViewerTopicText(viewer).find(entry), std::string::npos) << entry;
    // Nothing else opens besides it.
    EXPECT_TRUE(TopWindows("Notepad", "").empty());
    EXPECT_TRUE(TopWindows("HH Parent", "").empty());
}

TEST_F(HelpTest, HowToUseHelpOpensTheViewersOwnHelpWhenItWorks) {
    // As after setup, the only winhelp.hlp is the one beside the program;
    // KEPLIN was started from another folder, which the viewer inherits.
    ASSERT_FALSE(testfiles::Exists(WindowsDirectory() + "\\winhelp.hlp"));
    ASSERT_TRUE(SetCurrentDirectoryA(TempPath("").c_str()));
    Command(IDM_HELP_ON_HELP);
    SetCurrentDirectoryA(testfiles::ExeDirectory().c_str());
    HWND viewer = WaitForHelpWindow("MS_WINHELP", "");
    ASSERT_NE(viewer, nullptr) << "the WinHelp viewer did not open";
    const std::string opening = "Help shows a program's instructions on screen";
    EXPECT_TRUE(robot.WaitUntil([&] { return ViewerTopicText(viewer).find(opening) != std::string::npos; }))
        << "the viewer shows \"" << ViewerTopicText(viewer) << "\"";
}

TEST_F(HelpTest, WithoutTheViewerContentsOpensTheWebPageHelp) {
    HideViewer();
    SetHtmlViewer(RecordingBrowserCommand());
    Command(IDM_HELP_CONTENTS);
    // The shell starts whatever opens web pages, the user's browser, with
    // the web-page help beside the program.
    const std::string html = testfiles::ExeDirectory() + "\\keplin.html";
    std::string started;
    EXPECT_TRUE(robot.WaitUntil([&] {
        started = testfiles::ReadBytes(TempPath(kBrowserRecord));
        return started.find('\n') != std::string::npos;
    })) << "no browser was started";
    EXPECT_EQ(started, "\"" + html + "\"\r\n");
    EXPECT_EQ(WinHelpWindows(), 0u);
    EXPECT_TRUE(testfiles::Exists(html));
}

TEST_F(HelpTest, WithoutTheViewerHowToUseHelpAlsoOpensTheWebPageHelp) {
    HideViewer();
    SetHtmlViewer(NotepadCommand());
    Command(IDM_HELP_ON_HELP);
    EXPECT_NE(WaitForHelpWindow("Notepad", "keplin.html"), nullptr) << "the web-page help did not open";
    EXPECT_EQ(WinHelpWindows(), 0u);
}

TEST_F(HelpTest, WithNoProgramForWebPagesTheCompiledHelpOpens) {
    HideViewer();
    Command(IDM_HELP_CONTENTS);
    // The system's HTML Help viewer, with the compiled help's title.
    EXPECT_NE(WaitForHelpWindow("HH Parent", "KEPLIN Help"), nullptr) << "the compiled help did not open";
    EXPECT_EQ(WinHelpWindows(), 0u);
}

TEST_F(HelpTest, TheStandInViewerOfCurrentWindowsIsNeverAsked) {
    PutStubViewer();
    SetHtmlViewer(NotepadCommand());
    Command(IDM_HELP_CONTENTS);
    EXPECT_NE(WaitForHelpWindow("Notepad", "keplin.html"), nullptr) << "the web-page help did not open";
    EXPECT_FALSE(testfiles::Exists(TempPath(kStubMark))) << "the stand-in viewer was started";
    EXPECT_EQ(WinHelpWindows(), 0u);
}

TEST_F(HelpTest, WithoutViewerOrHelpFilesTheUserIsTold) {
    HideViewer();
    SetHtmlViewer(NotepadCommand());
    const std::string html = testfiles::ExeDirectory() + "\\keplin.html";
    const std::string chm = testfiles::ExeDirectory() + "\\keplin.chm";
    ASSERT_TRUE(MoveFileA(html.c_str(), (html + ".away").c_str()));
    ASSERT_TRUE(MoveFileA(chm.c_str(), (chm + ".away").c_str()));
    robot.Expect("KEPLIN", "Sorry, KEPLIN could not open its help file " + html).Answer(IDOK);
    Command(IDM_HELP_CONTENTS);
    MoveFileA((html + ".away").c_str(), html.c_str());
    MoveFileA((chm + ".away").c_str(), chm.c_str());
    EXPECT_EQ(WinHelpWindows(), 0u);
    EXPECT_TRUE(TopWindows("Notepad", "").empty());
}

}  // namespace
