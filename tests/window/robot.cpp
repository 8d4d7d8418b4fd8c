#include "robot.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/win32/startup.h"

namespace robot {
namespace {

// Limits that only catch a program that stopped: none of them is a speed
// the program must reach. A loaded machine, or Wine's whole-heap check that
// slows every allocation, makes everything slower but still passes.
constexpr DWORD kBoxTimeoutMs = 30000;
constexpr DWORD kReplyTimeoutMs = 120000;
// How long the program may go without using any processor time before a
// wait for it gives up: time it spends working never counts.
constexpr DWORD kIdleLimitMs = 30000;

std::string Narrow(const std::wstring& wide) {
    if (wide.empty()) return std::string();
    int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                   nullptr, nullptr);
    std::string text(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &text[0], size, nullptr,
                        nullptr);
    return text;
}

// SendMessage that cannot hang the test on a program that stopped answering.
LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kReplyTimeoutMs, &result)) {
        ADD_FAILURE() << "window " << window << " did not answer message 0x" << std::hex << message;
        return -1;
    }
    return static_cast<LRESULT>(result);
}

// The message the robot posts to the UI thread to learn that everything
// posted before it has been taken from the queue.
UINT FlushMessage() {
    static UINT message = RegisterWindowMessageA("KeplinRobotFlush");
    return message;
}

// The message that runs a change on the program's thread (ChangeBeforeNextAction).
UINT RunMessage() {
    static UINT message = RegisterWindowMessageA("KeplinRobotRun");
    return message;
}

LRESULT CALLBACK WatchMessages(int code, WPARAM removed, LPARAM lParam) {
    if (code == HC_ACTION && (removed & PM_REMOVE)) {
        MSG* message = reinterpret_cast<MSG*>(lParam);
        if (message->message == RunMessage() && message->hwnd == nullptr) {
            message->message = WM_NULL;
            (*reinterpret_cast<std::function<void()>*>(message->lParam))();
        }
        if (message->message == FlushMessage() && message->hwnd == nullptr) {
            HANDLE flushed = reinterpret_cast<HANDLE>(message->lParam);
            message->message = WM_NULL;
            SetEvent(flushed);
        }
    }
    return CallNextHookEx(nullptr, code, removed, lParam);
}

// Processor time a thread or a process has used so far, in 100 ns units.
ULONGLONG Sum(const FILETIME& kernel, const FILETIME& user) {
    return (static_cast<ULONGLONG>(kernel.dwHighDateTime) << 32 | kernel.dwLowDateTime) +
           (static_cast<ULONGLONG>(user.dwHighDateTime) << 32 | user.dwLowDateTime);
}

// What a thread or process (opened for querying, closed here) has used.
using TimesQuery = BOOL(WINAPI*)(HANDLE, LPFILETIME, LPFILETIME, LPFILETIME, LPFILETIME);
ULONGLONG TimeUsed(HANDLE handle, TimesQuery query) {
    FILETIME created, ended, kernel{}, user{};
    ULONGLONG used = 0;
    if (handle && query(handle, &created, &ended, &kernel, &user)) used = Sum(kernel, user);
    if (handle) CloseHandle(handle);
    return used;
}

ULONGLONG ThreadTime(DWORD threadId) {
    return TimeUsed(OpenThread(THREAD_QUERY_INFORMATION, FALSE, threadId), GetThreadTimes);
}

ULONGLONG ProcessTime(DWORD processId) {
    return TimeUsed(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId), GetProcessTimes);
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM windows) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

struct FindMain {
    DWORD threadId;
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindMainProc(HWND window, LPARAM data) {
    FindMain* find = reinterpret_cast<FindMain*>(data);
    DWORD processId = 0;
    DWORD threadId = GetWindowThreadProcessId(window, &processId);
    if ((find->threadId && threadId != find->threadId) || (find->processId && processId != find->processId))
        return TRUE;
    if (ClassOf(window) != "KEPLIN") return TRUE;
    find->found = window;
    return FALSE;
}

}  // namespace

