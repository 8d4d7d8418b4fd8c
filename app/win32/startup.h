// The program's entry: command line, single instance, class, main window,
// message loop.
#pragma once
#include <windows.h>

// Runs the whole program on the calling thread and returns its exit code.
// argumentText is the command line after the program's own name.
int KeplinMain(HINSTANCE instance, const char* argumentText, int showCommand);

// Fills ProgramDirectory from the executable's path (or, from a CD-ROM drive,
// from the INI directory's parent).
void ComputeProgramDirectory();

// Fills an empty IniLocation directory: WIN.INI of the Windows directory when
// no file was named, else the program directory for a bare file name.
void CompleteIniLocation();

// Sets IniLocation from a path passed or dropped. A path too long for the
// program selects no file, and false is returned: the caller then tells the
// user with RefusePath.
bool SetIniLocation(const char* path);
