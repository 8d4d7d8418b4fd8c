// The safe replacement of a file's bytes, under Wine on the real Linux file
// system: what the file keeps (mode, owner, links) and what every failure
// leaves (the old bytes, whole).
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/undo_record.h"
#include "files/win32/profile_store.h"
#include "files/win32/safe_replace.h"
#include "immutable_file.h"
#include "program_test.h"
#include "small_file_system.h"
#include "test_files.h"
#include "unix_shell.h"

namespace {

using testfiles::ReadBytes;
using testfiles::RunShell;
using testfiles::WriteBytes;

// The undo record a run killed while it replaced old by now leaves for the
// file at path, with pieces of four bytes so that short texts show a write
// half done.
std::string KilledWriteRecord(const std::string& path, const std::string& old, const std::string& now) {
    return files::FormatUndoRecord(files::MakeUndoRecord(old, now, path, 4));
}

class SafeReplaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string name = std::string(test->test_suite_name()) + "." + test->name();
        testfiles::FreeImmutableFiles(testfiles::ScratchFolderPath(name));
        folder_ = std::make_unique<testfiles::ScratchFolder>(name);
    }
    void TearDown() override { folder_.reset(); }
    std::string Folder() const { return folder_->Path(); }
    std::string PathOf(const std::string& name) const { return *folder_ / name; }
    // The shell's answer, which must come and succeed.
    std::string Shell(const std::string& command) {
        testfiles::ShellResult result = RunShell(Folder(), command);
        EXPECT_TRUE(result.ran) << command << ": no answer from the shell";
        EXPECT_EQ(result.status, 0) << command << ": " << result.output;
        return result.output;
    }
private:
    std::unique_ptr<testfiles::ScratchFolder> folder_;
};

TEST_F(SafeReplaceTest, AFileKeepsItsModeAndOwnerAndHardLinks) {
    const std::string path = PathOf("private.ini");
    ASSERT_TRUE(WriteBytes(path, "[A]\nk=old\n"));
    Shell("chmod 600 private.ini && chown 1234:2345 private.ini && ln private.ini second-name.ini");
    ASSERT_TRUE(ReplaceFileContents(path.c_str(), "[A]\nk=new, and longer than before\n"));
    EXPECT_EQ(ReadBytes(path), "[A]\nk=new, and longer than before\n");
    EXPECT_EQ(Shell("stat -c '%a %u %g %h' private.ini"), "600 1234 2345 2");
    EXPECT_EQ(ReadBytes(PathOf("second-name.ini")), "[A]\nk=new, and longer than before\n");
    EXPECT_EQ(Shell("ls -I 'shell-step*'"), "private.ini\nsecond-name.ini") << "a file was left beside it";
}

TEST_F(SafeReplaceTest, ASymbolicLinkStaysALinkToTheSameTarget) {
    ASSERT_TRUE(WriteBytes(PathOf("target.ini"), "[A]\r\nk=old\r\n"));
    Shell("mkdir elsewhere && mv target.ini elsewhere/ && ln -s elsewhere/target.ini link.ini");
    const std::string link = PathOf("link.ini");
    ASSERT_TRUE(ReplaceFileContents(link.c_str(), "[A]\r\nk=new\r\n"));
    EXPECT_EQ(Shell("readlink link.ini"), "elsewhere/target.ini");
    EXPECT_EQ(ReadBytes(PathOf("elsewhere\\target.ini")), "[A]\r\nk=new\r\n");
    EXPECT_EQ(Shell("ls elsewhere"), "target.ini");
}

TEST_F(SafeReplaceTest, AnImmutableFileRefusesAndKeepsItsBytes) {
    const std::string path = PathOf("locked.ini");
    ASSERT_TRUE(WriteBytes(path, "[A]\nk=old\n"));
    testfiles::ImmutableFile locked(path);
    ASSERT_TRUE(locked.Immutable()) << "cannot make " << path << " immutable";
    EXPECT_FALSE(ReplaceFileContents(path.c_str(), "[A]\nk=new\n"));
    EXPECT_EQ(ReadBytes(path), "[A]\nk=old\n");
    EXPECT_FALSE(profile::WriteKey("A", "k", "new", path.c_str()));
    EXPECT_EQ(ReadBytes(path), "[A]\nk=old\n");
    EXPECT_EQ(Shell("ls -I 'shell-step*'"), "locked.ini");
}

TEST_F(SafeReplaceTest, AFullDiskKeepsTheOldBytesWhole) {
    testfiles::SmallFileSystem small(Folder(), "small", 100);
    if (!small.Mounted()) GTEST_SKIP() << "no small file system can be mounted here";
    const std::string path = small.Path() + "\\full.ini";
    const std::string old = "[A]\r\nk=" + std::string(52000, 'o') + "\r\n";
    ASSERT_TRUE(WriteBytes(path, old));
    // A change at the start: no room for the undo copy of all that follows.
    EXPECT_FALSE(ReplaceFileContents(path.c_str(), "[A]\r\nk=" + std::string(53000, 'n') + "\r\n"));
    EXPECT_EQ(ReadBytes(path), old);
    // A change at the end: a small undo copy, but no room for the longer file.
    EXPECT_FALSE(ReplaceFileContents(path.c_str(), old + "j=" + std::string(60000, 'n') + "\r\n"));
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(Shell("ls small"), "full.ini");
    // A change that fits goes through.
    ASSERT_TRUE(profile::WriteKey("A", "j", "1", path.c_str()));
    EXPECT_EQ(ReadBytes(path), old + "j=1\r\n");
}