std::string Text(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int got = GetWindowTextW(window, &text[0], length + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return Narrow(text);
}

std::string ClassOf(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

Items ListItems(HWND list) {
    Items items;
    LRESULT count = Ask(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = Ask(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length < 0) length = 0;
        // Room to spare: a list may report a length shorter than its text.
        std::wstring text(static_cast<size_t>(length) + 512, L'\0');
        LRESULT got = Ask(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&text[0]));
        text.resize(got > 0 ? static_cast<size_t>(got) : 0);
        items.push_back(Narrow(text));
    }
    return items;
}

Items ListViewRows(HWND list) {
    Items rows;
    const LRESULT count = Ask(list, LVM_GETITEMCOUNT, 0, 0);
    HWND header = reinterpret_cast<HWND>(Ask(list, LVM_GETHEADER, 0, 0));
    const LRESULT columns = header != nullptr ? Ask(header, HDM_GETITEMCOUNT, 0, 0) : 1;
    for (LRESULT i = 0; i < count; ++i) {
        std::string row;
        for (LRESULT column = 0; column < columns; ++column) {
            wchar_t text[1024] = L"";
            LVITEMW item{};
            item.iSubItem = static_cast<int>(column);
            item.pszText = text;
            item.cchTextMax = 1024;
            Ask(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            row += (column > 0 ? "\t" : "") + Narrow(text);
        }
        rows.push_back(row);
    }
    return rows;
}

int SelectedIndex(HWND list) {
    LRESULT index = Ask(list, LB_GETCURSEL, 0, 0);
    return index == LB_ERR ? -1 : static_cast<int>(index);
}

bool IsEnabled(HWND window) { return IsWindowEnabled(window) != FALSE; }

bool ShowsText(HWND window, const std::string& text) {
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (Text(child) == text) return true;
    return false;
}

std::string CrampedTexts(HWND window) {
    std::vector<std::pair<HWND, RECT>> controls;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(child, &r);
        controls.emplace_back(child, r);
    }
    std::string cramped;
    for (const auto& [control, rect] : controls) {
        if (ClassOf(control) != "Static" || (GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) continue;
        const std::string text = Text(control);
        std::wstring wide(text.size() + 1, L'\0');
        wide.resize(MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size())) - 1);
        HDC dc = GetDC(control);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
        RECT needed = {0, 0, 0, 0};
        DrawTextW(dc, wide.c_str(), -1, &needed, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
        ReleaseDC(control, dc);
        RECT client;
        GetClientRect(control, &client);
        if (needed.right > client.right || needed.bottom > client.bottom)
            cramped += "\"" + text + "\": needs " + std::to_string(needed.right) + "x" + std::to_string(needed.bottom) +
                       " pixels, has " + std::to_string(client.right) + "x" + std::to_string(client.bottom) + "\n";
        for (const auto& [other, otherRect] : controls) {
            RECT overlap;
            if (other != control && IntersectRect(&overlap, &rect, &otherRect))
                cramped += "\"" + text + "\": touches \"" + Text(other) + "\"\n";
        }
    }
    return cramped;
}

namespace {

std::wstring Widen(const std::string& text) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], size);
    return wide;
}

// A memory device context with the control's font selected, and a bitmap
// to draw into.
class FontCanvas {
public:
    explicit FontCanvas(HWND control) : dc_(CreateCompatibleDC(nullptr)) {
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
        oldFont_ = SelectObject(dc_, font ? font : GetStockObject(SYSTEM_FONT));
    }
    ~FontCanvas() {
        SelectObject(dc_, oldFont_);
        if (bitmap_) DeleteObject(SelectObject(dc_, oldBitmap_));
        DeleteDC(dc_);
    }
    FontCanvas(const FontCanvas&) = delete;
    FontCanvas& operator=(const FontCanvas&) = delete;

