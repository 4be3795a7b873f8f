// The framework's process state: what a Windows process keeps in its module and thread state.
// Internal to platform/afx.
#pragma once

#include <string>
#include <string_view>

#include "afxwin.h"

namespace afx {

struct ModuleState {
  CWinApp* app = nullptr;
  const AFX_RESOURCE_MODULE* resources = nullptr;
  AFX_EXCEPTION_TRANSLATOR exceptionTranslator = nullptr;
  int waitCursorDepth = 0;
  std::string derivedAppName;  // the title chosen by the rules when the application has none
};

ModuleState& State();

// The wait cursor without going through the application object.
void ChangeWaitCursor(int nCode);

// CWinApp::DoMessageBox's box: the icon chosen from the buttons when none is named, the owner
// and the application's title.
int ShowApplicationMessageBox(LPCSTR lpszPrompt, UINT nType);

// The title by the framework's rules (AFX_IDS_APP_TITLE, the version block, the executable).
std::string DerivedAppName();
// The running executable's file name without directory and extension.
std::string ExecutableName();
// C:\dir\Tarvelo.EXE or /dir/tarvelo gives Tarvelo or tarvelo.
std::string FileNameWithoutExtension(std::string_view path);

}  // namespace afx