TEST_F(SafeReplaceTest, AWriteCutShortByAKilledProcessIsUndoneOnlyWhileTheFileIsAsItLeftIt) {
    // What a process killed halfway leaves: a half-written file (two pieces
    // of four bytes of the new value written, the rest of the old value
    // after them), its undo record, and temporary files.
    const std::string path = PathOf("cut.ini");
    const std::string now = "[A]\r\nk=new value\r\nj=2\r\n";
    const std::string record = KilledWriteRecord(path, "[A]\r\nk=old\r\nj=2\r\n", now);
    ASSERT_TRUE(WriteBytes(path, "[A]\r\nk=new valu\r\n"));
    ASSERT_TRUE(WriteBytes(path + ".keplin-undo", record));
    ASSERT_TRUE(WriteBytes(path + ".keplin-part", "a new file cut short"));
    ASSERT_TRUE(WriteBytes(path + ".keplin-undo.keplin-part", "a record cut short"));
    ASSERT_TRUE(profile::WriteKey("A", "j", "3", path.c_str()));
    EXPECT_EQ(ReadBytes(path), "[A]\r\nk=old\r\nj=3\r\n");
    EXPECT_EQ(Shell("ls -I 'shell-step*'"), "cut.ini");

    // A record left behind by a write that did complete (its removal failed)
    // changes nothing.
    ASSERT_TRUE(WriteBytes(path, now));
    ASSERT_TRUE(WriteBytes(path + ".keplin-undo", record));
    EXPECT_TRUE(RecoverInterruptedReplace(path.c_str()));
    EXPECT_EQ(ReadBytes(path), now);
    EXPECT_FALSE(testfiles::Exists(path + ".keplin-undo"));

    // A file mended by hand since: the record is set aside, never applied.
    ASSERT_TRUE(WriteBytes(path, "[A]\r\nk=mended by hand\r\n"));
    ASSERT_TRUE(WriteBytes(path + ".keplin-undo", record));
    ASSERT_TRUE(WriteBytes(path + ".keplin-undo.stale", "set aside before"));
    EXPECT_TRUE(RecoverInterruptedReplace(path.c_str()));
    EXPECT_EQ(ReadBytes(path), "[A]\r\nk=mended by hand\r\n");
    EXPECT_FALSE(testfiles::Exists(path + ".keplin-undo"));
    EXPECT_EQ(ReadBytes(path + ".keplin-undo.stale2"), record);
    EXPECT_EQ(ReadBytes(path + ".keplin-undo.stale"), "set aside before");
}

TEST_F(SafeReplaceTest, AMissingFileIsCreatedWhole) {
    const std::string path = PathOf("new.ini");
    ASSERT_TRUE(profile::WriteKey("KEPLIN", "Backup", "1", path.c_str()));
    EXPECT_EQ(ReadBytes(path), "[KEPLIN]\r\nBackup=1\r\n");
    EXPECT_TRUE(profile::DeleteKey("KEPLIN", "Nothing", PathOf("still-missing.ini").c_str()));
    EXPECT_FALSE(testfiles::Exists(PathOf("still-missing.ini"))) << "a delete made a file";
    EXPECT_FALSE(profile::WriteKey("A", "k", "v", PathOf("no-such-folder\\x.ini").c_str()));
}

TEST_F(SafeReplaceTest, AFileWhosePathIsAtTheLimitCanStillBeChanged) {
    // The undo copy's name is longer than the file's: past the limit itself.
    const std::string path = PathOf(std::string(259 - Folder().size() - 1, 'p'));
    ASSERT_EQ(path.size(), 259u);
    ASSERT_TRUE(testfiles::WriteBytes(path, "[A]\nk=old\n"));
    ASSERT_TRUE(profile::WriteKey("A", "k", "new", path.c_str()));
    EXPECT_EQ(ReadBytes(path), "[A]\nk=new\n");
    ASSERT_TRUE(profile::DeleteSection("A", path.c_str()));
    EXPECT_EQ(ReadBytes(path), "");
    EXPECT_EQ(Shell("ls -A | grep keplin- || true"), "") << "an undo or temporary file was left";
}

