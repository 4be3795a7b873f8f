#include "app/startup.h"

#include <string>

#include "afxwin.h"
#include "app/command_line.h"

int RunApplication(int argc, const char* const* argv) {
  // The process's command line lives as long as the process, as on Windows: the framework
  // keeps a pointer to its tail.
  static std::string commandLine;
  commandLine = BuildCommandLine(argc, argv);

  STARTUPINFOA startupInfo;
  GetStartupInfoA(&startupInfo);

  return AfxWinMain(GetModuleHandleA(nullptr), nullptr, CommandLineTail(commandLine.data()),
                    StartupShowState(startupInfo));
}
