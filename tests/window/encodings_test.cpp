// Files in every encoding KEPLIN reads: shown as characters in every window,
// changed in their own encoding, every other byte kept. Each test runs the
// commands of the section view and the main window on one file and compares
// its bytes with what they must be.
#include <string>

#include "program_test.h"

namespace {

using testfiles::Encoded;

// The system's ANSI code page, which files that are not UTF-8 are read in.
UINT SystemAnsiCodePage() {
    wchar_t digits[16] = L"";
    GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, digits, 16);
    return static_cast<UINT>(wcstoul(digits, nullptr, 10));
}

// The section [Général] and a second section, as the test gives them.
std::string Before(const std::string& second) {
    return "; R\u00e9glages\r\n[G\u00e9n\u00e9ral]\r\nTh\u00e8me=clair\r\nPolice=Sans\r\n" + second;
}

}  // namespace

class EncodingsTest : public ProgramTest {
protected:
    // On the file in that encoding, holding Before(second): the list, the
    // encoding shown, the view; then Edit, Insert and Delete in [Général]
    // and Insert Section, each with letters outside ASCII. The file must
    // end as After(second), in its own encoding.
    void ChangeEveryWay(const std::string& encoding, const std::string& shownEncoding, const std::string& second,
                        const Items& sections) {
        const std::string path = WriteIni("file.ini", Encoded(Before(second), encoding));
        ASSERT_NO_FATAL_FAILURE(Start(path));
        EXPECT_EQ(Sections(), sections);
        EXPECT_EQ(robot::Text(Control(IDC_ENCODING_LABEL)), shownEncoding);

        HWND view = robot.OpenSection(Main(), 0);
        ASSERT_NE(view, nullptr);
        HWND lines = GetDlgItem(view, IDC_VIEW_LIST);
        EXPECT_EQ(robot::ListItems(lines), (Items{"Th\u00e8me=clair", "Police=Sans"}));
        HWND screen = robot.EditLine(view, 0);
        ASSERT_NE(screen, nullptr);
        EXPECT_EQ(robot::Text(GetDlgItem(screen, IDC_INPUT_FIELD)), "clair");
        robot.SetText(GetDlgItem(screen, IDC_INPUT_FIELD), "fonc\u00e9");
        robot.Ok(screen);
        robot.InsertKey(view, "Cl\u00e9", "Gr\u00f6\u00dfe");
        robot.DeleteKey(view, 1, "Police");
        EXPECT_EQ(robot::ListItems(lines), (Items{"Th\u00e8me=fonc\u00e9", "Cl\u00e9=Gr\u00f6\u00dfe"}));
        robot.LeaveView(view);
        robot.InsertSection(Main(), "\u00dcbersicht", "Schl\u00fcssel", "Wert");

        const std::string after = "; R\u00e9glages\r\n[G\u00e9n\u00e9ral]\r\nTh\u00e8me=fonc\u00e9\r\n"
                                  "Cl\u00e9=Gr\u00f6\u00dfe\r\n" + second +
                                  "[\u00dcbersicht]\r\nSchl\u00fcssel=Wert\r\n";
        EXPECT_EQ(testfiles::ReadBytes(path), Encoded(after, encoding));
        EXPECT_EQ(Sections()[2], "[\u00dcbersicht]");
    }
};

TEST_F(EncodingsTest, AUtf8FileWithoutAMarkIsShownAndChangedInUtf8) {
    ChangeEveryWay("utf8", "UTF-8", "[\u65e5\u672c]\r\n\u540d\u524d=\u5024\r\n",
                   Items{"[G\u00e9n\u00e9ral]", "[\u65e5\u672c]"});
}

TEST_F(EncodingsTest, AUtf8FileWithAMarkKeepsItsMark) {
    ChangeEveryWay("utf8-mark", "UTF-8 with BOM", "[\u65e5\u672c]\r\n\u540d\u524d=\u5024\r\n",
                   Items{"[G\u00e9n\u00e9ral]", "[\u65e5\u672c]"});
}

TEST_F(EncodingsTest, AUtf16FileIsChangedInUtf16AndSearchedForItsCharacters) {
    ChangeEveryWay("utf16le", "UTF-16 LE", "[\u65e5\u672c]\r\n\u540d\u524d=\u5024\r\n",
                   Items{"[G\u00e9n\u00e9ral]", "[\u65e5\u672c]"});
    robot.SelectItem(Control(IDC_SECTION_LIST), 0);
    robot.Find(Main(), "\u5024");
    HWND view = robot.Opened(steps::kSectionView);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(robot::Text(GetDlgItem(view, IDC_VIEW_HEADER)), "[\u65e5\u672c]");
    EXPECT_EQ(robot::SelectedIndex(GetDlgItem(view, IDC_VIEW_LIST)), 0);
    robot.LeaveView(view);
}

