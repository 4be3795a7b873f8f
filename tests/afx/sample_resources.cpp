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

void Put(std::vector<BYTE>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<BYTE>(value >> (8 * i)));
}

std::vector<BYTE> SampleIconData() {
  // 16x16, 4 bits: a red square (index 9) on white (15) with transparent corners.
  SampleIconImage image{16, 4, std::vector<int>(256, 15)};
  for (int y = 4; y < 12; ++y) {
    for (int x = 4; x < 12; ++x) image.indexes[static_cast<std::size_t>(y * 16 + x)] = 9;
  }
  image.indexes[0] = image.indexes[15] = image.indexes[240] = image.indexes[255] = -1;
  return BuildIconFile({image});
}

struct ModuleStore {
  std::deque<std::string> texts;
  std::deque<std::vector<AFX_STRING_ENTRY>> entries;
  std::deque<std::vector<AFX_STRING_TABLE>> tables;
  std::deque<std::vector<AFX_VERSION_STRING>> versionStrings;
  std::deque<AFX_VERSION_INFO> versions;
  std::deque<AFX_RESOURCE_MODULE> modules;
  std::vector<BYTE> icon = SampleIconData();
  AFX_ICON_GROUP iconGroups[1] = {
      {IDI_SAMPLE, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), std::span<const BYTE>()}};
};

ModuleStore& Store() {
  static ModuleStore store;
  store.iconGroups[0].data = store.icon;
  return store;
}

const char* Keep(const char* text) {
  Store().texts.emplace_back(text);
  return Store().texts.back().c_str();
}

}  // namespace

std::vector<BYTE> BuildIconFile(const std::vector<SampleIconImage>& images) {
  static const BYTE kPalette[16][3] = {
      {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},  {0, 0, 128}, {128, 0, 128},
      {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},    {0, 255, 0}, {255, 255, 0},
      {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
  std::vector<std::vector<BYTE>> bodies;
  for (const SampleIconImage& image : images) {
    const int w = image.width;
    const int colours = 1 << image.bitsPerPixel;
    const std::size_t colourStride =
        ((static_cast<std::size_t>(w) * image.bitsPerPixel + 31) / 32) * 4;
    const std::size_t maskStride = ((static_cast<std::size_t>(w) + 31) / 32) * 4;
    std::vector<BYTE> body;
    Put(body, 40, 4);
    Put(body, static_cast<std::uint32_t>(w), 4);
    Put(body, static_cast<std::uint32_t>(w * 2), 4);
    Put(body, 1, 2);
    Put(body, static_cast<std::uint32_t>(image.bitsPerPixel), 2);
    Put(body, 0, 4);  // no compression
    Put(body, 0, 4);
    Put(body, 0, 4);
    Put(body, 0, 4);
    Put(body, static_cast<std::uint32_t>(colours), 4);
    Put(body, 0, 4);
    for (int i = 0; i < colours; ++i) {
      const int source = colours == 2 ? i * 15 : i;  // 1 bit: black and white
      body.push_back(kPalette[source][2]);
      body.push_back(kPalette[source][1]);
      body.push_back(kPalette[source][0]);
      body.push_back(0);
    }
    std::vector<BYTE> colourRows, maskRows;
    for (int y = w - 1; y >= 0; --y) {
      std::vector<BYTE> colour(colourStride, 0), mask(maskStride, 0);
      for (int x = 0; x < w; ++x) {
        const int index = image.indexes[static_cast<std::size_t>(y * w + x)];
        const int value = index < 0 ? 0 : (colours == 2 ? (index != 0 ? 1 : 0) : index);
        const std::size_t bit = static_cast<std::size_t>(x) * image.bitsPerPixel;
        colour[bit / 8] |= static_cast<BYTE>(value << (8 - image.bitsPerPixel - bit % 8));
        if (index < 0) mask[static_cast<std::size_t>(x) / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
      }
      colourRows.insert(colourRows.end(), colour.begin(), colour.end());
      maskRows.insert(maskRows.end(), mask.begin(), mask.end());
    }
    body.insert(body.end(), colourRows.begin(), colourRows.end());
    body.insert(body.end(), maskRows.begin(), maskRows.end());
    bodies.push_back(std::move(body));
  }
  std::vector<BYTE> file;
  Put(file, 0, 2);
  Put(file, 1, 2);
  Put(file, static_cast<std::uint32_t>(images.size()), 2);
  std::size_t offset = 6 + 16 * images.size();
  for (std::size_t i = 0; i < images.size(); ++i) {
    file.push_back(static_cast<BYTE>(images[i].width));
    file.push_back(static_cast<BYTE>(images[i].width));
    file.push_back(static_cast<BYTE>(images[i].bitsPerPixel == 4 ? 16 : 2));
    file.push_back(0);
    Put(file, 1, 2);
    Put(file, static_cast<std::uint32_t>(images[i].bitsPerPixel), 2);
    Put(file, static_cast<std::uint32_t>(bodies[i].size()), 4);
    Put(file, static_cast<std::uint32_t>(offset), 4);
    offset += bodies[i].size();
  }
  for (const auto& body : bodies) file.insert(file.end(), body.begin(), body.end());
  return file;
}

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

ScopedSampleModule::ScopedSampleModule(const SampleModuleOptions& options)
    : m_previous(AfxGetResourceModule()) {
  AfxSetResourceModule(&SampleModule(options));
}

ScopedSampleModule::~ScopedSampleModule() {
  AfxSetResourceModule(m_previous);
}
