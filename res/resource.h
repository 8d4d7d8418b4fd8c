// The one place where control, menu, command and dialog ids get their numbers.
// Shared by the resource script and the C++ code.
#pragma once

// Dialog templates and other resources named by number.
#define IDD_MAIN                59

// Main window (template 59).
#define IDC_SECTION_LIST        10
#define IDC_FILE_LABEL          507
#define IDC_ENCODING_LABEL      509     // the encoding the current file was read in
#define IDC_ENCODING_CAPTION    511     // "Encoding:", above it

// Commands shared by several windows.
#define IDC_MAIN_MENU           98      // OK in dialogs, "Main Menu" in the section view
#define IDC_CANCEL_BUTTON       99
#define IDC_VIEW_SECTION        501
#define IDC_DELETE_SECTION      502
#define IDC_INSERT              508     // Insert Section / Insert key
#define IDC_SELECT_INI          506
#define IDC_PRINT               512
#define IDC_FIND                522
#define IDC_FIND_NEXT           523

// Main menu only.
#define IDM_EXIT                2       // also the platform's Cancel (Escape)
#define IDM_ABOUT               9
#define IDM_HELP_CONTENTS       91
#define IDM_HELP_ON_HELP        92
#define IDM_ALPHABETIZE         430
#define IDM_READ_ONLY           431
#define IDM_BACKUP              520
#define IDM_UNDO                540     // Undo the last change to the file
#define IDM_REDO                541     // Redo the last change undone
#define IDM_ENCODING_ANSI       550     // Options > Encoding: write the file anew in...
#define IDM_ENCODING_UTF8       551
#define IDM_ENCODING_UTF8_BOM   552
#define IDM_ENCODING_UTF16_LE   553
#define IDM_CHECK_FILE          560     // Check File: what the file's readers get
#define IDM_COMPARE             542     // Compare with the backup or another file

// About box.
#define IDC_ABOUT_CONTACT1      201
#define IDC_ABOUT_CONTACT2      202
#define IDC_ABOUT_NOTICE        203

// Section view ("View").
#define IDC_VIEW_HEADER         504
#define IDC_VIEW_LIST           510
#define IDC_EDIT_KEY            427
#define IDC_DELETE_KEY          503

// Input dialogs ("Inputstring", "DoubleInputstring").
#define IDC_INPUT_FIELD         423
#define IDC_NEW_KEY_FIELD       424
#define IDC_NEW_VALUE_FIELD     425
#define IDC_INPUT_HEADER        428
#define IDC_INPUT_LABEL         429
#define IDM_EDIT_UNDO           514
#define IDM_EDIT_CUT            515
#define IDM_EDIT_COPY           516
#define IDM_EDIT_PASTE          517
#define IDM_EDIT_DELETE         518
#define IDM_EDIT_SELECT_ALL     519

// Check File ("CheckFile"); Open is IDOK, Close IDCANCEL.
#define IDC_CHECK_LABEL         561
#define IDC_CHECK_LIST          562
#define IDC_CHECK_COPY          563

// Compare ("Compare").
#define IDC_COMPARE_SUMMARY     570
#define IDC_COMPARE_LIST        571
#define IDC_TAKE                572
#define IDC_TAKE_SECTION        573
#define IDC_COPY                574
#define IDC_OTHER_FILE          575

// Find dialog ("FINDTEXT").
#define IDC_FIND_TEXT           427
#define IDC_MATCH_CASE          525

// Select INI File: the platform's classic file-open dialog run with our
// template. Every id but the last two is the platform dialog's own.
#define IDD_SELECT_INI          1600
#define IDC_DIRECTORY_TEXT      1088    // current directory
#define IDC_FILE_TYPES_LABEL    1089
#define IDC_FILE_NAME_LABEL     1090
#define IDC_DRIVES_LABEL        1091
#define IDC_FILE_LIST           1120
#define IDC_DIRECTORY_LIST      1121
#define IDC_FILE_TYPES          1136
#define IDC_DRIVES              1137
#define IDC_FILE_HELP           1038
#define IDC_FILE_READ_ONLY      1040
#define IDC_FILE_NAME           1152
#define IDC_DELETE_FILE         1165
#define IDC_RESTORE             1166

// Hidden list used as an in-memory line store by search and printing.
#define IDC_LINE_STORE          999

// Private message: re-read the INI file and rebuild the list.
#define WM_REFRESH              0x0500
// WM_REFRESH's wParam: list again keeping the selection where it still is,
// and the focus where it is (a change made by another program, an undo).
#define REFRESH_KEEPING_SELECTION 1
