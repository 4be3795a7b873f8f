// The process's command line as the framework's entry receives it.
#pragma once

#include <string>

#include "windows.h"

// The command line of a process started with these arguments, written the Windows way: an
// argument that is empty or holds a blank, tab, line break or double quote is put in double
// quotes, its quotes and the backslashes before them escaped so that the C runtime would read
// the same arguments back.
std::string BuildCommandLine(int argc, const char* const* argv);

// The tail of a command line (a pointer into it): the program name is skipped (up to and
// including the closing double quote when the line starts with one, else up to the first
// character of code 32 or less), then every following character of code 1 to 32.
LPSTR CommandLineTail(LPSTR pszCommandLine);

// The show state the process was asked to start with: the start-up information's wShowWindow
// when its flags hold STARTF_USESHOWWINDOW, else SW_SHOWDEFAULT.
int StartupShowState(const STARTUPINFOA& startupInfo);
