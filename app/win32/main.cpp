// keplin.exe: the Windows entry point hands over to the program's own entry.
#include "app/command_line.h"
#include "app/win32/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    // Split the raw command line ourselves so the rule is the tested one.
    std::string argumentText = app::ArgumentText(GetCommandLineA());
    return KeplinMain(instance, argumentText.c_str(), showCommand);
}
