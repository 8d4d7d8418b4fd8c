// The robot: acts as the user on the program's windows and reads what the
// user would see. It drives either the program run in this process on a UI
// thread of its own (ProgramThread) or keplin.exe as a process of its own
// (ProgramProcess).
//
// Message boxes are expected before the action that shows them:
//     robot.Expect("KEPLIN", "Sorry, Could not find NOPE.INI").Answer(IDOK);
//     robot.Command(main, IDC_SELECT_INI);
// Every action lets the program settle afterwards: the expected boxes are
// checked and answered in order, and a box nobody expected fails the test.
#pragma once
#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace robot {

using Items = std::vector<std::string>;   // a list's items, top first

// What a window shows, read with the wide calls (they also work across
// processes) and given back in the ANSI code page the program uses.
std::string Text(HWND window);
std::string ClassOf(HWND window);
Items ListItems(HWND list);
// A list view's rows in report mode, their columns joined by tabs; the
// program must run in this process.
Items ListViewRows(HWND list);
int SelectedIndex(HWND list);          // -1: nothing selected
bool IsEnabled(HWND window);
// True when one of the window's controls shows exactly this text.
bool ShowsText(HWND window, const std::string& text);
// The static texts of a window of this process that are cramped: cut off or
// wrapped in the font they are drawn with, or touching another control. One
// line each ("text": what is wrong); "" when every text has room.
std::string CrampedTexts(HWND window);

// Of a control of this process, in the control's own font: the size of text
// drawn in one line; and whether every character of text is drawn as a
// glyph of its own rather than as the box of a character the font lacks.
SIZE TextExtent(HWND control, const std::string& text);
bool DrawsCharacters(HWND control, const std::string& text);
// The text of a message box (its static with id 0xFFFF), or "" if none.
std::string MessageBoxText(HWND box);
bool IsMessageBox(HWND window);
// An item of the window's menu, as the user finds it once its popup opened
// (Robot::OpenMenu). A missing item fails the test.
bool MenuGrayed(HWND window, int id);
bool MenuChecked(HWND window, int id);

// The clipboard, as another program uses it.
void PutOnClipboard(const std::string& text);
void EmptyTheClipboard();
std::string ClipboardText();           // "<none>" when it holds no text

struct WindowSeen {
    HWND window;
    std::string className;
    std::string caption;
    std::string text;                  // message boxes only
    std::string Describe() const;
};

class Robot {
public:
    Robot();
    ~Robot();
    Robot(const Robot&) = delete;
    Robot& operator=(const Robot&) = delete;

    // Which windows are acted on and watched: those of one thread of this
    // process, or those of one process.
    void WatchThread(DWORD threadId);
    void WatchProcess(DWORD processId);
    void StopWatching();

    class Expectation {
    public:
        // Arms the expectation; the box is answered with this button id
        // (IDOK, IDYES, IDNO...). A box already open is answered at once.
        void Answer(int buttonId);

    private:
        friend class Robot;
        Robot* robot_ = nullptr;
        std::string caption_;
        std::string text_;
        int answer_ = IDOK;
        bool armed_ = false;
    };
    Expectation& Expect(const std::string& caption, const std::string& text);

    // The user's actions. Each posts what the system would deliver, then
    // settles.
    void Command(HWND window, int id);              // a menu item or accelerator
    void Click(HWND dialog, int buttonId);          // a push button
    void Key(HWND target, UINT virtualKey);         // key down and up
    void KeyToFocus(UINT virtualKey);               // to the focused window
    void Type(HWND edit, const std::string& text);  // one WM_CHAR per character
    // Opens a popup of the window's menu: sends what the system sends as it
    // opens, so that the program sets its items' state.
    void OpenMenu(HWND window, int popupIndex);
    // Pastes text from the clipboard at the edit's caret, as Ctrl+V does: a
    // long path goes in at once, however slowly the program takes keys.
    void Paste(HWND edit, const std::string& text);
    // Waits until the program has used this much processor time (or has
    // stopped working): "let it get some way", counted in work, not in time.
    void LetProgramWork(DWORD milliseconds);
    void SetText(HWND edit, const std::string& text);
    void SelectItem(HWND list, int index);          // a single click on the item
    void DoubleClickItem(HWND list, int index);
    void DropFiles(HWND target, const std::vector<std::string>& paths);
    void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // The next action (Command, Click, Post) is preceded by change, run on
    // the program's own thread just before it takes the action: another
    // program's change to a file that the program cannot notice in between
    // (its timers come after posted messages). In-process programs only.
    void ChangeBeforeNextAction(std::function<void()> change);

