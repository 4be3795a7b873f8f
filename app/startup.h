// The module's entry: from the process's arguments to the framework's entry.
#pragma once

// Hands AfxWinMain the module handle, no previous instance, the command-line tail and the
// show state, and returns its exit code. The arguments are not interpreted.
int RunApplication(int argc, const char* const* argv);
