// Looking up message maps, and the root map of CCmdTarget.
#include "afxwin.h"

namespace {

const AFX_MSGMAP* BaseOf(const AFX_MSGMAP* map) {
  return map->pfnGetBaseMap != nullptr ? map->pfnGetBaseMap() : nullptr;
}

}  // namespace

const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage) {
  if (nMessage == WM_COMMAND) return nullptr;  // commands are found by id
  for (const AFX_MSGMAP* map = pMap; map != nullptr; map = BaseOf(map)) {
    for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->nSig != AfxSig_end; ++entry) {
      if (entry->nMessage == nMessage) return entry;
    }
  }
  return nullptr;
}

const AFX_MSGMAP_ENTRY* AfxFindCommandEntry(const AFX_MSGMAP* pMap, UINT nID, UINT nCode) {
  for (const AFX_MSGMAP* map = pMap; map != nullptr; map = BaseOf(map)) {
    for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->nSig != AfxSig_end; ++entry) {
      if (entry->nMessage == WM_COMMAND && entry->nCode == nCode && nID >= entry->nID &&
          nID <= entry->nLastID) {
        return entry;
      }
    }
  }
  return nullptr;
}

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, {nullptr}}};
  static const AFX_MSGMAP map = {nullptr, &entries[0]};
  return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
  return GetThisMessageMap();
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* /*pExtra*/, void* /*pHandlerInfo*/) {
  const AFX_MSGMAP_ENTRY* entry =
      AfxFindCommandEntry(GetMessageMap(), nID, static_cast<UINT>(nCode));
  if (entry == nullptr || entry->nSig != AfxSig_cmd) return FALSE;
  (this->*(entry->pfn.pfnCmd))();
  return TRUE;
}
