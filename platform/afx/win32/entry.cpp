// The module's entry. The C runtime has already cut the command line after the program's name
// and the blanks behind it, and taken the show state from the start-up information; WinMain
// hands both to the framework, whose exit code ends the process.
#include "afxwin.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
  return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