TEST_F(EncodingsTest, AFileOfTheAnsiCodePageIsChangedInItAndRefusesWhatItCannotHold) {
    ASSERT_EQ(SystemAnsiCodePage(), 1252u) << "the test's text is written for code page 1252";
    ChangeEveryWay("1252", "ANSI code page 1252", "[Gr\u00f6\u00dfe]\r\nMa\u00df=1\r\n",
                   Items{"[G\u00e9n\u00e9ral]", "[Gr\u00f6\u00dfe]"});
    const std::string before = testfiles::ReadBytes(PathOf("file.ini"));
    HWND view = robot.OpenSection(Main(), 1);
    ASSERT_NE(view, nullptr);
    robot.InsertKey(view, "k", "\u65e5",
                    "Sorry, KEPLIN cannot write \"\u65e5\" (U+65E5) into file.ini:\nits encoding, ANSI code page "
                    "1252, cannot hold that character.\nConverting the file to UTF-16 LE (Commands > Options > "
                    "Encoding) would hold it.\nNothing was changed.");
    robot.LeaveView(view);
    EXPECT_EQ(testfiles::ReadBytes(PathOf("file.ini")), before);
}

// What a program of the system's ANSI code page reads for the key with the
// platform's GetPrivateProfileStringA (profile_read.exe, beside the program).
std::string ReadByAnAnsiProgram(const std::string& path, const std::string& section, const std::string& key) {
    const std::string out = path + ".read";
    robot::ProgramProcess reader;
    if (!reader.Start(testfiles::ExeDirectory() + "\\profile_read.exe",
                      "\"" + path + "\" " + section + " " + key + " \"" + out + "\""))
        return "<not started>";
    DWORD status = 0;
    if (!reader.WaitForExit(60000, &status) || status != 0)
        return "<profile_read failed: " + std::to_string(status) + ">";
    return testfiles::ReadBytes(out);
}

TEST_F(EncodingsTest, APlainAsciiFileIsAnAnsiFileForWhatIsTypedAndCanBecomeUtf16) {
    ASSERT_EQ(SystemAnsiCodePage(), 1252u) << "the test's text is written for code page 1252";
    const std::string path = WriteIni("plain.ini", "[Look]\r\nTheme=dark\r\n");
    ASSERT_NO_FATAL_FAILURE(Start(path));
    EXPECT_EQ(robot::Text(Control(IDC_ENCODING_LABEL)), "ANSI code page 1252");
    HWND view = robot.OpenSection(Main(), 0);
    ASSERT_NE(view, nullptr);
    robot.EditValue(view, 0, "caf\u00e9");
    const std::string typed = "[Look]\r\nTheme=caf\xE9\r\n";
    EXPECT_EQ(testfiles::ReadBytes(path), typed);
    EXPECT_EQ(ReadByAnAnsiProgram(path, "Look", "Theme"), "caf\xE9");
    robot.InsertKey(view, "k", "\u65e5",
                    "Sorry, KEPLIN cannot write \"\u65e5\" (U+65E5) into plain.ini:\nits encoding, ANSI code page "
                    "1252, cannot hold that character.\nConverting the file to UTF-16 LE (Commands > Options > "
                    "Encoding) would hold it.\nNothing was changed.");
    robot.LeaveView(view);

    robot.Expect("KEPLIN", "Are you sure you want to convert\nplain.ini\nfrom ANSI code page 1252 to UTF-16 LE ?")
        .Answer(IDYES);
    Command(IDM_ENCODING_UTF16_LE);
    EXPECT_EQ(testfiles::ReadBytes(path), Encoded("[Look]\r\nTheme=caf\u00e9\r\n", "utf16le"));
    EXPECT_TRUE(robot.WaitUntil([&] { return robot::Text(Control(IDC_ENCODING_LABEL)) == "UTF-16 LE"; }));
    // Now it holds the character; converting back is refused, naming it.
    view = robot.OpenSection(Main(), 0);
    ASSERT_NE(view, nullptr);
    robot.InsertKey(view, "k", "\u65e5");
    robot.LeaveView(view);
    const std::string held = Encoded("[Look]\r\nTheme=caf\u00e9\r\nk=\u65e5\r\n", "utf16le");
    EXPECT_EQ(testfiles::ReadBytes(path), held);
    robot.Expect("KEPLIN", "Sorry, KEPLIN cannot convert plain.ini to ANSI code page 1252:\nit holds \"\u65e5\" "
                           "(U+65E5), which ANSI code page 1252 cannot hold.\nNothing was changed.")
        .Answer(IDOK);
    Command(IDM_ENCODING_ANSI);
    EXPECT_EQ(testfiles::ReadBytes(path), held);
    Command(IDM_UNDO);
    Command(IDM_UNDO);
    EXPECT_EQ(testfiles::ReadBytes(path), typed);
}