    SIZE Extent(const std::wstring& text) const {
        SIZE size = {};
        GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
        return size;
    }
    // The pixels of one character drawn black on white.
    std::vector<DWORD> Drawn(wchar_t character) {
        TEXTMETRICW metrics;
        GetTextMetricsW(dc_, &metrics);
        const int side = static_cast<int>(metrics.tmHeight) * 3;
        if (!bitmap_) {
            BITMAPINFO info = {};
            info.bmiHeader.biSize = sizeof info.bmiHeader;
            info.bmiHeader.biWidth = side;
            info.bmiHeader.biHeight = side;
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
            oldBitmap_ = SelectObject(dc_, bitmap_);
            side_ = side;
        }
        RECT all = {0, 0, side_, side_};
        FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SetTextColor(dc_, RGB(0, 0, 0));
        SetBkMode(dc_, TRANSPARENT);
        ExtTextOutW(dc_, 2, 2, 0, nullptr, &character, 1, nullptr);
        GdiFlush();
        return std::vector<DWORD>(bits_, bits_ + side_ * side_);
    }

private:
    HDC dc_;
    HGDIOBJ oldFont_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    DWORD* bits_ = nullptr;
    int side_ = 0;
};

}  // namespace

SIZE TextExtent(HWND control, const std::string& text) { return FontCanvas(control).Extent(Widen(text)); }

bool DrawsCharacters(HWND control, const std::string& text) {
    FontCanvas canvas(control);
    // U+FFFF is no character: every font draws it as its box for what it lacks.
    const std::vector<DWORD> missing = canvas.Drawn(0xFFFF);
    const std::vector<DWORD> blank(missing.size(), 0x00FFFFFF);
    for (wchar_t character : Widen(text)) {
        const std::vector<DWORD> drawn = canvas.Drawn(character);
        if (character != L' ' && (drawn == missing || drawn == blank)) return false;
    }
    return true;
}

std::string MessageBoxText(HWND box) {
    HWND text = GetDlgItem(box, 0xFFFF);
    return text ? Text(text) : std::string();
}

// A message box holds its text, an icon and buttons with the standard answer
// ids only; a dialog of the program has controls or ids of its own.
bool IsMessageBox(HWND window) {
    if (ClassOf(window) != "#32770" || GetDlgItem(window, 0xFFFF) == nullptr) return false;
    int buttons = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::string name = ClassOf(child);
        if (name == "Button") {
            int id = GetDlgCtrlID(child);
            if (id < IDOK || id > IDCONTINUE) return false;
            ++buttons;
        } else if (name != "Static") {
            return false;
        }
    }
    return buttons > 0;
}

static UINT MenuState(HWND window, int id) {
    UINT state = GetMenuState(GetMenu(window), id, MF_BYCOMMAND);
    EXPECT_NE(state, static_cast<UINT>(-1)) << "no item " << id << " in the menu of \"" << Text(window) << "\"";
    return state == static_cast<UINT>(-1) ? 0 : state;
}

bool MenuGrayed(HWND window, int id) { return (MenuState(window, id) & (MF_GRAYED | MF_DISABLED)) != 0; }
bool MenuChecked(HWND window, int id) { return (MenuState(window, id) & MF_CHECKED) != 0; }

// Opened without a window of ours, so that nobody waits for this thread.
static bool OpenTheClipboard() {
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (OpenClipboard(nullptr)) return true;
        Sleep(20);
    }
    ADD_FAILURE() << "cannot open the clipboard";
    return false;
}

void PutOnClipboard(const std::string& text) {
    const int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(size) * sizeof(wchar_t));
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, static_cast<wchar_t*>(GlobalLock(copy)), size);
    GlobalUnlock(copy);
    // Under load Wine now and then refuses the data with error 1400 (an
    // invalid window handle) although the clipboard was opened and emptied;
    // the whole put is made again.
    DWORD error = 0;
    for (int attempt = 0; attempt < 5 && OpenTheClipboard(); ++attempt) {
        EmptyClipboard();
        const bool put = SetClipboardData(CF_UNICODETEXT, copy) != nullptr;
        error = GetLastError();
        CloseClipboard();
        if (put) return;
        Sleep(100);
    }
    ADD_FAILURE() << "cannot put text on the clipboard, error " << error;
    GlobalFree(copy);
}

void EmptyTheClipboard() {
    if (!OpenTheClipboard()) return;
    EmptyClipboard();
    CloseClipboard();
}

