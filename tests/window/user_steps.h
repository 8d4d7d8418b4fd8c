// The steps a user takes in KEPLIN's windows, written once for every fixture:
// the captions of its windows, and the robot's actions put together into
// Insert Section, the view's Insert, opening a listed section and leaving
// it, Find, Delete Section, and OK or Cancel in a screen.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "robot.h"

namespace steps {

// The captions of the program's windows.
constexpr char kSectionNameScreen[] = "Input New Section Name";
constexpr char kInsertScreen[] = "Keyname Insert Screen";
constexpr char kEditScreen[] = "Keyname Edit Screen";
constexpr char kSectionView[] = "Viewing Section";
constexpr char kSelectIniFile[] = "Select INI File";
constexpr char kFind[] = "Find";
constexpr char kAbout[] = "About KEPLIN";
constexpr char kPrinting[] = "KEPLIN is Printing";
constexpr char kPrint[] = "Print";   // the platform's print dialog
constexpr char kCheckFile[] = "Check File";

// Counts the messages of one kind that reach a window of the program (for
// WM_COMMAND, those with one id) while the count lives: its procedure is
// wrapped meanwhile. One count at a time.
class MessageCount {
public:
    MessageCount(HWND window, UINT message, int commandId = 0);
    ~MessageCount();
    MessageCount(const MessageCount&) = delete;
    MessageCount& operator=(const MessageCount&) = delete;
    LONG Count() const;

private:
    HWND window_;
};

// A robot that knows this program's windows. Every step settles, as the
// robot's own actions do; a screen that does not come or does not go fails
// the test, and a step that needs it gives back null.
class User : public robot::Robot {
public:
    // The program's window with this caption once it is open and shown.
    HWND Opened(const char* caption);

    // Clicks the button that ends this window, then waits until it is gone.
    void ClickToClose(HWND window, int buttonId);
    void Ok(HWND screen) { ClickToClose(screen, IDC_MAIN_MENU); }
    void Cancel(HWND screen) { ClickToClose(screen, IDC_CANCEL_BUTTON); }

    // A key pressed with Ctrl, as the character the keyboard gives for it
    // (0x1A for Ctrl+Z), to window's focused control, or to window.
    void PressCtrl(HWND window, WPARAM character);

    // Insert Section from the main window's menu: the screen asking for the name.
    HWND OpenInsertSection(HWND main);
    // The name typed and OK, then key and value typed into the insert
    // screen, which is left open.
    HWND FillInsertSection(HWND main, const std::string& name, const std::string& key, const std::string& value);
    // The same and OK; expectedBox, when given, is the message the change shows.
    void InsertSection(HWND main, const std::string& name, const std::string& key, const std::string& value,
                       const std::string& expectedBox = "");
    // Insert in the section view, key and value typed; the screen, left open.
    HWND FillInsertKey(HWND view, const std::string& key, const std::string& value);
    void InsertKey(HWND view, const std::string& key, const std::string& value,
                   const std::string& expectedBox = "");

    // Delete Section on the listed header at index, answering the question
    // with answer; thenBox, when given, is the message shown after it.
    void DeleteSection(HWND main, int index, const std::string& header, int answer,
                       const std::string& thenBox = "");

    // Delete in the section view on the line at index, whose key is key,
    // answering the question with answer.
    void DeleteKey(HWND view, int index, const std::string& key, int answer = IDYES);

    // Edit on the view's line at index: the edit screen, left open.
    HWND EditLine(HWND view, int index);
    // The same, the field's text replaced by value, and OK.
    void EditValue(HWND view, int index, const std::string& value);

    // View Section on the listed section at index; the section view.
    HWND OpenSection(HWND main, int index);
    // Main Menu in the section view.
    void LeaveView(HWND view) { ClickToClose(view, IDC_MAIN_MENU); }

    // Select INI File in the main window: its dialog.
    HWND OpenSelectIniFile(HWND main);
    // Replaces the text of the dialog's file-name box: all of it selected,
    // the name pasted over it (a long path goes in at once, however slow
    // the dialog).
    void TypeFileName(HWND dialog, const std::string& text);
    // Restore with backupName (a name in the dialog's folder, or a full
    // path) in the name box, answering the question that names it and target
    // with answer; thenBoxes are the messages expected after the question,
    // in order.
    void Restore(HWND dialog, const std::string& backupName, const std::string& target, int answer,
                 const std::vector<std::string>& thenBoxes = {});

    // Drags the window by its caption and its frame until it covers place,
    // as far as the window lets itself be made that small.
    void DragFrameTo(HWND window, const RECT& place);
    // Compare from the main window's menu, answering the question that
    // offers the backup (when one is given) with answer: the Compare window
    // with this caption, once open.
    HWND OpenCompare(HWND main, const std::string& caption, const std::string& question = "", int answer = IDYES);
    // Other file... in the Compare window, path typed into the platform's
    // file-open dialog and Open pressed.
    void CompareWithOtherFile(HWND compare, const std::string& path);
    // The rows the Compare window lists, each as its cells joined by " | ".
    // In-process programs only.
    static robot::Items CompareRows(HWND compare);
    // A click on the row at index.
    void SelectRow(HWND compare, int index);

    // Find from owner's Search menu: the Find dialog.
    HWND OpenFind(HWND owner);
    // The text typed, Match Case set, and Find; box is the message the
    // search is expected to show, if any.
    void Find(HWND owner, const std::string& text, bool matchCase = false, const char* box = nullptr);

private:
    // The insert screen, once open, with key and value typed.
    HWND FillInsertScreen(const std::string& key, const std::string& value);
};

}  // namespace steps