// Bytes that are not text in their file's encoding: the lists and message
// boxes hold them as they are, Edit refuses their line, and every other
// command works on them, removing exactly their bytes.
class OddBytesTest : public ProgramTest {
protected:
    // The file "[S]/k=a?b/z=1/[H?x]/q=found" in its encoding (its mark, then
    // text encoded), with odd in the value of k and inHeader in the second
    // header (each the encoding's bytes); each step's bytes compared.
    using Encode = std::string (*)(const std::string& text);
    void EveryCommand(const std::string& mark, Encode encode, const std::string& odd, const std::string& inHeader) {
        const std::string k = encode("k=a") + odd + encode("b\r\n"), s = mark + encode("[S]\r\n");
        const std::string h = encode("[H") + inHeader + encode("x]\r\nq=found\r\n");
        const std::string path = WriteIni("odd.ini", s + k + encode("z=1\r\n") + h);
        const auto file = [&] { return testfiles::ReadBytes(path); };
        ASSERT_NO_FATAL_FAILURE(Start(path));
        ASSERT_EQ(Sections().size(), 2u);

        HWND view = robot.OpenSection(Main(), 0);
        ASSERT_NE(view, nullptr);
        HWND lines = GetDlgItem(view, IDC_VIEW_LIST);
        const std::string shown = robot::ListItems(lines).at(0);
        robot.SelectItem(lines, 0);
        robot.Expect("KEPLIN", "Sorry, KEPLIN cannot edit this line:\n" + shown +
                                   "\nIt holds bytes that are not text in its file's encoding. KEPLIN keeps them as "
                                   "they are; Delete removes the whole line.")
            .Answer(IDOK);
        robot.Click(view, IDC_EDIT_KEY);
        EXPECT_EQ(file(), s + k + encode("z=1\r\n") + h);
        robot.EditValue(view, 1, "2");
        EXPECT_EQ(file(), s + k + encode("z=2\r\n") + h);
        robot.DeleteKey(view, 0, "k");
        EXPECT_EQ(file(), s + encode("z=2\r\n") + h);
        robot.LeaveView(view);

        const std::string header = Sections().at(1);
        view = robot.OpenSection(Main(), 1);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(robot::ListItems(GetDlgItem(view, IDC_VIEW_LIST)), Items{"q=found"});
        robot.LeaveView(view);
        robot.SelectItem(Control(IDC_SECTION_LIST), 0);
        robot.Find(Main(), "found");
        view = robot.Opened(steps::kSectionView);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(robot::Text(GetDlgItem(view, IDC_VIEW_HEADER)), header);
        robot.LeaveView(view);
        DeleteSection(1, header, IDYES);
        EXPECT_EQ(file(), s + encode("z=2\r\n"));
    }
};

TEST_F(OddBytesTest, AUtf8FileWithAMarkKeepsBytesThatAreNotUtf8) {
    EveryCommand("\xEF\xBB\xBF", [](const std::string& text) { return text; }, "\xFF", "\xFE");
}

TEST_F(OddBytesTest, AUtf16FileKeepsItsLoneSurrogates) {
    EveryCommand("\xFF\xFE", [](const std::string& text) { return Encoded(text, "utf16le").substr(2); },
                 std::string("\x00\xD8", 2), std::string("\xFF\xDF", 2));
}

// Japanese in a UTF-16 file: the main list, the view (its header and its
// lines) and the edit screen draw every character in their fonts, none as
// the box of a character the font lacks.
TEST_F(EncodingsTest, JapaneseIsDrawnInTheListsTheViewsHeaderAndTheEditScreen) {
    const std::string japanese = "\u65e5\u672c\u8a9e";
    ASSERT_NO_FATAL_FAILURE(
        Start(WriteIni("japanese.ini", Encoded("[" + japanese + "]\r\n\u540d\u524d=" + japanese + "\r\n", "utf16le"))));
    ASSERT_EQ(Sections(), Items{"[" + japanese + "]"});
    EXPECT_TRUE(robot::DrawsCharacters(Control(IDC_SECTION_LIST), japanese));

    HWND view = robot.OpenSection(Main(), 0);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(robot::Text(GetDlgItem(view, IDC_VIEW_HEADER)), "[" + japanese + "]");
    EXPECT_TRUE(robot::DrawsCharacters(GetDlgItem(view, IDC_VIEW_HEADER), japanese));
    EXPECT_EQ(robot::ListItems(GetDlgItem(view, IDC_VIEW_LIST)), Items{"\u540d\u524d=" + japanese});
    EXPECT_TRUE(robot::DrawsCharacters(GetDlgItem(view, IDC_VIEW_LIST), "\u540d\u524d=" + japanese));
    HWND screen = robot.EditLine(view, 0);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(robot::Text(GetDlgItem(screen, IDC_INPUT_FIELD)), japanese);
    EXPECT_TRUE(robot::DrawsCharacters(GetDlgItem(screen, IDC_INPUT_FIELD), japanese));
    EXPECT_EQ(robot::Text(GetDlgItem(screen, IDC_INPUT_LABEL)), "\u540d\u524d");
    EXPECT_TRUE(robot::DrawsCharacters(GetDlgItem(screen, IDC_INPUT_LABEL), "\u540d\u524d"));
    robot.Cancel(screen);
    robot.LeaveView(view);
}
