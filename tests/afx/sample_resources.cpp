#include "sample_resources.h"

#include <cstring>
#include <deque>
#include <string>

#include "afxres.h"

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

constexpr AFX_DIALOG_ITEM kItems[] = {
    {IDOK, "button", "OK", kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 0, 150, 8, 40, 14},
    {IDCANCEL, "button", "Cancel", kChild | BS_PUSHBUTTON | WS_TABSTOP, 0, 0, 150, 26, 40, 14},
    {IDC_STATIC, "button", "Group", kChild | BS_GROUPBOX, 0, 0, 2, 1, 140, 90},
    {IDC_STATIC, "static", "Name:", kChild | SS_LEFT | WS_GROUP, 0, 0, 8, 10, 30, 8},
    {IDC_NAME, "edit", "", kChild | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0, 0, 40, 8, 90, 12},
    {IDC_COUNT, "edit", "", kChild | ES_NUMBER | WS_BORDER | WS_TABSTOP, 0, 0, 40, 24, 30, 12},
    {IDC_LOG, "edit", "",
     kChild | ES_MULTILINE | ES_AUTOHSCROLL | ES_READONLY | WS_HSCROLL | WS_BORDER | WS_TABSTOP, 0,
     0, 8, 40, 120, 26},
    {IDC_DISABLED, "edit", "off", kChild | WS_BORDER | WS_TABSTOP | WS_DISABLED, 0, 0, 8, 70, 40,
     12},
    {IDC_NOTE, "static", "note", kChild | SS_LEFT, 0, 0, 60, 72, 70, 8},
    {IDC_APPLY, "button", "Apply", kChild | BS_PUSHBUTTON | WS_TABSTOP, 0, 0, 150, 44, 40, 14},
};

constexpr AFX_DIALOG_TEMPLATE kDialogs[] = {{
    IDD_SAMPLE,
    MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
    WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_MODALFRAME | DS_SETFONT,
    0,
    0,
    0,
    195,
    95,
    "Sample",
    8,
    0,
    0,
    1,
    "MS Sans Serif",
    kItems,
}};

// An icon (or cursor) directory of one 16x16 entry; the framework reads no further.
std::vector<BYTE> SampleDirectory(BYTE type) {
  return {0, 0, type, 0, 1, 0, 16, 16, 16, 0, 1, 0, 4, 0, 40, 1, 0, 0, 22, 0, 0, 0};
}

struct ModuleStore {
  std::deque<std::string> texts;
  std::deque<std::vector<AFX_STRING_ENTRY>> entries;
  std::deque<std::vector<AFX_STRING_TABLE>> tables;
  std::deque<std::vector<AFX_VERSION_STRING>> versionStrings;
  std::deque<AFX_VERSION_INFO> versions;
  std::deque<AFX_RESOURCE_MODULE> modules;
  std::vector<BYTE> icon = SampleDirectory(1);
  std::vector<BYTE> cursor = SampleDirectory(2);
  AFX_ICON_GROUP iconGroups[2] = {
      {IDI_SAMPLE, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), std::span<const BYTE>()},
      {IDI_SAMPLE_CURSOR, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), std::span<const BYTE>()}};
};

ModuleStore& Store() {
  static ModuleStore store;
  store.iconGroups[0].data = store.icon;
  store.iconGroups[1].data = store.cursor;
  return store;
}

const char* Keep(const char* text) {
  Store().texts.emplace_back(text);
  return Store().texts.back().c_str();
}

}  // namespace

const AFX_RESOURCE_MODULE& SampleModule(const SampleModuleOptions& options) {
  ModuleStore& store = Store();
  std::vector<AFX_STRING_ENTRY> entries = {{IDS_SAMPLE_GREETING, "Hello from the sample"}};
  if (options.appTitle != nullptr) entries.push_back({AFX_IDS_APP_TITLE, Keep(options.appTitle)});
  store.entries.push_back(std::move(entries));
  store.tables.push_back({{MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), store.entries.back()}});

  const AFX_VERSION_INFO* version = nullptr;
  if (options.originalFilename != nullptr) {
    store.versionStrings.push_back({{"OriginalFilename", Keep(options.originalFilename)}});
    AFX_VERSION_INFO info{};
    info.strings = store.versionStrings.back();
    store.versions.push_back(info);
    version = &store.versions.back();
  }
  store.modules.push_back(
      AFX_RESOURCE_MODULE{kDialogs, store.iconGroups, store.tables.back(), version});
  return store.modules.back();
}

namespace {
const AFX_RESOURCE_MODULE* g_current = nullptr;  // what the innermost scope registered
}  // namespace

ScopedSampleModule::ScopedSampleModule(const SampleModuleOptions& options) : m_previous(g_current) {
  g_current = &SampleModule(options);
  AfxSetResourceModule(g_current);
}

ScopedSampleModule::~ScopedSampleModule() {
  g_current = m_previous;
  AfxSetResourceModule(g_current);
}
