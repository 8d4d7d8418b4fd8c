#include "app/win32/file_encoding.h"

#include <optional>
#include <string>

#include "app/win32/section_list.h"
#include "base/path_rules.h"
#include "base/preference_rules.h"
#include "base/win32/message_box.h"
#include "base/win32/records.h"
#include "files/win32/backup.h"
#include "files/win32/file_text.h"
#include "files/win32/profile_store.h"
#include "ini/encoding.h"
#include "res/resource.h"

namespace {

struct Choice {
    int item;
    ini::Encoding encoding;
};
constexpr Choice kChoices[] = {
    {IDM_ENCODING_ANSI, ini::Encoding::Ansi},
    {IDM_ENCODING_UTF8, ini::Encoding::Utf8},
    {IDM_ENCODING_UTF8_BOM, ini::Encoding::Utf8Bom},
    {IDM_ENCODING_UTF16_LE, ini::Encoding::Utf16Le},
};

std::optional<ini::Encoding> EncodingOfItem(int item) {
    for (const Choice& choice : kChoices)
        if (choice.item == item) return choice.encoding;
    return std::nullopt;
}

}  // namespace

void ConvertFileEncoding(HWND window, int itemId) {
    const std::optional<ini::Encoding> target = EncodingOfItem(itemId);
    if (!target || base::IsNonZeroOn(Preferences.LockContents)) return;
    if (IniLocation.fileName[0] == '\0') {
        Warn(window, "There is no INI file selected.\nYou must select a file before converting it.");
        return;
    }
    ini::FileText text;
    if (files::ReadFileText(FullPath, text) != files::ReadResult::Read) {
        ReportFileNotFound(window);
        return;
    }
    if (text.encoding == *target) return;
    const std::string fileName = base::SplitIniPath(FullPath).fileName;
    if (*target == ini::Encoding::Utf8 && ini::IsAscii(text.text)) {
        // The same bytes would be read as ANSI again.
        Warn(window, Format("Nothing to convert: %s holds ASCII characters only, which are the same bytes in "
                            "UTF-8 and in %s.\nA file without a mark is read in %s; choose UTF-8 with BOM to "
                            "keep it UTF-8.",
                            fileName.c_str(), files::EncodingNameOf(ini::Encoding::Ansi).c_str(),
                            files::EncodingNameOf(ini::Encoding::Ansi).c_str()));
        return;
    }
    const std::string refused = files::WhyNotConvertible(fileName, text, *target);
    if (!refused.empty()) {
        Warn(window, refused);
        return;
    }
    const std::string from = files::EncodingNameOf(text.encoding), into = files::EncodingNameOf(*target);
    if (!AskYesNo(window, Format("Are you sure you want to convert\n%s\nfrom %s to %s ?", fileName.c_str(),
                                 from.c_str(), into.c_str())))
        return;
    BackupIfWanted(window);
    const std::string change = "Convert to " + into;
    ReportWrite(window, profile::ConvertEncoding(FullPath, *target, change.c_str()));
    PostMessageA(window, WM_REFRESH, REFRESH_KEEPING_SELECTION, 0);
}

bool UpdateEncodingItems(HMENU menu) {
    // By position: a search by command would find the item in any menu above.
    if (GetMenuItemID(menu, 0) != IDM_ENCODING_ANSI) return false;
    const std::optional<ini::Encoding> current = ListedEncoding();
    const bool locked = !current || base::IsNonZeroOn(Preferences.LockContents);
    const std::string ansi = "&" + files::EncodingNameOf(ini::Encoding::Ansi);
    ModifyMenuA(menu, IDM_ENCODING_ANSI, MF_BYCOMMAND | MF_STRING, IDM_ENCODING_ANSI, ansi.c_str());
    for (const Choice& choice : kChoices) {
        EnableMenuItem(menu, choice.item, MF_BYCOMMAND | (locked ? MF_GRAYED : MF_ENABLED));
        const bool checked = current && *current == choice.encoding;
        CheckMenuItem(menu, choice.item, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    }
    return true;
}