std::string ClipboardText() {
    if (!OpenTheClipboard()) return "<none>";
    std::string text = "<none>";
    // As Unicode: the text the system makes for CF_TEXT is in the locale's
    // code page, not the program's.
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const wchar_t* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = Narrow(chars);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

std::string WindowSeen::Describe() const {
    std::string line = "[" + className + "] \"" + caption + "\"";
    if (!text.empty()) line += ": \"" + text + "\"";
    return line;
}

HWND FindMainWindowOfThread(DWORD threadId) {
    FindMain find{threadId, 0, nullptr};
    EnumWindows(FindMainProc, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

HWND FindMainWindowOfProcess(DWORD processId) {
    FindMain find{0, processId, nullptr};
    EnumWindows(FindMainProc, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

// ---- Robot ----------------------------------------------------------------

Robot::Robot() : flushed_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}

Robot::~Robot() {
    StopWatching();
    CloseHandle(flushed_);
}

void Robot::WatchThread(DWORD threadId) {
    StopWatching();
    threadId_ = threadId;
    hook_ = SetWindowsHookExA(WH_GETMESSAGE, WatchMessages, nullptr, threadId);
    if (!hook_) ADD_FAILURE() << "cannot watch the program's messages, error " << GetLastError();
}

void Robot::WatchProcess(DWORD processId) {
    StopWatching();
    processId_ = processId;
}

void Robot::StopWatching() {
    if (hook_) UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
    threadId_ = 0;
    processId_ = 0;
}

bool Robot::Watches(HWND window) const {
    DWORD processId = 0;
    DWORD threadId = GetWindowThreadProcessId(window, &processId);
    if (threadId_) return threadId == threadId_;
    if (processId_) return processId == processId_;
    return false;
}

DWORD Robot::UiThread() const {
    if (threadId_) return threadId_;
    HWND main = FindMainWindowOfProcess(processId_);
    return main ? GetWindowThreadProcessId(main, nullptr) : 0;
}

Robot::Expectation& Robot::Expect(const std::string& caption, const std::string& text) {
    expectations_.emplace_back();
    Expectation& expectation = expectations_.back();
    expectation.robot_ = this;
    expectation.caption_ = caption;
    expectation.text_ = text;
    return expectation;
}

void Robot::Expectation::Answer(int buttonId) {
    answer_ = buttonId;
    armed_ = true;
    // The action came first (a raw post, or a box that shows late).
    if (!robot_->OpenMessageBoxes().empty()) robot_->Settle();
}

bool Robot::HasArmedExpectation() const {
    return !expectations_.empty() && expectations_.front().armed_;
}

ULONGLONG Robot::ProgramTime() const {
    return threadId_ ? ThreadTime(threadId_) : processId_ ? ProcessTime(processId_) : 0;
}

Robot::Waited Robot::WaitWhileWorking(HANDLE event, HANDLE thread) {
    const HANDLE handles[] = {event, thread};
    ULONGLONG used = ProgramTime();
    DWORD idle = 0;
    for (;;) {
        switch (WaitForMultipleObjects(thread ? 2 : 1, handles, FALSE, 250)) {
        case WAIT_OBJECT_0: return Waited::Done;
        case WAIT_OBJECT_0 + 1: return Waited::Ended;
        default: break;
        }
        const ULONGLONG now = ProgramTime();
        idle = now != used ? 0 : idle + 250;
        used = now;
        if (idle >= kIdleLimitMs) return Waited::Idle;
    }
}

void Robot::Flush() {
    if (threadId_) {
        // A program that is ending takes the message posted to it but never
        // answers: its thread's end ends the wait.
        HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, threadId_);
        // Each round trip proves that what was posted before it has been
        // taken; a few rounds cover handlers that post further messages.
        for (int round = 0; round < 4; ++round) {
            ResetEvent(flushed_);
            if (!PostThreadMessageA(threadId_, FlushMessage(), 0, reinterpret_cast<LPARAM>(flushed_))) break;
            const Waited waited = WaitWhileWorking(flushed_, thread);
            if (waited == Waited::Done) continue;
            if (waited == Waited::Idle) ADD_FAILURE() << "the program took no messages and did no work for 30 s";
            break;
        }
        if (thread) CloseHandle(thread);
        return;
    }
    // Another process: no way to see its queue; let it answer a few messages.
    HWND main = FindMainWindowOfProcess(processId_);
    for (int round = 0; round < 3; ++round) {
        Sleep(50);
        if (main && IsWindow(main)) {
            DWORD_PTR ignored;
            SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, kReplyTimeoutMs, &ignored);
        }
    }
}

void Robot::Settle() {
    DWORD waitingSince = GetTickCount();
    for (int guard = 0; guard < 1000; ++guard) {
        Flush();
        std::vector<WindowSeen> boxes = OpenMessageBoxes();
        if (!boxes.empty()) {
            if (!Service(boxes.front())) return;
            waitingSince = GetTickCount();
            continue;
        }
        if (!HasArmedExpectation()) return;
        if (GetTickCount() - waitingSince > kBoxTimeoutMs) {
            const Expectation& missing = expectations_.front();
            ADD_FAILURE() << "expected a message box \"" << missing.caption_ << "\": \"" << missing.text_
                          << "\", none came. Open dialogs: " << Describe(OpenDialogs());
            expectations_.pop_front();
            waitingSince = GetTickCount();
            continue;
        }
        Sleep(20);
    }
}

bool Robot::Service(const WindowSeen& box) {
    int answer;
    if (HasArmedExpectation()) {
        Expectation expected = expectations_.front();
        expectations_.pop_front();
        EXPECT_EQ(box.caption, expected.caption_) << "caption of the message box " << box.Describe();
        EXPECT_EQ(box.text, expected.text_) << "text of the message box " << box.Describe();
        answer = expected.answer_;
    } else {
        ADD_FAILURE() << "unexpected message box " << box.Describe();
        // Leave it the way that changes nothing.
        answer = GetDlgItem(box.window, IDNO) ? IDNO : GetDlgItem(box.window, IDCANCEL) ? IDCANCEL : IDOK;
    }
    HWND button = GetDlgItem(box.window, answer);
    if (!button) ADD_FAILURE() << "the message box " << box.Describe() << " has no button " << answer;
    PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    if (WaitUntilGone(box.window)) return true;
    ADD_FAILURE() << "the message box " << box.Describe() << " stayed open";
    return false;
}

void Robot::ExpectNoMessageBox() {
    Flush();
    for (const WindowSeen& box : OpenMessageBoxes()) {
        ADD_FAILURE() << "unexpected message box " << box.Describe();
        PostMessageW(box.window, WM_COMMAND, GetDlgItem(box.window, IDNO) ? IDNO : IDOK, 0);
        WaitUntilGone(box.window);
    }
}

void Robot::CheckAllExpectationsMet() {
    if (HasArmedExpectation()) Settle();
    for (const Expectation& left : expectations_)
        ADD_FAILURE() << "message box \"" << left.caption_ << "\": \"" << left.text_ << "\" was "
                      << (left.armed_ ? "expected but never shown" : "expected without an answer");
    expectations_.clear();
}

std::vector<WindowSeen> Robot::OpenDialogs() const {
    std::vector<WindowSeen> found;
    for (HWND window : TopLevelWindows()) {
        // Not only visible ones: a modal dialog shows itself only once its
        // queue first runs empty, which may be just after a settle.
        if (!Watches(window)) continue;
        std::string name = ClassOf(window);
        if (name == "#32770")
            found.push_back({window, name, Text(window), IsMessageBox(window) ? MessageBoxText(window) : ""});
    }
    return found;
}

std::vector<WindowSeen> Robot::OpenMessageBoxes() const {
    std::vector<WindowSeen> boxes;
    for (const WindowSeen& dialog : OpenDialogs())
        if (IsMessageBox(dialog.window)) boxes.push_back(dialog);
    return boxes;
}

std::string Robot::Describe(const std::vector<WindowSeen>& windows) const {
    if (windows.empty()) return "none";
    std::string text;
    for (const WindowSeen& window : windows) text += (text.empty() ? "" : ", ") + window.Describe();
    return text;
}

HWND Robot::FindWindowOf(const std::string& caption, const std::string& className) const {
    for (HWND window : TopLevelWindows())
        if (Watches(window) && ClassOf(window) == className && Text(window) == caption) return window;
    return nullptr;
}

HWND Robot::WaitForWindow(const std::string& caption, const std::string& className, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindWindowOf(caption, className)) != nullptr; }, timeoutMs);
    return found;
}

