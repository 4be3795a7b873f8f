// The framework's process state: what a Windows process keeps in its module and thread state.
// Internal to platform/afx.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "afxbackend.h"
#include "afxwin.h"

namespace afx {

class DialogSession;

struct ModuleState {
  CWinApp* app = nullptr;

  WindowBackend* installedBackend = nullptr;  // not owned
  std::unique_ptr<WindowBackend> ownBackend;  // made by the framework
  BackendFactory backendFactory = nullptr;

  const AFX_RESOURCE_MODULE* resources = nullptr;
  std::map<const AFX_ICON_GROUP*, std::unique_ptr<Icon>> loadedIcons;  // never freed early

  AFX_EXCEPTION_TRANSLATOR exceptionTranslator = nullptr;

  int waitCursorDepth = 0;

  std::vector<DialogSession*> openDialogs;  // innermost last

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

}  // namespace afx
