// The system's ANSI code page, converted by the platform.
#pragma once
#include "ini/encoding.h"

// The system's legacy ANSI code page (1252 on a western system), in which
// files that carry no byte-order mark and are not UTF-8 are read and
// written: the system's, even where the program's own code page is UTF-8.
const ini::CodePage& SystemAnsiCodePage();
