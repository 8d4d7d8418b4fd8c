#include "base/win32/records.h"

#include <cstdio>
#include <cstring>

IniLocationRecord IniLocation;
char FullPath[base::kPathBufferBytes];
char ProgramDirectory[base::kPathBufferBytes];
char HelpPath[base::kPathBufferBytes];
HINSTANCE ProgramInstance;
HWND MainWindow;
PreferencesRecord Preferences;
SearchStateRecord SearchState;
std::string LineBuffer;
std::string ReadBuffer;
std::string KeyBuffer;
std::string ValueBuffer;
std::string ViewHeader;
int InputMode;
unsigned char BackupMade;

void ResetProgramRecords() {
    std::memset(&IniLocation, 0, sizeof IniLocation);
    std::memset(FullPath, 0, sizeof FullPath);
    std::memset(ProgramDirectory, 0, sizeof ProgramDirectory);
    std::memset(HelpPath, 0, sizeof HelpPath);
    MainWindow = nullptr;
    Preferences = PreferencesRecord{};
    SearchState = SearchStateRecord{};
    SearchState.LastMatchedSection = -1;
    LineBuffer.clear();
    ReadBuffer.clear();
    KeyBuffer.clear();
    ValueBuffer.clear();
    ViewHeader.clear();
    InputMode = 0;
    BackupMade = 0;
}

void CopyInto(char* target, size_t size, const std::string& text) {
    std::snprintf(target, size, "%s", text.c_str());
}