bool Robot::WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
}

bool Robot::WaitUntilGone(HWND window, DWORD timeoutMs) {
    return WaitUntil([&] { return !IsWindow(window); }, timeoutMs);
}

HWND Robot::Focus() const {
    GUITHREADINFO info;
    std::memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(UiThread(), &info)) return nullptr;
    return info.hwndFocus ? info.hwndFocus : info.hwndActive;
}

// ---- actions ----------------------------------------------------------------

void Robot::ChangeBeforeNextAction(std::function<void()> change) { change_ = std::move(change); }

void Robot::Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The change goes first in the queue: the action comes right after it,
    // before any timer of the program.
    std::function<void()> change = std::move(change_);
    change_ = nullptr;
    if (change && !PostThreadMessageA(threadId_, RunMessage(), 0, reinterpret_cast<LPARAM>(&change)))
        ADD_FAILURE() << "cannot run a change on the program's thread";
    if (!PostMessageW(window, message, wParam, lParam))
        ADD_FAILURE() << "cannot post message 0x" << std::hex << message << " to window " << window;
    Settle();
}

void Robot::Command(HWND window, int id) { Post(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void Robot::Click(HWND dialog, int buttonId) {
    HWND button = GetDlgItem(dialog, buttonId);
    if (!button) {
        ADD_FAILURE() << "no button " << buttonId << " in \"" << Text(dialog) << "\"";
        return;
    }
    if (!IsEnabled(button)) {
        ADD_FAILURE() << "the button \"" << Text(button) << "\" is disabled and cannot be clicked";
        return;
    }
    Post(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void Robot::Key(HWND target, UINT virtualKey) {
    UINT scan = MapVirtualKeyA(virtualKey, 0);
    LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
    LPARAM up = down | (1L << 30) | (1L << 31);
    PostMessageW(target, WM_KEYDOWN, virtualKey, down);
    PostMessageW(target, WM_KEYUP, virtualKey, up);
    Settle();
}

void Robot::KeyToFocus(UINT virtualKey) {
    HWND target = Focus();
    if (!target) {
        ADD_FAILURE() << "no window of the program has the focus";
        return;
    }
    Key(target, virtualKey);
}

void Robot::Type(HWND edit, const std::string& text) {
    // The keyboard delivers characters, not the bytes of the program's code page.
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], size);
    for (wchar_t c : wide) PostMessageW(edit, WM_CHAR, c, 1);
    Settle();
}

void Robot::OpenMenu(HWND window, int popupIndex) {
    HMENU popup = GetSubMenu(GetMenu(window), popupIndex);
    if (!popup) {
        ADD_FAILURE() << "no popup " << popupIndex << " in the menu of \"" << Text(window) << "\"";
        return;
    }
    Ask(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(popupIndex, FALSE));
    Settle();
}

void Robot::Paste(HWND edit, const std::string& text) {
    PutOnClipboard(text);
    // Wine's clipboard keeper opens the clipboard itself when its content
    // changes, and a paste that meets it open does nothing: the edit keeps
    // its text and its selection. Only such a paste is made again.
    const std::string before = Text(edit);
    const LRESULT selection = Ask(edit, EM_GETSEL, 0, 0);
    for (int attempt = 0; attempt < 5; ++attempt) {
        Post(edit, WM_PASTE, 0, 0);
        if (text.empty() || Text(edit) != before || Ask(edit, EM_GETSEL, 0, 0) != selection) return;
        Sleep(100);
    }
}

void Robot::LetProgramWork(DWORD milliseconds) {
    const ULONGLONG start = ProgramTime();
    const ULONGLONG wanted = static_cast<ULONGLONG>(milliseconds) * 10000;
    ULONGLONG used = start;
    DWORD idle = 0;
    while (used - start < wanted && idle < kIdleLimitMs) {
        Sleep(50);
        const ULONGLONG now = ProgramTime();
        idle = now != used ? 0 : idle + 50;
        used = now;
    }
}

void Robot::SetText(HWND edit, const std::string& text) {
    SetWindowTextA(edit, text.c_str());
    Settle();
}

static LPARAM ItemCentre(HWND list, int index) {
    RECT item{};
    if (ClassOf(list) == WC_LISTVIEWA) {
        item.left = LVIR_BOUNDS;
        if (!SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)))
            ADD_FAILURE() << "the list view has no item " << index;
    } else if (SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) ==
               LB_ERR) {
        ADD_FAILURE() << "the list has no item " << index;
    }
    return MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
}

