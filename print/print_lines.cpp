#include "print/print_lines.h"

#include "app/message_box.h"
#include "app/records.h"
#include "ini/list_filler.h"
#include "ini/scanner.h"

int FillPrintLines(const std::string& headerText, bool oneSection, HWND list, HWND owner) {
    // The caller's buffer may be reused while the file is read.
    const std::string header = headerText;
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    ini::IniText file;
    if (!file.Open(std::string(IniLocation.directory) + "\\" + IniLocation.fileName)) {
        Warn(owner, Format("Sorry, Could not find %s", IniLocation.fileName));
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
