// Message maps: the tables that route window messages and commands to member functions.
//
// A class declares its map with DECLARE_MESSAGE_MAP() and defines it between
// BEGIN_MESSAGE_MAP(theClass, baseClass) and END_MESSAGE_MAP(). A message that the class's
// own map does not name is looked up in the base class's map, and so on up to CCmdTarget.
#pragma once

#include <type_traits>

#include "windows.h"

class CCmdTarget;
class CWnd;

#define afx_msg

// The kinds of handler a map entry can call.
enum AfxSig : UINT {
  AfxSig_end = 0,  // marks the end of a map
  AfxSig_vv,       // void (void): WM_PAINT, WM_DESTROY, ...
  AfxSig_hv,       // HCURSOR/HICON (void): WM_QUERYDRAGICON
  AfxSig_lwl,      // LRESULT (WPARAM, LPARAM): ON_MESSAGE
  AfxSig_cmd,      // void (void): a command
};

#define CN_COMMAND 0  // the notification code of a command (and of BN_CLICKED)

// The handler of an entry; the member that its nSig names is the one that is set.
union AFX_PMSG_ANY {
  void (CCmdTarget::*pfnCmd)();              // AfxSig_cmd
  void (CWnd::*pfn_vv)();                    // AfxSig_vv
  HCURSOR (CWnd::*pfn_hv)();                 // AfxSig_hv
  LRESULT (CWnd::*pfn_lwl)(WPARAM, LPARAM);  // AfxSig_lwl
};

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;  // the window message; WM_COMMAND for commands
  UINT nCode;     // the notification code of a command
  UINT nID;       // the first command id of the range
  UINT nLastID;   // the last command id of the range
  UINT_PTR nSig;  // an AfxSig: which handler member is set and how it is called
  AFX_PMSG_ANY pfn;
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();  // null for the root map
  const AFX_MSGMAP_ENTRY* lpEntries;
};

// clang-format off
#define DECLARE_MESSAGE_MAP()                       \
 protected:                                         \
  static const AFX_MSGMAP* GetThisMessageMap();     \
  const AFX_MSGMAP* GetMessageMap() const override; \
                                                    \
 private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                         \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }    \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                                    \
    using ThisClass = theClass;                                                        \
    using TheBaseClass = baseClass;                                                    \
    static_assert(std::is_base_of_v<TheBaseClass, ThisClass>, "the base map's class"); \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                   \
      {0, 0, 0, 0, AfxSig_end, {nullptr}}                                                   \
    };                                                                                      \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap,                 \
                                          &_messageEntries[0]};                             \
    return &messageMap;                                                                     \
  }

#define ON_COMMAND(id, memberFxn)                                                         \
  {WM_COMMAND, CN_COMMAND, static_cast<UINT>(id), static_cast<UINT>(id), AfxSig_cmd,        \
   {.pfnCmd = static_cast<void (CCmdTarget::*)()>(&ThisClass::memberFxn)}},

#define ON_MESSAGE(message, memberFxn)                                                    \
  {message, 0, 0, 0, AfxSig_lwl,                                                          \
   {.pfn_lwl = static_cast<LRESULT (CWnd::*)(WPARAM, LPARAM)>(&ThisClass::memberFxn)}},

#define ON_WM_PAINT()                                                                     \
  {WM_PAINT, 0, 0, 0, AfxSig_vv, {.pfn_vv = static_cast<void (CWnd::*)()>(&ThisClass::OnPaint)}},

#define ON_WM_DESTROY()                                                                   \
  {WM_DESTROY, 0, 0, 0, AfxSig_vv,                                                        \
   {.pfn_vv = static_cast<void (CWnd::*)()>(&ThisClass::OnDestroy)}},

#define ON_WM_QUERYDRAGICON()                                                             \
  {WM_QUERYDRAGICON, 0, 0, 0, AfxSig_hv,                                                  \
   {.pfn_hv = static_cast<HCURSOR (CWnd::*)()>(&ThisClass::OnQueryDragIcon)}},
// clang-format on

// The entry of theMap (or of its bases) for a window message; null when there is none.
const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage);
// The entry of theMap (or of its bases) for a command id and notification code, or null.
const AFX_MSGMAP_ENTRY* AfxFindCommandEntry(const AFX_MSGMAP* pMap, UINT nID, UINT nCode);