// The names of the files that appear in a folder (made there, or renamed
// into it) from the moment the watch begins, as the platform reports them.
class FolderWatch {
public:
    explicit FolderWatch(const std::string& folder)
        : folder_(CreateFileA(folder.c_str(), FILE_LIST_DIRECTORY,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr)),
          done_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        Ask();
    }
    ~FolderWatch() {
        // The pending read writes into buffer_: it must be over before buffer_ goes.
        DWORD ignored = 0;
        if (asked_ && CancelIo(folder_)) GetOverlappedResult(folder_, &overlapped_, &ignored, TRUE);
        CloseHandle(done_);
        if (folder_ != INVALID_HANDLE_VALUE) CloseHandle(folder_);
    }
    bool Watching() const { return asked_; }
    // True once name has appeared; the limit only catches a name that never comes.
    bool Appeared(const std::string& name) {
        for (;;) {
            for (const std::string& seen : appeared_)
                if (seen == name) return true;
            if (!asked_ || WaitForSingleObject(done_, 30000) != WAIT_OBJECT_0) return false;
            DWORD size = 0;
            if (!GetOverlappedResult(folder_, &overlapped_, &size, FALSE)) return false;
            for (DWORD at = 0; size > 0;) {
                const FILE_NOTIFY_INFORMATION* entry = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer_ + at);
                if (entry->Action == FILE_ACTION_ADDED || entry->Action == FILE_ACTION_RENAMED_NEW_NAME) {
                    char narrow[1024] = "";
                    WideCharToMultiByte(CP_UTF8, 0, entry->FileName, static_cast<int>(entry->FileNameLength / 2),
                                        narrow, sizeof narrow - 1, nullptr, nullptr);
                    appeared_.push_back(narrow);
                }
                if (entry->NextEntryOffset == 0) break;
                at += entry->NextEntryOffset;
            }
            Ask();
        }
    }
    const std::vector<std::string>& Seen() const { return appeared_; }

private:
    void Ask() {
        ResetEvent(done_);
        overlapped_ = OVERLAPPED{};
        overlapped_.hEvent = done_;
        asked_ = folder_ != INVALID_HANDLE_VALUE &&
                 (ReadDirectoryChangesW(folder_, buffer_, sizeof buffer_, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME, nullptr,
                                        &overlapped_, nullptr) ||
                  GetLastError() == ERROR_IO_PENDING);
    }

    HANDLE folder_;
    HANDLE done_;
    OVERLAPPED overlapped_{};
    bool asked_ = false;
    alignas(DWORD) char buffer_[16384];
    std::vector<std::string> appeared_;
};

TEST_F(SafeReplaceTest, AFolderThatTakesNoNewFilesStillLetsItsFileChange) {
    // As when a file may be changed but its folder may not: the undo record
    // cannot go beside the file, and goes to the user's own folder.
    Shell("mkdir locked");
    const std::string path = PathOf("locked\\kept.ini");
    ASSERT_TRUE(WriteBytes(path, "[A]\r\nk=old\r\n; the rest stays\r\n"));
    testfiles::ImmutableFile folder(PathOf("locked"));
    ASSERT_TRUE(folder.Immutable()) << "cannot make the folder immutable";
    char local[MAX_PATH];
    ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local), S_OK);
    const std::string records = std::string(local) + "\\KEPLIN\\Undo";
    // The first change makes the folder of records.
    ASSERT_TRUE(profile::WriteKey("A", "k", "new", path.c_str()));
    EXPECT_EQ(ReadBytes(path), "[A]\r\nk=new\r\n; the rest stays\r\n");
    ASSERT_TRUE(testfiles::Exists(records));
    // The next one is watched: its record must appear there, whole (renamed
    // into place), under the name made from the file's path, and go again.
    FolderWatch watch(records);
    ASSERT_TRUE(watch.Watching()) << "cannot watch " << records;
    ASSERT_TRUE(profile::DeleteKey("A", "k", path.c_str()));
    EXPECT_EQ(ReadBytes(path), "[A]\r\n; the rest stays\r\n");
    const std::string record = files::UndoRecordName(path);
    EXPECT_TRUE(watch.Appeared(record)) << "no record " << record << " was kept in " << records
                                        << " for the change; seen: " << ::testing::PrintToString(watch.Seen());
    // And none is left once the changes are whole.
    WIN32_FIND_DATAA found;
    HANDLE left = FindFirstFileA((records + "\\*.keplin-undo*").c_str(), &found);
    EXPECT_EQ(left, INVALID_HANDLE_VALUE) << "left in " << records << ": " << found.cFileName;
    if (left != INVALID_HANDLE_VALUE) FindClose(left);
}

}  // namespace

class InterruptedWriteTest : public ProgramTest {};

TEST_F(InterruptedWriteTest, OpeningTheFileUndoesAChangeCutShortByAKilledRun) {
    const std::string path = WriteIni("cut.ini", "[A]\r\nk=new and half ");
    ASSERT_TRUE(WriteBytes(path + ".keplin-undo",
                           KilledWriteRecord(path, "[A]\r\nk=old\r\n", "[A]\r\nk=new and half done\r\n")));
    ASSERT_NO_FATAL_FAILURE(Start(path));
    EXPECT_EQ(ReadBytes(path), "[A]\r\nk=old\r\n");
    EXPECT_FALSE(testfiles::Exists(path + ".keplin-undo"));
    EXPECT_EQ(Sections(), std::vector<std::string>{"[A]"});
}
