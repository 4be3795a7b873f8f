// Win32 user services: windows, messages, dialog styles, message boxes, icons and painting,
// as far as the framework and the program use them. windows.h includes this header.
//
// On this platform the window manager behind these functions is the application framework's
// dialog manager with its window backend (platform/afx, afxbackend.h), which defines them; on
// Windows they are user32's.
#pragma once

#include "windows.h"

// ---- Helpers ------------------------------------------------------------------------------

using DWORD_PTR = std::uintptr_t;

#define MAKEWORD(low, high) \
  static_cast<WORD>((static_cast<WORD>(low) & 0xFF) | ((static_cast<WORD>(high) & 0xFF) << 8))
#define MAKELONG(low, high)                              \
  static_cast<LONG>((static_cast<DWORD>(low) & 0xFFFF) | \
                    ((static_cast<DWORD>(high) & 0xFFFF) << 16))
#define MAKEWPARAM(low, high) static_cast<WPARAM>(static_cast<DWORD>(MAKELONG(low, high)))
#define LOWORD(value) static_cast<WORD>(static_cast<DWORD_PTR>(value) & 0xFFFF)
#define HIWORD(value) static_cast<WORD>((static_cast<DWORD_PTR>(value) >> 16) & 0xFFFF)

// Resource names: a small integer in the place of a text pointer.
#define MAKEINTRESOURCEA(id) reinterpret_cast<LPSTR>(static_cast<UINT_PTR>(static_cast<WORD>(id)))
#define MAKEINTRESOURCE MAKEINTRESOURCEA
#define IS_INTRESOURCE(name) ((reinterpret_cast<UINT_PTR>(name) >> 16) == 0)
#define RT_GROUP_ICON MAKEINTRESOURCE(14)

#define ERROR_INVALID_WINDOW_HANDLE 1400
#define ERROR_RESOURCE_DATA_NOT_FOUND 1812
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814

// ---- Window styles ---------------------------------------------------------------------------

#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_VSCROLL 0x00200000L
#define WS_HSCROLL 0x00100000L
#define WS_SYSMENU 0x00080000L
#define WS_GROUP 0x00020000L
#define WS_TABSTOP 0x00010000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L

#define WS_EX_APPWINDOW 0x00040000L

#define DS_SETFONT 0x40L
#define DS_MODALFRAME 0x80L

#define BS_PUSHBUTTON 0x00000000L
#define BS_DEFPUSHBUTTON 0x00000001L
#define BS_GROUPBOX 0x00000007L
#define BS_TYPEMASK 0x0000000FL

#define SS_LEFT 0x00000000L
#define SS_CENTER 0x00000001L
#define SS_RIGHT 0x00000002L
#define SS_TYPEMASK 0x0000001FL

#define ES_LEFT 0x0000L
#define ES_CENTER 0x0001L
#define ES_RIGHT 0x0002L
#define ES_MULTILINE 0x0004L
#define ES_AUTOHSCROLL 0x0080L
#define ES_NOHIDESEL 0x0100L
#define ES_READONLY 0x0800L
#define ES_NUMBER 0x2000L

// ---- Messages --------------------------------------------------------------------------------

#define WM_DESTROY 0x0002
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUERYDRAGICON 0x0037
#define WM_ICONERASEBKGND 0x0027
#define WM_SETICON 0x0080
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_USER 0x0400

#define EM_SETSEL 0x00B1
#define EM_LIMITTEXT 0x00C5

#define DM_GETDEFID (WM_USER + 0)
#define DC_HASDEFID 0x534B

#define BN_CLICKED 0

#define ICON_SMALL 0
#define ICON_BIG 1

// ---- Dialog results and message boxes ------------------------------------------------------

#define IDOK 1
#define IDCANCEL 2

// Message boxes have the one button OK (MB_OK); the icon is one of these.
#define MB_OK 0x00000000L
#define MB_ICONHAND 0x00000010L
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONASTERISK 0x00000040L
#define MB_ICONMASK 0x000000F0L
#define MB_ICONSTOP MB_ICONHAND

// ---- Help -------------------------------------------------------------------------------------

#define HELP_CONTEXT 0x0001L
#define HELP_FINDER 0x000BL

// ---- System metrics --------------------------------------------------------------------------

#define SM_CXICON 11
#define SM_CYICON 12
#define SM_CXSMICON 49
#define SM_CYSMICON 50

struct SIZE {
  LONG cx;
  LONG cy;
};

// ---- Painting --------------------------------------------------------------------------------

struct PAINTSTRUCT {
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
};
using LPPAINTSTRUCT = PAINTSTRUCT*;

// ---- Functions -----------------------------------------------------------------------------
// They act on the windows of the open dialogs. A handle that names no window fails with
// ERROR_INVALID_WINDOW_HANDLE (0, FALSE or null as the function returns).

LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
#define SendMessage SendMessageA
BOOL SetWindowTextA(HWND hWnd, LPCSTR lpString);
#define SetWindowText SetWindowTextA
// Copies at most nMaxCount - 1 bytes and a NUL; returns the bytes copied without the NUL.
int GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount);
#define GetWindowText GetWindowTextA
int GetWindowTextLengthA(HWND hWnd);
#define GetWindowTextLength GetWindowTextLengthA

HWND GetDlgItem(HWND hDlg, int nIDDlgItem);
BOOL IsWindow(HWND hWnd);
BOOL IsIconic(HWND hWnd);
BOOL GetClientRect(HWND hWnd, LPRECT lpRect);
HWND SetFocus(HWND hWnd);  // returns the window that had the focus
BOOL EndDialog(HWND hDlg, INT_PTR nResult);

// Shows a modal message box and returns the button chosen (IDOK, ...), 0 on failure.
// A null caption is "Error".
int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);
#define MessageBox MessageBoxA

int GetSystemMetrics(int nIndex);  // unknown indexes give 0

// Icons of the module's resources. A null instance asks for the system's icons, of which
// this platform has none. Icons loaded this way are shared and are never destroyed.
HICON LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName);
#define LoadIcon LoadIconA

HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint);
BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint);
// Draws the icon at its standard size (SM_CXICON x SM_CYICON) with its top-left corner at x, y.
BOOL DrawIcon(HDC hDC, int X, int Y, HICON hIcon);