void Robot::SelectItem(HWND list, int index) {
    LPARAM at = ItemCentre(list, index);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    Settle();
}

void Robot::DoubleClickItem(HWND list, int index) {
    LPARAM at = ItemCentre(list, index);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    Settle();
}

void Robot::DropFiles(HWND target, const std::vector<std::string>& paths) {
    // What the shell hands a window when files are dropped on it: a
    // DROPFILES header followed by the names, double-NUL-terminated.
    size_t namesSize = 1;
    for (const std::string& path : paths) namesSize += path.size() + 1;
    HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + namesSize);
    DROPFILES* header = static_cast<DROPFILES*>(GlobalLock(drop));
    header->pFiles = sizeof(DROPFILES);
    header->pt.x = 20;
    header->pt.y = 20;
    header->fNC = FALSE;
    header->fWide = FALSE;
    char* names = reinterpret_cast<char*>(header + 1);
    for (const std::string& path : paths) {
        std::memcpy(names, path.c_str(), path.size() + 1);
        names += path.size() + 1;
    }
    *names = '\0';
    GlobalUnlock(drop);
    Post(target, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
}

// ---- ProgramThread ------------------------------------------------------------

DWORD WINAPI ProgramThread::Run(void* self) {
    ProgramThread* program = static_cast<ProgramThread*>(self);
    return static_cast<DWORD>(
        KeplinMain(GetModuleHandleA(nullptr), program->argumentText_.c_str(), SW_SHOWNORMAL));
}

