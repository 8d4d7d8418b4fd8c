#include "print/win32/print_lines.h"

#include "base/win32/message_box.h"
#include "base/win32/records.h"
#include "ini/scanner.h"
#include "ini/win32/list_box.h"

int FillPrintLines(const std::string& headerText, bool oneSection, HWND list, HWND owner) {
    // The caller's buffer may be reused while the file is read.
    const std::string header = headerText;
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    ini::IniText file;
    if (!file.Open(std::string(IniLocation.directory) + "\\" + IniLocation.fileName)) {
        ReportFileNotFound(owner);
        return -1;
    }
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