    // Lets everything posted so far run, answering the expected message
    // boxes in order; fails on an unexpected box or on one that never comes.
    void Settle();
    // Fails the test for every message box that is open now, and answers it.
    void ExpectNoMessageBox();
    // Expectations armed but not met; each one fails the test. Then cleared.
    void CheckAllExpectationsMet();

    // Top-level dialogs (class "#32770") of the watched windows.
    std::vector<WindowSeen> OpenDialogs() const;
    std::vector<WindowSeen> OpenMessageBoxes() const;
    // A watched top-level window with this caption and class, or null after
    // the timeout.
    HWND WaitForWindow(const std::string& caption, const std::string& className = "#32770",
                       DWORD timeoutMs = 30000);
    HWND FindWindowOf(const std::string& caption, const std::string& className = "#32770") const;
    // The timeouts only catch what never comes: waits end as soon as the
    // condition holds.
    bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 30000);
    bool WaitUntilGone(HWND window, DWORD timeoutMs = 30000);
    // The focused window of the watched UI thread (GetGUIThreadInfo).
    HWND Focus() const;

private:
    void Flush();
    // Processor time the watched program has used so far.
    unsigned long long ProgramTime() const;
    // Waits for the event or the program thread's end; Idle only when the
    // program did no work at all for a long stretch (stopped), never for
    // being slow.
    enum class Waited { Done, Ended, Idle };
    Waited WaitWhileWorking(HANDLE event, HANDLE thread);
    bool Watches(HWND window) const;
    DWORD UiThread() const;
    bool Service(const WindowSeen& box);   // false: the box stayed open
    bool HasArmedExpectation() const;
    std::string Describe(const std::vector<WindowSeen>& windows) const;

    DWORD threadId_ = 0;
    DWORD processId_ = 0;
    HHOOK hook_ = nullptr;
    HANDLE flushed_ = nullptr;
    std::deque<Expectation> expectations_;
    std::function<void()> change_;
};

// The program run in this process: a UI thread calls KeplinMain, the same
// entry that WinMain calls, with this program's module (which carries the
// program's resources) as its instance.
class ProgramThread {
public:
    ProgramThread() = default;
    ~ProgramThread();
    ProgramThread(const ProgramThread&) = delete;
    ProgramThread& operator=(const ProgramThread&) = delete;

    // Starts the program with this argument text and waits until its main
    // window exists; false when it does not come within the timeout.
    bool Start(const std::string& argumentText, DWORD timeoutMs = 10000);
    HWND MainWindow() const { return mainWindow_; }
    DWORD ThreadId() const { return threadId_; }
    bool Running() const;
    // Waits for KeplinMain to return; false on timeout.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode);

private:
    static DWORD WINAPI Run(void* self);
    std::string argumentText_;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    HWND mainWindow_ = nullptr;
};

// keplin.exe as a process of its own.
class ProgramProcess {
public:
    ProgramProcess() = default;
    ~ProgramProcess();   // a process still running is terminated
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    // Starts exePath with this argument text after its quoted name.
    bool Start(const std::string& exePath, const std::string& argumentText);
    // Waits for the process's main window (class "KEPLIN"); null on timeout.
    HWND WaitForMainWindow(DWORD timeoutMs = 10000);
    DWORD ProcessId() const { return processId_; }
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode);

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
};

// The top-level window of class "KEPLIN" of this thread or process, or null.
HWND FindMainWindowOfThread(DWORD threadId);
HWND FindMainWindowOfProcess(DWORD processId);

}  // namespace robot
