#include "class_registry.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "ascii_case.h"

namespace {

struct ClassEntry {
  CLSID clsid;
  std::u16string progId;
  ClassFactoryFunction factory;
};

class ClassRegistry {
 public:
  void Register(const ClassEntry& entry) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = FindLocked(entry.clsid);
    if (found != m_entries.end())
      *found = entry;
    else
      m_entries.push_back(entry);
  }

  ClassFactoryFunction Factory(REFCLSID clsid) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = FindLocked(clsid);
    return found != m_entries.end() ? found->factory : nullptr;
  }

  bool ClassOf(std::u16string_view progId, CLSID* clsid) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = std::find_if(m_entries.begin(), m_entries.end(), [&](const ClassEntry& e) {
      return ascii::EqualsIgnoringCase(e.progId, progId);
    });
    if (found == m_entries.end()) return false;
    *clsid = found->clsid;
    return true;
  }

 private:
  std::vector<ClassEntry>::iterator FindLocked(REFCLSID clsid) {
    return std::find_if(m_entries.begin(), m_entries.end(),
                        [&](const ClassEntry& e) { return e.clsid == clsid; });
  }

  std::mutex m_mutex;
  std::vector<ClassEntry> m_entries;
};

ClassRegistry& Registry() {
  static ClassRegistry registry;
  return registry;
}

}  // namespace

HRESULT CoRegisterClassObjectEntry(REFCLSID rclsid, LPCOLESTR lpszProgID,
                                   ClassFactoryFunction factory) {
  if (lpszProgID == nullptr || lpszProgID[0] == 0 || factory == nullptr) return E_INVALIDARG;
  try {
    Registry().Register(ClassEntry{rclsid, std::u16string(lpszProgID), factory});
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

namespace com_detail {

ClassFactoryFunction FindFactory(REFCLSID clsid) {
  return Registry().Factory(clsid);
}

bool FindClassByProgID(LPCOLESTR progId, CLSID* clsid) {
  return Registry().ClassOf(std::u16string_view(progId), clsid);
}

}  // namespace com_detail
