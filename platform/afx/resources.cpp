// The module's resources as the program describes them: dialogs, icon groups, strings and the
// version block, found by id.
#include <cstring>

#include "afx_state.h"
#include "resource_lookup.h"

namespace afx {
namespace {

// Resource names here are ids (MAKEINTRESOURCE); a text name finds nothing.
bool NameIsId(LPCSTR name, UINT id) {
  return name != nullptr && IS_INTRESOURCE(name) && reinterpret_cast<UINT_PTR>(name) == id;
}

HINSTANCE ResourceInstance() {
  return State().resources != nullptr ? GetModuleHandleA(nullptr) : nullptr;
}

}  // namespace

const AFX_DIALOG_TEMPLATE* FindDialogTemplate(LPCSTR name) {
  const AFX_RESOURCE_MODULE* module = State().resources;
  if (module == nullptr) return nullptr;
  for (const AFX_DIALOG_TEMPLATE& dialog : module->dialogs) {
    if (NameIsId(name, dialog.nID)) return &dialog;
  }
  return nullptr;
}

const AFX_ICON_GROUP* FindIconGroup(LPCSTR name) {
  const AFX_RESOURCE_MODULE* module = State().resources;
  if (module == nullptr) return nullptr;
  for (const AFX_ICON_GROUP& group : module->iconGroups) {
    if (NameIsId(name, group.nID)) return &group;
  }
  return nullptr;
}

const char* FindProgramString(UINT id) {
  const AFX_RESOURCE_MODULE* module = State().resources;
  if (module == nullptr) return nullptr;
  for (const AFX_STRING_TABLE& table : module->stringTables) {
    for (const AFX_STRING_ENTRY& entry : table.entries) {
      if (entry.nID == id) return entry.pszText;
    }
  }
  return nullptr;
}

const char* FindFrameworkString(UINT id) {
  switch (id) {
    case AFX_IDP_PARSE_INT:
      return "Please enter an integer.";
    case AFX_IDP_FAILED_MEMORY_ALLOC:
      return "Out of memory.";
    case AFX_IDP_COMMAND_FAILURE:
      return "The command could not be completed.";
    default:
      return nullptr;
  }
}

const char* FindString(UINT id) {
  const char* text = FindProgramString(id);
  return text != nullptr ? text : FindFrameworkString(id);
}

}  // namespace afx

void AfxSetResourceModule(const AFX_RESOURCE_MODULE* pModule) {
  afx::State().resources = pModule;
}

HINSTANCE AfxFindResourceHandle(LPCSTR /*lpszName*/, LPCSTR /*lpszType*/) {
  // The executable is the only module with resources.
  return afx::ResourceInstance();
}

const char* AfxGetVersionString(const char* pszKey) {
  const AFX_RESOURCE_MODULE* module = afx::State().resources;
  if (module == nullptr || module->pVersion == nullptr || pszKey == nullptr) return nullptr;
  for (const AFX_VERSION_STRING& entry : module->pVersion->strings) {
    if (std::strcmp(entry.pszKey, pszKey) == 0) return entry.pszValue;
  }
  return nullptr;
}
