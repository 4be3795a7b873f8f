// LoadIcon over the module's icon groups, and the icons behind the handles it gives.
#include <map>
#include <memory>

#include "afxbackend.h"
#include "resource_lookup.h"

namespace afx {
namespace {

// An icon directory: reserved 0, type 1 (icon), at least one entry, all entries in the file.
bool IsIconFile(std::span<const BYTE> file) {
  if (file.size() < 6) return false;
  const auto word = [&](std::size_t at) { return file[at] | (file[at + 1] << 8); };
  const std::size_t entries = static_cast<std::size_t>(word(4));
  return word(0) == 0 && word(2) == 1 && entries > 0 && file.size() >= 6 + 16 * entries;
}

// The icons made so far, one per icon group; they live as long as the process.
std::map<const AFX_ICON_GROUP*, std::unique_ptr<Icon>>& LoadedIcons() {
  static std::map<const AFX_ICON_GROUP*, std::unique_ptr<Icon>> loaded;
  return loaded;
}

}  // namespace

const Icon* IconFromHandle(HICON hIcon) {
  if (hIcon == nullptr) return nullptr;
  for (const auto& [group, icon] : LoadedIcons()) {
    if (reinterpret_cast<HICON>(icon.get()) == hIcon) return icon.get();
  }
  return nullptr;
}

}  // namespace afx

HICON LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName) {
  // A null instance asks for the system's icons; this platform has none.
  if (hInstance == nullptr || hInstance != AfxFindResourceHandle(lpIconName, RT_GROUP_ICON)) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  const AFX_ICON_GROUP* group = afx::FindIconGroup(lpIconName);
  if (group == nullptr) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  auto& loaded = afx::LoadedIcons();
  auto found = loaded.find(group);
  if (found == loaded.end()) {
    if (!afx::IsIconFile(group->data)) {
      SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
      return nullptr;
    }
    found = loaded.emplace(group, std::make_unique<afx::Icon>(afx::Icon{group->data})).first;
  }
  return reinterpret_cast<HICON>(found->second.get());
}
