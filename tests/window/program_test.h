// The fixture of the in-process window tests: the program runs on a UI
// thread of the test process and the test acts as its user.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "res/resource.h"
#include "robot.h"
#include "test_files.h"
#include "user_steps.h"

using robot::Items;

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes an INI file of exactly these bytes into the test's folder and
    // gives its full path.
    std::string WriteIni(const std::string& name, const std::string& bytes);
    std::string PathOf(const std::string& name) const { return *folder_ / name; }
    std::string Folder() const { return folder_->Path(); }
    // A file beside the program (where backups and the preferences go),
    // removed before the test, should an earlier run have left it, and after.
    std::string Beside(const std::string& fileName);
    // The preferences an earlier run left: these lines under [KEPLIN].
    void PreferencesAtStart(const std::string& lines);

    // Starts the program with this argument text. Message boxes shown while
    // it starts are expected before.
    void Start(const std::string& argumentText);
    // Ends with Exit, Escape or Close; the program's exit code.
    DWORD WaitForProgramEnd();

    // What the user sees in the main window.
    HWND Main() const { return program_.MainWindow(); }
    HWND Control(int id) const { return GetDlgItem(Main(), id); }
    std::vector<std::string> Sections() const { return robot::ListItems(Control(IDC_SECTION_LIST)); }
    std::string SelectedSection() const;
    int SelectedIndex() const { return robot::SelectedIndex(Control(IDC_SECTION_LIST)); }
    std::string Label() const { return robot::Text(Control(IDC_FILE_LABEL)); }
    bool ButtonEnabled(int id) const { return robot::IsEnabled(Control(id)); }
    HWND Focus() const { return robot.Focus(); }

    // The main menu, as the user finds it when a popup opens.
    void OpenMenu(int popupIndex) { robot.OpenMenu(Main(), popupIndex); }
    bool MenuChecked(int id) const { return robot::MenuChecked(Main(), id); }
    bool MenuGrayed(int id) const { return robot::MenuGrayed(Main(), id); }
    // Find Next as the user finds it when the Search menu of this window (by
    // default the main window) opens.
    bool FindNextGrayed(HWND window = nullptr);

    // The user's actions on the main window.
    void Command(int id) { robot.Command(Main(), id); }
    void Click(int id) { robot.Click(Main(), id); }
    void Key(UINT virtualKey) { robot.KeyToFocus(virtualKey); }
    HWND FillInsertSection(const std::string& name, const std::string& key, const std::string& value) {
        return robot.FillInsertSection(Main(), name, key, value);
    }
    void InsertSection(const std::string& name, const std::string& key, const std::string& value,
                       const std::string& expectedBox = "") {
        robot.InsertSection(Main(), name, key, value, expectedBox);
    }
    void DeleteSection(int index, const std::string& header, int answer, const std::string& thenBox = "") {
        robot.DeleteSection(Main(), index, header, answer, thenBox);
    }

    steps::User robot;

private:
    void CloseLeftOverDialogs();

    robot::ProgramThread program_;
    std::unique_ptr<testfiles::ScratchFolder> folder_;
    std::vector<std::string> besideTheProgram_;
    bool ended_ = false;
};