bool ProgramThread::Start(const std::string& argumentText, DWORD timeoutMs) {
    argumentText_ = argumentText;
    thread_ = CreateThread(nullptr, 0, Run, this, 0, &threadId_);
    if (!thread_) return false;
    DWORD start = GetTickCount();
    while (GetTickCount() - start <= timeoutMs) {
        mainWindow_ = FindMainWindowOfThread(threadId_);
        if (mainWindow_) return true;
        if (WaitForSingleObject(thread_, 20) == WAIT_OBJECT_0) return false;
    }
    return false;
}

bool ProgramThread::Running() const { return thread_ && WaitForSingleObject(thread_, 0) == WAIT_TIMEOUT; }

bool ProgramThread::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    if (!thread_ || WaitForSingleObject(thread_, timeoutMs) != WAIT_OBJECT_0) return false;
    GetExitCodeThread(thread_, exitCode);
    return true;
}

ProgramThread::~ProgramThread() {
    if (!thread_) return;
    if (Running()) {
        // A program that would not close: nothing else can be done in this
        // process, which ends with the test.
        TerminateThread(thread_, 1);
        WaitForSingleObject(thread_, 1000);
    }
    CloseHandle(thread_);
}

// ---- ProgramProcess -----------------------------------------------------------

bool ProgramProcess::Start(const std::string& exePath, const std::string& argumentText) {
    std::string commandLine = "\"" + exePath + "\"";
    if (!argumentText.empty()) commandLine += " " + argumentText;
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info;
    if (!CreateProcessA(exePath.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return false;
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    return true;
}

HWND ProgramProcess::WaitForMainWindow(DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start <= timeoutMs) {
        HWND main = FindMainWindowOfProcess(processId_);
        if (main) return main;
        if (WaitForSingleObject(process_, 20) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

bool ProgramProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return false;
    GetExitCodeProcess(process_, exitCode);
    return true;
}

ProgramProcess::~ProgramProcess() {
    if (!process_) return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

}  // namespace robot
