#include "print/win32/print_lines.h"

#include "base/win32/message_box.h"
#include "base/win32/records.h"
#include "files/win32/file_text.h"
#include "files/win32/file_watch.h"
#include "ini/scanner.h"
#include "ini/win32/list_box.h"

int FillPrintLines(const std::string& headerText, bool oneSection, HWND list, HWND owner) {
    // The caller's buffer may be reused while the file is read.
    const std::string header = headerText;
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    const std::string path = std::string(IniLocation.directory) + "\\" + IniLocation.fileName;
    ini::FileText text;
    if (files::ReadFileText(path, text) != files::ReadResult::Read) {
        ReportFileNotFound(owner);
        files::NoteSeen(path);
        return -1;
    }
    ini::IniText file;
    file.OpenBytes(text.text);
    ListFiller filler(list, ListFiller::Order::InFileOrder);
    if (oneSection) {
        if (!ini::FindSection(file, header, ini::kSeekLimit)) return 0;
        filler.Add(header);
        ini::ReadSectionBody(file, filler);
    } else {
        ini::ReadWholeFile(file, filler);
    }
    file.Close();
    return filler.Finish();
}
