// Large displays: every button, label, list and field of the windows shows
// its text whole at the display's DPI, and again after a move to a monitor
// of another DPI. Run by tests/window/dpi-run in a Wine session whose display
// has the DPI that KEPLIN_TEST_DPI names, not in the ordinary sessions.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "program_test.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace {

std::string WithoutMnemonic(const std::string& text) {
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        shown += text[i];
    }
    return shown;
}

LONG FontHeight(HWND control) {
    LOGFONTW font = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfHeight;
}

// What the font of each visible control draws fits the control: a button's
// or a label's text within its client area (less the edges a button draws,
// and a check box's box), a field's line in its height, a list's items in
// its item height and its horizontal extent.
void ExpectNothingCut(HWND window, const std::string& where) {
    const LONG edge = GetSystemMetrics(SM_CXEDGE);
    for (HWND control = GetWindow(window, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        if (!IsWindowVisible(control)) continue;
        RECT client;
        GetClientRect(control, &client);
        const std::string kind = robot::ClassOf(control), text = robot::Text(control);
        const LONG style = GetWindowLongW(control, GWL_STYLE);
        const std::string what = where + ", " + kind + " \"" + text + "\"";
        if (kind == "Button") {
            const SIZE size = robot::TextExtent(control, WithoutMnemonic(text));
            const LONG type = style & BS_TYPEMASK;
            const LONG box = type == BS_AUTOCHECKBOX || type == BS_CHECKBOX ? GetSystemMetrics(SM_CXMENUCHECK) : 0;
            EXPECT_LE(size.cx + box + 2 * edge, client.right) << what;
            EXPECT_LE(size.cy + 2 * edge, client.bottom) << what;
        } else if (kind == "Static") {
            const SIZE size = robot::TextExtent(control, text);
            // A path is shortened in its middle rather than cut.
            if (!(style & SS_PATHELLIPSIS)) {
                EXPECT_LE(size.cx, client.right) << what;
            }
            EXPECT_LE(size.cy, client.bottom) << what;
        } else if (kind == "Edit") {
            EXPECT_LE(robot::TextExtent(control, "Ag").cy, client.bottom) << what;
        } else if (kind == "ListBox") {
            EXPECT_GE(SendMessageW(control, LB_GETITEMHEIGHT, 0, 0), robot::TextExtent(control, "Ag").cy) << what;
            const LRESULT extent = SendMessageW(control, LB_GETHORIZONTALEXTENT, 0, 0);
            for (const std::string& item : robot::ListItems(control))
                EXPECT_LE(robot::TextExtent(control, item).cx, std::max<LRESULT>(extent, client.right))
                    << what << ", item \"" << item << "\"";
        }
    }
}

}  // namespace

class DpiTest : public ProgramTest {
protected:
    // The platform moves the window to a monitor of dpi: WM_DPICHANGED with
    // the rectangle it suggests, the window's size at the new DPI.
    void MoveToMonitorOf(HWND window, UINT from, UINT dpi) {
        RECT place;
        GetWindowRect(window, &place);
        place.right = place.left + MulDiv(place.right - place.left, static_cast<int>(dpi), static_cast<int>(from));
        place.bottom = place.top + MulDiv(place.bottom - place.top, static_cast<int>(dpi), static_cast<int>(from));
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&place));
        robot.Settle();
    }
};

TEST_F(DpiTest, NoTextIsCutAtTheDisplaysDpiNorOnAMonitorOfAnother) {
    const char* wanted = std::getenv("KEPLIN_TEST_DPI");
    ASSERT_NE(wanted, nullptr) << "run by tests/window/dpi-run, which names the display's DPI";
    const UINT dpi = static_cast<UINT>(std::atoi(wanted));
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSY)), dpi) << "the display is not at that DPI";
    ReleaseDC(nullptr, screen);

    ASSERT_NO_FATAL_FAILURE(Start(WriteIni("dpi.ini", "[Desktop]\r\nWallpaper=(None)\r\n"
                                                      "[A very long section name that goes on and on for users]\r\n"
                                                      "k=v\r\n")));
    // The lists' 10 points, at the display's DPI.
    EXPECT_EQ(FontHeight(Control(IDC_SECTION_LIST)), -MulDiv(10, static_cast<int>(dpi), 72));
    ExpectNothingCut(Main(), "main window");
    HWND view = robot.OpenSection(Main(), 0);
    ASSERT_NE(view, nullptr);
    ExpectNothingCut(view, "section view");
    HWND screenOf = robot.EditLine(view, 0);
    ASSERT_NE(screenOf, nullptr);
    ExpectNothingCut(screenOf, "edit screen");
    robot.Cancel(screenOf);
    screenOf = robot.FillInsertKey(view, "Key", "Value");
    ASSERT_NE(screenOf, nullptr);
    ExpectNothingCut(screenOf, "insert screen");
    robot.Cancel(screenOf);
    screenOf = robot.OpenFind(view);
    ASSERT_NE(screenOf, nullptr);
    ExpectNothingCut(screenOf, "Find");
    robot.Cancel(screenOf);

    // A monitor of the other DPI: fonts and places follow.
    const UINT other = dpi == 144 ? 192 : 144;
    MoveToMonitorOf(view, dpi, other);
    EXPECT_EQ(FontHeight(GetDlgItem(view, IDC_VIEW_LIST)), -MulDiv(10, static_cast<int>(other), 72));
    ExpectNothingCut(view, "section view moved");
    robot.LeaveView(view);
    MoveToMonitorOf(Main(), dpi, other);
    EXPECT_EQ(FontHeight(Control(IDC_SECTION_LIST)), -MulDiv(10, static_cast<int>(other), 72));
    ExpectNothingCut(Main(), "main window moved");
}
