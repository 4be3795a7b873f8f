// The module's resources as data: dialog templates, icon groups, the string table and the
// version block. The program describes its resources with these structures and hands them to
// the framework once (AfxSetResourceModule); the framework finds dialogs, icons and strings
// there by id, as a Windows module finds them in its resource section.
#pragma once

#include <cstddef>
#include <span>

#include "windows.h"

// One control of a dialog template. Texts are ANSI text in the program's code page.
struct AFX_DIALOG_ITEM {
  int nID;               // the control id; IDC_STATIC (-1) for unnamed controls
  const char* pszClass;  // "button", "edit" or "static"
  const char* pszText;   // the control's initial text; "" for none
  DWORD dwStyle;         // WS_CHILD | WS_VISIBLE | the class's own style bits
  DWORD dwExStyle;
  DWORD dwHelpID;
  short x, y, cx, cy;  // in dialog units
};

// An extended dialog template. Its items are in template order, which is also the tab order.
struct AFX_DIALOG_TEMPLATE {
  UINT nID;
  LANGID wLanguage;
  DWORD dwStyle;
  DWORD dwExStyle;
  short x, y, cx, cy;  // in dialog units
  const char* pszCaption;
  WORD wPointSize;  // the font (with DS_SETFONT)
  WORD wWeight;
  BYTE bItalic;
  BYTE bCharSet;
  const char* pszTypeface;
  std::span<const AFX_DIALOG_ITEM> items;
};

// An icon group: the bytes of an .ico file (icon directory, then the images).
struct AFX_ICON_GROUP {
  UINT nID;
  LANGID wLanguage;
  std::span<const BYTE> data;
};

struct AFX_STRING_ENTRY {
  UINT nID;
  const char* pszText;
};

struct AFX_STRING_TABLE {
  LANGID wLanguage;
  std::span<const AFX_STRING_ENTRY> entries;
};

struct AFX_VERSION_STRING {
  const char* pszKey;
  const char* pszValue;
};

struct AFX_VERSION_INFO {
  LANGID wLanguage;
  VS_FIXEDFILEINFO fixed;
  const char* pszStringTableKey;  // e.g. "040904B0": language and code page, in hexadecimal
  std::span<const AFX_VERSION_STRING> strings;
  WORD wTranslationLanguage;
  WORD wTranslationCodePage;
};

struct AFX_RESOURCE_MODULE {
  std::span<const AFX_DIALOG_TEMPLATE> dialogs;
  std::span<const AFX_ICON_GROUP> iconGroups;
  std::span<const AFX_STRING_TABLE> stringTables;
  const AFX_VERSION_INFO* pVersion;  // null when the module has none
};

// Makes pModule the resources of the executable's module (GetModuleHandle(nullptr)); null
// takes them away. The framework keeps the pointer: the data must live as long as it is used.
void AfxSetResourceModule(const AFX_RESOURCE_MODULE* pModule);

// The module that holds the named resource of that type; the module of the resources (or
// null when none are registered) when no module has it.
HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);

// A value of the version block's string table, or null.
const char* AfxGetVersionString(const char* pszKey);
