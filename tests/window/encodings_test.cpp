// Files in every encoding KEPLIN reads: shown as characters in every window,
// changed in their own encoding, every other byte kept. Each test runs the
// commands of the section view and the main window on one file and compares
// its bytes with what they must be.
#include <string>

#include "program_test.h"

namespace {

// A file's text in UTF-8, as the tests write it, turned into the bytes of an
// encoding: "utf8", "utf8-mark", "utf16le" or a code page number.
std::string Encoded(const std::string& text, const std::string& encoding) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], size);
    if (encoding == "utf8") return text;
    if (encoding == "utf8-mark") return "\xEF\xBB\xBF" + text;
    if (encoding == "utf16le") {
        std::string bytes = "\xFF\xFE";
        for (wchar_t unit : wide) bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        return bytes;
    }
    const UINT codePage = static_cast<UINT>(std::stoul(encoding));
    std::string bytes(static_cast<size_t>(wide.size() * 2 + 1), '\0');
    const int length = WideCharToMultiByte(codePage, 0, wide.data(), size, &bytes[0], static_cast<int>(bytes.size()),
                                           nullptr, nullptr);
    bytes.resize(static_cast<size_t>(length));
    return bytes;
}

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
        robot.SelectItem(lines, 1);
        robot.Expect("KEPLIN", "Are you sure you want to DELETE\nPolice ?").Answer(IDYES);
        robot.Click(view, IDC_DELETE_KEY);
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
                    "1252, cannot hold that character.\nNothing was changed.");
    robot.LeaveView(view);
    EXPECT_EQ(testfiles::ReadBytes(PathOf("file.ini")), before);
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
    EXPECT_TRUE(robot::DrawsCharacters(GetDlgItem(screen, IDC_INPUT_LABEL), "\u540d\u524d"));
    robot.Cancel(screen);
    robot.LeaveView(view);
}
