// The setup program built beside the tests, as a user runs it: a silent
// install for the current user, the installed program at work, a silent
// uninstall, and what is left afterwards.
#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "test_files.h"
#include "user_steps.h"

namespace {

const char* const kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KEPLIN";
// What setup puts in the program's folder, and the uninstaller takes away.
const char* const kInstalledFiles[] = {"keplin.exe", "keplin.hlp", "keplin.html", "keplin.chm", "winhelp.hlp",
                                       "README.txt", "LICENSE.txt", "uninstall.exe"};

std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::string InstallFolder() { return ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\KEPLIN"; }
std::string Shortcut() { return ShellFolder(CSIDL_PROGRAMS) + "\\KEPLIN.lnk"; }

// Runs a program with this command line to its end; its exit code, or -1.
long RunToEnd(const std::string& commandLine, DWORD timeoutMs) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string text = commandLine;
    if (!CreateProcessA(nullptr, text.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    DWORD exitCode = 0xDEAD;
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &exitCode);
    else
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<long>(exitCode);
}

std::string RegistryText(const char* key, const char* name) {
    char value[MAX_PATH] = "";
    DWORD size = sizeof value - 1;
    DWORD type = 0;
    HKEY opened;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return "<missing>";
    LONG result = RegQueryValueExA(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(opened);
    if (result != ERROR_SUCCESS || type != REG_SZ) return "<missing>";
    return value;
}

long RegistryNumber(const char* key, const char* name) {
    DWORD value = 0, size = sizeof value, type = 0;
    HKEY opened;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return -1;
    LONG result = RegQueryValueExA(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(opened);
    return result == ERROR_SUCCESS && type == REG_DWORD ? static_cast<long>(value) : -1;
}

class InstallerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(FindWindowA(nullptr, "KEPLIN"), nullptr) << "a KEPLIN window of an earlier test is still open";
        // What an earlier run stopped halfway may have left.
        testfiles::DeleteTree(InstallFolder());
        DeleteFileA(Shortcut().c_str());
        SHDeleteKeyA(HKEY_CURRENT_USER, kUninstallKey);
        folder_ = std::make_unique<testfiles::ScratchFolder>("installer");
    }

    void TearDown() override {
        robot.CheckAllExpectationsMet();
        if (program_) {
            HWND main = robot::FindMainWindowOfProcess(program_->ProcessId());
            if (main) PostMessageA(main, WM_CLOSE, 0, 0);
            DWORD exitCode;
            program_->WaitForExit(5000, &exitCode);
            program_.reset();
        }
        robot.StopWatching();
        testfiles::DeleteTree(InstallFolder());
        DeleteFileA(Shortcut().c_str());
        SHDeleteKeyA(HKEY_CURRENT_USER, kUninstallKey);
        folder_.reset();
    }

    std::string Installed(const std::string& name) const { return InstallFolder() + "\\" + name; }

    steps::User robot;
    std::unique_ptr<robot::ProgramProcess> program_;
    std::unique_ptr<testfiles::ScratchFolder> folder_;
};

TEST_F(InstallerTest, InstallRunUninstallKeepsOnlyPreferencesAndBackups) {
    const std::string setup = testfiles::ExeDirectory() + "\\keplin-setup.exe";
    ASSERT_TRUE(testfiles::Exists(setup)) << setup << " was not built";

    // Install, silently, for this user alone: no administrator is asked.
    ASSERT_EQ(RunToEnd("\"" + setup + "\" /S", 60000), 0) << "setup failed";
    size_t installedBytes = 0;
    for (const char* name : kInstalledFiles) {
        EXPECT_TRUE(testfiles::Exists(Installed(name))) << name << " was not installed";
        installedBytes += testfiles::ReadBytes(Installed(name)).size();
    }
    EXPECT_EQ(testfiles::ReadBytes(Installed("keplin.exe")), testfiles::ReadBytes(testfiles::KeplinExe()))
        << "the installed program is not the one built here";
    EXPECT_TRUE(testfiles::Exists(Shortcut())) << "no Start-menu shortcut";
    EXPECT_EQ(RegistryText(kUninstallKey, "DisplayName"), "KEPLIN 2.2");
    EXPECT_EQ(RegistryText(kUninstallKey, "InstallLocation"), InstallFolder());
    // What Programs and Features shows: publisher, size in KB, help link.
    EXPECT_EQ(RegistryText(kUninstallKey, "Publisher"), "the KEPLIN authors");
    EXPECT_EQ(RegistryNumber(kUninstallKey, "EstimatedSize"), static_cast<long>(installedBytes / 1024));
    EXPECT_EQ(RegistryText(kUninstallKey, "HelpLink"), Installed("keplin.html"));

    // The installed program works, and can keep its preferences and backups
    // in its own folder.
    const std::string ini = *folder_ / "round.ini";
    ASSERT_TRUE(testfiles::WriteBytes(ini, "[Keep]\r\nk=1\r\n[Drop]\r\nd=2\r\n"));
    program_ = std::make_unique<robot::ProgramProcess>();
    ASSERT_TRUE(program_->Start(Installed("keplin.exe"), ini));
    robot.WatchProcess(program_->ProcessId());
    HWND main = program_->WaitForMainWindow();
    ASSERT_NE(main, nullptr) << "the installed program shows no window";
    robot.Settle();
    HWND list = GetDlgItem(main, IDC_SECTION_LIST);
    EXPECT_EQ(robot::ListItems(list), (std::vector<std::string>{"[Keep]", "[Drop]"}));
    robot.Command(main, IDM_BACKUP);
    robot.DeleteSection(main, 1, "[Drop]", IDYES);
    EXPECT_TRUE(robot.WaitUntil([&] { return robot::ListItems(list) == std::vector<std::string>{"[Keep]"}; }));
    robot.Post(main, WM_CLOSE, 0, 0);
    DWORD exitCode = 0xDEAD;
    EXPECT_TRUE(program_->WaitForExit(10000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    program_.reset();
    robot.StopWatching();
    ASSERT_TRUE(testfiles::Exists(Installed("QUENTARO.INI"))) << "no preferences beside the installed program";
    std::string backup = testfiles::ReadBytes(Installed("round.inB"));
    EXPECT_NE(backup.find("[Drop]"), std::string::npos) << "no backup beside the installed program: " << backup;
    EXPECT_NE(backup.find("OriginalLocation=" + ini), std::string::npos) << backup;

    // Uninstall, silently. The uninstaller runs a copy of itself and returns
    // at once; it is done when its own file and its registry entry are gone.
    ASSERT_EQ(RunToEnd("\"" + Installed("uninstall.exe") + "\" /S", 60000), 0);
    EXPECT_TRUE(robot.WaitUntil([&] {
        return !testfiles::Exists(Installed("uninstall.exe")) &&
               RegistryText(kUninstallKey, "DisplayName") == "<missing>";
    }, 30000)) << "the uninstaller did not finish";
    for (const char* name : kInstalledFiles)
        EXPECT_FALSE(testfiles::Exists(Installed(name))) << name << " was left behind";
    EXPECT_FALSE(testfiles::Exists(Shortcut())) << "the Start-menu shortcut was left behind";
    // The user's own data stays, and so does the folder that holds it.
    EXPECT_TRUE(testfiles::Exists(Installed("QUENTARO.INI"))) << "the preferences were removed";
    EXPECT_TRUE(testfiles::Exists(Installed("round.inB"))) << "the backup was removed";
}

TEST_F(InstallerTest, UninstallingAnUntouchedInstallLeavesNoFolder) {
    const std::string setup = testfiles::ExeDirectory() + "\\keplin-setup.exe";
    ASSERT_TRUE(testfiles::Exists(setup)) << setup << " was not built";
    ASSERT_EQ(RunToEnd("\"" + setup + "\" /S", 60000), 0) << "setup failed";
    ASSERT_TRUE(testfiles::Exists(Installed("uninstall.exe")));
    ASSERT_EQ(RunToEnd("\"" + Installed("uninstall.exe") + "\" /S", 60000), 0);
    EXPECT_TRUE(robot.WaitUntil([&] { return !testfiles::Exists(InstallFolder()); }, 30000))
        << "the empty program folder was left behind";
    EXPECT_FALSE(testfiles::Exists(Shortcut()));
}

TEST_F(InstallerTest, SetupAndUninstallRefuseWhileKeplinRuns) {
    const std::string setup = testfiles::ExeDirectory() + "\\keplin-setup.exe";
    ASSERT_EQ(RunToEnd("\"" + setup + "\" /S", 60000), 0) << "setup failed";
    const std::string ini = *folder_ / "running.ini";
    ASSERT_TRUE(testfiles::WriteBytes(ini, "[Running]\r\n"));
    program_ = std::make_unique<robot::ProgramProcess>();
    ASSERT_TRUE(program_->Start(Installed("keplin.exe"), ini));
    ASSERT_NE(program_->WaitForMainWindow(), nullptr);

    // Setup again over the running program: it stops with an error.
    EXPECT_NE(RunToEnd("\"" + setup + "\" /S", 60000), 0);
    // The uninstaller, run in place so that its own result comes back.
    EXPECT_NE(RunToEnd("\"" + Installed("uninstall.exe") + "\" /S _?=" + InstallFolder(), 60000), 0);
    for (const char* name : kInstalledFiles)
        EXPECT_TRUE(testfiles::Exists(Installed(name))) << name << " was removed while KEPLIN ran";
    EXPECT_TRUE(testfiles::Exists(Shortcut()));
    EXPECT_EQ(RegistryText(kUninstallKey, "DisplayName"), "KEPLIN 2.2");
}

}  // namespace
